// Starting the x64 twin of a PE32 program.
#include "shared/Handover.h"

#include "shared/ProgramInstances.h"
#include "shared/Wow64.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

HandoverResult Start(win::Platform& platform, const char* baseName, bool wait) {
    win::Kernel& kernel = platform.kernel;
    HandoverResult result;
    std::string twin = X64TwinPath(platform, baseName);
    std::string commandLine = "\"" + twin + "\"" + ArgumentsOf(kernel.GetCommandLineA());
    win::STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    bool inherit = false;
    if (wait) {
        // The caller's redirections reach the twin only as inheritable handles. A console handle of older
        // Windows cannot be marked so and reaches it all the same, as the twin shares the console.
        const win::DWORD which[] = {win::STD_INPUT_HANDLE, win::STD_OUTPUT_HANDLE, win::STD_ERROR_HANDLE};
        win::HANDLE* slots[] = {&startup.hStdInput, &startup.hStdOutput, &startup.hStdError};
        for (int i = 0; i < 3; ++i) {
            win::HANDLE handle = kernel.GetStdHandle(which[i]);
            if (handle == nullptr || handle == reinterpret_cast<win::HANDLE>(intptr_t{-1})) continue;
            kernel.SetHandleInformation(handle, win::HANDLE_FLAG_INHERIT, win::HANDLE_FLAG_INHERIT);
            *slots[i] = handle;
            inherit = true;
        }
        if (inherit) startup.dwFlags = win::STARTF_USESTDHANDLES;
    }
    win::PROCESS_INFORMATION process{};
    if (!kernel.CreateProcessA(twin.c_str(), &commandLine[0], inherit ? win::TRUE : win::FALSE, 0, nullptr,
                               &startup, &process)) {
        result.error = kernel.GetLastError();
        return result;
    }
    result.started = true;
    if (wait) {
        win::DWORD code = 1;
        if (kernel.WaitForSingleObject(process.hProcess, win::INFINITE) != win::WAIT_OBJECT_0 ||
            !kernel.GetExitCodeProcess(process.hProcess, &code))
            code = 1;
        result.exitCode = code;
    }
    kernel.CloseHandle(process.hThread);
    kernel.CloseHandle(process.hProcess);
    return result;
}

}  // namespace

bool MustHandOverToX64(win::Platform& platform) {
    return !platform.architecture.is64Bit && RunsOn64BitWindows(platform);
}

std::string X64TwinPath(win::Platform& platform, const char* baseName) {
    std::string program = ProgramPath(platform);
    size_t slash = program.find_last_of("\\/");
    std::string folder = slash == std::string::npos ? std::string() : program.substr(0, slash + 1);
    return folder + baseName + win::kArchitectureX64.programSuffix + ".exe";
}

std::string ArgumentsOf(const char* commandLine) {
    if (commandLine == nullptr) return "";
    const char* at = commandLine;
    if (*at == '"') {
        ++at;
        while (*at != '\0' && *at != '"') ++at;
        if (*at == '"') ++at;
    } else {
        while (*at != '\0' && !IsBlank(*at)) ++at;
    }
    return at;
}

HandoverResult StartX64Twin(win::Platform& platform, const char* baseName) { return Start(platform, baseName, false); }

HandoverResult RunX64Twin(win::Platform& platform, const char* baseName) { return Start(platform, baseName, true); }
