// The stand-in USB kit: the USB access library's simulated printers and the USB driver installer.
#include <gtest/gtest.h>

#include "platform/Platform.h"
#include "setup/engine/UsbDevice.h"
// The Windows headers come after ours: their macros would rewrite our constant names.
// clang-format off
#include <windows.h>
// clang-format on

#include <cstring>
#include <string>
#include <vector>

#include "platform/Architecture.h"
#include "stand-ins/usb/KxUsbInt.h"

namespace {

std::string StandInPath(const std::string& name) {
    char path[MAX_PATH * 4];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string dir(path, length);
    return dir.substr(0, dir.rfind('\\') + 1) + "stand-ins\\" + name;
}

std::string TempPath(const std::string& name) {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}

bool IsNoDevice(void* handle) { return handle == nullptr || handle == INVALID_HANDLE_VALUE; }

// The library loaded with its configuration in a scratch file that each test writes.
class UsbLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        config_ = TempPath("kxusbint-test-" + std::to_string(GetCurrentProcessId()) + ".ini");
        DeleteFileA(config_.c_str());
        SetEnvironmentVariableA(kxusb::kConfigVariable, config_.c_str());
        module_ = LoadLibraryA(StandInPath(win::kBuildArchitecture.usbLibrary).c_str());
        ASSERT_NE(nullptr, module_);
        open_ = reinterpret_cast<kxusb::OpenDeviceX>(Entry("OpenDeviceX"));
        descriptor_ = reinterpret_cast<kxusb::GetDescriptor>(Entry("GetDescriptor"));
        write_ = reinterpret_cast<kxusb::UWrite>(Entry("uWrite"));
        close_ = reinterpret_cast<kxusb::CloseDevice>(Entry("CloseDevice"));
        ASSERT_TRUE(open_ && descriptor_ && write_ && close_);
    }
    void TearDown() override {
        if (module_ != nullptr) FreeLibrary(module_);
        SetEnvironmentVariableA(kxusb::kConfigVariable, nullptr);
        DeleteFileA(config_.c_str());
    }
    void* Entry(const char* name) { return reinterpret_cast<void*>(GetProcAddress(module_, name)); }
    void Connect(int index, const char* id) {
        WritePrivateProfileStringA(kxusb::kDevicesSection, std::to_string(index).c_str(), id, config_.c_str());
    }
    // The ID value the printer at the index reports, or -1 when there is none.
    int ReportedId(int index) {
        void* device = open_(index);
        if (IsNoDevice(device)) return -1;
        unsigned char buffer[20] = {};
        int ok = descriptor_(device, buffer);
        close_(device);
        if (!ok) return -1;
        EXPECT_EQ(18, buffer[0]);
        EXPECT_EQ(1, buffer[1]);
        return buffer[kxusb::kIdOffset] | (buffer[kxusb::kIdOffset + 1] << 8);
    }
    int SetId(int index, const unsigned char* preamble, int id) {
        unsigned char command[20] = {};
        std::memcpy(command, preamble, 6);
        command[6] = 0x1D;
        command[7] = 0x49;
        command[8] = 0x20;
        command[9] = static_cast<unsigned char>(id - 1);
        void* device = open_(index);
        if (IsNoDevice(device)) return -1;
        int sent = write_(device, 0, command, kxusb::kSetIdLength);
        close_(device);
        return sent;
    }

    std::string config_;
    HMODULE module_ = nullptr;
    kxusb::OpenDeviceX open_ = nullptr;
    kxusb::GetDescriptor descriptor_ = nullptr;
    kxusb::UWrite write_ = nullptr;
    kxusb::CloseDevice close_ = nullptr;
};

TEST_F(UsbLibrary, WithoutConfigurationNoPrinterIsConnected) {
    for (int i = 0; i < kxusb::kMaxDevices; ++i) EXPECT_TRUE(IsNoDevice(open_(i))) << i;
}

