// Registry keys and values.
#pragma once

#include "platform/Win32Types.h"

namespace win {

class Registry {
public:
    virtual ~Registry() = default;
};

}  // namespace win
