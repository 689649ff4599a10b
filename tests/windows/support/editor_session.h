// One vexedit.exe for a test: started on scripts in a folder of the test's choosing, its main
// window, MDI children and edit controls found, messages whose buffers must live in the editor's
// process sent through a buffer allocated there, and the process ended with the test.
#pragma once
#include <windows.h>

#include <richedit.h>

#include <string>

#include "support/test_support.h"

class EditorSession {
public:
    EditorSession() = default;
    ~EditorSession();
    EditorSession(const EditorSession&) = delete;
    EditorSession& operator=(const EditorSession&) = delete;

    // Starts "vexedit.exe <arguments>" in `folder` and waits for its visible main window.
    bool Start(const std::string& arguments, const std::string& folder);
    DWORD ProcessId() const { return process_.id; }
    HWND MainWindow() const { return main_; }

    // The edit control of the active MDI child; null when none.
    HWND ActiveEdit() const;
    std::string ActiveTitle() const;
    // Waits until the active child's caption starts with `title`; its edit control or null.
    HWND WaitForActiveChild(const std::string& title, DWORD timeoutMs) const;
    // WM_COMMAND `id` posted to the main window, as a menu would.
    void Command(int id) const;

    std::string Text(HWND edit) const;
    CHARRANGE Selection(HWND edit) const;
    void Select(HWND edit, LONG first, LONG last) const;
    LONG CaretLine(HWND edit) const;  // 0-based line of the selection start
    bool Modified(HWND edit) const;
    // The text of status bar pane `pane`.
    std::string StatusPane(int pane) const;
    // The character format of the selection (colour, face, size).
    CHARFORMAT2A SelectionFormat(HWND edit) const;
    PARAFORMAT2 SelectionParagraph(HWND edit) const;

    // Brings the editor forward with the keyboard focus in `edit`, for real keystrokes.
    bool FocusEdit(HWND edit) const;

private:
    LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const;
    // Sends `message` with lParam pointing at a copy of `size` bytes of `data` in the editor's
    // process, and copies the bytes back into `data` afterwards.
    LRESULT SendWithBuffer(HWND window, UINT message, WPARAM wParam, void* data, size_t size) const;

    StartedProcess process_;
    HWND main_ = nullptr;
};

// Presses and releases keys through the system's input queue: `keys` are virtual-key codes,
// pressed in order, released in reverse order.
void PressKeys(std::initializer_list<WORD> keys);
