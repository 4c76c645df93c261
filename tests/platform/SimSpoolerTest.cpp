// The simulated spooler's own rules: service state, monitors with ports, keys it keeps, what is in use.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/Architecture.h"
#include "platform/sim/SimPlatform.h"

namespace {

using namespace win;
using win::sim::SimPlatform;

char* S(const char* text) { return const_cast<char*>(text); }

class SimSpoolerTest : public ::testing::Test {
protected:
    sim::SimSpooler& spooler() { return sim_.spooler(); }
    DWORD LastError() { return sim_.platform().kernel.GetLastError(); }
    void SetLastError(DWORD error) { sim_.platform().kernel.SetLastError(error); }

    bool KeyExists(const std::string& subKey) {
        HKEY key = nullptr;
        if (sim_.platform().registry.RegOpenKeyExA(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, KEY_READ, &key) != 0)
            return false;
        sim_.platform().registry.RegCloseKey(key);
        return true;
    }

    void AddDriver(const char* name) {
        std::string dir = spooler().DriverDirectory(spooler().NativeEnvironment());
        for (const char* file : {"d.dll", "d.gpd", "u.dll"}) sim_.windows().WriteFile(dir + "\\" + file, "x");
        DRIVER_INFO_3A info{};
        info.cVersion = 3;
        info.pName = S(name);
        info.pDriverPath = S("d.dll");
        info.pDataFile = S("d.gpd");
        info.pConfigFile = S("u.dll");
        ASSERT_TRUE(spooler().AddPrinterDriverA(nullptr, 3, reinterpret_cast<BYTE*>(&info)));
    }

    HANDLE AddPrinter(const char* name, const char* port, const char* driver = "Drv") {
        PRINTER_INFO_2A info{};
        info.pPrinterName = S(name);
        info.pPortName = S(port);
        info.pDriverName = S(driver);
        info.pPrintProcessor = S("WinPrint");
        return spooler().AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    }

    void AddComMonitor() {
        spooler().DefineMonitorPorts("VLCOMMON.DLL", {"KXCOM1:", "KXCOM2:"});
        sim_.windows().WriteFile(spooler().SystemDirectory() + "\\VLCOMMON.DLL", "x");
        MONITOR_INFO_2A info{S("VORL COM Monitor"), nullptr, S("VLCOMMON.DLL")};
        ASSERT_TRUE(spooler().AddMonitorA(nullptr, 2, reinterpret_cast<BYTE*>(&info)));
    }

