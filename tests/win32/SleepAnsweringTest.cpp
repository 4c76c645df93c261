// The pause of a thread with windows that keeps answering what other threads send them.
#include <gtest/gtest.h>

#include <thread>

#include "platform/Platform.h"

// After the platform's headers, whose constants the Windows macros would otherwise replace.
#include <windows.h>

namespace {

constexpr UINT kAsked = WM_APP + 1;
constexpr UINT kPosted = WM_APP + 2;

LRESULT CALLBACK Answer(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kAsked) return 42;
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(SleepAnsweringSentMessages, AnswersASentMessageAtOnceLeavesPostedOnesAndLastsItsTime) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Answer;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "SleepAnsweringTest";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("SleepAnsweringTest", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                windowClass.hInstance, nullptr);
    ASSERT_NE(nullptr, window);
    PostMessageA(window, kPosted, 0, 0);

    // Another thread asks in the middle of the pause, as another program's activation change does; it
    // gives up after a while, as the pause's thread cannot answer once it waits for it to end.
    DWORD_PTR answer = 0;
    DWORD answeredAfter = 0;
    const DWORD start = GetTickCount();
    std::thread asker([&] {
        Sleep(100);
        SendMessageTimeoutA(window, kAsked, 0, 0, SMTO_NORMAL, 2000, &answer);
        answeredAfter = GetTickCount() - start;
    });
    win::Win32Platform().clock.SleepAnsweringSentMessages(600);
    const DWORD slept = GetTickCount() - start;
    asker.join();

    EXPECT_EQ(42u, answer);
    EXPECT_LT(answeredAfter, 400u) << "answered only after the pause";
    EXPECT_GE(slept, 590u);
    EXPECT_LT(slept, 1000u);
    MSG message;
    EXPECT_TRUE(PeekMessageA(&message, window, kPosted, kPosted, PM_REMOVE))
        << "the posted message was taken";
    DestroyWindow(window);
}

}  // namespace
