#include "devtools_page.h"

#include <algorithm>
#include <set>

#include "browser_text.h"
#include "devtools_session.h"

namespace {

// Ids of page objects the engine no longer holds, released with the page's next call, so a
// long wait that polls the page does not pile up objects in it until the next navigation.
using Garbage = std::shared_ptr<std::vector<std::string>>;

// A page object is a remote object of the page's script context; navigation invalidates it.
class RemoteObject : public PageObject {
public:
    RemoteObject(std::string id, Garbage garbage)
        : id(std::move(id)), garbage_(std::move(garbage)) {}
    ~RemoteObject() override { garbage_->push_back(std::move(id)); }
    std::string id;

private:
    Garbage garbage_;
};

const std::string& IdOf(const PageRef& object) {
    static const std::string none;
    auto* remote = dynamic_cast<RemoteObject*>(object.get());
    return remote ? remote->id : none;
}

// The functions run on page objects. Forms' own submit and reset are called through the
// prototype, since a field named "submit" hides the method on the form object.
constexpr const char kReadString[] =
    "function(n){var v=this[n];if(typeof v!=='string'&&this.getAttribute)v=this.getAttribute(n);"
    "return typeof v==='string'?v:null}";
constexpr const char kReadFlag[] = "function(n){return !!this[n]}";
constexpr const char kWrite[] = "function(n,v){this[n]=v;return true}";
constexpr const char kMember[] = "function(n){var v=this[n];return v&&typeof v==='object'?v:null}";
// A form's fields in document order; the form's own list leaves out image buttons.
constexpr const char kItems[] =
    "function(n){if(n==='elements'&&this instanceof HTMLFormElement){var f=this;"
    "return Array.from(f.ownerDocument.querySelectorAll('input,button,select,textarea'))"
    ".filter(function(e){return e.form===f})}return Array.from(this[n]||[])}";
constexpr const char kByTag[] = "function(t){return Array.from(this.getElementsByTagName(t))}";
constexpr const char kFrames[] =
    "function(){return Array.from(this.querySelectorAll('frame,iframe')).map(function(f){"
    "try{return f.contentDocument}catch(e){return null}}).filter(function(d){return d})}";
constexpr const char kCall[] =
    "function(m){var f=this instanceof HTMLFormElement&&HTMLFormElement.prototype[m];"
    "(f||this[m]).call(this);return true}";
// A plain event runs the handlers without the default action (a click event object of the
// mouse kind would toggle a check box a second time).
constexpr const char kFire[] =
    "function(h){this.dispatchEvent(new Event(h.replace(/^on/,''),{bubbles:true}));return true}";

class DevToolsPage : public PageBackend {
public:
    explicit DevToolsPage(DevToolsTarget target) : target_(std::move(target)) {}

    bool Open() {
        if (!session_.Open(target_.port, target_.socketPath)) return false;
        session_.SetListener(
            [this](const std::string& method, const Json& params) { OnEvent(method, params); });
        Json result;
        return session_.Command("Page.enable", Json::object(), result);
    }

    bool IsAlive() override { return session_.Pump() && session_.IsOpen(); }
    bool IsBusy() override {
        session_.Pump();
        return !loadingFrames_.empty();
    }
    int ReadyState() override { return -1; }  // the documents' own states tell

    bool Navigate(const std::string& url) override {
        StartNavigation();
        Json result;
        if (!session_.Command("Page.navigate", {{"url", AnsiToUtf8(url)}}, result)) {
            loadingFrames_.erase(target_.id);
            return false;
        }
        // A jump within the document loads nothing, so nothing will report the end of it.
        if (JsonString(result, "loaderId").empty()) loadingFrames_.erase(target_.id);
        return true;
    }

