#include "page_rules.h"

#include <functional>

namespace {

// Frames nest, but never this deep on a real page; a deeper walk is cut off rather than
// followed into a loop.
constexpr int kMaxFrameDepth = 32;

std::string Trim(const std::string& text) {
    const char* blanks = " \t\r\n\f\v";
    size_t start = text.find_first_not_of(blanks);
    if (start == std::string::npos) return {};
    return text.substr(start, text.find_last_not_of(blanks) - start + 1);
}

bool EqualsIgnoringCase(const std::string& a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        char x = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] - 'A' + 'a') : a[i];
        char y = b[i] >= 'A' && b[i] <= 'Z' ? static_cast<char>(b[i] - 'A' + 'a') : b[i];
        if (x != y) return false;
    }
    return i == a.size() && !b[i];
}

// The document order of links and forms: a document's frames (each walked the same way)
// before the document itself. False when `visit` stopped the walk.
bool WalkDocuments(PageBackend& page, const PageRef& document,
                   const std::function<bool(const PageRef&)>& visit, int depth = 0) {
    if (depth < kMaxFrameDepth) {
        for (const PageRef& frame : page.FrameDocuments(document))
            if (!WalkDocuments(page, frame, visit, depth + 1)) return false;
    }
    return visit(document);
}

void WalkItems(PageBackend& page, const char* collection,
               const std::function<bool(const PageRef&)>& visit) {
    PageRef top = page.TopDocument();
    if (!top) return;
    WalkDocuments(page, top, [&](const PageRef& document) {
        for (const PageRef& item : page.Items(document, collection))
            if (!visit(item)) return false;
        return true;
    });
}

// Readiness looks at the top document first, then at its frames depth first; a document
// whose state cannot be read does not hold the page back.
bool AllDocumentsReady(PageBackend& page, const PageRef& document, bool interactiveCounts,
                       int depth = 0) {
    std::string state;
    if (page.ReadString(document, "readyState", state) && state != "complete" &&
        !(interactiveCounts && state == "interactive"))
        return false;
    if (depth >= kMaxFrameDepth) return true;
    for (const PageRef& frame : page.FrameDocuments(document))
        if (!AllDocumentsReady(page, frame, interactiveCounts, depth + 1)) return false;
    return true;
}

std::string LinkText(PageBackend& page, const PageRef& link) {
    std::string text = Trim(StringOf(page, link, "innerText"));
    if (!text.empty()) return text;
    std::vector<PageRef> images = page.ByTag(link, "img");
    if (images.empty()) return {};
    text = Trim(StringOf(page, images.front(), "alt"));
    return text.empty() ? Trim(StringOf(page, images.front(), "src")) : text;
}

std::string FormName(PageBackend& page, const PageRef& form) {
    return Trim(StringOf(page, form, "name"));
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) text += (i ? "\n" : "") + lines[i];
    return text;
}

enum class FieldKind { kRadio, kCheckBox, kButton, kText, kFile, kTextArea, kSelect, kNone };

FieldKind KindOf(const std::string& tag, const std::string& type) {
    if (EqualsIgnoringCase(tag, "TEXTAREA")) return FieldKind::kTextArea;
    if (EqualsIgnoringCase(tag, "SELECT")) return FieldKind::kSelect;
    if (EqualsIgnoringCase(tag, "BUTTON")) return FieldKind::kButton;  // acts like its input twin
    if (!EqualsIgnoringCase(tag, "INPUT")) return FieldKind::kNone;
    if (EqualsIgnoringCase(type, "radio")) return FieldKind::kRadio;
    if (EqualsIgnoringCase(type, "checkbox")) return FieldKind::kCheckBox;
    if (EqualsIgnoringCase(type, "file")) return FieldKind::kFile;
    for (const char* button : {"button", "submit", "reset", "image"})
        if (EqualsIgnoringCase(type, button)) return FieldKind::kButton;
    // Newer one-line boxes take typed text like a text box.
    for (const char* text : {"text", "password", "email", "search", "tel", "url", "number"})
        if (EqualsIgnoringCase(type, text)) return FieldKind::kText;
    return FieldKind::kNone;
}

