// The stand-in port monitors and print processor: loaded by the spooler, their ports, their exports.
#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>
#include <winsplp.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::string StandInPath(const std::string& name) {
    char path[MAX_PATH * 4];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string dir(path, length);
    return dir.substr(0, dir.rfind('\\') + 1) + "stand-ins\\" + name;
}

std::string SystemDirectory() {
    char dir[MAX_PATH];
    GetSystemDirectoryA(dir, MAX_PATH);
    return dir;
}

std::vector<std::string> SpoolerPorts(DWORD level) {
    DWORD needed = 0, returned = 0;
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(EnumPortsA(nullptr, level, nullptr, 0, &needed, &returned));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    std::vector<BYTE> buffer(needed);
    EXPECT_TRUE(EnumPortsA(nullptr, level, buffer.data(), needed, &needed, &returned));
    std::vector<std::string> names;
    for (DWORD i = 0; i < returned; ++i) {
        names.push_back(level == 1 ? reinterpret_cast<PORT_INFO_1A*>(buffer.data())[i].pName
                                   : reinterpret_cast<PORT_INFO_2A*>(buffer.data())[i].pPortName);
    }
    return names;
}

bool Contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// A monitor added under a name of the test's own, with its DLL in the system directory while it runs.
class AddedMonitor {
public:
    AddedMonitor(const std::string& name, const std::string& dll) : name_(name), target_(SystemDirectory() + "\\" + dll) {
        DeleteMonitorA(nullptr, nullptr, &name_[0]);  // left by a run that crashed
        copied_ = CopyFileA(StandInPath(dll).c_str(), target_.c_str(), FALSE) != 0;
        MONITOR_INFO_2A info = {&name_[0], nullptr, const_cast<char*>(dll.c_str())};
        SetLastError(0xdeadbeef);
        added_ = AddMonitorA(nullptr, 2, reinterpret_cast<LPBYTE>(&info)) != 0;
        error_ = GetLastError();
    }
    ~AddedMonitor() {
        if (added_) DeleteMonitorA(nullptr, nullptr, &name_[0]);
        if (copied_) DeleteFileA(target_.c_str());  // the spooler may still hold it; the prefix is thrown away
    }
    bool added() const { return added_; }
    DWORD error() const { return error_; }
    std::string& name() { return name_; }

private:
    std::string name_;
    std::string target_;
    bool copied_ = false;
    bool added_ = false;
    DWORD error_ = 0;
};

