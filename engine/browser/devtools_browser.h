// Chromium-based browsers the engine can reach over DevTools: the configured or found browser
// program, started with a private profile and a debugging port, and the page targets of every
// browser the engine started (their profiles say on which port) or that listens on 9222.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct DevToolsTarget {
    uint16_t port = 0;
    std::string id;
    std::string socketPath;  // /devtools/page/ID
    std::string title;
    std::string url;
};

// Starts the browser program of `commandLine` (empty: the default search) with a new private
// profile and waits until its first page can be reached, while `keepWaiting` returns true.
bool LaunchDevToolsBrowser(const std::string& commandLine, const std::function<bool()>& keepWaiting,
                           DevToolsTarget& page);
// The page targets of every browser the engine can reach, browsers in the order they were
// started, pages in the browser's own order.
std::vector<DevToolsTarget> ListReachablePages();
// Closes one page target; a browser whose last page closes ends itself.
bool CloseDevToolsPage(const DevToolsTarget& page);
// The program the default search finds (Edge, Chrome, Chromium; under Wine the host's too),
// as a quoted path plus the switches it needs; empty when none is installed.
std::string FindBrowserCommandLine();
