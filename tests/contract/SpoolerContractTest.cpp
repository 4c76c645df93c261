// The spooler calls as Windows answers them: size queries, levels, argument errors, and one driver and
// printer added, read, changed and removed again.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "platform/Spooler.h"
#include "tests/support/ContractEnv.h"

namespace {

using namespace win;

const char kDriverName[] = "Kx Contract Driver";
const char kPrinterName[] = "Kx Contract Printer";
const char* const kDriverFiles[] = {"kxcdrv.dll", "kxcdata.gpd", "kxcui.dll", "kxchelp.hlp"};

char* S(const char* text) { return const_cast<char*>(text); }

class SpoolerContract : public ::testing::Test {
protected:
    void SetUp() override {
        env_ = MakeContractEnv();
        DWORD needed = 0, returned = 0;
        SetLastError(0xdeadbeef);
        if (!spooler().EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &needed, &returned) &&
            LastError() == RPC_S_SERVER_UNAVAILABLE) {
            GTEST_SKIP() << "the spooler is not running";
        }
    }
    void TearDown() override {
        if (!env_) return;
        // Put back what a failed test may have left.
        HANDLE printer = nullptr;
        if (spooler().OpenPrinterA(S(kPrinterName), &printer, &allAccess_)) {
            spooler().DeletePrinter(printer);
            spooler().ClosePrinter(printer);
        }
        spooler().DeletePrinterDriverA(nullptr, nullptr, S(kDriverName));
    }

    Spooler& spooler() { return env_->platform().spooler; }
    void SetLastError(DWORD error) { env_->platform().kernel.SetLastError(error); }
    DWORD LastError() { return env_->platform().kernel.GetLastError(); }

    // A size query, then the call with exactly that size; one byte less must fail the same way.
    template <typename Call>
    std::vector<BYTE> Fetch(Call call, DWORD* returned) {
        DWORD needed = 0xdeadbeef;
        SetLastError(0xdeadbeef);
        BOOL ok = call(nullptr, 0, &needed, returned);
        if (ok) {
            EXPECT_EQ(0u, needed) << "only an empty answer needs no buffer";
            return {};
        }
        EXPECT_EQ(ERROR_INSUFFICIENT_BUFFER, LastError());
        EXPECT_GT(needed, 0u);
        std::vector<BYTE> buffer(needed + 16, 0xcc);
        DWORD again = 0;
        SetLastError(0xdeadbeef);
        EXPECT_FALSE(call(buffer.data(), needed - 1, &again, returned));
        EXPECT_EQ(ERROR_INSUFFICIENT_BUFFER, LastError());
        EXPECT_EQ(needed, again);
        again = 0;
        EXPECT_TRUE(call(buffer.data(), needed, &again, returned));
        EXPECT_EQ(needed, again);
        return buffer;
    }

    std::string DriverDirectory() {
        std::vector<char> directory(MAX_PATH * 2);
        DWORD needed = 0;
        if (!spooler().GetPrinterDriverDirectoryA(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(directory.data()),
                                                  static_cast<DWORD>(directory.size()), &needed)) {
            return std::string();
        }
        return directory.data();
    }

    // Placeholder files are enough for the spooler to take a driver.
    void AddContractDriver() {
        std::string directory = DriverDirectory();
        ASSERT_FALSE(directory.empty());
        for (const char* file : kDriverFiles) env_->WriteFile(directory + "\\" + file, "placeholder");
        DRIVER_INFO_3A info{};
        info.cVersion = 3;
        info.pName = S(kDriverName);
        info.pDriverPath = S(kDriverFiles[0]);
        info.pDataFile = S(kDriverFiles[1]);
        info.pConfigFile = S(kDriverFiles[2]);
        info.pHelpFile = S(kDriverFiles[3]);
        SetLastError(0xdeadbeef);
        ASSERT_TRUE(spooler().AddPrinterDriverA(nullptr, 3, reinterpret_cast<BYTE*>(&info))) << LastError();
    }

