// The page interface over Internet Explorer's automation object (IWebBrowser2), its event
// interface and the HTML document object model, reached through IDispatch by property name.
#pragma once
#include <functional>
#include <memory>

#include "page.h"

// Creates a new Internet Explorer window; null when the object cannot be created (the host
// has not initialised the component model, or there is no Internet Explorer).
std::unique_ptr<PageBackend> CreateInternetExplorer(bool visible);
// Offers a page for every window in the shell's list that has the browser interface, in the
// list's order, until `visit` returns false.
void ForEachInternetExplorer(const std::function<bool(std::unique_ptr<PageBackend>)>& visit);
