// RegistryKey: the owner of one open registry key, through which every registry access goes.
#pragma once

#include "platform/Platform.h"

class RegistryKey {
public:
    // A new key is closed.
    explicit RegistryKey(win::Platform& platform) : platform_(&platform) {}
    ~RegistryKey() { Close(); }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    RegistryKey(RegistryKey&& other) noexcept;
    RegistryKey& operator=(RegistryKey&& other) noexcept;

    // Closes any open key first; opens with KEY_ALL_ACCESS and never creates.
    bool Open(win::HKEY root, const char* path);
    // Open; when that fails, CreateKey and Open once more. The result is the last Open's.
    bool OpenOrCreate(win::HKEY root, const char* path);
    // True only when a key was open and closing it succeeded; the handle is cleared in any case.
    bool Close();

    // The operations below fail at once on a closed key, reporting ERROR_INVALID_HANDLE through the
    // optional error address and leaving LastError as it was.
    bool QueryDword(const char* name, win::DWORD* value, win::DWORD* error = nullptr);
    bool SetDword(const char* name, win::DWORD value, win::DWORD* error = nullptr);
    // REG_SZ of the text's length plus its zero.
    bool SetString(const char* name, const char* text, win::DWORD* error = nullptr);
    // A value of any type from raw bytes.
    bool SetBinary(const char* name, win::DWORD type, const win::BYTE* data, win::DWORD size,
                   win::DWORD* error = nullptr);
    // Up to *size bytes of the value, of any type; *size becomes the value's size.
    bool QueryBinary(const char* name, win::BYTE* data, win::DWORD* size, win::DWORD* error = nullptr);
    // RegEnumValueA's raw result for the value name and type, no data; ERROR_NO_MORE_ITEMS when closed.
    win::LONG EnumValue(win::DWORD index, char* name, win::DWORD* nameSize, win::DWORD* type);

    // Creates the key (and the keys above it) and closes it again at once.
    static bool CreateKey(win::Platform& platform, win::HKEY root, const char* path);

    bool IsOpen() const { return key_ != nullptr; }
    // The Win32 error code of the last open, query or write.
    win::DWORD LastError() const { return lastError_; }

private:
    bool Finish(win::LONG result, win::DWORD* error);

    win::Platform* platform_;
    win::HKEY key_ = nullptr;
    win::DWORD lastError_ = 0;
    win::DWORD dataSize_ = 0;  // size of the last written value
};