// The name a script addresses a field by: name and value joined by a line feed when the
// requested name has one, else the name (or the value when it has none), quoted when blank.
std::string FieldName(const std::string& name, const std::string& value,
                      const std::string& requested) {
    std::string field = requested.find('\n') != std::string::npos ? name + "\n" + value
                        : name.empty()                            ? value
                                                                  : name;
    if (!field.empty() && field[0] != '"' && field.find(' ') != std::string::npos)
        field = "\"" + field + "\"";
    return field;
}

enum class FieldAction { kList, kSet, kClick };

struct FieldRequest {
    FieldAction action;
    std::string name;
    std::string value;
    int occurrence = 1;
    std::vector<std::string>* lines = nullptr;  // listing output
};

void ListField(PageBackend& page, const PageRef& element, FieldKind kind, const std::string& type,
               const std::string& field, const std::string& value,
               std::vector<std::string>& lines) {
    switch (kind) {
    case FieldKind::kRadio:
        if (!value.empty()) lines.push_back("radio:" + field + "=" + value);
        break;
    case FieldKind::kCheckBox:
        lines.push_back(type + ":" + field + (value.empty() ? "" : "\\n" + value));
        break;
    case FieldKind::kButton:
    case FieldKind::kText: lines.push_back(type + ":" + field); break;
    case FieldKind::kTextArea: lines.push_back("textarea:" + field); break;
    case FieldKind::kSelect:
        lines.push_back(
            std::string(page.ReadFlag(element, "multiple") ? "select-multi:" : "select:") + field);
        for (const PageRef& option : page.Items(element, "options"))
            lines.push_back("option:" + StringOf(page, option, "text"));
        break;
    case FieldKind::kFile:
    case FieldKind::kNone: break;
    }
}

// A check or clear followed by the handler the user's click would have run.
int CheckAndClick(PageBackend& page, const PageRef& element, bool checked) {
    if (!page.WriteFlag(element, "checked", checked)) return 0;
    page.FireEvent(element, "onclick");
    return 1;
}

int SetCheckBox(PageBackend& page, const PageRef& element, const std::string& requested) {
    std::string value = requested;
    for (char& c : value) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    if (value == "true" || value == "checked" || value == "on")
        return CheckAndClick(page, element, true);
    if (value == "false" || value == "unchecked" || value == "off")
        return CheckAndClick(page, element, false);
    return -4;
}

int SetText(PageBackend& page, const PageRef& element, const std::string& value) {
    if (!page.WriteString(element, "value", value)) return 0;
    page.FireEvent(element, "onchange");
    return 1;
}

