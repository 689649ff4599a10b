// Pages of a script as they are printed: the lines in the editor font, tabs every four columns,
// long lines wrapped, half-inch margins on each side. Printing and Print Preview share one
// layout, so the preview shows the printed pages.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "editing_aids.h"

class CPageLayout {
public:
    // Lays out `text` (CR LF lines) for `target`, a printer or, with no printer at hand, the
    // screen with a Letter page. The layout does not own `target`.
    CPageLayout(const std::string& text, const EditorFont& font, HDC target);

    int PageCount() const { return static_cast<int>(pages_.size()); }
    // The paper size in twips.
    SIZE PageSize() const { return paper_; }
    // Draws page `index` (0-based) on `dc`, whose device origin is the paper's top-left corner;
    // `forPrinter` when `dc` is the printer itself (its origin is its printable edge).
    void Render(HDC dc, int index, bool forPrinter) const;

private:
    HFONT MakeFont(HDC dc) const;

    EditorFont font_;
    SIZE paper_{};
    POINT printerOffset_{};  // the printer's unprintable edge, twips
    int lineTwips_ = 0;      // the height of a printed line
    std::vector<std::vector<std::string>> pages_;
};

// The printer chosen in Print Setup, or the default one; null when there is none.
HDC CreatePrinterDC();
bool IsPrinterDC(HDC dc);
