#include "vexedit_app.h"

#include <commctrl.h>
#include <ole2.h>
#include <shellapi.h>

#include <algorithm>
#include <new>

#include "../engine/runtime_windows/win_handles.h"
#include "child_frame.h"
#include "colouring_command.h"
#include "command_line.h"
#include "doc_template.h"
#include "document.h"
#include "help_commands.h"
#include "main_frame.h"
#include "print_layout.h"
#include "resource.h"
#include "run_mode.h"
#include "script_view.h"
#include "tool_commands.h"
#include "view.h"

namespace {

CVexaScriptApp* theApp = nullptr;
std::string startDirectory;

std::string_view CommandLineAfterProgram() { return AfterProgramName(GetCommandLineA()); }

// The INI file of /n: beside the program, or the bare name when the path cannot be read.
std::string IniFilePath() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return "vexedit.ini";
    std::string folder(path, length);
    size_t slash = folder.find_last_of("\\/");
    folder.erase(slash == std::string::npos ? 0 : slash + 1);
    return folder + "vexedit.ini";
}

void RecordStartDirectory() {
    char buffer[520];
    DWORD length = GetCurrentDirectoryA(sizeof(buffer), buffer);
    startDirectory = length >= 1 && length <= 518 ? std::string(buffer, length) : std::string();
}

}  // namespace

const std::string& StartDirectory() { return startDirectory; }

CVexaScriptApp& TheApp() { return *theApp; }

CVexaScriptApp::CVexaScriptApp() { theApp = this; }

CVexaScriptApp::~CVexaScriptApp() {
    template_.reset();
    mainFrame_.reset();
    if (devMode_) GlobalFree(devMode_);
    if (devNames_) GlobalFree(devNames_);
    if (oleStarted_) OleUninitialize();
    theApp = nullptr;
}

HWND CVexaScriptApp::MainWindow() const { return mainFrame_ ? mainFrame_->hwnd() : nullptr; }

int CVexaScriptApp::Main(int showCommand) {
    int frameworkCode = InitInstance(showCommand) ? MessageLoop() : 0;
    // A non-zero code of the loop wins; otherwise the script's result (0 outside run mode).
    return frameworkCode != 0 ? frameworkCode : runResult_;
}

bool CVexaScriptApp::ChooseProfile() {
    if (HasSwitch(CommandLineAfterProgram(), 'n')) {
        try {
            profile_ = MakeIniProfile(IniFilePath());
        } catch (const std::bad_alloc&) {
            MessageBoxA(nullptr, "Out of memory allocating profile name.", kAppName,
                        MB_OK | MB_ICONEXCLAMATION);
            return false;
        }
        iniFile_ = true;
    } else {
        profile_ = MakeRegistryProfile("Vexa", kAppName);
    }
    return true;
}