    bool GoBack() override {
        Json history;
        if (!session_.Command("Page.getNavigationHistory", Json::object(), history)) return false;
        const Json& entries = JsonMember(history, "entries");
        const Json& index = JsonMember(history, "currentIndex");
        int current = index.is_number_integer() ? index.get<int>() : 0;
        if (!entries.is_array() || current < 1 || current > static_cast<int>(entries.size()))
            return false;
        StartNavigation();
        Json result;
        return session_.Command(
            "Page.navigateToHistoryEntry",
            {{"entryId", JsonMember(entries[static_cast<size_t>(current - 1)], "id")}}, result);
    }

    bool Refresh() override {
        StartNavigation();
        Json result;
        return session_.Command("Page.reload", Json::object(), result);
    }

    bool Quit() override { return CloseDevToolsPage(target_); }

    int ShowWindow(int command) override {
        Json window;
        if (!session_.Command("Browser.getWindowForTarget", {{"targetId", target_.id}}, window))
            return 0;
        const bool wasVisible =
            JsonString(JsonMember(window, "bounds"), "windowState") != "minimized";
        const char* state = "normal";
        if (command == SW_HIDE || command == SW_SHOWMINIMIZED || command == SW_MINIMIZE ||
            command == SW_SHOWMINNOACTIVE || command == SW_FORCEMINIMIZE)
            state = "minimized";
        else if (command == SW_SHOWMAXIMIZED)
            state = "maximized";
        Json result;
        session_.Command(
            "Browser.setWindowBounds",
            {{"windowId", JsonMember(window, "windowId")}, {"bounds", {{"windowState", state}}}},
            result);
        return wasVisible ? 1 : 0;
    }

    bool BringToFront() override {
        Json result;
        return session_.Command("Page.bringToFront", Json::object(), result);
    }

    std::string StatusText() override {
        return Evaluate("typeof window.status==='string'?window.status:''");
    }
    std::string LocationUrl() override { return Evaluate("location.href"); }
    uint64_t NavigationCount() override {
        session_.Pump();
        return navigations_;
    }

    PageRef TopDocument() override {
        Collect();
        Json result;
        if (!session_.Command("Runtime.evaluate", {{"expression", "document"}}, result) ||
            result.contains("exceptionDetails"))
            return nullptr;
        return Remote(JsonMember(result, "result"));
    }

    std::vector<PageRef> FrameDocuments(const PageRef& document) override {
        return List(document, kFrames, Json::array());
    }
    std::vector<PageRef> Items(const PageRef& object, const char* collection) override {
        return List(object, kItems, Json::array({{{"value", collection}}}));
    }
    std::vector<PageRef> ByTag(const PageRef& object, const char* tag) override {
        return List(object, kByTag, Json::array({{{"value", tag}}}));
    }
    PageRef Member(const PageRef& object, const char* name) override {
        Json result;
        if (!CallOn(object, kMember, Json::array({{{"value", name}}}), false, result))
            return nullptr;
        return Remote(result);
    }

    bool ReadString(const PageRef& object, const char* name, std::string& text) override {
        Json result;
        if (!CallOn(object, kReadString, Json::array({{{"value", name}}}), true, result) ||
            !JsonMember(result, "value").is_string())
            return false;
        text = Utf8ToAnsi(JsonMember(result, "value").get<std::string>());
        return true;
    }
    bool ReadFlag(const PageRef& object, const char* name) override {
        Json result;
        return CallOn(object, kReadFlag, Json::array({{{"value", name}}}), true, result) &&
               JsonMember(result, "value").is_boolean() && JsonMember(result, "value").get<bool>();
    }
    bool WriteString(const PageRef& object, const char* name, const std::string& text) override {
        Json result;
        return CallOn(object, kWrite,
                      Json::array({{{"value", name}}, {{"value", AnsiToUtf8(text)}}}), true,
                      result);
    }
    bool WriteFlag(const PageRef& object, const char* name, bool value) override {
        Json result;
        return CallOn(object, kWrite, Json::array({{{"value", name}}, {{"value", value}}}), true,
                      result);
    }
    bool Call(const PageRef& object, const char* method) override {
        Json result;
        return CallOn(object, kCall, Json::array({{{"value", method}}}), true, result);
    }
    bool FireEvent(const PageRef& object, const char* handler) override {
        Json result;
        return CallOn(object, kFire, Json::array({{{"value", handler}}}), true, result);
    }

private:
    void OnEvent(const std::string& method, const Json& params) {
        const std::string frame = JsonString(params, "frameId");
        if (method == "Page.frameStartedLoading") {
            loadingFrames_.insert(frame);
            ++navigations_;
        } else if (method == "Page.frameRequestedNavigation" || method == "Page.frameNavigated") {
            ++navigations_;
        } else if (method == "Page.frameStoppedLoading" || method == "Page.frameDetached") {
            loadingFrames_.erase(frame);
        }
    }

