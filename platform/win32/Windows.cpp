// Windows, dialogs, message boxes and window messages., passed to the real API.
#include "platform/win32/Win32Families.h"
#include <windows.h>

namespace win::win32 {

namespace {

class RealWindows : public Windows {
public:
};

}  // namespace

Windows& Win32Windows() {
    static RealWindows instance;
    return instance;
}

}  // namespace win::win32
