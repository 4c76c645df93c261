// A simulated 64-bit Windows as the 32-bit programs see it: kernel32's IsWow64Process says so.
#pragma once

#include "platform/sim/SimLibrary.h"

inline void MakeWindows64Bit(win::sim::SimLibrary& library) {
    struct Wow64 {
        static win::BOOL WINAPI Yes(win::HANDLE, win::BOOL* wow64) {
            *wow64 = win::TRUE;
            return win::TRUE;
        }
    };
    library.RegisterEntry("kernel32.dll", "IsWow64Process", &Wow64::Yes);
}