int SetSelect(PageBackend& page, const PageRef& element, const std::string& value) {
    std::vector<std::string> wanted;
    for (size_t start = 0;;) {
        size_t end = value.find('\n', start);
        wanted.push_back(value.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    if (wanted.size() > 1 && !page.ReadFlag(element, "multiple")) return 0;
    for (const PageRef& option : page.Items(element, "options")) {
        std::string text = StringOf(page, option, "text");
        bool selected = false;
        for (const std::string& one : wanted) selected = selected || one == text;
        if (!page.WriteFlag(option, "selected", selected)) return 0;
    }
    page.FireEvent(element, "onchange");
    return 1;
}

// Setting or clicking the one element at the requested occurrence; -1 leaves it untouched.
int ActOnField(PageBackend& page, const PageRef& element, FieldKind kind,
               const FieldRequest& request) {
    const bool set = request.action == FieldAction::kSet;
    switch (kind) {
    case FieldKind::kCheckBox: return set ? SetCheckBox(page, element, request.value) : -1;
    case FieldKind::kButton: return set ? 0 : page.Call(element, "click") ? 1 : 0;
    case FieldKind::kText:
        if (!set) return -1;
        return request.value.find("\r\n") != std::string::npos
                   ? 0
                   : SetText(page, element, request.value);
    case FieldKind::kFile: return set ? 0 : -1;
    case FieldKind::kTextArea: return set ? SetText(page, element, request.value) : -1;
    case FieldKind::kSelect: return set ? SetSelect(page, element, request.value) : -1;
    case FieldKind::kRadio:
    case FieldKind::kNone: break;
    }
    return -1;
}

// The form's elements in order while the outcome is negative, so that a later element can
// still succeed after an earlier one was refused; the last outcome is the result.
int VisitFields(PageBackend& page, const PageRef& form, const FieldRequest& request) {
    int outcome = -1;
    int counter = 0;
    for (const PageRef& element : page.Items(form, "elements")) {
        if (outcome >= 0) break;
        const std::string tag = StringOf(page, element, "tagName");
        const std::string type = StringOf(page, element, "type");
        const FieldKind kind = KindOf(tag, type);
        if (kind == FieldKind::kNone) continue;
        const std::string name = StringOf(page, element, "name");
        const std::string value = StringOf(page, element, "value");
        const std::string field = FieldName(name, value, request.name);
        if (request.action == FieldAction::kList) {
            if (!field.empty()) ListField(page, element, kind, type, field, value, *request.lines);
            continue;
        }
        if (field != request.name) continue;
        if (kind == FieldKind::kRadio && value.empty()) continue;  // nothing to choose it by
        ++counter;
        if (kind == FieldKind::kRadio) {
            if (request.action != FieldAction::kSet) continue;
            if (value == request.value) return CheckAndClick(page, element, true);
            page.WriteFlag(element, "checked", false);
            if (outcome == -1) outcome = -2;
            continue;
        }
        if (counter != request.occurrence) continue;
        int result = ActOnField(page, element, kind, request);
        if (result != -1) outcome = result;
    }
    return outcome;
}

using NameOf = std::string (*)(PageBackend&, const PageRef&);

// Lines "N:name" of a collection's items over the whole walk.
std::string ListNamed(PageBackend& page, const char* collection, NameOf nameOf) {
    std::vector<std::string> lines;
    WalkItems(page, collection, [&](const PageRef& item) {
        lines.push_back(std::to_string(lines.size() + 1) + ":" + nameOf(page, item));
        return true;
    });
    return JoinLines(lines);
}

// The item at `occurrence` among those named `name` (every item when it is empty).
PageRef FindNamed(PageBackend& page, const char* collection, NameOf nameOf, const std::string& name,
                  int occurrence) {
    PageRef found;
    int matches = 0;
    WalkItems(page, collection, [&](const PageRef& item) {
        if ((name.empty() || nameOf(page, item) == name) && ++matches == occurrence) found = item;
        return !found;
    });
    return found;
}

}  // namespace

bool IsPageComplete(PageBackend& page) {
    if (page.IsBusy()) return false;
    int state = page.ReadyState();
    if (state >= 0 && state != 4) return false;
    PageRef top = page.TopDocument();
    return !top || AllDocumentsReady(page, top, false);
}

bool IsPageInteractive(PageBackend& page) {
    int state = page.ReadyState();
    if (state >= 0 && state != 3 && state != 4) return false;
    PageRef top = page.TopDocument();
    return !top || AllDocumentsReady(page, top, true);
}

std::string ListLinks(PageBackend& page) { return ListNamed(page, "links", LinkText); }

PageRef FindLink(PageBackend& page, const std::string& text, int occurrence) {
    return FindNamed(page, "links", LinkText, text, occurrence < 1 ? 1 : occurrence);
}

std::string ListForms(PageBackend& page) { return ListNamed(page, "forms", FormName); }

PageRef FindForm(PageBackend& page, const std::string& name, int occurrence) {
    return FindNamed(page, "forms", FormName, name, occurrence);
}

std::string ListFields(PageBackend& page, const PageRef& form) {
    std::vector<std::string> lines;
    FieldRequest request{FieldAction::kList, {}, {}, 1, &lines};
    VisitFields(page, form, request);
    return JoinLines(lines);
}

int SetField(PageBackend& page, const PageRef& form, const std::string& name,
             const std::string& value, int occurrence) {
    return VisitFields(page, form, {FieldAction::kSet, name, value, occurrence, nullptr});
}

int ClickButton(PageBackend& page, const PageRef& form, const std::string& name, int occurrence) {
    return VisitFields(page, form, {FieldAction::kClick, name, {}, occurrence, nullptr});
}

std::string PageHtml(PageBackend& page) {
    std::string html;
    PageRef top = page.TopDocument();
    if (!top) return html;
    WalkDocuments(page, top, [&](const PageRef& document) {
        for (const PageRef& element : page.ByTag(document, "html"))
            html += StringOf(page, element, "outerHTML");
        return true;
    });
    return html;
}