    PRINTER_INFO_2A PrinterRecord(const char* name, const char* driver, const char* processor) {
        PRINTER_INFO_2A info{};
        info.pPrinterName = S(name);
        info.pPortName = S("LPT1:");
        info.pDriverName = S(driver);
        info.pPrintProcessor = S(processor);
        info.pDatatype = S("RAW");
        return info;
    }

    std::unique_ptr<ContractEnv> env_;
    PRINTER_DEFAULTSA allAccess_{nullptr, nullptr, PRINTER_ALL_ACCESS};
};

TEST_F(SpoolerContract, EnumPrintersAnswersSizeQueriesAtEveryLevel) {
    for (DWORD level : {1u, 2u, 4u, 5u}) {
        DWORD returned = 0;
        Fetch([&](BYTE* b, DWORD s, DWORD* n, DWORD* r) {
            return spooler().EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, level, b, s, n, r);
        }, &returned);
    }
    DWORD needed = 0, returned = 0;
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(spooler().EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 3, nullptr, 0, &needed, &returned));
    EXPECT_EQ(ERROR_INVALID_LEVEL, LastError());
}

TEST_F(SpoolerContract, LocalPortMonitorOffersTheParallelAndSerialPorts) {
    DWORD returned = 0;
    std::vector<BYTE> buffer = Fetch([&](BYTE* b, DWORD s, DWORD* n, DWORD* r) {
        return spooler().EnumPortsA(nullptr, 2, b, s, n, r);
    }, &returned);
    ASSERT_GT(returned, 0u);
    const auto* ports = reinterpret_cast<const PORT_INFO_2A*>(buffer.data());
    bool lpt1 = false, com1 = false;
    for (DWORD i = 0; i < returned; ++i) {
        std::string name = ports[i].pPortName;
        if (name == "LPT1:" || name == "COM1:") {
            // Wine deviates: its ports name the monitor with its own translated "Local Monitor" text (in
            // Chinese under a Chinese locale), while EnumMonitorsA calls it "Local Port" as Windows does.
            if (env_->IsWine())
                EXPECT_STRNE("Local Port", ports[i].pMonitorName) << name;
            else
                EXPECT_STREQ("Local Port", ports[i].pMonitorName) << name;
            (name == "LPT1:" ? lpt1 : com1) = true;
        }
    }
    EXPECT_TRUE(lpt1);
    EXPECT_TRUE(com1);

    std::vector<BYTE> names = Fetch([&](BYTE* b, DWORD s, DWORD* n, DWORD* r) {
        return spooler().EnumPortsA(nullptr, 1, b, s, n, r);
    }, &returned);
    EXPECT_GT(returned, 0u);
    DWORD needed = 0;
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(spooler().EnumPortsA(nullptr, 3, nullptr, 0, &needed, &returned));
    EXPECT_EQ(ERROR_INVALID_LEVEL, LastError());
}

TEST_F(SpoolerContract, EnumMonitorsListsTheLocalPortMonitor) {
    for (DWORD level : {1u, 2u}) {
        DWORD returned = 0;
        std::vector<BYTE> buffer = Fetch([&](BYTE* b, DWORD s, DWORD* n, DWORD* r) {
            return spooler().EnumMonitorsA(nullptr, level, b, s, n, r);
        }, &returned);
        bool found = false;
        for (DWORD i = 0; i < returned; ++i) {
            const char* name = level == 1 ? reinterpret_cast<const MONITOR_INFO_1A*>(buffer.data())[i].pName
                                          : reinterpret_cast<const MONITOR_INFO_2A*>(buffer.data())[i].pName;
            found = found || std::strcmp(name, "Local Port") == 0;
        }
        EXPECT_TRUE(found) << "level " << level;
    }
    DWORD needed = 0, returned = 0;
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(spooler().EnumMonitorsA(nullptr, 3, nullptr, 0, &needed, &returned));
    EXPECT_EQ(ERROR_INVALID_LEVEL, LastError());
}