    SimPlatform sim_;
};

TEST_F(SimSpoolerTest, CallsFailWithServerUnavailableWhileTheSpoolerServiceIsStopped) {
    sim_.services().service("Spooler").state = SERVICE_STOPPED;
    DWORD needed = 0, returned = 0;
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(spooler().EnumPortsA(nullptr, 1, nullptr, 0, &needed, &returned));
    EXPECT_EQ(RPC_S_SERVER_UNAVAILABLE, LastError());
    HANDLE printer = nullptr;
    EXPECT_FALSE(spooler().OpenPrinterA(S("any"), &printer, nullptr));
    EXPECT_EQ(RPC_S_SERVER_UNAVAILABLE, LastError());
    sim_.services().service("Spooler").state = SERVICE_RUNNING;
    EXPECT_FALSE(spooler().EnumPortsA(nullptr, 1, nullptr, 0, &needed, &returned));
    EXPECT_EQ(ERROR_INSUFFICIENT_BUFFER, LastError());
}

TEST_F(SimSpoolerTest, AddedMonitorOffersTheDefinedPortsAndCannotGoWhileAPrinterUsesOne) {
    AddComMonitor();
    AddDriver("Drv");
    std::vector<BYTE> buffer(4096);
    DWORD needed = 0, returned = 0;
    ASSERT_TRUE(spooler().EnumPortsA(nullptr, 2, buffer.data(), 4096, &needed, &returned));
    auto* ports = reinterpret_cast<PORT_INFO_2A*>(buffer.data());
    ASSERT_EQ(10u, returned);
    EXPECT_STREQ("KXCOM1:", ports[8].pPortName);
    EXPECT_STREQ("VORL COM Monitor", ports[8].pMonitorName);

    HANDLE printer = AddPrinter("P(S)", "KXCOM2:");
    ASSERT_NE(nullptr, printer);
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(spooler().DeleteMonitorA(nullptr, nullptr, S("VORL COM Monitor")));
    EXPECT_EQ(ERROR_PRINT_MONITOR_IN_USE, LastError());
    EXPECT_TRUE(KeyExists("SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\VORL COM Monitor"));

    ASSERT_TRUE(spooler().DeletePrinter(printer));
    ASSERT_TRUE(spooler().ClosePrinter(printer));
    EXPECT_TRUE(spooler().DeleteMonitorA(S(""), nullptr, S("VORL COM Monitor")));
    EXPECT_FALSE(KeyExists("SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\VORL COM Monitor"));
    EXPECT_EQ(0u, spooler().OpenPrinterCount());
}

TEST_F(SimSpoolerTest, MonitorDllWithoutTheEntryPointIsRefused) {
    spooler().DefineDllWithoutMonitorEntry("plain.dll");
    sim_.windows().WriteFile(spooler().SystemDirectory() + "\\plain.dll", "x");
    MONITOR_INFO_2A info{S("Plain"), nullptr, S("plain.dll")};
    EXPECT_FALSE(spooler().AddMonitorA(nullptr, 2, reinterpret_cast<BYTE*>(&info)));
    EXPECT_EQ(ERROR_PROC_NOT_FOUND, LastError());
}

TEST_F(SimSpoolerTest, PrinterOnAPortNoMonitorOffersIsRefused) {
    AddDriver("Drv");
    SetLastError(0xdeadbeef);
    EXPECT_EQ(nullptr, AddPrinter("P(S)", "KXCOM1:"));
    EXPECT_EQ(ERROR_UNKNOWN_PORT, LastError());
}

TEST_F(SimSpoolerTest, ProcessorIsAddedOnceKeepsItsKeyAndStaysWhileAPrinterUsesIt) {
    const std::string key = "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\" PLATFORM_NATIVE_ENVIRONMENT "\\Print Processors\\VLPRTPRC";
    EXPECT_FALSE(spooler().AddPrintProcessorA(nullptr, nullptr, S("VLPRTPRC.DLL"), S("VLPRTPRC")));
    EXPECT_EQ(ERROR_MOD_NOT_FOUND, LastError()) << "its DLL must be in the print-processor directory";
    sim_.windows().WriteFile(spooler().ProcessorDirectory(PLATFORM_NATIVE_ENVIRONMENT) + "\\VLPRTPRC.DLL", "x");
    ASSERT_TRUE(spooler().AddPrintProcessorA(nullptr, nullptr, S("VLPRTPRC.DLL"), S("VLPRTPRC")));
    EXPECT_TRUE(KeyExists(key));
    EXPECT_FALSE(spooler().AddPrintProcessorA(nullptr, S("windows nt X86"), S("VLPRTPRC.DLL"), S("VLPRTPRC")));
    EXPECT_EQ(ERROR_PRINT_PROCESSOR_ALREADY_INSTALLED, LastError());

    AddDriver("Drv");
    PRINTER_INFO_2A info{};
    info.pPrinterName = S("P(P)");
    info.pPortName = S("LPT1:");
    info.pDriverName = S("Drv");
    info.pPrintProcessor = S("vlprtprc");
    HANDLE printer = spooler().AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    ASSERT_NE(nullptr, printer);
    EXPECT_FALSE(spooler().DeletePrintProcessorA(nullptr, nullptr, S("VLPRTPRC")));
    EXPECT_EQ(ERROR_CAN_NOT_COMPLETE, LastError());
    spooler().DeletePrinter(printer);
    spooler().ClosePrinter(printer);
    EXPECT_TRUE(spooler().DeletePrintProcessorA(nullptr, nullptr, S("VLPRTPRC")));
    EXPECT_FALSE(KeyExists(key));
    EXPECT_FALSE(spooler().DeletePrintProcessorA(nullptr, nullptr, S("VLPRTPRC")));
    EXPECT_EQ(ERROR_UNKNOWN_PRINTPROCESSOR, LastError());
}

TEST_F(SimSpoolerTest, On98TheProcessorKeyIsUnderWindows40AndTheDirectoriesAreTheSystemDirectory) {
    sim_.windows().SetVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 10);
    EXPECT_EQ("C:\\WINDOWS\\SYSTEM", spooler().DriverDirectory("Windows 4.0"));
    sim_.windows().WriteFile("C:\\WINDOWS\\SYSTEM\\VLPRTPRC.DLL", "x");
    ASSERT_TRUE(spooler().AddPrintProcessorA(nullptr, S("Windows 4.0"), S("VLPRTPRC.DLL"), S("VLPRTPRC")));
    EXPECT_TRUE(KeyExists("SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows 4.0\\Print Processors\\VLPRTPRC"));
}

TEST_F(SimSpoolerTest, DriverNeedsItsFilesAndCannotGoWhileAPrinterUsesIt) {
    DRIVER_INFO_3A info{};
    info.cVersion = 3;
    info.pName = S("Drv");
    info.pDriverPath = S("missing.dll");
    info.pDataFile = S("missing.gpd");
    info.pConfigFile = S("missing.dll");
    EXPECT_FALSE(spooler().AddPrinterDriverA(nullptr, 3, reinterpret_cast<BYTE*>(&info)));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, LastError());

    AddDriver("Drv");
    HANDLE printer = AddPrinter("P(P)", "LPT1:");
    ASSERT_NE(nullptr, printer);
    EXPECT_FALSE(spooler().DeletePrinterDriverExA(nullptr, nullptr, S("Drv"), DPD_DELETE_UNUSED_FILES, 0));
    EXPECT_EQ(ERROR_PRINTER_DRIVER_IN_USE, LastError());
    spooler().DeletePrinter(printer);
    spooler().ClosePrinter(printer);
    EXPECT_TRUE(spooler().DeletePrinterDriverExA(nullptr, nullptr, S("Drv"), DPD_DELETE_UNUSED_FILES, 0));
    std::string dir = spooler().DriverDirectory(PLATFORM_NATIVE_ENVIRONMENT);
    EXPECT_FALSE(sim_.windows().FileExists(dir + "\\d.dll")) << "unused files go with the driver";
}

