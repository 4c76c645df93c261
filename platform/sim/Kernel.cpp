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

namespace win::sim {

namespace {

// Process handles are 0x5000 + 2 * the program's index, thread handles the next number.
constexpr intptr_t kProcessHandleBase = 0x5000;

std::string LowerCase(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

}  // namespace

LPSTR SimKernel::GetCommandLineA() { return &w_.commandLine[0]; }

HANDLE SimKernel::GetStdHandle(DWORD which) {
    if (which == STD_INPUT_HANDLE) return w_.standardHandles[0];
    if (which == STD_OUTPUT_HANDLE) return w_.standardHandles[1];
    if (which == STD_ERROR_HANDLE) return w_.standardHandles[2];
    SetSimLastError(ERROR_INVALID_HANDLE);
    return reinterpret_cast<HANDLE>(intptr_t{-1});
}

BOOL SimKernel::SetHandleInformation(HANDLE handle, DWORD mask, DWORD flags) {
    DWORD error;
    if (w_.TakeFault("SetHandleInformation", &error)) {
        SetSimLastError(error);
        return FALSE;
    }
    if (handle == nullptr) {
        SetSimLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (mask & HANDLE_FLAG_INHERIT) {
        if (flags & HANDLE_FLAG_INHERIT) w_.inheritableHandles.insert(handle);
        else w_.inheritableHandles.erase(handle);
    }
    return TRUE;
}

BOOL SimKernel::CreateProcessA(LPCSTR applicationName, LPSTR commandLine, BOOL inheritHandles,
                               DWORD, LPCSTR currentDirectory, STARTUPINFOA* startup,
                               PROCESS_INFORMATION* process) {
    DWORD error;
    if (w_.TakeFault("CreateProcessA", &error)) {
        SetSimLastError(error);
        return FALSE;
    }
    // This system always names the program; Windows would search the path for a bare command line.
    if (applicationName == nullptr || startup == nullptr || process == nullptr ||
        startup->cb != sizeof(STARTUPINFOA)) {
        SetSimLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::string application = w_.FullPath(applicationName);
    if (!w_.FileExists(application)) {
        SetSimLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    SimWindows::StartedProgram started{application,
                                       commandLine != nullptr ? commandLine : "",
                                       currentDirectory != nullptr ? w_.FullPath(currentDirectory) : w_.currentDirectory,
                                       inheritHandles != FALSE,
                                       startup->dwFlags,
                                       {startup->hStdInput, startup->hStdOutput, startup->hStdError},
                                       false};
    w_.startedPrograms.push_back(started);
    intptr_t index = static_cast<intptr_t>(w_.startedPrograms.size() - 1);
    process->hProcess = reinterpret_cast<HANDLE>(kProcessHandleBase + 2 * index);
    process->hThread = reinterpret_cast<HANDLE>(kProcessHandleBase + 2 * index + 1);
    process->dwProcessId = static_cast<DWORD>(1000 + 4 * index);
    process->dwThreadId = process->dwProcessId + 1;
    return TRUE;
}

namespace {

// The started program a process handle stands for, or null.
SimWindows::StartedProgram* ProgramOf(SimWindows& w, HANDLE handle) {
    intptr_t value = reinterpret_cast<intptr_t>(handle) - kProcessHandleBase;
    if (value < 0 || value % 2 != 0 || static_cast<size_t>(value / 2) >= w.startedPrograms.size()) return nullptr;
    return &w.startedPrograms[static_cast<size_t>(value / 2)];
}

}  // namespace

DWORD SimKernel::WaitForSingleObject(HANDLE handle, DWORD) {
    DWORD error;
    SimWindows::StartedProgram* program = ProgramOf(w_, handle);
    if (w_.TakeFault("WaitForSingleObject", &error) || program == nullptr) {
        SetSimLastError(program == nullptr ? ERROR_INVALID_HANDLE : error);
        return WAIT_FAILED;
    }
    program->waitedFor = true;
    return WAIT_OBJECT_0;
}

BOOL SimKernel::GetExitCodeProcess(HANDLE process, DWORD* exitCode) {
    DWORD error;
    SimWindows::StartedProgram* program = ProgramOf(w_, process);
    if (w_.TakeFault("GetExitCodeProcess", &error) || program == nullptr || exitCode == nullptr) {
        SetSimLastError(program == nullptr ? ERROR_INVALID_HANDLE : error);
        return FALSE;
    }
    // A program not waited for may still run.
    auto known = w_.programExitCodes.find(LowerCase(program->application));
    *exitCode = !program->waitedFor ? STILL_ACTIVE : known != w_.programExitCodes.end() ? known->second : 0;
    return TRUE;
}

BOOL SimKernel::CloseHandle(HANDLE handle) {
    intptr_t value = reinterpret_cast<intptr_t>(handle) - kProcessHandleBase;
    if (value < 0 || static_cast<size_t>(value / 2) >= w_.startedPrograms.size()) {
        SetSimLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}

}  // namespace win::sim
