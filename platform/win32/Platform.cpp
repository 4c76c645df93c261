// The one Platform of the real Windows, shared by everything in the process.
#include "platform/win32/Win32Families.h"

namespace win {

Platform& Win32Platform() {
    using namespace win32;
    static Platform platform{Win32Kernel(),   Win32Files(),   Win32Profile(), Win32Clock(),
                             Win32Registry(), Win32Version(), Win32Cabinet(), Win32Spooler(),
                             Win32Services(), Win32Windows(), Win32Library(), kBuildArchitecture};
    return platform;
}

}  // namespace win