TEST_F(SpoolerContract, EnumPrintProcessorsKnowsWinPrintAndRefusesUnknownEnvironments) {
    DWORD returned = 0;
    std::vector<BYTE> buffer = Fetch([&](BYTE* b, DWORD s, DWORD* n, DWORD* r) {
        return spooler().EnumPrintProcessorsA(nullptr, nullptr, 1, b, s, n, r);
    }, &returned);
    bool found = false;
    for (DWORD i = 0; i < returned; ++i) {
        std::string name = reinterpret_cast<const PRINTPROCESSOR_INFO_1A*>(buffer.data())[i].pName;
        for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        found = found || name == "winprint";
    }
    EXPECT_TRUE(found);
    DWORD needed = 0;
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(spooler().EnumPrintProcessorsA(nullptr, S("no such env"), 1, nullptr, 0, &needed, &returned));
    EXPECT_EQ(ERROR_INVALID_ENVIRONMENT, LastError());
}

// Windows: WinPrint lists RAW among its data types; an unknown processor gives 1798.
TEST_F(SpoolerContract, EnumPrintProcessorDatatypesListsRawForWinPrint) {
    DWORD returned = 0;
    if (env_->IsWine()) {
        // Wine deviates: it lists no data types for any processor, failing without an error code; setup
        // then names RAW, which Wine needs to open the printer it added.
        DWORD needed = 0;
        SetLastError(0xdeadbeef);
        EXPECT_FALSE(spooler().EnumPrintProcessorDatatypesA(nullptr, S("WinPrint"), 1, nullptr, 0, &needed, &returned));
        EXPECT_NE(ERROR_INSUFFICIENT_BUFFER, LastError());
        return;
    }
    std::vector<BYTE> buffer = Fetch(
        [&](BYTE* b, DWORD s, DWORD* n, DWORD* r) {
            return spooler().EnumPrintProcessorDatatypesA(nullptr, S("WinPrint"), 1, b, s, n, r);
        },
        &returned);
    bool raw = false;
    for (DWORD i = 0; i < returned; ++i)
        raw = raw || std::string(reinterpret_cast<const DATATYPES_INFO_1A*>(buffer.data())[i].pName) == "RAW";
    EXPECT_TRUE(raw);
    DWORD needed = 0;
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(spooler().EnumPrintProcessorDatatypesA(nullptr, S("no such processor"), 1, nullptr, 0,
                                                        &needed, &returned));
    EXPECT_EQ(ERROR_UNKNOWN_PRINTPROCESSOR, LastError());
}

TEST_F(SpoolerContract, DirectoriesAnswerSizeQueriesAndTakeEnvironmentsWithoutRegardToCase) {
    for (bool processor : {false, true}) {
        auto call = [&](LPSTR environment, DWORD level, BYTE* b, DWORD s, DWORD* n) {
            return processor ? spooler().GetPrintProcessorDirectoryA(nullptr, environment, level, b, s, n)
                             : spooler().GetPrinterDriverDirectoryA(nullptr, environment, level, b, s, n);
        };
        DWORD returned = 0;
        std::vector<BYTE> directory = Fetch([&](BYTE* b, DWORD s, DWORD* n, DWORD*) {
            return call(nullptr, 1, b, s, n);
        }, &returned);
        EXPECT_NE(nullptr, std::strchr(reinterpret_cast<const char*>(directory.data()), '\\'));
        std::vector<BYTE> buffer(MAX_PATH * 2);
        DWORD needed = 0;
        SetLastError(0xdeadbeef);
        EXPECT_TRUE(call(S("windowS 4.0"), 1, buffer.data(), static_cast<DWORD>(buffer.size()), &needed));
        SetLastError(0xdeadbeef);
        EXPECT_FALSE(call(S("no such env"), 1, buffer.data(), static_cast<DWORD>(buffer.size()), &needed));
        EXPECT_EQ(ERROR_INVALID_ENVIRONMENT, LastError());
        SetLastError(0xdeadbeef);
        EXPECT_FALSE(call(nullptr, 2, buffer.data(), static_cast<DWORD>(buffer.size()), &needed));
        EXPECT_EQ(ERROR_INVALID_LEVEL, LastError()) << (processor ? "processor" : "driver");
    }
}

