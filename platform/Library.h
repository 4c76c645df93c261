// Run-time libraries: loading a DLL and looking up its entries.
#pragma once

#include "platform/Win32Types.h"

namespace win {

class Library {
public:
    virtual ~Library() = default;
};

}  // namespace win