TEST_F(SimSpoolerTest, SizesCountTheUnicodeAnswerOnNtAndTheNarrowOneOn98) {
    AddDriver("Drv");
    HANDLE printer = AddPrinter("P", "LPT1:");
    ASSERT_NE(nullptr, printer);
    DWORD needed = 0, returned = 0;
    EXPECT_FALSE(spooler().EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 5, nullptr, 0, &needed, &returned));
    EXPECT_EQ(sizeof(PRINTER_INFO_5A) + 2 * (2 + 6), needed);
    sim_.windows().SetVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 10);
    EXPECT_FALSE(spooler().EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 5, nullptr, 0, &needed, &returned));
    EXPECT_EQ(sizeof(PRINTER_INFO_5A) + 2 + 6, needed);
    std::vector<BYTE> buffer(needed);
    ASSERT_TRUE(spooler().EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 5, buffer.data(), needed, &needed, &returned));
    auto* info = reinterpret_cast<PRINTER_INFO_5A*>(buffer.data());
    EXPECT_STREQ("P", info->pPrinterName);
    EXPECT_STREQ("LPT1:", info->pPortName);
    EXPECT_GE(reinterpret_cast<BYTE*>(info->pPrinterName), buffer.data() + sizeof(PRINTER_INFO_5A));
    spooler().ClosePrinter(printer);
}

TEST_F(SimSpoolerTest, DefaultPrinterFollowsTheAttributeOn98AndIsClearedWhenDeleted) {
    sim_.windows().SetVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 10);
    AddDriver("Drv");
    HANDLE printer = AddPrinter("P(P)", "LPT1:");
    ASSERT_NE(nullptr, printer);
    std::vector<BYTE> buffer(2048);
    DWORD needed = 0;
    ASSERT_TRUE(spooler().GetPrinterA(printer, 2, buffer.data(), 2048, &needed));
    auto* info = reinterpret_cast<PRINTER_INFO_2A*>(buffer.data());
    EXPECT_EQ(0u, info->Attributes & PRINTER_ATTRIBUTE_DEFAULT);
    info->Attributes |= PRINTER_ATTRIBUTE_DEFAULT;
    ASSERT_TRUE(spooler().SetPrinterA(printer, 2, buffer.data(), 0));
    EXPECT_EQ("P(P)", spooler().defaultPrinter);
    ASSERT_TRUE(spooler().GetPrinterA(printer, 2, buffer.data(), 2048, &needed));
    EXPECT_NE(0u, info->Attributes & PRINTER_ATTRIBUTE_DEFAULT);
    ASSERT_TRUE(spooler().DeletePrinter(printer));
    EXPECT_EQ("", spooler().defaultPrinter);
    spooler().ClosePrinter(printer);
}

TEST_F(SimSpoolerTest, PrinterWithJobsIsOnlyMarkedAndAUseHandleCannotDeleteIt) {
    AddDriver("Drv");
    spooler().ClosePrinter(AddPrinter("P(P)", "LPT1:"));
    spooler().FindPrinter("p(p)")->jobs = 2;
    HANDLE user = nullptr;
    ASSERT_TRUE(spooler().OpenPrinterA(S("P(P)"), &user, nullptr));
    EXPECT_FALSE(spooler().DeletePrinter(user));
    EXPECT_EQ(ERROR_ACCESS_DENIED, LastError());
    PRINTER_DEFAULTSA all{nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE admin = nullptr;
    ASSERT_TRUE(spooler().OpenPrinterA(S("P(P)"), &admin, &all));
    EXPECT_TRUE(spooler().DeletePrinter(admin));
    ASSERT_NE(nullptr, spooler().FindPrinter("P(P)"));
    EXPECT_NE(0u, spooler().FindPrinter("P(P)")->status & PRINTER_STATUS_PENDING_DELETION);
    spooler().ClosePrinter(user);
    spooler().ClosePrinter(admin);
    EXPECT_FALSE(spooler().ClosePrinter(admin));
    EXPECT_EQ(ERROR_INVALID_HANDLE, LastError());
}

TEST_F(SimSpoolerTest, InjectedFaultFailsTheNamedCallOnce) {
    sim_.windows().InjectFault("AddPrinterDriverA", ERROR_ACCESS_DENIED);
    DRIVER_INFO_3A info{};
    EXPECT_FALSE(spooler().AddPrinterDriverA(nullptr, 3, reinterpret_cast<BYTE*>(&info)));
    EXPECT_EQ(ERROR_ACCESS_DENIED, LastError());
    EXPECT_FALSE(spooler().AddPrinterDriverA(nullptr, 3, reinterpret_cast<BYTE*>(&info)));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, LastError());
}

}  // namespace
