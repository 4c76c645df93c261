// Cabinet files (the Setup API's cabinet iteration).
#pragma once

#include "platform/Win32Types.h"

namespace win {

class Cabinet {
public:
    virtual ~Cabinet() = default;
};

}  // namespace win
