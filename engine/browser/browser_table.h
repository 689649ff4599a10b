// The run's browser table behind HBROWSER values: entries are only ever appended, so a handle
// names one browser for the whole run, and a browser whose window has gone is dead (its
// functions give their failure values) without its number ever passing to another browser.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "builtin_api.h"
#include "page.h"

class CBrowser : public ProgramResource {
public:
    explicit CBrowser(std::unique_ptr<PageBackend> page) : page_(std::move(page)) {}
    // Open for the whole run: the shared table then never hands this entry's number on.
    bool IsOpen() const override { return true; }

    PageBackend* page() const { return page_.get(); }
    // Hands the page over (a probe of the open windows becomes a table entry).
    std::unique_ptr<PageBackend> Release() { return std::move(page_); }
    bool IsDead() const { return !page_ || !page_->IsAlive(); }
    // The title of the top-level HTML document; false when there is none.
    bool Title(std::string& title) const;

    // The form chosen by BrowserSetActiveForm; null once a navigation has begun since.
    PageRef ActiveForm() const;
    void SetActiveForm(PageRef form);

private:
    std::unique_ptr<PageBackend> page_;
    PageRef activeForm_;
    uint64_t formNavigation_ = 0;
};

// Appends an entry (also a failed launch's, with no page) and returns its HBROWSER value.
int32_t AddBrowser(BuiltinCall& call, std::unique_ptr<CBrowser> browser);
// The browser behind a handle when it is alive; null for a dead or unknown handle.
CBrowser* LiveBrowser(BuiltinCall& call, int32_t handle);
// Calls `visit` with each entry in table order until it returns false.
void ForEachBrowser(BuiltinCall& call, const std::function<bool(int32_t, CBrowser&)>& visit);

// Reads the HBROWSER parameter at `position`; `browser` is null when the handle is dead.
int GetLiveBrowserParam(BuiltinCall& call, int position, CBrowser*& browser);
