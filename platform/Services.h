// The service control manager.
#pragma once

#include "platform/Win32Types.h"

namespace win {

class Services {
public:
    virtual ~Services() = default;
};

}  // namespace win
