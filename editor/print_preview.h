// File > Print Preview: the printed pages of a script, one at a time, scaled to the window,
// with Print, Next Page, Prev Page and Close.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "print_layout.h"
#include "window_base.h"

class CPrintPreview : public CWindow {
public:
    // Opens the preview of `text` over the main window; the window deletes itself when closed.
    static void Show(const std::string& text, const EditorFont& font, const std::string& title);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnFinalDestroy() override;

private:
    CPrintPreview(const std::string& text, const EditorFont& font, HDC target);
    ~CPrintPreview() override;
    void CreateButtons();
    void ShowPage(int index);
    void Paint(HDC dc);
    RECT PageRect() const;

    HDC target_;
    std::unique_ptr<CPageLayout> layout_;
    int page_ = 0;
};