TEST_F(UsbLibrary, ReportsEachConfiguredPrinterAtItsIndexWithItsId) {
    Connect(2, "9");
    Connect(6, "65535");
    for (int i = -1; i <= kxusb::kMaxDevices; ++i) {
        if (i == 2 || i == 6) continue;
        EXPECT_TRUE(IsNoDevice(open_(i))) << i;
    }
    EXPECT_EQ(9, ReportedId(2));
    EXPECT_EQ(65535, ReportedId(6));
}

TEST_F(UsbLibrary, SetIdCommandChangesTheReportedIdAndPersistsIt) {
    Connect(0, "9");
    EXPECT_EQ(kxusb::kSetIdLength, SetId(0, kxusb::kSetIdPreamble, 3));
    EXPECT_EQ(2, ReportedId(0));  // the command carries the ID minus 1, which the printer reports
    FreeLibrary(module_);
    module_ = LoadLibraryA(StandInPath(win::kBuildArchitecture.usbLibrary).c_str());
    open_ = reinterpret_cast<kxusb::OpenDeviceX>(Entry("OpenDeviceX"));
    descriptor_ = reinterpret_cast<kxusb::GetDescriptor>(Entry("GetDescriptor"));
    close_ = reinterpret_cast<kxusb::CloseDevice>(Entry("CloseDevice"));
    EXPECT_EQ(2, ReportedId(0));
    EXPECT_EQ(2u, GetPrivateProfileIntA(kxusb::kDevicesSection, "0", 99, config_.c_str()));
}

TEST_F(UsbLibrary, OtherBytesAreSentWithoutChangingTheId) {
    Connect(1, "4");
    const unsigned char wrongPreamble[6] = {0x1B, 0x1C, 0x26, 0x56, 0x4C, 0x02};
    EXPECT_EQ(kxusb::kSetIdLength, SetId(1, wrongPreamble, 1));
    EXPECT_EQ(4, ReportedId(1));
    void* device = open_(1);
    ASSERT_FALSE(IsNoDevice(device));
    const unsigned char text[] = "receipt\n";
    EXPECT_EQ(8, write_(device, 0, text, 8));
    EXPECT_EQ(0, write_(device, 0, text, 0));
    close_(device);
    EXPECT_EQ(4, ReportedId(1));
}

TEST_F(UsbLibrary, APrinterUnpluggedWhileOpenFailsItsReads) {
    Connect(3, "1");
    void* device = open_(3);
    ASSERT_FALSE(IsNoDevice(device));
    WritePrivateProfileStringA(kxusb::kDevicesSection, "3", nullptr, config_.c_str());
    unsigned char buffer[20] = {};
    EXPECT_EQ(0, descriptor_(device, buffer));
    close_(device);
}

// setup's own routines over the real library: the ID of the one printer read, then set and read again.
TEST_F(UsbLibrary, SetupReadsAndSetsThePrintersIdThroughTheLibrary) {
    std::string directory = StandInPath("");
    SetDllDirectoryA(directory.c_str());
    std::vector<std::string> shown;
    UsbMessageSink show = [&](const std::string& text) { shown.push_back(text); };
    LanguageText messages(win::Win32Platform(), "Message");
    Connect(3, "258");
    EXPECT_EQ(258, GetUsbDeviceId(win::Win32Platform(), messages, show));
    EXPECT_TRUE(WriteUsbDeviceId(win::Win32Platform(), 4, show));
    EXPECT_EQ(3, GetUsbDeviceId(win::Win32Platform(), messages, show));  // ID 4 travels, and is kept, as 3
    Connect(6, "1");
    EXPECT_EQ(kUsbSeveralDevices, GetUsbDeviceId(win::Win32Platform(), messages, show));
    EXPECT_EQ(1u, shown.size());
    SetDllDirectoryA(nullptr);
}

