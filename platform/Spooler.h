// The print spooler: drivers, monitors, print processors, printers and their directories.
#pragma once

#include "platform/Win32Types.h"

namespace win {

class Spooler {
public:
    virtual ~Spooler() = default;
};

}  // namespace win
