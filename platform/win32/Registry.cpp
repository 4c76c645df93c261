// Registry keys and values, passed to the real API.
#include "platform/win32/Win32Families.h"
// The Windows headers come after ours: their macros would rewrite our constant names.
#include <windows.h>

namespace win::win32 {

namespace {

::HKEY Real(win::HKEY key) { return reinterpret_cast<::HKEY>(key); }
::PHKEY Real(win::PHKEY key) { return reinterpret_cast<::PHKEY>(key); }

class RealRegistry : public Registry {
public:
    LONG RegOpenKeyExA(win::HKEY key, LPCSTR subKey, DWORD options, REGSAM desired,
                       win::PHKEY result) override {
        return ::RegOpenKeyExA(Real(key), subKey, options, desired, Real(result));
    }
    LONG RegCreateKeyExA(win::HKEY key, LPCSTR subKey, DWORD reserved, LPSTR keyClass, DWORD options,
                         REGSAM desired, win::LPSECURITY_ATTRIBUTES security, win::PHKEY result,
                         DWORD* disposition) override {
        return ::RegCreateKeyExA(Real(key), subKey, reserved, keyClass, options, desired,
                                 reinterpret_cast<::LPSECURITY_ATTRIBUTES>(security), Real(result),
                                 disposition);
    }
    LONG RegQueryValueExA(win::HKEY key, LPCSTR valueName, DWORD* reserved, DWORD* type, BYTE* data,
                          DWORD* dataSize) override {
        return ::RegQueryValueExA(Real(key), valueName, reserved, type, data, dataSize);
    }
    LONG RegSetValueExA(win::HKEY key, LPCSTR valueName, DWORD reserved, DWORD type, const BYTE* data,
                        DWORD dataSize) override {
        return ::RegSetValueExA(Real(key), valueName, reserved, type, data, dataSize);
    }
    LONG RegEnumValueA(win::HKEY key, DWORD index, LPSTR valueName, DWORD* valueNameSize, DWORD* reserved,
                       DWORD* type, BYTE* data, DWORD* dataSize) override {
        return ::RegEnumValueA(Real(key), index, valueName, valueNameSize, reserved, type, data, dataSize);
    }
    LONG RegCloseKey(win::HKEY key) override { return ::RegCloseKey(Real(key)); }
    LONG RegDeleteKeyA(win::HKEY key, LPCSTR subKey) override { return ::RegDeleteKeyA(Real(key), subKey); }
    LONG RegDeleteValueA(win::HKEY key, LPCSTR valueName) override {
        return ::RegDeleteValueA(Real(key), valueName);
    }
};

}  // namespace

Registry& Win32Registry() {
    static RealRegistry instance;
    return instance;
}

}  // namespace win::win32
