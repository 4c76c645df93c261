// Contract tests under Wine: the real API, scratch folders under the temporary directory.
#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/ContractEnv.h"
#include <windows.h>

namespace {

class RealContractEnv : public ContractEnv {
public:
    ~RealContractEnv() override {
        for (auto it = created_.rbegin(); it != created_.rend(); ++it) RemoveTree(*it);
    }
    win::Platform& platform() override { return win::Win32Platform(); }
    std::string ScratchDirectory() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        static int count = 0;
        std::string dir = std::string(temp) + "contract-" + std::to_string(GetCurrentProcessId()) + "-" +
                          std::to_string(++count);
        CreateDirectoryA(dir.c_str(), nullptr);
        created_.push_back(dir);
        return dir;
    }
    std::string CurrentDirectory() override {
        char dir[MAX_PATH];
        GetCurrentDirectoryA(MAX_PATH, dir);
        return dir;
    }
    std::string WindowsDirectory() override {
        char dir[MAX_PATH];
        GetWindowsDirectoryA(dir, MAX_PATH);
        return dir;
    }
    void WriteFile(const std::string& path, const std::string& bytes) override {
        FILE* f = std::fopen(path.c_str(), "wb");
        if (f == nullptr) return;
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    void RemoveFile(const std::string& path) override { ::DeleteFileA(path.c_str()); }
    bool PlaceStandIn(const std::string& standIn, const std::string& path) override {
        char module[MAX_PATH];
        DWORD length = GetModuleFileNameA(nullptr, module, MAX_PATH);
        std::string source(module, length);
        source = source.substr(0, source.find_last_of('\\') + 1) + "stand-ins\\" + standIn;
        return CopyFileA(source.c_str(), path.c_str(), FALSE) != 0;
    }
    std::string ExitingProgram(win::DWORD exitCode, std::string* commandLine) override {
        char dir[MAX_PATH];
        UINT length = GetSystemDirectoryA(dir, MAX_PATH);
        std::string path = std::string(dir, length) + "\\cmd.exe";
        *commandLine = "\"" + path + "\" /c exit " + std::to_string(exitCode);
        return path;
    }
    bool IsWine() override {
        HMODULE ntdll = GetModuleHandleA("ntdll.dll");
        return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
    }

private:
    static void RemoveTree(const std::string& dir) {
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                std::string name = data.cFileName;
                if (name == "." || name == "..") continue;
                std::string path = dir + "\\" + name;
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(path);
                else ::DeleteFileA(path.c_str());
            } while (FindNextFileA(find, &data));
            FindClose(find);
        }
        RemoveDirectoryA(dir.c_str());
    }
    std::vector<std::string> created_;
};

}  // namespace

std::unique_ptr<ContractEnv> MakeContractEnv() { return std::make_unique<RealContractEnv>(); }