    // Our own navigations count at once, before the browser reports them.
    void StartNavigation() {
        session_.Pump();
        ++navigations_;
        loadingFrames_.insert(target_.id);
    }

    void Collect() {
        for (const std::string& id : *garbage_)
            session_.Post("Runtime.releaseObject", {{"objectId", id}});
        garbage_->clear();
    }

    PageRef Remote(const Json& remote) {
        std::string id = JsonString(remote, "objectId");
        return id.empty() ? nullptr : std::make_shared<RemoteObject>(std::move(id), garbage_);
    }

    std::string Evaluate(const char* expression) {
        Json result;
        if (!session_.Command("Runtime.evaluate",
                              {{"expression", expression}, {"returnByValue", true}}, result))
            return {};
        const Json& value = JsonMember(JsonMember(result, "result"), "value");
        return value.is_string() ? Utf8ToAnsi(value.get<std::string>()) : std::string();
    }

    // Runs `function` with the object as `this`; `value` is the function's result object.
    bool CallOn(const PageRef& object, const char* function, const Json& arguments, bool byValue,
                Json& value) {
        Collect();
        const std::string& id = IdOf(object);
        Json result;
        if (id.empty() ||
            !session_.Command("Runtime.callFunctionOn",
                              {{"objectId", id},
                               {"functionDeclaration", function},
                               {"arguments", arguments},
                               {"returnByValue", byValue}},
                              result) ||
            result.contains("exceptionDetails"))
            return false;
        value = JsonMember(result, "result");
        return true;
    }

    // The elements of the array a function returns, in index order.
    std::vector<PageRef> List(const PageRef& object, const char* function, const Json& arguments) {
        std::vector<PageRef> items;
        Json array;
        if (!CallOn(object, function, arguments, false, array)) return items;
        std::string arrayId = JsonString(array, "objectId");
        if (arrayId.empty()) return items;
        Json properties;
        if (session_.Command("Runtime.getProperties",
                             {{"objectId", arrayId}, {"ownProperties", true}}, properties) &&
            JsonMember(properties, "result").is_array()) {
            std::vector<std::pair<long, PageRef>> indexed;
            for (const Json& property : JsonMember(properties, "result")) {
                std::string name = JsonString(property, "name");
                if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos)
                    continue;
                if (PageRef item = property.contains("value")
                                       ? Remote(JsonMember(property, "value"))
                                       : nullptr)
                    indexed.emplace_back(strtol(name.c_str(), nullptr, 10), std::move(item));
            }
            std::sort(indexed.begin(), indexed.end(),
                      [](const auto& a, const auto& b) { return a.first < b.first; });
            for (auto& entry : indexed) items.push_back(std::move(entry.second));
        }
        session_.Post("Runtime.releaseObject", {{"objectId", arrayId}});
        return items;
    }

    DevToolsTarget target_;
    DevToolsSession session_;
    std::set<std::string> loadingFrames_;
    uint64_t navigations_ = 0;
    Garbage garbage_ = std::make_shared<std::vector<std::string>>();
};

}  // namespace

std::unique_ptr<PageBackend> AttachDevToolsPage(const DevToolsTarget& target) {
    auto page = std::make_unique<DevToolsPage>(target);
    if (!page->Open()) return nullptr;
    return page;
}
