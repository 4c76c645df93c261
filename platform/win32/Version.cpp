// Version resources of files., passed to the real API.
#include "platform/win32/Win32Families.h"
#include <windows.h>

namespace win::win32 {

namespace {

class RealVersion : public Version {
public:
};

}  // namespace

Version& Win32Version() {
    static RealVersion instance;
    return instance;
}

}  // namespace win::win32
