// List boxes and combo boxes of the foreground window, addressed by identifier or by the label
// in front of them: selecting an entry by its beginning, counting entries, reading one.
#include <windows.h>

#include <algorithm>
#include <string>

#include "builtin_api.h"
#include "error_codes.h"
#include "progress_dialog.h"
#include "window_search.h"

namespace {

constexpr int32_t kListTimeout = 1000;
constexpr WORD kSelectionChange = 1;  // LBN_SELCHANGE and CBN_SELCHANGE alike

// The messages that differ between the two kinds of list.
struct ListMessages {
    UINT getCount, getCurrent, getTextLength, getText;
};
constexpr ListMessages kListBox{LB_GETCOUNT, LB_GETCURSEL, LB_GETTEXTLEN, LB_GETTEXT};
constexpr ListMessages kComboBox{CB_GETCOUNT, CB_GETCURSEL, CB_GETLBTEXTLEN, CB_GETLBTEXT};

// The list found for this pass when it is visible (and enabled, if `enabled`).
bool FindList(const ControlName& name, bool enabled, FoundControl& found) {
    return FindControlAfterLabel(name, found) && IsWindowVisible(found.control) &&
           (!enabled || IsWindowEnabled(found.control));
}

LRESULT Ask(HWND list, UINT message, WPARAM wParam = 0, LPARAM lParam = 0, bool wide = false) {
    LRESULT answer = LB_ERR;
    return AskControl(list, message, wParam, lParam, answer, wide) ? answer : LB_ERR;
}

// An entry's text, read in Unicode and given in the system code page: Wine hands the ANSI
// form of a list's text across processes without converting it back. False for an empty
// entry, or when what was read differs in length from what the list reported.
bool ReadEntry(HWND list, const ListMessages& messages, LRESULT item, std::string& text) {
    LRESULT length = Ask(list, messages.getTextLength, static_cast<WPARAM>(item), 0, true);
    if (length <= 0) return false;
    std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
    LRESULT read = Ask(list, messages.getText, static_cast<WPARAM>(item),
                       reinterpret_cast<LPARAM>(wide.data()), true);
    if (read != length) return false;
    int bytes = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(length), nullptr, 0,
                                    nullptr, nullptr);
    text.assign(static_cast<size_t>(std::max(bytes, 0)), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(length), text.data(), bytes,
                        nullptr, nullptr);
    return true;
}

// Text empty in a list of several selections: every entry deselected one by one, Cancel
// looked at after each.
PollStep DeselectAll(BuiltinCall& call, HWND list, LRESULT count, bool& accepted) {
    CProgressDlg& window = ProgressWindow(call.window);
    for (LRESULT i = 0; i < count; ++i) {
        if (Ask(list, LB_SETSEL, FALSE, i) != LB_ERR) accepted = true;
        if (window.PumpMessages()) return PollStep::kCancelled;
    }
    return PollStep::kDone;
}

// One attempt of ListBox_SelectString on a list with at least one entry.
PollStep SelectInListBox(BuiltinCall& call, HWND list, LRESULT count, const std::string& text,
                         bool& selected) {
    // Only a list of several selections can count its selected entries.
    const bool multiple = Ask(list, LB_GETSELCOUNT) != LB_ERR;
    const LPARAM find = reinterpret_cast<LPARAM>(text.c_str());
    if (!text.empty() && multiple) {
        LRESULT index = Ask(list, LB_FINDSTRING, static_cast<WPARAM>(-1), find);
        selected = index != LB_ERR && Ask(list, LB_SETSEL, TRUE, index) != LB_ERR;
    } else if (!text.empty()) {
        selected = Ask(list, LB_SELECTSTRING, static_cast<WPARAM>(-1), find) != LB_ERR;
    } else if (!multiple) {
        Ask(list, LB_SETCURSEL, static_cast<WPARAM>(-1));  // answers LB_ERR by design
        selected = true;
    } else {
        PollStep step = DeselectAll(call, list, count, selected);
        if (step == PollStep::kCancelled) return step;
    }
    return DoneIf(selected);
}

int SelectString(BuiltinCall& call, const char* status, bool comboBox) {
    SetIntResult(call, 0);
    ControlTextRequest request;
    if (int error = GetControlTextParams(call, request)) return error;
    const std::string& text = request.text;
    const ListMessages& messages = comboBox ? kComboBox : kListBox;
    return Poll(call, status, kListTimeout, [&] {
        FoundControl found;
        if (!FindList(request.name, true, found)) return PollStep::kRetry;
        LRESULT count = Ask(found.control, messages.getCount);
        if (count == LB_ERR || count < 1) return PollStep::kRetry;
        bool selected = false;
        PollStep step =
            comboBox
                ? DoneIf(selected = Ask(found.control, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                                        reinterpret_cast<LPARAM>(text.c_str())) != CB_ERR)
                : SelectInListBox(call, found.control, count, text, selected);
        if (step != PollStep::kDone) return step;
        if (request.flags & 1) NotifyParent(found, kSelectionChange);
        SetIntResult(call, 1);
        return PollStep::kDone;
    });
}

// Whole-period polls: every pass that finds the list overwrites the result.
int GetCount(BuiltinCall& call, const char* status, const ListMessages& messages) {
    SetIntResult(call, 0);
    ControlName name;
    if (int error = GetControlParam(call, 0, name)) return error;
    SetIntResult(call, -1);
    return Poll(call, status, kListTimeout, [&] {
        FoundControl found;
        if (FindList(name, false, found)) SetIntResult(call, Ask(found.control, messages.getCount));
        return PollStep::kRetry;
    });
}

int GetText(BuiltinCall& call, const char* status, const ListMessages& messages) {
    SetStringResult(call, "");
    ControlName name;
    int32_t index = -1;
    if (int error = GetControlParam(call, 0, name)) return error;
    if (int error = GetOptionalIntParam(call, 1, index)) return error;
    return Poll(call, status, kListTimeout, [&] {
        FoundControl found;
        if (!FindList(name, false, found)) return PollStep::kRetry;
        // -1 is the current selection, asked again in every pass.
        LRESULT item = index == -1 ? Ask(found.control, messages.getCurrent) : index;
        LRESULT count = Ask(found.control, messages.getCount);
        if (item < 0 || item >= count) return PollStep::kRetry;
        std::string text;
        if (ReadEntry(found.control, messages, item, text)) SetStringResult(call, text);
        return PollStep::kRetry;
    });
}

}  // namespace

int Builtin_ListBox_SelectString(BuiltinCall& call) {
    return SelectString(call, "Select listbox string...", false);
}

int Builtin_ComboBox_SelectString(BuiltinCall& call) {
    return SelectString(call, "Select combobox string...", true);
}

int Builtin_ListBox_GetCount(BuiltinCall& call) {
    return GetCount(call, "Listbox get count...", kListBox);
}

int Builtin_ComboBox_GetCount(BuiltinCall& call) {
    return GetCount(call, "Combobox get count...", kComboBox);
}

int Builtin_ListBox_GetText(BuiltinCall& call) {
    return GetText(call, "Listbox get text...", kListBox);
}

int Builtin_ComboBox_GetText(BuiltinCall& call) {
    return GetText(call, "Combobox get text...", kComboBox);
}
