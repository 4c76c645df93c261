// Registry keys and values.
#pragma once

#include <cstdint>

#include "platform/Win32Types.h"

namespace win {

struct HKEY__;
typedef HKEY__* HKEY;
typedef HKEY* PHKEY;
typedef DWORD REGSAM;
struct SECURITY_ATTRIBUTES;
typedef SECURITY_ATTRIBUTES* LPSECURITY_ATTRIBUTES;

// The predefined roots carry Windows' own handle values, so the pass-through hands them on unchanged.
inline HKEY const HKEY_CLASSES_ROOT = reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x80000000u));
inline HKEY const HKEY_CURRENT_USER = reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x80000001u));
inline HKEY const HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x80000002u));
inline HKEY const HKEY_USERS = reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x80000003u));

constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;
constexpr DWORD REG_MULTI_SZ = 7;

constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_READ = 0x20019;
constexpr REGSAM KEY_WRITE = 0x20006;
constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

constexpr DWORD ERROR_BAD_PATHNAME = 161;
constexpr DWORD ERROR_KEY_DELETED = 1018;

// Shaped like the advapi32 calls: each returns its Win32 error code and leaves the last error alone.
class Registry {
public:
    virtual ~Registry() = default;
    virtual LONG RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM desired, PHKEY result) = 0;
    virtual LONG RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD reserved, LPSTR keyClass, DWORD options,
                                 REGSAM desired, LPSECURITY_ATTRIBUTES security, PHKEY result,
                                 DWORD* disposition) = 0;
    virtual LONG RegQueryValueExA(HKEY key, LPCSTR valueName, DWORD* reserved, DWORD* type, BYTE* data,
                                  DWORD* dataSize) = 0;
    virtual LONG RegSetValueExA(HKEY key, LPCSTR valueName, DWORD reserved, DWORD type, const BYTE* data,
                                DWORD dataSize) = 0;
    virtual LONG RegEnumValueA(HKEY key, DWORD index, LPSTR valueName, DWORD* valueNameSize, DWORD* reserved,
                               DWORD* type, BYTE* data, DWORD* dataSize) = 0;
    virtual LONG RegCloseKey(HKEY key) = 0;
    virtual LONG RegDeleteKeyA(HKEY key, LPCSTR subKey) = 0;
    virtual LONG RegDeleteValueA(HKEY key, LPCSTR valueName) = 0;
};

}  // namespace win