std::string InstalledDriver() {
    char dir[MAX_PATH];
    GetWindowsDirectoryA(dir, MAX_PATH);
    return std::string(dir) + "\\system32\\drivers\\bulkusb.sys";
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Whether this session can create windows (Wine without a display cannot).
bool HasDisplay() {
    HWND probe = CreateWindowA("STATIC", "probe", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    if (probe == nullptr) return false;
    DestroyWindow(probe);
    return true;
}

// Runs Install.exe with the argument; reports whether its window was seen while it ran and its exit code.
struct InstallerRun {
    bool windowSeen = false;
    DWORD exitCode = 999;
    DWORD milliseconds = 0;
    DWORD startError = 0;  // CreateProcessA's error when it could not start
};

InstallerRun RunInstaller(const char* argument) {
    InstallerRun run;
    std::string command = "\"" + StandInPath("Install.exe") + "\" " + argument;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        run.startError = GetLastError();
        return run;
    }
    // It closes itself after a moment; the limit is only for an installer that hangs, so that a loaded
    // machine never reaches it.
    DWORD start = GetTickCount();
    while (WaitForSingleObject(process.hProcess, 50) == WAIT_TIMEOUT && GetTickCount() - start < 60000) {
        if (FindWindowA(nullptr, "VORL print system setup") != nullptr) run.windowSeen = true;
    }
    run.milliseconds = GetTickCount() - start;
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    if (run.exitCode == STILL_ACTIVE) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return run;
}

// Keeps a bulkusb.sys that the system had before the test and puts it back afterwards.
class UsbDriverInstaller : public ::testing::Test {
protected:
    void SetUp() override {
        backup_ = TempPath("bulkusb-before-test.sys");
        hadDriver_ = Exists(InstalledDriver()) && CopyFileA(InstalledDriver().c_str(), backup_.c_str(), FALSE);
    }
    void TearDown() override {
        if (hadDriver_) {
            CopyFileA(backup_.c_str(), InstalledDriver().c_str(), FALSE);
            DeleteFileA(backup_.c_str());
        } else {
            DeleteFileA(InstalledDriver().c_str());
        }
    }
    std::string backup_;
    bool hadDriver_ = false;
};

TEST_F(UsbDriverInstaller, ArgumentTwoInstallsTheDriverAndTwentyTwoRemovesIt) {
    DeleteFileA(InstalledDriver().c_str());
    InstallerRun install = RunInstaller("2");
    EXPECT_EQ(0u, install.exitCode) << "start error " << install.startError;
    ASSERT_TRUE(Exists(InstalledDriver()));
    DWORD handle = 0;
    EXPECT_GT(GetFileVersionInfoSizeA(InstalledDriver().c_str(), &handle), 0u);

    InstallerRun remove = RunInstaller("22");
    EXPECT_EQ(0u, remove.exitCode) << "start error " << remove.startError << " after " << remove.milliseconds << " ms";
    EXPECT_FALSE(Exists(InstalledDriver()));
}

TEST_F(UsbDriverInstaller, ShowsItsWindowForAMomentWhileItWorks) {
    if (!HasDisplay()) GTEST_SKIP() << "no display: the installer's window is tested under Xvfb";
    InstallerRun run = RunInstaller("2");
    EXPECT_TRUE(run.windowSeen);
    // It shows the window for a moment, then closes it and ends by itself, however loaded the machine.
    EXPECT_GE(run.milliseconds, 1000u);
    EXPECT_EQ(0u, run.exitCode) << "still running after " << run.milliseconds << " ms";
    EXPECT_FALSE(FindWindowA(nullptr, "VORL print system setup"));
}

TEST(StandInUsbDriver, CarriesAVersionResourceWithItsFileVersion) {
    std::string path = StandInPath("bulkusb.sys");
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::string block(size, '\0');
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, &block[0]));
    struct Translation {
        WORD language, codePage;
    }* translation = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(&block[0], "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length));
    char query[64];
    std::snprintf(query, sizeof(query), "\\StringFileInfo\\%04x%04x\\FileVersion", translation->language,
                  translation->codePage);
    char* version = nullptr;
    ASSERT_TRUE(VerQueryValueA(&block[0], query, reinterpret_cast<void**>(&version), &length));
    EXPECT_STREQ("5.2.0.1", version);
}

}  // namespace
