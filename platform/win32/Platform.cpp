// The one Platform of the real Windows, shared by everything in the process.
#include "platform/win32/Win32Families.h"

namespace win {

Platform& Win32Platform() {
    static win32::RealKernel kernel;
    static win32::RealFiles files;
    static win32::RealProfile profile;
    static win32::RealClock clock;
    static Platform platform{kernel,
                             files,
                             profile,
                             clock,
                             win32::Win32Registry(),
                             win32::Win32Version(),
                             win32::Win32Cabinet(),
                             win32::Win32Spooler(),
                             win32::Win32Services(),
                             win32::Win32Windows()};
    return platform;
}

}  // namespace win