TEST_F(SpoolerContract, AddMonitorRefusesBadLevelsRecordsAndMissingDlls) {
    MONITOR_INFO_2A info{S("Kx Contract Monitor"), nullptr, S("kxcmon.dll")};
    for (DWORD level : {1u, 3u}) {
        SetLastError(0xdeadbeef);
        EXPECT_FALSE(spooler().AddMonitorA(nullptr, level, reinterpret_cast<BYTE*>(&info)));
        EXPECT_EQ(ERROR_INVALID_LEVEL, LastError()) << "level " << level;
    }
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(spooler().AddMonitorA(nullptr, 2, nullptr));
    if (env_->IsWine()) {
        // Wine deviates: it fails without setting the last error.
        EXPECT_EQ(0xdeadbeef, LastError());
    } else {
        // The NT family refuses the missing record in its RPC layer.
        EXPECT_TRUE(LastError() == ERROR_INVALID_PARAMETER || LastError() == RPC_X_NULL_REF_POINTER) << LastError();
    }
    MONITOR_INFO_2A zeroed{};
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(spooler().AddMonitorA(nullptr, 2, reinterpret_cast<BYTE*>(&zeroed)));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, LastError());
    MONITOR_INFO_2A noName{S(""), nullptr, S("kxcmon.dll")};
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(spooler().AddMonitorA(nullptr, 2, reinterpret_cast<BYTE*>(&noName)));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, LastError());
    MONITOR_INFO_2A noDll{S("Kx Contract Monitor"), nullptr, S("")};
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(spooler().AddMonitorA(nullptr, 2, reinterpret_cast<BYTE*>(&noDll)));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, LastError());
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(spooler().AddMonitorA(S(""), 2, reinterpret_cast<BYTE*>(&info)));
    EXPECT_EQ(ERROR_MOD_NOT_FOUND, LastError()) << "an empty server is the local machine";
}

// The stand-in serial monitor, built beside the Windows tests; the simulation takes any file as a monitor DLL.
std::string MonitorDllBytes(ContractEnv& env) {
    if (!env.IsWine()) return "placeholder";
    std::vector<char> path(MAX_PATH * 2);
    env.platform().files.GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    std::string dll = path.data();
    dll = dll.substr(0, dll.find_last_of('\\') + 1) + "stand-ins\\VLCOMMON.dll";
    std::ifstream in(dll, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

TEST_F(SpoolerContract, MonitorIsAddedOnceWithItsRegistryKeyAndDeletedOnce) {
    std::string bytes = MonitorDllBytes(*env_);
    if (bytes.empty()) GTEST_SKIP() << "the stand-in monitor DLL is not built";
    std::vector<char> system(MAX_PATH * 2);
    env_->platform().files.GetSystemDirectoryA(system.data(), static_cast<UINT>(system.size()));
    std::string dllPath = std::string(system.data()) + "\\kxcmon.dll";
    env_->WriteFile(dllPath, bytes);

    MONITOR_INFO_2A info{S("Kx Contract Monitor"), nullptr, S("kxcmon.dll")};
    SetLastError(0xdeadbeef);
    ASSERT_TRUE(spooler().AddMonitorA(nullptr, 2, reinterpret_cast<BYTE*>(&info))) << LastError();
    EXPECT_EQ(ERROR_SUCCESS, LastError());
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(spooler().AddMonitorA(nullptr, 2, reinterpret_cast<BYTE*>(&info)));
    EXPECT_EQ(ERROR_PRINT_MONITOR_ALREADY_INSTALLED, LastError());

    Registry& registry = env_->platform().registry;
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, registry.RegOpenKeyExA(HKEY_LOCAL_MACHINE,
                                                   "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Kx Contract Monitor",
                                                   0, KEY_READ, &key));
    char driver[MAX_PATH] = {};
    DWORD type = 0, size = sizeof driver;
    EXPECT_EQ(ERROR_SUCCESS, registry.RegQueryValueExA(key, "Driver", nullptr, &type, reinterpret_cast<BYTE*>(driver), &size));
    EXPECT_EQ(REG_SZ, type);
    EXPECT_STREQ("kxcmon.dll", driver);
    registry.RegCloseKey(key);

    SetLastError(0xdeadbeef);
    EXPECT_TRUE(spooler().DeleteMonitorA(nullptr, nullptr, S("Kx Contract Monitor"))) << LastError();
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(spooler().DeleteMonitorA(nullptr, nullptr, S("Kx Contract Monitor")));
    EXPECT_EQ(ERROR_UNKNOWN_PRINT_MONITOR, LastError());
    env_->RemoveFile(dllPath);
}

TEST_F(SpoolerContract, DeleteMonitorOfAnUnknownMonitorFails) {
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(spooler().DeleteMonitorA(nullptr, nullptr, S("Kx No Such Monitor")));
    EXPECT_EQ(ERROR_UNKNOWN_PRINT_MONITOR, LastError());
}

TEST_F(SpoolerContract, AddPrintProcessorRefusesMissingNamesAndUnknownEnvironments) {
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(spooler().AddPrintProcessorA(nullptr, nullptr, nullptr, S("Kx Contract Processor")));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, LastError());
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(spooler().AddPrintProcessorA(nullptr, nullptr, S("kxcproc.dll"), nullptr));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, LastError());
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(spooler().AddPrintProcessorA(nullptr, S("no such env"), S("kxcproc.dll"), S("Kx Contract Processor")));
    EXPECT_EQ(ERROR_INVALID_ENVIRONMENT, LastError());
}

