// CVexaScriptView: the rich-edit view of a script. The text is plain 8-bit text; the view adds the
// editor font with tab stops of four blanks, block indent and outdent, automatic indentation,
// plain-text paste, the line and column pane, Find/Replace/Find Next, F1 keyword help, printing,
// the right-click menu and syntax colouring of the lines in sight.
#pragma once
#include <windows.h>

#include <string>

#include "editing_aids.h"
#include "view.h"

// The Find and Replace dialogs report to the main frame, which hands their notification here.
LRESULT OnFindReplaceNotification(LPARAM findReplace);

class CVexaScriptView : public CView {
public:
    bool Create(HWND frame) override;
    void OnInitialUpdate() override;
    std::string LineColumnText() override;
    void ApplyFont(int height, int charSet, const std::string& faceName) override;
    bool OnCommand(int id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;

    // The whole text with CR LF line ends, exactly as the file holds it.
    std::string Text() const;
    // Replaces the whole text as plain text (never read as rich text) and forgets the undo steps.
    void SetText(const std::string& text);
    bool IsModified() const;
    void SetModified(bool modified);
    // Puts the caret at the start of 1-based `line`; nothing moves for lines that do not exist.
    void GoToLine(int line);
    // Switches syntax colouring of this view on or off.
    void SetColouring(bool on);
    // Prints the script on `printer` as File > Print does after its dialog.
    void PrintOn(HDC printer);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool OnKeyDown(WPARAM key, LPARAM flags);
    bool OnChar(WPARAM character, LPARAM flags);
    void ShowContextMenu();
    void KeywordHelp();
    void Print();
    void ScheduleColouring();

    EditorFont appliedFont_;
    // The character message that follows a key already handled at key-down is dropped.
    WPARAM swallowChar_ = 0;
    bool colouring_ = false;      // the setting
    bool painting_ = false;       // colours are being applied right now
    bool colourPending_ = false;  // the colouring timer runs
};