bool CVexaScriptApp::InitInstance(int showCommand) {
    // The class other programs find a running editor by, registered before any window.
    RegisterWindowClass("VexaScript", CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS,
                        LoadIconA(AppInstance(), MAKEINTRESOURCEA(IDR_MAINFRAME)),
                        LoadCursor(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));

    INITCOMMONCONTROLSEX controls{sizeof(controls), 0x3FFF};  // every control class
    InitCommonControlsEx(&controls);
    if (FAILED(OleInitialize(nullptr))) {
        MessageBoxA(nullptr, LoadResourceString(IDS_OLE_INIT_FAILED).c_str(), kAppName,
                    MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    oleStarted_ = true;
    if (!ChooseProfile()) return false;

    mainFrame_ = std::make_unique<CMainFrame>();
    template_ = std::make_unique<CDocTemplate>(*mainFrame_);
    AddCommandTarget(&HelpCommands());
    AddCommandTarget(&ColouringCommand());
    if (!mainFrame_->Create()) return false;
    accelerators_ = LoadAcceleratorsA(AppInstance(), MAKEINTRESOURCEA(IDR_MAINFRAME));

    std::string_view commandLine = CommandLineAfterProgram();
    bool runMode = HasSwitch(commandLine, 'r');
    RecordStartDirectory();
    if (!runMode && !iniFile_) RegisterShellFileTypes();
    recentFiles_.Load(*profile_);

    std::string file = ScriptPathArgument(commandLine);
    if (runMode && !file.empty()) {
        runResult_ = RunScriptUnattended(mainFrame_->hwnd(), commandLine, *profile_);
        DestroyWindow(mainFrame_->hwnd());
        return false;
    }
    if (HasSwitch(commandLine, 'p') && !file.empty()) {
        PrintFromShell(commandLine, file);
        DestroyWindow(mainFrame_->hwnd());
        return false;
    }
    CDocument* document =
        file.empty() ? template_->NewDocument() : template_->OpenDocumentFile(file);
    if (!document) {
        DestroyWindow(mainFrame_->hwnd());
        return false;
    }
    InstallToolCommands(*this);
    ShowWindow(mainFrame_->hwnd(), showCommand);
    UpdateWindow(mainFrame_->hwnd());
    DragAcceptFiles(mainFrame_->hwnd(), TRUE);
    RunStartupTools();
    return true;
}

// Per-user file type registration: a .vxs opens (and prints) with this editor.
void CVexaScriptApp::RegisterShellFileTypes() {
    char program[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, program, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    std::string quoted = "\"" + std::string(program, length) + "\"";
    struct Entry {
        const char* key;
        std::string value;
    };
    const Entry entries[] = {
        {"Software\\Classes\\.vxs", "VexaScript.Document"},
        {"Software\\Classes\\VexaScript.Document", "Vexa Script File"},
        {"Software\\Classes\\VexaScript.Document\\DefaultIcon", quoted + ",1"},
        {"Software\\Classes\\VexaScript.Document\\shell\\open\\command", quoted + " \"%1\""},
        {"Software\\Classes\\VexaScript.Document\\shell\\print\\command", quoted + " /p \"%1\""},
        {"Software\\Classes\\VexaScript.Document\\shell\\printto\\command",
         quoted + " /pt \"%1\" \"%2\" \"%3\" \"%4\""},
    };
    for (const Entry& entry : entries) {
        UniqueRegKey key;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, entry.key, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                            key.put(), nullptr) == ERROR_SUCCESS)
            RegSetValueExA(key.get(), nullptr, 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(entry.value.c_str()),
                           static_cast<DWORD>(entry.value.size() + 1));
    }
}

int CVexaScriptApp::MessageLoop() {
    MSG message;
    bool idle = true;
    for (;;) {
        while (idle && !PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            if (mainFrame_->hwnd()) mainFrame_->OnIdle();
            idle = false;
        }
        BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0 || got == -1) break;
        if (!PreTranslateMessage(message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        // Timer ticks and mouse moves alone do not warrant another idle pass.
        if (message.message != WM_TIMER && message.message != WM_MOUSEMOVE &&
            message.message != WM_NCMOUSEMOVE)
            idle = true;
    }
    return static_cast<int>(message.wParam);
}

bool CVexaScriptApp::PreTranslateMessage(MSG& message) {
    for (HWND dialog : modeless_)
        if (IsWindow(dialog) && IsDialogMessageA(dialog, &message)) return true;
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST) return false;
    HWND frame = mainFrame_->hwnd();
    if (!frame) return false;
    if (CView* view = mainFrame_->ActiveView())
        if (message.hwnd == view->hwnd() && view->PreTranslateMessage(message)) return true;
    if (TranslateMDISysAccel(mainFrame_->MdiClient(), &message)) return true;
    // Accelerators act only for keys typed into the editor, not into its dialogs.
    if (GetAncestor(message.hwnd, GA_ROOT) != frame) return false;
    return accelerators_ && TranslateAcceleratorA(frame, accelerators_, &message);
}

void CVexaScriptApp::RemoveModelessDialog(HWND dialog) {
    modeless_.erase(std::remove(modeless_.begin(), modeless_.end(), dialog), modeless_.end());
}

void CVexaScriptApp::AddToRecentFileList(const std::string& path) {
    recentFiles_.Add(path);
    if (profile_) recentFiles_.Save(*profile_);
}

void CVexaScriptApp::PrintFromShell(std::string_view commandLine, const std::string& file) {
    CDocument* document = template_->OpenDocumentFile(file);
    auto* view = document ? dynamic_cast<CVexaScriptView*>(document->FirstView()) : nullptr;
    if (!view) return;  // the document's own error was shown
    const std::vector<std::string> target = ArgumentsAfterPath(commandLine);
    auto word = [&](size_t i) { return i < target.size() ? target[i].c_str() : nullptr; };
    HDC printer =
        target.empty() ? CreatePrinterDC() : CreateDCA(word(1), word(0), word(2), nullptr);
    if (!printer) return;  // no printer to print on
    view->PrintOn(printer);
    DeleteDC(printer);
}

CDocument* CVexaScriptApp::OpenDocumentFile(const std::string& path) {
    return template_->OpenDocumentFile(path);
}

bool CVexaScriptApp::RouteToTargets(int id) {
    if (OnCommand(id)) return true;
    for (CCommandTarget* target : targets_)
        if (target->OnCommand(id)) return true;
    return false;
}

bool CVexaScriptApp::QueryTargets(CCmdUI& ui) {
    if (OnUpdateCommand(ui)) return true;
    for (CCommandTarget* target : targets_)
        if (target->OnUpdateCommand(ui)) return true;
    return false;
}
