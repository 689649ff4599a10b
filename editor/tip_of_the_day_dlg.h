// Help > Tip of the Day... and the start-up tip: CTipOfTheDayDlg (dialog 801) shows one tip at a
// time; the index of the next tip survives in the setting "TipOfTheDay".
#pragma once
#include <windows.h>

#include <string>

class ToolSettings;

class CTipOfTheDayDlg {
public:
    explicit CTipOfTheDayDlg(ToolSettings& settings) : settings_(settings) {}
    INT_PTR DoModal(HWND parent);
    int index() const { return index_; }

    // The heading shown above a tip: "Welcome" for tip 0, "Did you know..." otherwise.
    static const char* HeadingFor(int index);

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog();
    void OnNextTip();
    void OnPaint();
    void WrapIndex();

    ToolSettings& settings_;
    HWND dialog_ = nullptr;
    int index_ = 0;
};

// Help > Tip of the Day...: always shows the dialog once the main window is visible.
void ShowTipOfTheDay(HWND mainWindow, ToolSettings& settings);
// The last step of start-up: only when "ShowTipOfTheDay" is on and the main window not minimised.
void ShowTipOfTheDayAtStartup(HWND mainWindow, ToolSettings& settings);