TEST_F(SpoolerContract, DriverAndPrinterAreAddedReadChangedAndRemoved) {
    AddContractDriver();
    if (HasFatalFailure()) return;
    // Adding the same driver again replaces it.
    AddContractDriver();
    if (HasFatalFailure()) return;

    PRINTER_INFO_2A record = PrinterRecord(kPrinterName, kDriverName, "WinPrint");
    SetLastError(0xdeadbeef);
    EXPECT_EQ(nullptr, spooler().AddPrinterA(nullptr, 1, reinterpret_cast<BYTE*>(&record)));
    EXPECT_EQ(ERROR_INVALID_LEVEL, LastError());
    PRINTER_INFO_2A noDriver = PrinterRecord(kPrinterName, "Kx No Such Driver", "WinPrint");
    SetLastError(0xdeadbeef);
    EXPECT_EQ(nullptr, spooler().AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&noDriver)));
    // Wine deviates: it gives 87 for an unknown driver and an unknown processor alike.
    EXPECT_EQ(env_->IsWine() ? ERROR_INVALID_PARAMETER : ERROR_UNKNOWN_PRINTER_DRIVER, LastError());
    PRINTER_INFO_2A noProcessor = PrinterRecord(kPrinterName, kDriverName, "Kx No Such Processor");
    SetLastError(0xdeadbeef);
    EXPECT_EQ(nullptr, spooler().AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&noProcessor)));
    EXPECT_EQ(env_->IsWine() ? ERROR_INVALID_PARAMETER : ERROR_UNKNOWN_PRINTPROCESSOR, LastError());

    HANDLE added = spooler().AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&record));
    ASSERT_NE(nullptr, added) << LastError();
    EXPECT_STREQ(kPrinterName, record.pPrinterName) << "the A call leaves the caller's record alone";
    EXPECT_TRUE(spooler().ClosePrinter(added));

    SetLastError(0xdeadbeef);
    HANDLE twice = spooler().AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&record));
    if (env_->IsWine()) {
        // Wine deviates: it adds a printer under a name that exists; Windows refuses with 1802.
        if (twice != nullptr) spooler().ClosePrinter(twice);
    } else {
        EXPECT_EQ(nullptr, twice);
        EXPECT_EQ(ERROR_PRINTER_ALREADY_EXISTS, LastError());
    }

    HANDLE printer = nullptr;
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(spooler().OpenPrinterA(S(""), &printer, &allAccess_));
    // Wine deviates: an empty name gives 87 there.
    EXPECT_EQ(env_->IsWine() ? ERROR_INVALID_PARAMETER : ERROR_INVALID_PRINTER_NAME, LastError());
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(spooler().OpenPrinterA(S("Kx No Such Printer"), &printer, &allAccess_));
    EXPECT_EQ(ERROR_INVALID_PRINTER_NAME, LastError());
    ASSERT_TRUE(spooler().OpenPrinterA(S(kPrinterName), &printer, &allAccess_));

    DWORD returned = 0;
    std::vector<BYTE> buffer = Fetch([&](BYTE* b, DWORD s, DWORD* n, DWORD*) {
        return spooler().GetPrinterA(printer, 2, b, s, n);
    }, &returned);
    ASSERT_FALSE(buffer.empty());
    auto* info = reinterpret_cast<PRINTER_INFO_2A*>(buffer.data());
    EXPECT_STREQ(kPrinterName, info->pPrinterName);
    EXPECT_STREQ("LPT1:", info->pPortName);
    EXPECT_STREQ(kDriverName, info->pDriverName);
    EXPECT_EQ(0u, info->cJobs);

    info->pComment = S("changed by the contract test");
    SetLastError(0xdeadbeef);
    EXPECT_TRUE(spooler().SetPrinterA(printer, 2, buffer.data(), 0)) << LastError();
    std::vector<BYTE> changed = Fetch([&](BYTE* b, DWORD s, DWORD* n, DWORD*) {
        return spooler().GetPrinterA(printer, 2, b, s, n);
    }, &returned);
    ASSERT_FALSE(changed.empty());
    EXPECT_STREQ("changed by the contract test", reinterpret_cast<PRINTER_INFO_2A*>(changed.data())->pComment);

    if (env_->IsWine()) {
        // Wine deviates: it deletes a driver that a printer still uses (Windows: 3001), so it is not tried.
    } else {
        SetLastError(0xdeadbeef);
        EXPECT_FALSE(spooler().DeletePrinterDriverA(nullptr, nullptr, S(kDriverName)));
        EXPECT_EQ(ERROR_PRINTER_DRIVER_IN_USE, LastError());
    }

    EXPECT_TRUE(spooler().DeletePrinter(printer));
    EXPECT_TRUE(spooler().ClosePrinter(printer));
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(spooler().OpenPrinterA(S(kPrinterName), &printer, &allAccess_));
    EXPECT_EQ(ERROR_INVALID_PRINTER_NAME, LastError());

    SetLastError(0xdeadbeef);
    EXPECT_TRUE(spooler().DeletePrinterDriverA(nullptr, nullptr, S(kDriverName))) << LastError();
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(spooler().DeletePrinterDriverA(nullptr, nullptr, S(kDriverName)));
    // Wine deviates: it fails for an unknown driver without setting the last error.
    EXPECT_EQ(env_->IsWine() ? 0xdeadbeef : ERROR_UNKNOWN_PRINTER_DRIVER, LastError());
}

