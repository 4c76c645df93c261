// Run-time libraries: loading a DLL and looking up its entries., passed to the real API.
#include "platform/win32/Win32Families.h"
#include <windows.h>

namespace win::win32 {

namespace {

class RealLibrary : public Library {
public:
};

}  // namespace

Library& Win32Library() {
    static RealLibrary instance;
    return instance;
}

}  // namespace win::win32
