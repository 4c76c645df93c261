// Version resources of files.
#pragma once

#include "platform/Win32Types.h"

namespace win {

constexpr DWORD ERROR_RESOURCE_DATA_NOT_FOUND = 1812;
constexpr DWORD ERROR_RESOURCE_TYPE_NOT_FOUND = 1813;

class Version {
public:
    virtual ~Version() = default;
    // handle is an out value Windows always sets to 0; it may be null.
    virtual DWORD GetFileVersionInfoSizeA(LPCSTR fileName, DWORD* handle) = 0;
    virtual BOOL GetFileVersionInfoA(LPCSTR fileName, DWORD handle, DWORD size, void* data) = 0;
    // Points into the block read by GetFileVersionInfoA; length is in bytes for binary values and in
    // characters for text values.
    virtual BOOL VerQueryValueA(const void* block, LPCSTR subBlock, void** buffer, UINT* length) = 0;
};

}  // namespace win
