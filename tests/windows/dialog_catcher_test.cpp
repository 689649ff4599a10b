// The dialog catcher of the runner and the tests, where its watcher thread meets the thread
// that owns the dialogs.
#include <gtest/gtest.h>

#include <atomic>

#include "dialog_catcher.h"

// The runner's running window (shown with /show) is a dialog of the runner's own thread. A
// catcher that ends while its watcher waits on such a dialog for its text must not wait for the
// watcher for good: it answers the watcher's messages meanwhile (a CI run once hung 60 s here).
TEST(DialogCatcher, EndsWhileItsWatcherWaitsOnADialogOfThisThread) {
    HWND dialog = CreateWindowExA(0, "#32770", "Caught on its own thread",
                                  WS_POPUP | WS_CAPTION | WS_VISIBLE, 10, 10, 200, 100, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(dialog);
    std::atomic<int> answered{0};
    std::string caption;
    const ULONGLONG started = GetTickCount64();
    {
        DialogCatcher catcher([&](const CaughtDialog& caught) {
            caption = caught.caption;
            ++answered;
            return 0;
        });
        // Nothing is pumped here: the watcher finds the dialog and waits on its text.
        Sleep(300);
    }
    EXPECT_LT(GetTickCount64() - started, 5000u);
    EXPECT_EQ(answered, 1);
    EXPECT_EQ(caption, "Caught on its own thread");
    DestroyWindow(dialog);
}
