#include "com_page.h"

#include <windows.h>

#include <exdisp.h>
#include <exdispid.h>
#include <ocidl.h>

#include "browser_text.h"
#include "progress_dialog.h"

namespace {

// An owning COM pointer: every path releases what it obtained.
template <typename Interface>
class ComPtr {
public:
    ComPtr() = default;
    explicit ComPtr(Interface* pointer) : pointer_(pointer) {}
    ComPtr(const ComPtr& other) : pointer_(other.pointer_) {
        if (pointer_) pointer_->AddRef();
    }
    ComPtr& operator=(ComPtr other) {
        std::swap(pointer_, other.pointer_);
        return *this;
    }
    ~ComPtr() {
        if (pointer_) pointer_->Release();
    }
    Interface* get() const { return pointer_; }
    Interface* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }
    Interface** put() {
        *this = ComPtr();
        return &pointer_;
    }
    template <typename Other>
    ComPtr<Other> As(REFIID iid) const {
        ComPtr<Other> other;
        if (pointer_) pointer_->QueryInterface(iid, reinterpret_cast<void**>(other.put()));
        return other;
    }

private:
    Interface* pointer_ = nullptr;
};

class Variant {
public:
    Variant() { VariantInit(&value); }
    ~Variant() { VariantClear(&value); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    VARIANT value;
};

class Bstr {
public:
    explicit Bstr(const std::wstring& text) : value(SysAllocString(text.c_str())) {}
    ~Bstr() { SysFreeString(value); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    BSTR value;
};

// Late-bound access by name: the DOM objects of every IE version answer IDispatch.
bool Invoke(IDispatch* object, const wchar_t* name, WORD kind, VARIANT* arguments, UINT count,
            VARIANT* result) {
    if (!object) return false;
    DISPID id;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    if (FAILED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return false;
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS parameters{arguments, kind == DISPATCH_PROPERTYPUT ? &named : nullptr, count,
                          kind == DISPATCH_PROPERTYPUT ? 1u : 0u};
    return SUCCEEDED(object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &parameters, result,
                                    nullptr, nullptr));
}

bool Get(IDispatch* object, const wchar_t* name, Variant& result) {
    return Invoke(object, name, DISPATCH_PROPERTYGET, nullptr, 0, &result.value);
}

ComPtr<IDispatch> GetObject(IDispatch* object, const wchar_t* name) {
    Variant value;
    if (!Get(object, name, value) || value.value.vt != VT_DISPATCH || !value.value.pdispVal)
        return {};
    value.value.pdispVal->AddRef();
    return ComPtr<IDispatch>(value.value.pdispVal);
}

class DispatchObject : public PageObject {
public:
    explicit DispatchObject(ComPtr<IDispatch> object) : object(std::move(object)) {}
    ComPtr<IDispatch> object;
};

IDispatch* DispatchOf(const PageRef& object) {
    auto* held = dynamic_cast<DispatchObject*>(object.get());
    return held ? held->object.get() : nullptr;
}

PageRef Wrap(ComPtr<IDispatch> object) {
    return object ? std::make_shared<DispatchObject>(std::move(object)) : nullptr;
}

// The items of a DOM collection: its length, then item(i) for each index.
std::vector<PageRef> CollectionItems(IDispatch* collection) {
    std::vector<PageRef> items;
    Variant length;
    if (!Get(collection, L"length", length) ||
        FAILED(VariantChangeType(&length.value, &length.value, 0, VT_I4)))
        return items;
    for (LONG i = 0; i < length.value.lVal; ++i) {
        Variant index, item;
        index.value.vt = VT_I4;
        index.value.lVal = i;
        if (Invoke(collection, L"item", DISPATCH_METHOD | DISPATCH_PROPERTYGET, &index.value, 1,
                   &item.value) &&
            item.value.vt == VT_DISPATCH && item.value.pdispVal) {
            item.value.pdispVal->AddRef();
            items.push_back(Wrap(ComPtr<IDispatch>(item.value.pdispVal)));
        }
    }
    return items;
}

// The event sink of DWebBrowserEvents2: counts navigations as they begin (BeforeNavigate2).
class EventSink : public IDispatch {
public:
    uint64_t navigations = 0;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == DIID_DWebBrowserEvents2) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override { return --references_; }  // owned by the page
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                     EXCEPINFO*, UINT*) override {
        if (id == DISPID_BEFORENAVIGATE2) ++navigations;  // DocumentComplete needs nothing
        return S_OK;
    }

private:
    ULONG references_ = 0;
};

