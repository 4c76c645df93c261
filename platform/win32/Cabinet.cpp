// Cabinet files (the Setup API's cabinet iteration)., passed to the real API.
#include "platform/win32/Win32Families.h"
#include <windows.h>

namespace win::win32 {

namespace {

class RealCabinet : public Cabinet {
public:
};

}  // namespace

Cabinet& Win32Cabinet() {
    static RealCabinet instance;
    return instance;
}

}  // namespace win::win32
