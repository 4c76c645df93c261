// The service control manager., passed to the real API.
#include "platform/win32/Win32Families.h"
#include <windows.h>

namespace win::win32 {

namespace {

class RealServices : public Services {
public:
};

}  // namespace

Services& Win32Services() {
    static RealServices instance;
    return instance;
}

}  // namespace win::win32
