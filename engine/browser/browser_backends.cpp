#include "browser_backends.h"

#include <windows.h>

#include "com_page.h"
#include "devtools_page.h"
#include "engine_settings.h"
#include "win_handles.h"

namespace {

std::string ReadBrowserSetting() {
    UniqueRegKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_QUERY_VALUE, key.put()) !=
        ERROR_SUCCESS)
        return {};
    char text[1024] = {};
    DWORD type = 0, size = sizeof text - 1;
    if (RegQueryValueExA(key.get(), "Browser", nullptr, &type, reinterpret_cast<BYTE*>(text),
                         &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return {};
    return text;
}

bool ChoosesInternetExplorer(const std::string& setting) {
    return lstrcmpiA(setting.c_str(), "Internet Explorer") == 0 ||
           lstrcmpiA(setting.c_str(), "iexplore") == 0;
}

}  // namespace

std::unique_ptr<PageBackend> LaunchBrowser(const std::function<bool()>& keepWaiting) {
    std::string setting = ReadBrowserSetting();
    if (ChoosesInternetExplorer(setting)) return CreateInternetExplorer(true);
    DevToolsTarget page;
    if (!LaunchDevToolsBrowser(setting, keepWaiting, page)) return nullptr;
    return AttachDevToolsPage(page);
}

void ForEachOpenPage(const std::function<bool(std::unique_ptr<PageBackend>)>& visit) {
    if (ChoosesInternetExplorer(ReadBrowserSetting())) {
        ForEachInternetExplorer(visit);
        return;
    }
    for (const DevToolsTarget& target : ListReachablePages()) {
        if (auto page = AttachDevToolsPage(target); page && !visit(std::move(page))) return;
    }
}
