#include "print_layout.h"

#include <commdlg.h>

#include "script_text_rules.h"
#include "vexedit_app.h"

namespace {

constexpr int kMarginTwips = 720;  // half an inch on each side
constexpr int kLetterWidthTwips = 12240, kLetterHeightTwips = 15840;

int ToTwips(HDC dc, int axis, int pixels) { return MulDiv(pixels, 1440, GetDeviceCaps(dc, axis)); }
int ToPixels(HDC dc, int axis, int twips) { return MulDiv(twips, GetDeviceCaps(dc, axis), 1440); }

// A line with its tabs turned into blanks up to the next multiple of four columns.
std::string ExpandTabs(const std::string& line) {
    std::string out;
    for (char c : line) {
        if (c != '\t') {
            out += c;
            continue;
        }
        out.append(static_cast<size_t>(kTabColumns - static_cast<int>(out.size()) % kTabColumns),
                   ' ');
    }
    return out;
}

// The pieces of `line` that fit `width` pixels of `dc` one after the other.
std::vector<std::string> WrapLine(HDC dc, const std::string& line, int width) {
    std::vector<std::string> pieces;
    size_t at = 0;
    do {
        int fit = 0;
        SIZE size{};
        const std::string rest = line.substr(at);
        GetTextExtentExPointA(dc, rest.c_str(), static_cast<int>(rest.size()), width, &fit, nullptr,
                              &size);
        if (fit < 1) fit = 1;  // a character wider than the page still moves on
        pieces.push_back(rest.substr(0, static_cast<size_t>(fit)));
        at += static_cast<size_t>(fit);
    } while (at < line.size());
    return pieces;
}

}  // namespace

CPageLayout::CPageLayout(const std::string& text, const EditorFont& font, HDC target)
    : font_(font) {
    if (IsPrinterDC(target)) {
        paper_ = {ToTwips(target, LOGPIXELSX, GetDeviceCaps(target, PHYSICALWIDTH)),
                  ToTwips(target, LOGPIXELSY, GetDeviceCaps(target, PHYSICALHEIGHT))};
        printerOffset_ = {ToTwips(target, LOGPIXELSX, GetDeviceCaps(target, PHYSICALOFFSETX)),
                          ToTwips(target, LOGPIXELSY, GetDeviceCaps(target, PHYSICALOFFSETY))};
    } else {
        paper_ = {kLetterWidthTwips, kLetterHeightTwips};
    }
    HFONT made = MakeFont(target);
    HGDIOBJ old = SelectObject(target, made);
    TEXTMETRICA metrics{};
    GetTextMetricsA(target, &metrics);
    lineTwips_ = ToTwips(target, LOGPIXELSY, metrics.tmHeight + metrics.tmExternalLeading);
    if (lineTwips_ < 1) lineTwips_ = 1;
    const int width = ToPixels(target, LOGPIXELSX, paper_.cx - 2 * kMarginTwips);
    const int linesPerPage = (paper_.cy - 2 * kMarginTwips) / lineTwips_ > 0
                                 ? (paper_.cy - 2 * kMarginTwips) / lineTwips_
                                 : 1;
    pages_.emplace_back();
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        for (std::string& piece : WrapLine(target, ExpandTabs(line), width)) {
            if (static_cast<int>(pages_.back().size()) == linesPerPage) pages_.emplace_back();
            pages_.back().push_back(std::move(piece));
        }
        start = end + 1;
    }
    SelectObject(target, old);
    DeleteObject(made);
}

HFONT CPageLayout::MakeFont(HDC dc) const {
    return CreateFontA(-MulDiv(font_.height, GetDeviceCaps(dc, LOGPIXELSY), 720), 0, 0, 0,
                       FW_NORMAL, FALSE, FALSE, FALSE, static_cast<BYTE>(font_.charSet),
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, font_.face.c_str());
}

void CPageLayout::Render(HDC dc, int index, bool forPrinter) const {
    if (index < 0 || index >= PageCount()) return;
    const POINT shift = forPrinter ? printerOffset_ : POINT{0, 0};
    HFONT made = MakeFont(dc);
    HGDIOBJ old = SelectObject(dc, made);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    const int left = ToPixels(dc, LOGPIXELSX, kMarginTwips - shift.x);
    int row = 0;
    for (const std::string& line : pages_[static_cast<size_t>(index)]) {
        const int top = ToPixels(dc, LOGPIXELSY, kMarginTwips - shift.y + row++ * lineTwips_);
        TextOutA(dc, left, top, line.c_str(), static_cast<int>(line.size()));
    }
    SelectObject(dc, old);
    DeleteObject(made);
}

HDC CreatePrinterDC() {
    if (HGLOBAL names = TheApp().PrinterDevNames()) {
        const auto* devNames = static_cast<const DEVNAMES*>(GlobalLock(names));
        const char* base = reinterpret_cast<const char*>(devNames);
        HGLOBAL modeHandle = TheApp().PrinterDevMode();
        const auto* mode =
            modeHandle ? static_cast<const DEVMODEA*>(GlobalLock(modeHandle)) : nullptr;
        HDC dc = CreateDCA(base + devNames->wDriverOffset, base + devNames->wDeviceOffset, nullptr,
                           mode);
        if (modeHandle) GlobalUnlock(modeHandle);
        GlobalUnlock(names);
        return dc;
    }
    PRINTDLGA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
    if (!PrintDlgA(&dialog)) return nullptr;
    // The default printer's descriptions were made for this call only.
    if (dialog.hDevMode) GlobalFree(dialog.hDevMode);
    if (dialog.hDevNames) GlobalFree(dialog.hDevNames);
    return dialog.hDC;
}

bool IsPrinterDC(HDC dc) { return GetDeviceCaps(dc, TECHNOLOGY) == DT_RASPRINTER; }