// Restores HKLM\SOFTWARE\TARNOVA\PRINTERPORT: the values a test adds are removed again.
class PrinterPortValues {
public:
    PrinterPortValues() {
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\TARNOVA\\PRINTERPORT", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key_, nullptr);
    }
    ~PrinterPortValues() {
        for (const std::string& name : added_) RegDeleteValueA(key_, name.c_str());
        RegCloseKey(key_);
    }
    void Add(const std::string& name, DWORD value) {
        if (RegQueryValueExA(key_, name.c_str(), nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            added_.push_back(name);
        RegSetValueExA(key_, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    }

private:
    HKEY key_ = nullptr;
    std::vector<std::string> added_;
};

TEST(StandInMonitors, ComMonitorIsAddedEnumeratesItsEightPortsAndIsDeletedAgain) {
    std::vector<std::string> before = SpoolerPorts(1);
    ASSERT_FALSE(Contains(before, "KXCOM1:"));
    {
        AddedMonitor monitor("VORL COM Monitor (test)", "VLCOMMON.DLL");
        ASSERT_TRUE(monitor.added()) << "AddMonitorA error " << monitor.error();
        EXPECT_EQ(0u, monitor.error());
        for (DWORD level : {1u, 2u}) {
            std::vector<std::string> ports = SpoolerPorts(level);
            for (int i = 1; i <= 8; ++i) EXPECT_TRUE(Contains(ports, "KXCOM" + std::to_string(i) + ":")) << level;
            EXPECT_FALSE(Contains(ports, "KXCOM9:"));
            EXPECT_FALSE(Contains(ports, "KXCOM0:"));
        }
        // The same monitor again is refused as already installed.
        MONITOR_INFO_2A again = {&monitor.name()[0], nullptr, const_cast<char*>("VLCOMMON.DLL")};
        SetLastError(0xdeadbeef);
        EXPECT_FALSE(AddMonitorA(nullptr, 2, reinterpret_cast<LPBYTE>(&again)));
        EXPECT_EQ(static_cast<DWORD>(ERROR_PRINT_MONITOR_ALREADY_INSTALLED), GetLastError());

        SetLastError(0xdeadbeef);
        EXPECT_TRUE(DeleteMonitorA(nullptr, nullptr, &monitor.name()[0]));
        EXPECT_FALSE(Contains(SpoolerPorts(1), "KXCOM1:"));
        SetLastError(0xdeadbeef);
        EXPECT_FALSE(DeleteMonitorA(nullptr, nullptr, &monitor.name()[0]));
        EXPECT_EQ(static_cast<DWORD>(ERROR_UNKNOWN_PRINT_MONITOR), GetLastError());
    }
}

TEST(StandInMonitors, UsbMonitorEnumeratesTheRecordedUsbPortNamesOnly) {
    PrinterPortValues values;
    values.Add("USB_ZMX-M530_1", 255);
    values.Add("USB_ZMX-L5_2", 0);
    values.Add("D1", 0);
    AddedMonitor monitor("VORL USB Monitor (test)", "VLUSBMON.DLL");
    ASSERT_TRUE(monitor.added()) << "AddMonitorA error " << monitor.error();
    std::vector<std::string> ports = SpoolerPorts(2);
    EXPECT_TRUE(Contains(ports, "USB_ZMX-M530_1"));
    EXPECT_TRUE(Contains(ports, "USB_ZMX-L5_2"));
    EXPECT_FALSE(Contains(ports, "D1"));
    // A port recorded later is offered at the next enumeration.
    values.Add("USB_ZMX-T310_4", 255);
    EXPECT_TRUE(Contains(SpoolerPorts(1), "USB_ZMX-T310_4"));
    SetLastError(0xdeadbeef);
    EXPECT_TRUE(DeleteMonitorA(nullptr, nullptr, &monitor.name()[0]));
    EXPECT_FALSE(Contains(SpoolerPorts(1), "USB_ZMX-M530_1"));
}

// The monitor table used directly, as the spooler of Windows does.
class ComMonitorTable : public ::testing::Test {
protected:
    void SetUp() override {
        module_ = LoadLibraryA(StandInPath("VLCOMMON.DLL").c_str());
        ASSERT_NE(nullptr, module_);
        auto initialize = reinterpret_cast<LPMONITOR2(WINAPI*)(PMONITORINIT, PHANDLE)>(
            reinterpret_cast<void*>(GetProcAddress(module_, "InitializePrintMonitor2")));
        ASSERT_NE(nullptr, initialize);
        MONITORINIT init = {};
        init.cbSize = sizeof(init);
        table_ = initialize(&init, &monitor_);
        ASSERT_NE(nullptr, table_);
    }
    void TearDown() override {
        if (module_ != nullptr) FreeLibrary(module_);
    }
    HMODULE module_ = nullptr;
    HANDLE monitor_ = nullptr;
    LPMONITOR2 table_ = nullptr;
};

TEST_F(ComMonitorTable, EnumPortsReportsTheSizeNeededAndRefusesOtherLevels) {
    EXPECT_GE(table_->cbSize, offsetof(MONITOR2, pfnShutdown) + sizeof(table_->pfnShutdown));
    DWORD needed = 0, returned = 7;
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(table_->pfnEnumPorts(monitor_, nullptr, 1, nullptr, 0, &needed, &returned));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    EXPECT_EQ(0u, returned);
    std::vector<BYTE> buffer(needed);
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(table_->pfnEnumPorts(monitor_, nullptr, 1, buffer.data(), needed - 1, &needed, &returned));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    ASSERT_TRUE(table_->pfnEnumPorts(monitor_, nullptr, 1, buffer.data(), needed, &needed, &returned));
    ASSERT_EQ(8u, returned);
    EXPECT_STREQ(L"KXCOM1:", reinterpret_cast<PORT_INFO_1W*>(buffer.data())[0].pName);
    EXPECT_STREQ(L"KXCOM8:", reinterpret_cast<PORT_INFO_1W*>(buffer.data())[7].pName);
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(table_->pfnEnumPorts(monitor_, nullptr, 3, buffer.data(), needed, &needed, &returned));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_LEVEL), GetLastError());
}

TEST_F(ComMonitorTable, JobsWrittenToAPortAreAppendedToItsFile) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string output = std::string(temp) + "KXCOM3_.prn";
    DeleteFileA(output.c_str());
    HANDLE port = nullptr;
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(table_->pfnOpenPort(monitor_, const_cast<LPWSTR>(L"KXCOM9:"), &port));
    EXPECT_EQ(static_cast<DWORD>(ERROR_UNKNOWN_PORT), GetLastError());
    ASSERT_TRUE(table_->pfnOpenPort(monitor_, const_cast<LPWSTR>(L"kxcom3:"), &port));
    for (const char* job : {"first job\n", "second job\n"}) {
        ASSERT_TRUE(table_->pfnStartDocPort(port, nullptr, 1, 1, nullptr));
        DWORD written = 0;
        EXPECT_TRUE(table_->pfnWritePort(port, reinterpret_cast<LPBYTE>(const_cast<char*>(job)),
                                         static_cast<DWORD>(strlen(job)), &written));
        EXPECT_EQ(strlen(job), written);
        EXPECT_TRUE(table_->pfnEndDocPort(port));
    }
    EXPECT_TRUE(table_->pfnClosePort(port));
    std::ifstream file(output, std::ios::binary);
    std::string content((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    file.close();
    EXPECT_EQ("first job\nsecond job\n", content);
    DeleteFileA(output.c_str());
}

TEST(StandInPrintProcessor, ExportsTheProcessorEntriesAndOffersRaw) {
    HMODULE module = LoadLibraryA(StandInPath("VLPRTPRC.DLL").c_str());
    ASSERT_NE(nullptr, module);
    for (const char* name : {"EnumPrintProcessorDatatypesW", "OpenPrintProcessor", "PrintDocumentOnPrintProcessor",
                             "ClosePrintProcessor", "ControlPrintProcessor", "GetPrintProcessorCapabilities"})
        EXPECT_NE(nullptr, reinterpret_cast<void*>(GetProcAddress(module, name))) << name;

    auto datatypes = reinterpret_cast<BOOL(WINAPI*)(LPWSTR, LPWSTR, DWORD, LPBYTE, DWORD, LPDWORD, LPDWORD)>(
        reinterpret_cast<void*>(GetProcAddress(module, "EnumPrintProcessorDatatypesW")));
    DWORD needed = 0, returned = 0;
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(datatypes(nullptr, nullptr, 1, nullptr, 0, &needed, &returned));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    std::vector<BYTE> buffer(needed);
    ASSERT_TRUE(datatypes(nullptr, nullptr, 1, buffer.data(), needed, &needed, &returned));
    ASSERT_EQ(1u, returned);
    EXPECT_STREQ(L"RAW", reinterpret_cast<DATATYPES_INFO_1W*>(buffer.data())->pName);

    auto open = reinterpret_cast<HANDLE(WINAPI*)(LPWSTR, PPRINTPROCESSOROPENDATA)>(
        reinterpret_cast<void*>(GetProcAddress(module, "OpenPrintProcessor")));
    auto close = reinterpret_cast<BOOL(WINAPI*)(HANDLE)>(
        reinterpret_cast<void*>(GetProcAddress(module, "ClosePrintProcessor")));
    PRINTPROCESSOROPENDATA data = {};
    data.pDatatype = const_cast<LPWSTR>(L"EMF");
    SetLastError(0xdeadbeef);
    EXPECT_EQ(nullptr, open(const_cast<LPWSTR>(L"ZMX-M530(S)"), &data));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_DATATYPE), GetLastError());
    data.pDatatype = const_cast<LPWSTR>(L"RAW");
    HANDLE processor = open(const_cast<LPWSTR>(L"ZMX-M530(S)"), &data);
    EXPECT_NE(nullptr, processor);
    EXPECT_TRUE(close(processor));

    auto capabilities = reinterpret_cast<DWORD(WINAPI*)(LPTSTR, DWORD, LPBYTE, DWORD, LPDWORD)>(
        reinterpret_cast<void*>(GetProcAddress(module, "GetPrintProcessorCapabilities")));
    PRINTPROCESSOR_CAPS_1 caps = {};
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER),
              capabilities(nullptr, 0, reinterpret_cast<LPBYTE>(&caps), sizeof(caps) - 1, &needed));
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS),
              capabilities(nullptr, 0, reinterpret_cast<LPBYTE>(&caps), sizeof(caps), &needed));
    EXPECT_EQ(1u, caps.dwLevel);
    EXPECT_EQ(1u, caps.dwNumberOfCopies);
    FreeLibrary(module);
}

}  // namespace
