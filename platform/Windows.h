// Windows, dialogs, message boxes and window messages.
#pragma once

#include "platform/Win32Types.h"

namespace win {

class Windows {
public:
    virtual ~Windows() = default;
};

}  // namespace win
