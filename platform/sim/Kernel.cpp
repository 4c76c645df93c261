// Simulated version query, last error and code-page conversion.
#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/sim/SimPlatform.h"

namespace win::sim {

namespace {
thread_local DWORD lastError = 0;

// The iconv name of a code page the simulation converts, or null.
const char* EncodingOf(UINT codePage) {
    if (codePage == CP_ACP || codePage == kTextCodePage) return "CP936";
    if (codePage == CP_UTF8) return "UTF-8";
    return nullptr;
}

// Converts the bytes; each unit of the input that iconv refuses (unit bytes long) becomes the replacement.
bool Convert(const char* from, const char* to, const std::string& input, size_t unit,
             const std::string& replacement, std::string* output) {
    iconv_t converter = iconv_open(to, from);
    if (converter == reinterpret_cast<iconv_t>(-1)) return false;
    output->clear();
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    char buffer[256];
    while (inLeft > 0) {
        char* out = buffer;
        size_t outLeft = sizeof buffer;
        size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
        output->append(buffer, sizeof buffer - outLeft);
        if (result == static_cast<size_t>(-1) && errno != E2BIG) {
            size_t skip = inLeft < unit ? inLeft : unit;
            in += skip;
            inLeft -= skip;
            output->append(replacement);
        }
    }
    iconv_close(converter);
    return true;
}

}  // namespace

void SetSimLastError(DWORD error) { lastError = error; }

BOOL SimKernel::GetVersionExA(OSVERSIONINFOA* info) {
    DWORD error;
    if (w_.TakeFault("GetVersionExA", &error)) {
        SetSimLastError(error);
        return FALSE;
    }
    if (info == nullptr || (info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA))) {
        SetSimLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    *info = w_.version;
    info->dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    return TRUE;
}

DWORD SimKernel::GetLastError() { return lastError; }

void SimKernel::SetLastError(DWORD error) { lastError = error; }

int SimKernel::MultiByteToWideChar(UINT codePage, DWORD, LPCSTR text, int length, WCHAR* wide,
                                   int wideLength) {
    DWORD error;
    if (w_.TakeFault("MultiByteToWideChar", &error)) {
        SetSimLastError(error);
        return 0;
    }
    const char* encoding = EncodingOf(codePage);
    if (encoding == nullptr || text == nullptr || length == 0 || wideLength < 0 ||
        (wideLength > 0 && wide == nullptr)) {
        SetSimLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    // -1: the text ends at its zero, which is converted too.
    std::string input = length < 0 ? std::string(text, std::strlen(text) + 1) : std::string(text, length);
    std::string utf16;
    if (!Convert(encoding, "UTF-16LE", input, 1, std::string("\xFD\xFF", 2), &utf16)) {
        SetSimLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    int units = static_cast<int>(utf16.size() / 2);
    if (wideLength == 0) return units;
    if (units > wideLength) {
        SetSimLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(wide, utf16.data(), utf16.size());
    return units;
}

int SimKernel::WideCharToMultiByte(UINT codePage, DWORD, const WCHAR* wide, int wideLength, LPSTR text,
                                   int length, LPCSTR, BOOL* usedDefault) {
    DWORD error;
    if (w_.TakeFault("WideCharToMultiByte", &error)) {
        SetSimLastError(error);
        return 0;
    }
    const char* encoding = EncodingOf(codePage);
    if (encoding == nullptr || wide == nullptr || wideLength == 0 || length < 0 ||
        (length > 0 && text == nullptr)) {
        SetSimLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (usedDefault != nullptr) *usedDefault = FALSE;
    size_t units = 0;
    if (wideLength < 0) {
        while (wide[units] != 0) ++units;
        ++units;
    } else {
        units = static_cast<size_t>(wideLength);
    }
    std::string input(reinterpret_cast<const char*>(wide), units * 2);
    std::string bytes;
    if (!Convert("UTF-16LE", encoding, input, 2, "?", &bytes)) {
        SetSimLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    int count = static_cast<int>(bytes.size());
    if (length == 0) return count;
    if (count > length) {
        SetSimLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(text, bytes.data(), bytes.size());
    return count;
}

}  // namespace win::sim
