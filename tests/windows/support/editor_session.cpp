#include "support/editor_session.h"

#include <commctrl.h>

#include <vector>

#include "support/engine_library.h"

namespace {

struct WindowSearch {
    DWORD processId;
    HWND found = nullptr;
};

BOOL CALLBACK FindMainWindow(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (owner == search->processId && strcmp(className, "VexaScript") == 0 &&
        IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND ChildOfClass(HWND parent, const char* className) {
    return FindWindowExA(parent, nullptr, className, nullptr);
}

}  // namespace

EditorSession::~EditorSession() {
    if (!process_.process) return;
    // The test is over: unsaved scripts and open boxes must not keep the editor alive.
    TerminateProcess(process_.process, 0);
    WaitForSingleObject(process_.process, 10000);
}

bool EditorSession::Start(const std::string& arguments, const std::string& folder) {
    const std::string command = "\"" + BinaryDir() + "\\vexedit.exe\" " + arguments;
    if (!StartProcess(command, folder, process_)) return false;
    WindowSearch search{process_.id};
    WaitUntil(
        [&] {
            EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        20000);
    main_ = search.found;
    return main_ != nullptr;
}

LRESULT EditorSession::Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result);
    return static_cast<LRESULT>(result);
}

LRESULT EditorSession::SendWithBuffer(HWND window, UINT message, WPARAM wParam, void* data,
                                      size_t size) const {
    HANDLE process = process_.process;
    void* remote = VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    if (!remote) return 0;
    WriteProcessMemory(process, remote, data, size, nullptr);
    LRESULT result = Send(window, message, wParam, reinterpret_cast<LPARAM>(remote));
    ReadProcessMemory(process, remote, data, size, nullptr);
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return result;
}

HWND EditorSession::ActiveEdit() const {
    HWND client = ChildOfClass(main_, "MDIClient");
    HWND child = client ? reinterpret_cast<HWND>(Send(client, WM_MDIGETACTIVE, 0, 0)) : nullptr;
    return child ? ChildOfClass(child, RICHEDIT_CLASSA) : nullptr;
}

std::string EditorSession::ActiveTitle() const {
    HWND edit = ActiveEdit();
    if (!edit) return {};
    char title[256] = {};
    GetWindowTextA(GetParent(edit), title, sizeof title);
    return title;
}

HWND EditorSession::WaitForActiveChild(const std::string& title, DWORD timeoutMs) const {
    HWND edit = nullptr;
    WaitUntil(
        [&] {
            edit = ActiveTitle().rfind(title, 0) == 0 ? ActiveEdit() : nullptr;
            return edit != nullptr;
        },
        timeoutMs);
    return edit;
}

void EditorSession::Command(int id) const { PostMessageA(main_, WM_COMMAND, id, 0); }

std::string EditorSession::Text(HWND edit) const {
    // The length may count a line end as one character while the text holds two.
    std::vector<char> buffer(2 * static_cast<size_t>(Send(edit, WM_GETTEXTLENGTH, 0, 0)) + 1, '\0');
    Send(edit, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    return buffer.data();
}

CHARRANGE EditorSession::Selection(HWND edit) const {
    CHARRANGE range{};
    SendWithBuffer(edit, EM_EXGETSEL, 0, &range, sizeof range);
    return range;
}

void EditorSession::Select(HWND edit, LONG first, LONG last) const {
    Send(edit, EM_SETSEL, first, last);
}

LONG EditorSession::CaretLine(HWND edit) const {
    return static_cast<LONG>(Send(edit, EM_EXLINEFROMCHAR, 0, Selection(edit).cpMin));
}

bool EditorSession::Modified(HWND edit) const { return Send(edit, EM_GETMODIFY, 0, 0) != 0; }

std::string EditorSession::StatusPane(int pane) const {
    HWND bar = ChildOfClass(main_, STATUSCLASSNAMEA);
    if (!bar) return {};
    char text[256] = {};
    SendWithBuffer(bar, SB_GETTEXTA, pane, text, sizeof text);
    return text;
}

CHARFORMAT2A EditorSession::SelectionFormat(HWND edit) const {
    CHARFORMAT2A format{};
    format.cbSize = sizeof format;
    SendWithBuffer(edit, EM_GETCHARFORMAT, SCF_SELECTION, &format, sizeof format);
    return format;
}

PARAFORMAT2 EditorSession::SelectionParagraph(HWND edit) const {
    PARAFORMAT2 format{};
    format.cbSize = sizeof format;
    SendWithBuffer(edit, EM_GETPARAFORMAT, 0, &format, sizeof format);
    return format;
}

bool EditorSession::FocusEdit(HWND edit) const {
    SetForegroundWindow(main_);
    const DWORD editorThread = GetWindowThreadProcessId(edit, nullptr);
    const DWORD ownThread = GetCurrentThreadId();
    AttachThreadInput(ownThread, editorThread, TRUE);
    SetFocus(edit);
    AttachThreadInput(ownThread, editorThread, FALSE);
    return WaitUntil([&] { return GetForegroundWindow() == main_; }, 3000);
}

void PressKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        INPUT down{};
        down.type = INPUT_KEYBOARD;
        down.ki.wVk = key;
        inputs.push_back(down);
    }
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
        INPUT up{};
        up.type = INPUT_KEYBOARD;
        up.ki.wVk = *key;
        up.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(up);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}
