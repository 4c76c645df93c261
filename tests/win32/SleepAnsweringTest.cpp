// The pause of a thread with windows that keeps answering what other threads send them.
#include <gtest/gtest.h>

#include <thread>

#include "platform/Platform.h"

// After the platform's headers, whose constants the Windows macros would otherwise replace.
#include <windows.h>

namespace {

constexpr UINT kAsked = WM_APP + 1;
constexpr UINT kPosted = WM_APP + 2;

// Whether the pause is running, and how many sent messages were answered while it was; the window
// procedure runs on the pausing thread, so no clock is needed to tell.
bool pausing = false;
int answeredInPause = 0;

LRESULT CALLBACK Answer(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kAsked) {
        if (pausing) ++answeredInPause;
        return 42;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(SleepAnsweringSentMessages, AnswersSentMessagesAtOnceLeavesPostedOnesAndLastsItsTime) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Answer;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "SleepAnsweringTest";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("SleepAnsweringTest", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                windowClass.hInstance, nullptr);
    ASSERT_NE(nullptr, window);
    PostMessageA(window, kPosted, 0, 0);

    // Another thread asks in the middle of the pause, as another program's activation change does, and
    // once more when it has its answer: a pause that answered only at its end would leave the second
    // question to after it. The asker gives up after a while, as the pause's thread cannot answer once it
    // waits for the asker to end.
    DWORD_PTR first = 0, second = 0;
    std::thread asker([&] {
        Sleep(100);
        SendMessageTimeoutA(window, kAsked, 0, 0, SMTO_NORMAL, 2000, &first);
        SendMessageTimeoutA(window, kAsked, 0, 0, SMTO_NORMAL, 2000, &second);
    });
    const DWORD start = GetTickCount();
    pausing = true;
    win::Win32Platform().clock.SleepAnsweringSentMessages(1500);
    pausing = false;
    const DWORD slept = GetTickCount() - start;
    asker.join();

    EXPECT_EQ(42u, first);
    EXPECT_EQ(42u, second);
    EXPECT_EQ(2, answeredInPause) << "answered only after the pause";
    // A loaded machine may stretch the pause, so only its least length is checked.
    EXPECT_GE(slept, 1490u);
    MSG message;
    EXPECT_TRUE(PeekMessageA(&message, window, kPosted, kPosted, PM_REMOVE))
        << "the posted message was taken";
    DestroyWindow(window);
}

}  // namespace
