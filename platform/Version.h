// Version resources of files.
#pragma once

#include "platform/Win32Types.h"

namespace win {

class Version {
public:
    virtual ~Version() = default;
};

}  // namespace win
