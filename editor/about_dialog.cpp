#include "about_dialog.h"

#include <vector>

#include "command_line.h"
#include "resource.h"
#include "window_base.h"

CAboutDlg::CAboutDlg() : CModalDialog(IDD_ABOUTBOX) {}

CAboutDlg::~CAboutDlg() {
    if (productFont_) DeleteObject(productFont_);
}

void CAboutDlg::OnInitDialog() {
    SetDlgItemTextA(hwnd(), IDC_ABOUT_VERSION, ("Version " + ProgramVersionText()).c_str());
    RECT product;
    GetWindowRect(Item(IDC_ABOUT_PRODUCT), &product);
    productFont_ = CreateFontA(product.bottom - product.top, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                               DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                               DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial");
    SendMessageA(Item(IDC_ABOUT_PRODUCT), WM_SETFONT, reinterpret_cast<WPARAM>(productFont_),
                 FALSE);
}

std::string ProgramVersionText() {
    char path[MAX_PATH];
    if (!GetModuleFileNameA(AppInstance(), path, MAX_PATH)) return std::string();
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    if (size == 0) return std::string();
    std::vector<char> data(size);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!GetFileVersionInfoA(path, 0, size, data.data()) ||
        !VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&info), &length) || !info)
        return std::string();
    return VersionText(HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS),
                       HIWORD(info->dwFileVersionLS));
}
