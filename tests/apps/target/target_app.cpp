#include "target_app.h"

#include <cstdio>
#include <string>

#include "target_resource.h"

namespace {

constexpr COLORREF kPatchColor = RGB(0x12, 0x34, 0x56);
constexpr char kFrameClass[] = "VexTargetFrame";
constexpr char kChildClass[] = "VexTargetChild";

struct TargetState {
    TargetOptions options;
    HINSTANCE instance = nullptr;
    HWND dialog = nullptr;
    HWND frame = nullptr;
    HWND mdiClient = nullptr;
    HACCEL accelerators = nullptr;
    HBRUSH patchBrush = nullptr;
    int insideControl = 0;  // > 0 while a control of the dialog handles a message
};
TargetState g;

// Opened and closed per line so a reader sees every line as soon as it is written.
void Log(const std::string& line) {
    HANDLE file = CreateFileA(g.options.logPath.c_str(), FILE_APPEND_DATA,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    std::string text = line + "\r\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

constexpr char kOriginalProc[] = "VexTargetOriginalProc";

// A notification comes from the control itself when it arrives while the control handles a
// message (a posted click, a text set); otherwise a sent one came from another thread.
std::string Sender() { return g.insideControl == 0 && InSendMessage() ? "other" : "own"; }

std::string WindowText(HWND window) {
    std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, text.data(), (int)text.size())));
    std::string out;
    for (char c : text) {
        if (c == '\r') continue;
        out += c == '\n' ? std::string("\\n") : std::string(1, c);
    }
    return out;
}

std::string Selection(HWND list, bool combo) {
    if (combo) {
        LRESULT index = SendMessageA(list, CB_GETCURSEL, 0, 0);
        return index == CB_ERR ? "none" : std::to_string(index);
    }
    std::string out;
    LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        if (SendMessageA(list, LB_GETSEL, static_cast<WPARAM>(i), 0) <= 0) continue;
        if (!out.empty()) out += ',';
        out += std::to_string(i);
    }
    return out.empty() ? "none" : out;
}

void LogControlNotification(HWND dialog, int id, int code, HWND control) {
    const std::string head = " " + std::to_string(id) + " " + Sender() + " ";
    char cls[32] = "";
    GetClassNameA(control, cls, sizeof cls);
    bool combo = lstrcmpiA(cls, "ComboBox") == 0;
    if (lstrcmpiA(cls, "Button") == 0 && code == BN_CLICKED)
        Log("click" + head + std::to_string(SendMessageA(control, BM_GETCHECK, 0, 0)));
    else if (lstrcmpiA(cls, "Edit") == 0 && code == EN_CHANGE)
        Log("change" + head + WindowText(control));
    else if ((combo && code == CBN_SELCHANGE) ||
             (lstrcmpiA(cls, "ListBox") == 0 && code == LBN_SELCHANGE))
        Log("select" + head + Selection(control, combo));
}

// Closing the dialog ends the program: the frame has no button a script could press.
void QuitWhenDialogClosed() {
    if (!g.options.quitWhenClosed) return;
    if (g.frame) DestroyWindow(g.frame);
    PostQuitMessage(0);
}

// Every control of the dialog is subclassed to count when it is at work. The group box is also
// the parent of the button inside it: its notifications go on to the dialog.
LRESULT CALLBACK ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto original = reinterpret_cast<WNDPROC>(GetPropA(window, kOriginalProc));
    if (message == WM_COMMAND && GetDlgCtrlID(window) == IDC_OPTIONS)
        return SendMessageA(GetParent(window), message, wParam, lParam);
    if (message == WM_NCDESTROY) RemovePropA(window, kOriginalProc);
    ++g.insideControl;
    LRESULT result = CallWindowProcA(original, window, message, wParam, lParam);
    --g.insideControl;
    return result;
}

BOOL CALLBACK SubclassControl(HWND control, LPARAM) {
    SetPropA(control, kOriginalProc,
             reinterpret_cast<HANDLE>(GetWindowLongPtrA(control, GWLP_WNDPROC)));
    SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ControlProc));
    return TRUE;
}

void FillControls(HWND dialog) {
    for (const char* fruit : {"Apple", "Banana", "Cherry", "Blueberry"})
        SendDlgItemMessageA(dialog, IDC_FRUITS, LB_ADDSTRING, 0, (LPARAM)fruit);
    for (const char* color : {"Red", "Green", "Blue", "Black"})
        SendDlgItemMessageA(dialog, IDC_COLORS, LB_ADDSTRING, 0, (LPARAM)color);
    for (const char* country : {"France", "Germany", "Greece", "Italy"})
        SendDlgItemMessageA(dialog, IDC_COUNTRY, CB_ADDSTRING, 0, (LPARAM)country);

    // A real child of the group box, so a search must look inside the box to find it.
    HWND group = GetDlgItem(dialog, IDC_OPTIONS);
    RECT box;
    GetClientRect(group, &box);
    HWND inside =
        CreateWindowExA(0, "BUTTON", "&Inside", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 20, 80,
                        box.bottom - 28, group, (HMENU)(INT_PTR)IDC_INSIDE, g.instance, nullptr);
    SendMessageA(inside, WM_SETFONT, SendMessageA(dialog, WM_GETFONT, 0, 0), FALSE);
    EnumChildWindows(dialog, SubclassControl, 0);
}

