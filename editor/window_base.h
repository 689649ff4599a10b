// CWindow: the one base of the editor's windows. Any window class (our own, MDICLIENT's children,
// a class whose procedure is DefWindowProc) is tied to its object from its first message through
// a creation hook, so WM_NCCREATE and WM_CREATE reach the object as well.
#pragma once
#include <windows.h>

#include <string>

class CWindow {
public:
    CWindow() = default;
    virtual ~CWindow();
    CWindow(const CWindow&) = delete;
    CWindow& operator=(const CWindow&) = delete;

    // Creates the window through CreateWindowEx and attaches it to this object.
    bool CreateEx(DWORD exStyle, const char* className, const char* title, DWORD style, int x,
                  int y, int width, int height, HWND parent, HMENU menu, void* param = nullptr);
    HWND hwnd() const { return hwnd_; }

    // The object behind a window created by CreateEx; null for other windows.
    static CWindow* FromHandle(HWND window);

protected:
    // Every message of the window; unhandled ones go to DefaultProc.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Default processing: the window's original procedure (frames override with DefFrameProc...).
    virtual LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);
    // After the window is gone; the object may delete itself here.
    virtual void OnFinalDestroy() {}

    // Runs `create` (a CreateWindowEx or WM_MDICREATE) with this object waiting for the window.
    template <typename Create>
    HWND CreateHooked(Create create);

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam);
    void BeginCreation();
    void EndCreation();
    void Attach(HWND window);

    HWND hwnd_ = nullptr;
    WNDPROC original_ = nullptr;
    HHOOK hook_ = nullptr;
};

template <typename Create>
HWND CWindow::CreateHooked(Create create) {
    BeginCreation();
    HWND created = create();
    EndCreation();
    return created;
}

// Registers a window class once per process; true when it exists afterwards.
bool RegisterWindowClass(const char* className, UINT style, HICON icon, HCURSOR cursor,
                         HBRUSH background, WNDPROC procedure = DefWindowProcA);

// The module of the editor program (resources live there).
HINSTANCE AppInstance();

std::string WindowText(HWND window);
std::string LoadResourceString(UINT id);
