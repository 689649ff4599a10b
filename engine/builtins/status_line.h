// The status line a built-in shows in the running-script window while it works; cleared
// when the scope ends, on every path. A null text shows nothing (functions without status).
#pragma once
#include "run_window.h"

class StatusLine {
public:
    StatusLine(RunWindow& window, const char* text) : window_(text ? &window : nullptr) {
        if (window_) window_->SetStatusText(text);
    }
    ~StatusLine() {
        if (window_) window_->SetStatusText("");
    }
    StatusLine(const StatusLine&) = delete;
    StatusLine& operator=(const StatusLine&) = delete;

private:
    RunWindow* window_;
};
