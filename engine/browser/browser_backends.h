// The setting that chooses the browser: "Browser" beside Strict. Empty or missing means the
// default search for Edge and Chrome over DevTools; "Internet Explorer" (or "iexplore")
// means Internet Explorer through COM; anything else is the command line of a Chromium-based
// browser program, to which the engine adds its own switches.
#pragma once
#include <functional>
#include <memory>
#include <string>

#include "page.h"

// Starts a new browser window showing an empty page; null on failure. `keepWaiting` runs
// while a browser program starts and returns false to give up (Cancel).
std::unique_ptr<PageBackend> LaunchBrowser(const std::function<bool()>& keepWaiting);
// Offers every open page of the browsers the engine can reach, in their order, until `visit`
// returns false.
void ForEachOpenPage(const std::function<bool(std::unique_ptr<PageBackend>)>& visit);
