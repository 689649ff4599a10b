// GetOpenFileName: the system's file-open dialog, kept inside the desktop work area.
#include <windows.h>

#include <commdlg.h>

#include <string>
#include <vector>

#include "builtin_api.h"
#include "current_folder.h"
#include "dialog_window.h"
#include "progress_dialog.h"

namespace {

class CMyFileDialog {
public:
    // `filter` is "Description|pattern|...||"; `flags` are the OPENFILENAME flags the script asked
    // for.
    CMyFileDialog(const std::string& defaultExtension, const std::string& fileName, DWORD flags,
                  const std::string& filter, HWND owner)
        : defaultExtension_(defaultExtension), filter_(filter), file_(kFileBufferSize, '\0') {
        for (char& c : filter_)
            if (c == '|') c = '\0';
        filter_.push_back('\0');  // a filter without the closing "||" still ends the list
        fileName.copy(file_.data(), file_.size() - 1);
        info_.lStructSize = sizeof(info_);
        info_.hwndOwner = owner;
        info_.lpstrFilter = filter_.c_str();
        info_.lpstrFile = file_.data();
        info_.nMaxFile = static_cast<DWORD>(file_.size());
        info_.lpstrDefExt = defaultExtension_.empty() ? nullptr : defaultExtension_.c_str();
        // Custom templates would need a module the script cannot name; the hook is ours.
        info_.Flags = (flags & ~(OFN_ENABLETEMPLATE | OFN_ENABLETEMPLATEHANDLE)) | OFN_EXPLORER |
                      OFN_ENABLEHOOK | OFN_ENABLESIZING;
        info_.lpfnHook = Hook;
    }

    void SetTitle(const std::string& title) {
        title_ = title;
        info_.lpstrTitle = title_.empty() ? nullptr : title_.c_str();
    }

    // Runs the dialog modally; true when the user confirmed a file.
    bool DoModal() {
        CurrentFolderKeeper keeper;  // OFN_NOCHANGEDIR is not honoured by the open dialog
        return GetOpenFileNameA(&info_) != FALSE;
    }
    std::string PathName() const { return std::string(file_.data()); }

private:
    static constexpr size_t kFileBufferSize = 4096;

    static UINT_PTR CALLBACK Hook(HWND hook, UINT message, WPARAM, LPARAM lParam) {
        if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == CDN_INITDONE)
            KeepInWorkArea(GetParent(hook));
        return 0;
    }

    // Moves the dialog, never resizing it, so that it lies inside the work area.
    static void KeepInWorkArea(HWND dialog) {
        RECT area = WorkAreaOf(dialog), rect{};
        GetWindowRect(dialog, &rect);
        int x = rect.left, y = rect.top, width = rect.right - rect.left,
            height = rect.bottom - rect.top;
        if (x + width > area.right) x = area.right - width;
        if (y + height > area.bottom) y = area.bottom - height;
        if (x < area.left) x = area.left;
        if (y < area.top) y = area.top;
        if (x != rect.left || y != rect.top)
            SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    OPENFILENAMEA info_{};
    std::string defaultExtension_;
    std::string filter_;
    std::string title_;
    std::vector<char> file_;
};

}  // namespace

int Builtin_GetOpenFileName(BuiltinCall& call) {
    SetStringResult(call, "");
    std::string defaultExtension, fileName, filter, title;
    int32_t flags = 0;
    if (int error = GetOptionalStringParam(call, 0, defaultExtension)) return error;
    if (int error = GetOptionalStringParam(call, 1, fileName)) return error;
    if (int error = GetOptionalIntParam(call, 2, flags)) return error;
    if (int error = GetOptionalStringParam(call, 3, filter)) return error;
    if (int error = GetOptionalStringParam(call, 4, title)) return error;
    if (!IsSystemText(defaultExtension) || !IsSystemText(fileName) || !IsSystemText(title))
        return kOk;
    if (filter.empty()) filter = "All Files (*.*)|*.*||";

    CMyFileDialog dialog(defaultExtension, fileName, static_cast<DWORD>(flags) | OFN_HIDEREADONLY,
                         filter, ProgressWindow(call.window).hwnd());
    dialog.SetTitle(title);
    if (dialog.DoModal()) SetStringResult(call, dialog.PathName());
    return 0;
}
