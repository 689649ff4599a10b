// The application-level commands: New, Open, the recent files, Print Setup, Font, Strict, About.
#include <windows.h>

#include <commdlg.h>
#include <shellapi.h>

#include "about_dialog.h"
#include "doc_template.h"
#include "document.h"
#include "main_frame.h"
#include "program_launch.h"
#include "resource.h"
#include "settings.h"
#include "vexedit_app.h"
#include "view.h"

namespace {

const char kSupportPage[] = "https://www.vexascript.com/support/";
const char kOpenFilter[] = "Vexa Script Files (*.vxs)\0*.vxs\0All Files (*.*)\0*.*\0";
const DWORD kOpenBufferLength = 1300;

bool IsExistingFile(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

bool CVexaScriptApp::OnCommand(int id) {
    if (id >= ID_FILE_MRU_FILE1 && id <= ID_FILE_MRU_FILE16) {
        size_t index = static_cast<size_t>(id - ID_FILE_MRU_FILE1);
        if (index >= recentFiles_.Files().size()) return true;
        std::string path = recentFiles_.Files()[index];
        // A script that no longer opens leaves the list.
        if (!OpenDocumentFile(path)) {
            recentFiles_.Remove(index);
            recentFiles_.Save(*profile_);
        }
        return true;
    }
    switch (id) {
    case ID_FILE_NEW: template_->NewDocument(); return true;
    case ID_FILE_OPEN: OnFileOpen(); return true;
    case ID_FILE_PRINT_SETUP: OnFilePrintSetup(); return true;
    case ID_VIEW_FONT: OnViewFont(); return true;
    case ID_BUILD_STRICT:
        settings::Set(*profile_, settings::kStrict,
                      settings::Get(*profile_, settings::kStrict) == 0 ? 1 : 0);
        return true;
    case ID_APP_ABOUT: OnAppAbout(); return true;
    case ID_HELP_ONLINE_SUPPORT:
        LaunchProgram(kSupportPage);
        return true;
    default: return false;
    }
}

bool CVexaScriptApp::OnUpdateCommand(CCmdUI& ui) {
    if (ui.id >= ID_FILE_MRU_FILE1 && ui.id <= ID_FILE_MRU_FILE16) return true;
    switch (ui.id) {
    case ID_BUILD_STRICT:
        ui.checked = settings::Get(*profile_, settings::kStrict) != 0;
        return true;
    case ID_FILE_NEW:
    case ID_FILE_OPEN:
    case ID_FILE_PRINT_SETUP:
    case ID_VIEW_FONT:
    case ID_APP_ABOUT:
    case ID_HELP_ONLINE_SUPPORT: return true;
    default: return false;
    }
}

void CVexaScriptApp::OnFileOpen() {
    std::string buffer(kOpenBufferLength, '\0');
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = MainWindow();
    dialog.lpstrFilter = kOpenFilter;
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = kOpenBufferLength;
    dialog.lpstrDefExt = "vxs";
    dialog.Flags = OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (!GetOpenFileNameA(&dialog)) return;
    if (IsExistingFile(buffer.c_str())) {
        OpenDocumentFile(buffer.c_str());
        return;
    }
    // Several files: the folder, then each name, every one ended by a NUL.
    std::string folder = buffer.c_str();
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += '\\';
    for (size_t at = std::string(buffer.c_str()).size() + 1;
         at < buffer.size() && buffer[at] != '\0';) {
        std::string name = buffer.c_str() + at;
        OpenDocumentFile(folder + name);
        at += name.size() + 1;
    }
}

void CVexaScriptApp::OnFilePrintSetup() {
    PRINTDLGA dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = MainWindow();
    dialog.hDevMode = devMode_;
    dialog.hDevNames = devNames_;
    dialog.Flags = PD_PRINTSETUP;
    if (PrintDlgA(&dialog)) {
        devMode_ = dialog.hDevMode;
        devNames_ = dialog.hDevNames;
    }
}

void CVexaScriptApp::OnViewFont() {
    int height = settings::Get(*profile_, settings::kFontHeight);
    std::string face = settings::Get(*profile_, settings::kFontName);
    if (face.size() > settings::kMaxFontNameLength) face = settings::kFontName.defaultValue;
    LOGFONTA font{};
    HDC screen = GetDC(nullptr);
    font.lfHeight = -MulDiv(height, GetDeviceCaps(screen, LOGPIXELSY), 720);
    ReleaseDC(nullptr, screen);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = static_cast<BYTE>(settings::Get(*profile_, settings::kFontCharSet));
    lstrcpynA(font.lfFaceName, face.c_str(), LF_FACESIZE);

    CHOOSEFONTA dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = MainWindow();
    dialog.lpLogFont = &font;
    dialog.Flags = CF_SCREENFONTS | CF_FORCEFONTEXIST | CF_INITTOLOGFONTSTRUCT;
    if (!ChooseFontA(&dialog)) return;
    settings::Set(*profile_, settings::kFontHeight, dialog.iPointSize);
    settings::Set(*profile_, settings::kFontName, std::string(font.lfFaceName));
    settings::Set(*profile_, settings::kFontCharSet, font.lfCharSet);
    for (const auto& document : template_->Documents())
        for (CView* view : document->Views())
            view->ApplyFont(dialog.iPointSize, font.lfCharSet, font.lfFaceName);
}

void CVexaScriptApp::OnAppAbout() {
    CAboutDlg about;
    about.DoModal(MainWindow());
}
