// The menu bar of the foreground window: the state of one command named by its path, and the
// list of every command's path.
#include <windows.h>

#include <string>

#include "builtin_api.h"
#include "error_codes.h"

namespace {

constexpr int kMenuTextBuffer = 256;

// Menu text as a user reads it: "&" markers dropped ("&&" is a plain "&"), the accelerator
// after a tab cut off.
std::string CleanMenuText(const std::string& text) {
    std::string clean;
    for (size_t i = 0; i < text.size() && text[i] != '\t'; ++i) {
        if (text[i] != '&')
            clean += text[i];
        else if (i + 1 < text.size() && text[i + 1] == '&')
            clean += text[++i];
    }
    return clean;
}

// One walk for both functions: GetMenuState looks for `path` (levels joined by a newline),
// GetMenuCommandStrings collects every command (levels joined by backslash-n).
struct MenuWalk {
    explicit MenuWalk(const char* levelSeparator, const std::string* wanted = nullptr)
        : separator(levelSeparator), path(wanted) {}

    const char* separator;
    const std::string* path;  // set: find this command's state
    int32_t state = -1;
    std::string listing;

    bool Walk(HMENU menu, const std::string& prefix) {
        int count = GetMenuItemCount(menu);
        for (int position = 0; position < count; ++position) {
            char text[kMenuTextBuffer] = "";
            if (GetMenuStringA(menu, static_cast<UINT>(position), text, kMenuTextBuffer,
                               MF_BYPOSITION) <= 0)
                continue;  // a separator
            std::string name = prefix + CleanMenuText(text);
            if (HMENU sub = GetSubMenu(menu, position)) {
                if (Walk(sub, name + separator)) return true;
            } else if (path && name == *path) {
                state = static_cast<int32_t>(
                    GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION));
                return true;
            } else if (!path) {
                listing += name + "\n";
            }
        }
        return false;
    }
};

HMENU ForegroundMenuBar() {
    HWND foreground = GetForegroundWindow();
    return foreground ? GetMenu(foreground) : nullptr;
}

}  // namespace

int Builtin_GetMenuState(BuiltinCall& call) {
    SetIntResult(call, 0);
    std::string path;
    if (int error = GetStringParam(call, 0, path)) return error;
    SetIntResult(call, -1);
    if (path.empty()) return kOk;
    StatusLine status(call.window, "Get menu state...");
    MenuWalk walk{"\n", &path};
    if (HMENU menu = ForegroundMenuBar()) walk.Walk(menu, "");
    SetIntResult(call, walk.state);
    return kOk;
}

int Builtin_GetMenuCommandStrings(BuiltinCall& call) {
    SetStringResult(call, "");
    StatusLine status(call.window, "Get menu command strings...");
    MenuWalk walk{"\\n"};
    if (HMENU menu = ForegroundMenuBar()) walk.Walk(menu, "");
    SetStringResult(call, walk.listing);
    return kOk;
}
