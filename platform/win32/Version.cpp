// Version resources of files, passed to the real API.
#include "platform/win32/Win32Families.h"
#include <windows.h>

namespace win::win32 {

namespace {

class RealVersion : public Version {
public:
    DWORD GetFileVersionInfoSizeA(LPCSTR fileName, DWORD* handle) override {
        return ::GetFileVersionInfoSizeA(fileName, handle);
    }
    BOOL GetFileVersionInfoA(LPCSTR fileName, DWORD handle, DWORD size, void* data) override {
        return ::GetFileVersionInfoA(fileName, handle, size, data);
    }
    BOOL VerQueryValueA(const void* block, LPCSTR subBlock, void** buffer, UINT* length) override {
        return ::VerQueryValueA(block, subBlock, buffer, length);
    }
};

}  // namespace

Version& Win32Version() {
    static RealVersion instance;
    return instance;
}

}  // namespace win::win32
