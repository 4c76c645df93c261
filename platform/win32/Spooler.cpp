// The print spooler: drivers, monitors, print processors, printers and their directories., passed to the real API.
#include "platform/win32/Win32Families.h"
#include <windows.h>

namespace win::win32 {

namespace {

class RealSpooler : public Spooler {
public:
};

}  // namespace

Spooler& Win32Spooler() {
    static RealSpooler instance;
    return instance;
}

}  // namespace win::win32