class ComPage : public PageBackend {
public:
    explicit ComPage(ComPtr<IWebBrowser2> browser) : browser_(std::move(browser)) {}
    ~ComPage() override { Disconnect(); }

    bool Connect() {
        auto container = browser_.As<IConnectionPointContainer>(IID_IConnectionPointContainer);
        if (!container ||
            FAILED(container->FindConnectionPoint(DIID_DWebBrowserEvents2, point_.put())) ||
            FAILED(point_->Advise(&sink_, &cookie_))) {
            cookie_ = 0;
            return false;
        }
        return true;
    }

    bool IsAlive() override { return Window() != nullptr; }
    bool IsBusy() override {
        VARIANT_BOOL busy = VARIANT_FALSE;
        return SUCCEEDED(browser_->get_Busy(&busy)) && busy != VARIANT_FALSE;
    }
    int ReadyState() override {
        READYSTATE state;
        return SUCCEEDED(browser_->get_ReadyState(&state)) ? static_cast<int>(state) : -1;
    }
    bool Navigate(const std::string& url) override {
        Bstr address(AnsiToWide(url));
        Variant empty;
        return SUCCEEDED(browser_->Navigate(address.value, &empty.value, &empty.value, &empty.value,
                                            &empty.value));
    }
    bool GoBack() override { return SUCCEEDED(browser_->GoBack()); }
    bool Refresh() override { return SUCCEEDED(browser_->Refresh()); }
    bool Quit() override { return SUCCEEDED(browser_->Quit()); }
    int ShowWindow(int command) override { return ::ShowWindow(Window(), command) ? 1 : 0; }
    bool BringToFront() override;
    std::string StatusText() override { return Text(&IWebBrowser2::get_StatusText); }
    std::string LocationUrl() override { return Text(&IWebBrowser2::get_LocationURL); }
    uint64_t NavigationCount() override { return sink_.navigations; }

