// Web page content and forms: title, status, address, text and HTML; text links listed,
// followed and read; forms listed, chosen, filled in, clicked, submitted and reset.
#include "browser_table.h"
#include "page_rules.h"

namespace {

// A string read from a live browser's page; a dead handle leaves the empty string.
int ReadPage(BuiltinCall& call, const char* status, std::string (*read)(PageBackend&)) {
    SetStringResult(call, "");
    CBrowser* browser = nullptr;
    if (int error = GetLiveBrowserParam(call, 0, browser)) return error;
    if (!browser) return kOk;
    StatusLine line(call.window, status);
    SetStringResult(call, read(*browser->page()));
    return kOk;
}

std::string TopDocumentText(PageBackend& page, const char* name) {
    PageRef top = page.TopDocument();
    return top ? StringOf(page, top, name) : std::string();
}

// The form an operation works on: the chosen one, or else the page's first, which becomes
// the chosen one; null when the page has no form.
PageRef FormInUse(CBrowser& browser) {
    if (PageRef form = browser.ActiveForm()) return form;
    PageRef first = FindForm(*browser.page(), "", 1);
    if (first) browser.SetActiveForm(first);
    return first;
}

int SubmitOrReset(BuiltinCall& call, const char* status, const char* method) {
    SetIntResult(call, 0);
    CBrowser* browser = nullptr;
    if (int error = GetLiveBrowserParam(call, 0, browser)) return error;
    if (!browser) return kOk;
    StatusLine line(call.window, status);
    PageRef form = FormInUse(*browser);
    SetIntResult(call, !form ? -1 : browser->page()->Call(form, method) ? 1 : 0);
    return kOk;
}

// Reads the name and occurrence of a link, field or button (from position 1 and
// `occurrencePosition`), then the live browser.
int NamedTarget(BuiltinCall& call, CBrowser*& browser, std::string& name, int32_t& occurrence,
                int occurrencePosition) {
    if (int error = GetLiveBrowserParam(call, 0, browser)) return error;
    if (int error = GetStringParam(call, 1, name)) return error;
    return GetOptionalIntParam(call, occurrencePosition, occurrence);
}

}  // namespace

int Builtin_BrowserGetTitle(BuiltinCall& call) {
    return ReadPage(call, "Get title...",
                    [](PageBackend& page) { return TopDocumentText(page, "title"); });
}

int Builtin_BrowserGetStatusText(BuiltinCall& call) {
    return ReadPage(call, "Get status text...",
                    [](PageBackend& page) { return page.StatusText(); });
}

int Builtin_BrowserGetLocationURL(BuiltinCall& call) {
    return ReadPage(call, "Get location URL...",
                    [](PageBackend& page) { return page.LocationUrl(); });
}

int Builtin_BrowserGetBodyText(BuiltinCall& call) {
    return ReadPage(call, "Get body text...", [](PageBackend& page) {
        PageRef top = page.TopDocument();
        PageRef body = top ? page.Member(top, "body") : nullptr;
        return body ? StringOf(page, body, "innerText") : std::string();
    });
}

int Builtin_BrowserGetHtml(BuiltinCall& call) { return ReadPage(call, "Get HTML...", PageHtml); }

int Builtin_BrowserGetTextLinks(BuiltinCall& call) {
    return ReadPage(call, "Get text links...", ListLinks);
}

int Builtin_BrowserGetFormNames(BuiltinCall& call) {
    return ReadPage(call, "Get form names...", ListForms);
}

int Builtin_BrowserFollowTextLink(BuiltinCall& call) {
    SetIntResult(call, 0);
    CBrowser* browser = nullptr;
    std::string text;
    int32_t occurrence = 1;
    if (int error = NamedTarget(call, browser, text, occurrence, 2)) return error;
    if (!browser) return kOk;
    StatusLine line(call.window, "Follow text link...");
    PageRef link = FindLink(*browser->page(), text, occurrence);
    SetIntResult(call, !link ? -1 : browser->page()->Call(link, "click") ? 1 : 0);
    return kOk;
}

int Builtin_BrowserGetTextLinkUrl(BuiltinCall& call) {
    SetStringResult(call, "");
    CBrowser* browser = nullptr;
    std::string text;
    int32_t occurrence = 1;
    if (int error = NamedTarget(call, browser, text, occurrence, 2)) return error;
    if (!browser) return kOk;
    StatusLine line(call.window, "Get text link url...");
    if (PageRef link = FindLink(*browser->page(), text, occurrence))
        SetStringResult(call, StringOf(*browser->page(), link, "href"));
    return kOk;
}

int Builtin_BrowserSetActiveForm(BuiltinCall& call) {
    SetIntResult(call, 0);
    CBrowser* browser = nullptr;
    std::string name;
    int32_t occurrence = 1;
    if (int error = GetLiveBrowserParam(call, 0, browser)) return error;
    if (int error = GetStringParam(call, 1, name)) return error;
    if (int error = GetIntParam(call, 2, occurrence)) return error;
    if (!browser) return kOk;
    StatusLine line(call.window, "Set active form...");
    if (!browser->page()->TopDocument()) return kOk;
    PageRef form = FindForm(*browser->page(), name, occurrence);
    if (form) browser->SetActiveForm(form);
    SetIntResult(call, form ? 1 : -1);
    return kOk;
}

int Builtin_BrowserGetFormFields(BuiltinCall& call) {
    SetStringResult(call, "");
    CBrowser* browser = nullptr;
    if (int error = GetLiveBrowserParam(call, 0, browser)) return error;
    if (!browser) return kOk;
    StatusLine line(call.window, "Get form fields...");
    if (PageRef form = FormInUse(*browser))
        SetStringResult(call, ListFields(*browser->page(), form));
    return kOk;
}

int Builtin_BrowserSetFormField(BuiltinCall& call) {
    SetIntResult(call, 0);
    CBrowser* browser = nullptr;
    std::string name, value;
    int32_t occurrence = 1;
    if (int error = GetLiveBrowserParam(call, 0, browser)) return error;
    if (int error = GetStringParam(call, 1, name)) return error;
    if (int error = GetStringParam(call, 2, value)) return error;
    if (int error = GetOptionalIntParam(call, 3, occurrence)) return error;
    if (!browser) return kOk;
    StatusLine line(call.window, "Set form field...");
    PageRef form = FormInUse(*browser);
    SetIntResult(call, form ? SetField(*browser->page(), form, name, value, occurrence) : -1);
    return kOk;
}

int Builtin_BrowserClickFormButton(BuiltinCall& call) {
    SetIntResult(call, 0);
    CBrowser* browser = nullptr;
    std::string name;
    int32_t occurrence = 1;
    if (int error = NamedTarget(call, browser, name, occurrence, 2)) return error;
    if (!browser) return kOk;
    StatusLine line(call.window, "Click form button...");
    PageRef form = FormInUse(*browser);
    SetIntResult(call, form ? ClickButton(*browser->page(), form, name, occurrence) : -1);
    return kOk;
}

int Builtin_BrowserSubmitForm(BuiltinCall& call) {
    return SubmitOrReset(call, "Submit form...", "submit");
}

int Builtin_BrowserResetForm(BuiltinCall& call) {
    return SubmitOrReset(call, "Reset form...", "reset");
}