void LogPatchPoint(HWND dialog) {
    RECT patch;
    GetWindowRect(GetDlgItem(dialog, IDC_PATCH), &patch);
    Log("patch " + std::to_string((patch.left + patch.right) / 2) + " " +
        std::to_string((patch.top + patch.bottom) / 2));
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: FillControls(dialog); return TRUE;
    case WM_CTLCOLORSTATIC:
        if (GetDlgCtrlID((HWND)lParam) == IDC_PATCH) return (INT_PTR)g.patchBrush;
        return FALSE;
    case WM_COMMAND: {
        int id = LOWORD(wParam);
        if (lParam) LogControlNotification(dialog, id, HIWORD(wParam), (HWND)lParam);
        if (id == IDCANCEL || (id == IDC_CLOSE && HIWORD(wParam) == BN_CLICKED))
            DestroyWindow(dialog);
        return TRUE;
    }
    case WM_CLOSE: DestroyWindow(dialog); return TRUE;
    case WM_DESTROY:
        g.dialog = nullptr;
        Log("closed dialog");
        QuitWhenDialogClosed();
        return TRUE;
    }
    return FALSE;
}

LRESULT CALLBACK ChildProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefMDIChildProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK FrameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        CLIENTCREATESTRUCT client{GetSubMenu(GetMenu(frame), 3), 50000};
        g.mdiClient = CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                                      WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 0, 0, frame,
                                      nullptr, g.instance, &client);
        MDICREATESTRUCTA child{kChildClass, "Document 1", g.instance, 10, 10, 300, 200, 0, 0};
        SendMessageA(g.mdiClient, WM_MDICREATE, 0, (LPARAM)&child);
        return 0;
    }
    case WM_COMMAND:
        if (lParam == 0 && LOWORD(wParam) < 50000) Log("menu " + std::to_string(LOWORD(wParam)));
        if (LOWORD(wParam) == IDM_EXIT) DestroyWindow(frame);
        break;
    case WM_DESTROY:
        g.frame = nullptr;
        g.mdiClient = nullptr;
        Log("closed frame");
        return 0;
    }
    return DefFrameProcA(frame, g.mdiClient, message, wParam, lParam);
}

bool RegisterClasses() {
    WNDCLASSA frame{};
    frame.lpfnWndProc = FrameProc;
    frame.hInstance = g.instance;
    frame.hCursor = LoadCursor(nullptr, IDC_ARROW);
    frame.hbrBackground = (HBRUSH)(COLOR_APPWORKSPACE + 1);
    frame.lpszClassName = kFrameClass;
    WNDCLASSA child = frame;
    child.lpfnWndProc = ChildProc;
    child.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    child.lpszClassName = kChildClass;
    // A second open in one process finds the classes already there.
    return (RegisterClassA(&frame) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS) &&
           (RegisterClassA(&child) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS);
}

void Activate(HWND window) {
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    SetActiveWindow(window);
}

}  // namespace

bool OpenTarget(HINSTANCE instance, const TargetOptions& options) {
    g.options = options;
    g.instance = instance;
    if (!g.patchBrush) g.patchBrush = CreateSolidBrush(kPatchColor);
    if (options.frame) {
        if (!RegisterClasses()) return false;
        g.accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_TARGET_ACCEL));
        g.frame = CreateWindowExA(
            0, kFrameClass, "Vexa Target", WS_OVERLAPPEDWINDOW, 620, 20, 520, 380, nullptr,
            LoadMenuA(instance, MAKEINTRESOURCEA(IDR_TARGET_MENU)), instance, nullptr);
        if (!g.frame) return false;
        Activate(g.frame);
        Log("ready frame");
    }
    if (options.dialog) {
        g.dialog =
            CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_TARGET), nullptr, DialogProc, 0);
        if (!g.dialog) return false;
        SetWindowPos(g.dialog, nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        Activate(g.dialog);
        LogPatchPoint(g.dialog);
        Log("ready dialog");
    }
    return true;
}

void CloseTarget() {
    if (g.dialog) DestroyWindow(g.dialog);
    if (g.frame) DestroyWindow(g.frame);
}

bool TranslateTargetMessage(MSG& message) {
    if (g.dialog && IsDialogMessageA(g.dialog, &message)) return true;
    if (g.mdiClient && TranslateMDISysAccel(g.mdiClient, &message)) return true;
    return g.frame && g.accelerators && TranslateAcceleratorA(g.frame, g.accelerators, &message);
}

HWND TargetDialog() { return g.dialog; }
HWND TargetFrame() { return g.frame; }
