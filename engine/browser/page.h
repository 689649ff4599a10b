// The one page interface the browser functions work through: a browser window with its
// navigation state, and the objects of its pages (documents, frames, links, forms, elements)
// reached by their DOM property names. The DevTools backend (Chromium, Edge) and the COM
// backend (Internet Explorer) implement it; the link and form rules are written once above it.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// An object of a page as its backend holds it (a remote object id, a dispatch pointer).
class PageObject {
public:
    virtual ~PageObject() = default;
};
using PageRef = std::shared_ptr<PageObject>;

class PageBackend {
public:
    virtual ~PageBackend() = default;

    // The browser window: alive while the page it shows still exists.
    virtual bool IsAlive() = 0;
    virtual bool IsBusy() = 0;
    // The browser's own ready state (0..4), -1 when it cannot be read.
    virtual int ReadyState() = 0;
    virtual bool Navigate(const std::string& url) = 0;
    virtual bool GoBack() = 0;
    virtual bool Refresh() = 0;
    virtual bool Quit() = 0;
    // The system's show command on the window; 1 when it was visible before.
    virtual int ShowWindow(int command) = 0;
    virtual bool BringToFront() = 0;
    virtual std::string StatusText() = 0;
    virtual std::string LocationUrl() = 0;
    // Counts the navigations started so far; a form chosen before the count moved is gone.
    virtual uint64_t NavigationCount() = 0;

    // The top-level HTML document; null when the page has none.
    virtual PageRef TopDocument() = 0;
    // The documents of a document's frames, in frame order (frames it cannot reach left out).
    virtual std::vector<PageRef> FrameDocuments(const PageRef& document) = 0;
    // The items of a collection property ("links", "forms", "elements", "options").
    virtual std::vector<PageRef> Items(const PageRef& object, const char* collection) = 0;
    // The elements below an object with a tag name ("html", "img").
    virtual std::vector<PageRef> ByTag(const PageRef& object, const char* tag) = 0;
    // An object-valued property ("body"); null when absent.
    virtual PageRef Member(const PageRef& object, const char* name) = 0;
    // A string property; false when it is absent or not a string.
    virtual bool ReadString(const PageRef& object, const char* name, std::string& text) = 0;
    virtual bool ReadFlag(const PageRef& object, const char* name) = 0;
    virtual bool WriteString(const PageRef& object, const char* name, const std::string& text) = 0;
    virtual bool WriteFlag(const PageRef& object, const char* name, bool value) = 0;
    // A method without arguments ("click", "submit", "reset"); false when it failed.
    virtual bool Call(const PageRef& object, const char* method) = 0;
    // Runs the element's script handler ("onclick", "onchange") as the user's action would.
    virtual bool FireEvent(const PageRef& object, const char* handler) = 0;
};

// Reads a string property, the empty string when it is absent or not a string.
inline std::string StringOf(PageBackend& page, const PageRef& object, const char* name) {
    std::string text;
    return page.ReadString(object, name, text) ? text : std::string();
}
