// Simulated window messages: broadcasts are recorded; no other windows exist yet.
#include <atomic>

#include "platform/sim/SimWindowsUi.h"

namespace win::sim {

namespace {

// Messages whose lParam carries a text pointer.
bool CarriesText(UINT message) { return message == WM_WININICHANGE; }

}  // namespace

unsigned long NextSimSequence() {
    static std::atomic<unsigned long> next{0};
    return ++next;
}

void SimWindowsUi::Record(bool notify, HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT flags,
                          UINT timeout) {
    SentMessage sent{notify, window, message, wParam, false, "", flags, timeout, NextSimSequence()};
    if (CarriesText(message) && lParam != 0) {
        sent.hasText = true;
        sent.text = reinterpret_cast<const char*>(lParam);
    }
    sent_.push_back(sent);
}

BOOL SimWindowsUi::SendNotifyMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Record(true, window, message, wParam, lParam, 0, 0);
    DWORD error;
    if (w_.TakeFault("SendNotifyMessageA", &error)) {
        SetSimLastError(error);
        return FALSE;
    }
    if (window != HWND_BROADCAST) {
        SetSimLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    // NT refuses, by the kind of message and whatever its lParam, messages that carry pointers when it
    // would deliver them after the call returns.
    if (CarriesText(message) && w_.version.dwPlatformId == VER_PLATFORM_WIN32_NT) {
        SetSimLastError(ERROR_MESSAGE_SYNC_ONLY);
        return FALSE;
    }
    return TRUE;
}

LRESULT SimWindowsUi::SendMessageTimeoutA(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT flags,
                                          UINT timeout, DWORD_PTR* result) {
    Record(false, window, message, wParam, lParam, flags, timeout);
    DWORD error;
    if (w_.TakeFault("SendMessageTimeoutA", &error)) {
        SetSimLastError(error);
        return 0;
    }
    if (window != HWND_BROADCAST) {
        SetSimLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (result != nullptr) *result = 0;
    return 1;
}

}  // namespace win::sim
