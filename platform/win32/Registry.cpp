// Registry keys and values., passed to the real API.
#include "platform/win32/Win32Families.h"
#include <windows.h>

namespace win::win32 {

namespace {

class RealRegistry : public Registry {
public:
};

}  // namespace

Registry& Win32Registry() {
    static RealRegistry instance;
    return instance;
}

}  // namespace win::win32
