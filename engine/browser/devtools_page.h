// The page interface over one DevTools page target of a Chromium-based browser.
#pragma once
#include <memory>

#include "devtools_browser.h"
#include "page.h"

// Connects to the page; null when it cannot be reached.
std::unique_ptr<PageBackend> AttachDevToolsPage(const DevToolsTarget& target);