// Where a document's bytes go. Windows hands them to the monitor of the printer's port. Wine deviates: it
// never calls a port monitor, but sends a job to the place that HKCU\Software\Wine\Printing\Spooler names
// for the port (a Unix file, or "|command"), else by the port's name to LPR, CUPS or a file, and fails the
// job of any other port at EndDocPrinter. There the port is sent to a Unix file, which the test reads.
TEST_F(SpoolerContract, ARawDocumentIsWrittenAndEndedOrDropped) {
    AddContractDriver();
    if (HasFatalFailure()) return;
    PRINTER_INFO_2A record = PrinterRecord(kPrinterName, kDriverName, "WinPrint");
    HANDLE added = spooler().AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&record));
    ASSERT_NE(nullptr, added) << LastError();
    spooler().ClosePrinter(added);
    const std::string output = "/tmp/kx-contract-" + std::to_string(std::random_device{}()) + ".prn";
    HKEY redirect = nullptr;
    if (env_->IsWine()) {
        ASSERT_EQ(ERROR_SUCCESS, env_->platform().registry.RegCreateKeyExA(
                                     HKEY_CURRENT_USER, "Software\\Wine\\Printing\\Spooler", 0, nullptr, 0,
                                     KEY_ALL_ACCESS, nullptr, &redirect, nullptr));
        env_->platform().registry.RegSetValueExA(redirect, "LPT1:", 0, REG_SZ,
                                                 reinterpret_cast<const BYTE*>(output.c_str()),
                                                 static_cast<DWORD>(output.size() + 1));
    }
    PRINTER_DEFAULTSA use{S("RAW"), nullptr, PRINTER_ACCESS_USE};
    HANDLE printer = nullptr;
    ASSERT_TRUE(spooler().OpenPrinterA(S(kPrinterName), &printer, &use)) << LastError();

    char data[] = "contract\n";
    DWORD written = 0xdeadbeef;
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(spooler().WritePrinter(printer, data, sizeof data - 1, &written)) << "no document yet";
    EXPECT_EQ(ERROR_SPL_NO_STARTDOC, LastError());
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(spooler().EndDocPrinter(printer));
    EXPECT_EQ(ERROR_SPL_NO_STARTDOC, LastError());

    DOC_INFO_1A unknownType{S("Kx contract"), nullptr, S("KX_NO_SUCH_TYPE")};
    SetLastError(0xdeadbeef);
    DWORD refused = spooler().StartDocPrinterA(printer, 1, reinterpret_cast<BYTE*>(&unknownType));
    if (env_->IsWine()) {
        // Wine deviates: it starts a document of any data type, and fails one it does not know at its end.
        EXPECT_NE(0u, refused);
        if (refused != 0) {
            EXPECT_TRUE(spooler().WritePrinter(printer, data, sizeof data - 1, &written)) << LastError();
            EXPECT_FALSE(spooler().EndDocPrinter(printer));
        }
    } else {
        EXPECT_EQ(0u, refused);
        EXPECT_EQ(ERROR_INVALID_DATATYPE, LastError());
    }

    DOC_INFO_1A raw{S("Kx contract"), nullptr, S("RAW")};
    DWORD first = spooler().StartDocPrinterA(printer, 1, reinterpret_cast<BYTE*>(&raw));
    ASSERT_NE(0u, first) << LastError();
    EXPECT_TRUE(spooler().WritePrinter(printer, data, sizeof data - 1, &written)) << LastError();
    EXPECT_EQ(sizeof data - 1, written);
    EXPECT_TRUE(spooler().EndDocPrinter(printer)) << LastError();
    if (env_->IsWine()) {
        std::ifstream sent("Z:" + output, std::ios::binary);
        std::stringstream bytes;
        bytes << sent.rdbuf();
        EXPECT_EQ("contract\n", bytes.str());
    }

    DWORD second = spooler().StartDocPrinterA(printer, 1, reinterpret_cast<BYTE*>(&raw));
    ASSERT_NE(0u, second) << LastError();
    EXPECT_NE(first, second) << "each document is a job of its own";
    EXPECT_TRUE(spooler().WritePrinter(printer, data, sizeof data - 1, &written)) << LastError();
    EXPECT_TRUE(spooler().AbortPrinter(printer)) << LastError();
    SetLastError(0xdeadbeef);
    BOOL ended = spooler().EndDocPrinter(printer);
    if (env_->IsWine()) {
        // Wine deviates: AbortPrinter does nothing, so the document is still open and ends here.
        EXPECT_TRUE(ended) << LastError();
    } else {
        EXPECT_FALSE(ended) << "the dropped document has ended";
        EXPECT_EQ(ERROR_SPL_NO_STARTDOC, LastError());
    }

    PRINTER_DEFAULTSA all = allAccess_;
    HANDLE owner = nullptr;
    ASSERT_TRUE(spooler().OpenPrinterA(S(kPrinterName), &owner, &all));
    EXPECT_TRUE(spooler().DeletePrinter(owner));
    spooler().ClosePrinter(owner);
    EXPECT_TRUE(spooler().ClosePrinter(printer));
    if (redirect != nullptr) {
        env_->platform().registry.RegDeleteValueA(redirect, "LPT1:");
        env_->platform().registry.RegCloseKey(redirect);
        std::remove(("Z:" + output).c_str());
    }
}

TEST_F(SpoolerContract, NullHandlesAreRefused) {
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(spooler().DeletePrinter(nullptr));
    EXPECT_EQ(ERROR_INVALID_HANDLE, LastError());
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(spooler().ClosePrinter(nullptr));
    EXPECT_EQ(ERROR_INVALID_HANDLE, LastError());
}

}  // namespace
