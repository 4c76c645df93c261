// The one way both programs bring a running first instance forward: its window to the foreground, then
// restored from the task bar.
#pragma once

#include <gtest/gtest.h>

#include "platform/sim/SimWindowsUi.h"

// The program's only window calls are those two, the first on `window`.
inline void ExpectBroughtForward(const win::sim::SimWindowsUi& ui, win::HWND window) {
    const auto& calls = ui.WindowCalls();
    ASSERT_EQ(2u, calls.size());
    EXPECT_EQ("SetForegroundWindow", calls[0].operation);
    EXPECT_EQ(window, calls[0].window);
    EXPECT_EQ("OpenIcon", calls[1].operation);
}
