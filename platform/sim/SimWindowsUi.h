// The simulated windows, dialogs, message boxes and window messages.
#pragma once

#include <string>
#include <vector>

#include "platform/Windows.h"
#include "platform/sim/SimWindows.h"

namespace win::sim {

class SimWindowsUi : public Windows {
public:
    explicit SimWindowsUi(SimWindows& w) : w_(w) {}

    BOOL SendNotifyMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT SendMessageTimeoutA(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT flags,
                                UINT timeout, DWORD_PTR* result) override;

    // Each message sent, whether or not it was delivered.
    struct SentMessage {
        bool notify;  // SendNotifyMessageA; otherwise SendMessageTimeoutA
        HWND window;
        UINT message;
        WPARAM wParam;
        bool hasText;  // lParam pointed to a text (WM_WININICHANGE with a section name)
        std::string text;
        UINT flags;
        UINT timeout;
        unsigned long sequence;  // orders this message against the recorded profile writes
    };
    const std::vector<SentMessage>& SentMessages() const { return sent_; }

private:
    void Record(bool notify, HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT flags,
                UINT timeout);

    SimWindows& w_;
    std::vector<SentMessage> sent_;
};

// A number that grows with each recorded call of any simulated family, to compare their order.
unsigned long NextSimSequence();

}  // namespace win::sim
