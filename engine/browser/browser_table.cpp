#include "browser_table.h"

bool CBrowser::Title(std::string& title) const {
    if (!page_) return false;
    PageRef document = page_->TopDocument();
    return document && page_->ReadString(document, "title", title);
}

PageRef CBrowser::ActiveForm() const {
    if (!activeForm_ || !page_ || page_->NavigationCount() != formNavigation_) return nullptr;
    return activeForm_;
}

void CBrowser::SetActiveForm(PageRef form) {
    activeForm_ = std::move(form);
    formNavigation_ = page_ ? page_->NavigationCount() : 0;
}

int32_t AddBrowser(BuiltinCall& call, std::unique_ptr<CBrowser> browser) {
    return AddProgramResource(call, ResourceTable::kBrowsers, std::move(browser));
}

CBrowser* LiveBrowser(BuiltinCall& call, int32_t handle) {
    auto* browser =
        static_cast<CBrowser*>(FindProgramResource(call, ResourceTable::kBrowsers, handle));
    return browser && !browser->IsDead() ? browser : nullptr;
}

void ForEachBrowser(BuiltinCall& call, const std::function<bool(int32_t, CBrowser&)>& visit) {
    for (int32_t handle = 1;; ++handle) {
        auto* browser =
            static_cast<CBrowser*>(FindProgramResource(call, ResourceTable::kBrowsers, handle));
        if (!browser || !visit(handle, *browser)) return;
    }
}

int GetLiveBrowserParam(BuiltinCall& call, int position, CBrowser*& browser) {
    browser = nullptr;
    int32_t handle = 0;
    if (int error = GetBrowserParam(call, position, handle)) return error;
    browser = LiveBrowser(call, handle);
    return kOk;
}