    PageRef TopDocument() override {
        ComPtr<IDispatch> document;
        if (FAILED(browser_->get_Document(document.put())) || !document) return nullptr;
        // Only an HTML document has a title; a folder view has none.
        Variant title;
        return Get(document.get(), L"title", title) ? Wrap(document) : nullptr;
    }
    std::vector<PageRef> FrameDocuments(const PageRef& document) override {
        std::vector<PageRef> documents;
        ComPtr<IDispatch> frames = GetObject(DispatchOf(document), L"frames");
        for (const PageRef& window : CollectionItems(frames.get())) {
            if (PageRef inner = Wrap(GetObject(DispatchOf(window), L"document")))
                documents.push_back(std::move(inner));
        }
        return documents;
    }
    std::vector<PageRef> Items(const PageRef& object, const char* collection) override {
        ComPtr<IDispatch> items = GetObject(DispatchOf(object), AnsiToWide(collection).c_str());
        return CollectionItems(items.get());
    }
    std::vector<PageRef> ByTag(const PageRef& object, const char* tag) override {
        Variant name, result;
        name.value.vt = VT_BSTR;
        name.value.bstrVal = SysAllocString(AnsiToWide(tag).c_str());
        if (!Invoke(DispatchOf(object), L"getElementsByTagName", DISPATCH_METHOD, &name.value, 1,
                    &result.value) ||
            result.value.vt != VT_DISPATCH)
            return {};
        return CollectionItems(result.value.pdispVal);
    }
    PageRef Member(const PageRef& object, const char* name) override {
        return Wrap(GetObject(DispatchOf(object), AnsiToWide(name).c_str()));
    }
    bool ReadString(const PageRef& object, const char* name, std::string& text) override {
        Variant value;
        if (!Get(DispatchOf(object), AnsiToWide(name).c_str(), value) || value.value.vt != VT_BSTR)
            return false;
        text = WideToAnsi(value.value.bstrVal, static_cast<int>(SysStringLen(value.value.bstrVal)));
        return true;
    }
    bool ReadFlag(const PageRef& object, const char* name) override {
        Variant value;
        return Get(DispatchOf(object), AnsiToWide(name).c_str(), value) &&
               value.value.vt == VT_BOOL && value.value.boolVal != VARIANT_FALSE;
    }
    bool WriteString(const PageRef& object, const char* name, const std::string& text) override {
        Variant value;
        value.value.vt = VT_BSTR;
        value.value.bstrVal = SysAllocString(AnsiToWide(text).c_str());
        return Invoke(DispatchOf(object), AnsiToWide(name).c_str(), DISPATCH_PROPERTYPUT,
                      &value.value, 1, nullptr);
    }
    bool WriteFlag(const PageRef& object, const char* name, bool flag) override {
        Variant value;
        value.value.vt = VT_BOOL;
        value.value.boolVal = flag ? VARIANT_TRUE : VARIANT_FALSE;
        return Invoke(DispatchOf(object), AnsiToWide(name).c_str(), DISPATCH_PROPERTYPUT,
                      &value.value, 1, nullptr);
    }
    bool Call(const PageRef& object, const char* method) override {
        Variant result;
        return Invoke(DispatchOf(object), AnsiToWide(method).c_str(), DISPATCH_METHOD, nullptr, 0,
                      &result.value);
    }
    bool FireEvent(const PageRef& object, const char* handler) override {
        Variant name, result;
        name.value.vt = VT_BSTR;
        name.value.bstrVal = SysAllocString(AnsiToWide(handler).c_str());
        return Invoke(DispatchOf(object), L"fireEvent", DISPATCH_METHOD, &name.value, 1,
                      &result.value);
    }

private:
    std::string Text(HRESULT (STDMETHODCALLTYPE IWebBrowser2::*read)(BSTR*)) {
        BSTR text = nullptr;
        std::string out;
        if (SUCCEEDED((browser_.get()->*read)(&text))) out = WideToAnsi(text);
        SysFreeString(text);
        return out;
    }
    HWND Window() {
        SHANDLE_PTR window = 0;
        if (FAILED(browser_->get_HWND(&window))) return nullptr;
        return reinterpret_cast<HWND>(window);
    }
    void Disconnect() {
        if (cookie_ && point_) point_->Unadvise(cookie_);
        cookie_ = 0;
    }

    ComPtr<IWebBrowser2> browser_;
    ComPtr<IConnectionPoint> point_;
    EventSink sink_;
    DWORD cookie_ = 0;
};

}  // namespace

bool ComPage::BringToFront() { return BringWindowToForeground(Window()); }

std::unique_ptr<PageBackend> CreateInternetExplorer(bool visible) {
    ComPtr<IWebBrowser2> browser;
    if (FAILED(CoCreateInstance(CLSID_InternetExplorer, nullptr,
                                CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER,
                                IID_IWebBrowser2, reinterpret_cast<void**>(browser.put()))))
        return nullptr;
    auto page = std::make_unique<ComPage>(browser);
    if (!page->Connect()) return nullptr;
    if (visible) browser->put_Visible(VARIANT_TRUE);
    return page;
}

void ForEachInternetExplorer(const std::function<bool(std::unique_ptr<PageBackend>)>& visit) {
    ComPtr<IShellWindows> windows;
    if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_ALL, IID_IShellWindows,
                                reinterpret_cast<void**>(windows.put()))))
        return;
    long count = 0;
    if (FAILED(windows->get_Count(&count))) return;
    for (long i = 0; i < count; ++i) {
        Variant index;
        index.value.vt = VT_I4;
        index.value.lVal = i;
        ComPtr<IDispatch> item;
        if (FAILED(windows->Item(index.value, item.put())) || !item) continue;
        auto browser = item.As<IWebBrowser2>(IID_IWebBrowser2);
        if (!browser) continue;
        auto page = std::make_unique<ComPage>(browser);
        if (page->Connect() && !visit(std::move(page))) return;
    }
}
