// The spooler calls as Windows answers them: size queries, levels, argument errors, and one driver and
// printer added, read, changed and removed again.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Architecture.h"
#include "platform/Files.h"
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
        for (const std::string& name : printers_) DeletePrinterNamed(name);
        spooler().DeletePrinterDriverA(nullptr, nullptr, S(kDriverName));
        for (const std::string& name : drivers_)
            spooler().DeletePrinterDriverA(nullptr, nullptr, S(name.c_str()));
        for (const std::string& name : monitors_) spooler().DeleteMonitorA(nullptr, nullptr, S(name.c_str()));
        for (const std::string& name : processors_) RemoveProcessor(name);
        for (const std::string& path : files_) env_->RemoveFile(path);
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

    std::string ProcessorDirectory() {
        std::vector<char> directory(MAX_PATH * 2);
        DWORD needed = 0;
        if (!spooler().GetPrintProcessorDirectoryA(nullptr, nullptr, 1,
                                                   reinterpret_cast<BYTE*>(directory.data()),
                                                   static_cast<DWORD>(directory.size()), &needed)) {
            return std::string();
        }
        return directory.data();
    }

    std::string SystemDirectory() {
        std::vector<char> system(MAX_PATH * 2);
        env_->platform().files.GetSystemDirectoryA(system.data(), static_cast<UINT>(system.size()));
        return system.data();
    }

    bool DeletePrinterNamed(const std::string& name) {
        HANDLE printer = nullptr;
        if (!spooler().OpenPrinterA(S(name.c_str()), &printer, &allAccess_)) return false;
        BOOL deleted = spooler().DeletePrinter(printer);
        spooler().ClosePrinter(printer);
        return deleted != FALSE;
    }

    // Wine's DeletePrintProcessorA does nothing, so there the processor's key goes by hand.
    void RemoveProcessor(const std::string& name) {
        spooler().DeletePrintProcessorA(nullptr, nullptr, S(name.c_str()));
        if (env_->IsWine())
            env_->platform().registry.RegDeleteKeyA(HKEY_LOCAL_MACHINE, ProcessorKey(name).c_str());
    }

    std::string ProcessorKey(const std::string& name) {
        return std::string("SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\") + kNativeEnvironment +
               "\\Print Processors\\" + name;
    }

    std::vector<std::string> PrinterNames() {
        DWORD returned = 0;
        std::vector<BYTE> buffer = Fetch(
            [&](BYTE* b, DWORD s, DWORD* n, DWORD* r) {
                return spooler().EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 4, b, s, n, r);
            },
            &returned);
        std::vector<std::string> names;
        for (DWORD i = 0; i < returned; ++i)
            names.push_back(reinterpret_cast<const PRINTER_INFO_4A*>(buffer.data())[i].pPrinterName);
        return names;
    }

    std::vector<std::string> ProcessorNames() {
        DWORD returned = 0;
        std::vector<BYTE> buffer =
            Fetch([&](BYTE* b, DWORD s, DWORD* n,
                      DWORD* r) { return spooler().EnumPrintProcessorsA(nullptr, nullptr, 1, b, s, n, r); },
                  &returned);
        std::vector<std::string> names;
        for (DWORD i = 0; i < returned; ++i)
            names.push_back(reinterpret_cast<const PRINTPROCESSOR_INFO_1A*>(buffer.data())[i].pName);
        return names;
    }

    static bool Contains(const std::vector<std::string>& names, const std::string& name) {
        return std::find(names.begin(), names.end(), name) != names.end();
    }

    // Where the spooler may keep a driver's file: the driver directory or its version folder.
    bool DriverFileLeft(const std::string& file) {
        std::string directory = DriverDirectory();
        Files& files = env_->platform().files;
        return files.GetFileAttributesA((directory + "\\" + file).c_str()) != INVALID_FILE_ATTRIBUTES ||
               files.GetFileAttributesA((directory + "\\3\\" + file).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    // A driver of placeholder files written into the driver directory; the help file is optional.
    void AddDriver(const char* name, const char* driverFile, const char* dataFile, const char* configFile,
                   const char* helpFile) {
        std::string directory = DriverDirectory();
        ASSERT_FALSE(directory.empty());
        for (const char* file : {driverFile, dataFile, configFile, helpFile}) {
            if (file == nullptr) continue;
            env_->WriteFile(directory + "\\" + file, "placeholder");
            files_.push_back(directory + "\\" + file);
            files_.push_back(directory + "\\3\\" + file);
        }
        DRIVER_INFO_3A info{};
        info.cVersion = 3;
        info.pName = S(name);
        info.pDriverPath = S(driverFile);
        info.pDataFile = S(dataFile);
        info.pConfigFile = S(configFile);
        info.pHelpFile = S(helpFile);
        drivers_.push_back(name);
        SetLastError(0xdeadbeef);
        ASSERT_TRUE(spooler().AddPrinterDriverA(nullptr, 3, reinterpret_cast<BYTE*>(&info))) << LastError();
    }

    HANDLE AddPrinter(PRINTER_INFO_2A record) {
        printers_.push_back(record.pPrinterName);
        SetLastError(0xdeadbeef);
        return spooler().AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&record));
    }

    // The contract printer on LPT1: with the contract driver, its handle closed: for cases that need one.
    void AddContractPrinter() {
        HANDLE added = AddPrinter(PrinterRecord(kPrinterName, kDriverName, "WinPrint"));
        ASSERT_NE(nullptr, added) << LastError();
        spooler().ClosePrinter(added);
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
    // What a test added beyond the contract driver and printer, removed again after it.
    std::vector<std::string> printers_, drivers_, monitors_, processors_, files_;
};

TEST_F(SpoolerContract, EnumPrintersAnswersSizeQueriesAtEveryLevel) {
    // With no printer the answer needs no buffer; one printer makes every level a real size query.
    AddContractDriver();
    if (HasFatalFailure()) return;
    AddContractPrinter();
    if (HasFatalFailure()) return;
    for (DWORD level : {1u, 2u, 4u, 5u}) {
        DWORD returned = 0;
        DWORD needed = 0;
        SetLastError(0xdeadbeef);
        EXPECT_FALSE(
            spooler().EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, level, nullptr, 0, &needed, &returned));
        EXPECT_EQ(ERROR_INSUFFICIENT_BUFFER, LastError()) << "level " << level;
        EXPECT_GT(needed, 0u) << "level " << level;
        std::vector<BYTE> buffer = Fetch(
            [&](BYTE* b, DWORD s, DWORD* n, DWORD* r) {
                return spooler().EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, level, b, s, n, r);
            },
            &returned);
        EXPECT_FALSE(buffer.empty()) << "level " << level;
        EXPECT_GE(returned, 1u) << "level " << level;
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

TEST_F(SpoolerContract, MonitorIsAddedOnceWithItsRegistryKeyAndDeletedOnce) {
    std::string dllPath = SystemDirectory() + "\\kxcmon.dll";
    if (!env_->PlaceStandIn("VLCOMMON.dll", dllPath)) GTEST_SKIP() << "the stand-in monitor DLL is not built";

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
    AddContractPrinter();
    if (HasFatalFailure()) return;
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

// Both the A call and the Ex call of winspool: the Ex call is found at run time, as the programs find it.
TEST_F(SpoolerContract, DeletePrinterDriverExWithUnusedFilesDeletesTheFilesNoOtherDriverNames) {
    AddDriver(kDriverName, "kxcdrv.dll", "kxcdata.gpd", "kxcui.dll", "kxchelp.hlp");
    if (HasFatalFailure()) return;
    // A second driver that shares the data and configuration files.
    AddDriver("Kx Contract Driver 2", "kxcdrv2.dll", "kxcdata.gpd", "kxcui.dll", nullptr);
    if (HasFatalFailure()) return;
    for (const char* file : {"kxcdrv.dll", "kxcdata.gpd", "kxcui.dll", "kxchelp.hlp", "kxcdrv2.dll"})
        EXPECT_TRUE(DriverFileLeft(file)) << file;
    HMODULE winspool = env_->platform().library.LoadLibraryA("winspool.drv");
    ASSERT_NE(nullptr, winspool);
    auto deleteEx = EntryAs<PFN_DeletePrinterDriverExA>(
        env_->platform().library.GetProcAddress(winspool, "DeletePrinterDriverExA"));
    ASSERT_NE(nullptr, deleteEx);

    AddContractPrinter();
    if (HasFatalFailure()) return;
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(deleteEx(nullptr, nullptr, S(kDriverName), DPD_DELETE_UNUSED_FILES, 0));
    // Wine deviates: it refuses every delete flag with 87 before it looks at the driver (Windows: 3001 while
    // a printer uses it).
    EXPECT_EQ(env_->IsWine() ? ERROR_INVALID_PARAMETER : ERROR_PRINTER_DRIVER_IN_USE, LastError());
    EXPECT_TRUE(DriverFileLeft("kxcdrv.dll"));
    ASSERT_TRUE(DeletePrinterNamed(kPrinterName));

    SetLastError(0xdeadbeef);
    BOOL deleted = deleteEx(nullptr, nullptr, S(kDriverName), DPD_DELETE_UNUSED_FILES, 0);
    if (env_->IsWine()) {
        // Wine deviates as above: nothing is deleted, neither the driver nor its files.
        EXPECT_FALSE(deleted);
        EXPECT_EQ(ERROR_INVALID_PARAMETER, LastError());
        EXPECT_TRUE(DriverFileLeft("kxcdrv.dll"));
    } else {
        EXPECT_TRUE(deleted) << LastError();
        EXPECT_FALSE(DriverFileLeft("kxcdrv.dll"));
        EXPECT_FALSE(DriverFileLeft("kxchelp.hlp"));
        EXPECT_TRUE(DriverFileLeft("kxcdata.gpd")) << "the other driver names it";
        EXPECT_TRUE(DriverFileLeft("kxcui.dll")) << "the other driver names it";
        SetLastError(0xdeadbeef);
        EXPECT_FALSE(spooler().DeletePrinterDriverA(nullptr, nullptr, S(kDriverName)));
        EXPECT_EQ(ERROR_UNKNOWN_PRINTER_DRIVER, LastError());
    }
    EXPECT_TRUE(DriverFileLeft("kxcdrv2.dll"));
    SetLastError(0xdeadbeef);
    EXPECT_TRUE(spooler().DeletePrinterDriverA(nullptr, nullptr, S("Kx Contract Driver 2"))) << LastError();
    env_->platform().library.FreeLibrary(winspool);
}

// Windows checks the printer's port and its data type against the print processor: 1796 and 1804.
TEST_F(SpoolerContract, AddPrinterRefusesAnUnknownPortAndADataTypeItsProcessorLacks) {
    AddContractDriver();
    if (HasFatalFailure()) return;
    PRINTER_INFO_2A noPort = PrinterRecord(kPrinterName, kDriverName, "WinPrint");
    noPort.pPortName = S("KXNOSUCHPORT:");
    HANDLE added = AddPrinter(noPort);
    DWORD error = LastError();
    if (env_->IsWine()) {
        // Wine deviates: it adds a printer on a port no monitor offers.
        EXPECT_NE(nullptr, added) << error;
        if (added != nullptr) spooler().ClosePrinter(added);
        DeletePrinterNamed(kPrinterName);
    } else {
        EXPECT_EQ(nullptr, added);
        EXPECT_EQ(ERROR_UNKNOWN_PORT, error);
    }

    PRINTER_INFO_2A noType = PrinterRecord(kPrinterName, kDriverName, "WinPrint");
    noType.pDatatype = S("KX_NO_SUCH_TYPE");
    added = AddPrinter(noType);
    error = LastError();
    if (env_->IsWine()) {
        // Wine deviates: it takes a data type that the printer's processor lacks.
        EXPECT_NE(nullptr, added) << error;
        if (added != nullptr) spooler().ClosePrinter(added);
    } else {
        EXPECT_EQ(nullptr, added);
        EXPECT_EQ(ERROR_INVALID_DATATYPE, error);
        EXPECT_FALSE(Contains(PrinterNames(), kPrinterName));
    }
}

// Windows documents no order. Wine lists the printers by name (its registry's order); the simulation in
// the order they were added. Nothing of ours may depend on it; both list each printer once, the same at
// every level.
TEST_F(SpoolerContract, EnumPrintersListsEachPrinterOnceInOneOrderAtEveryLevel) {
    AddContractDriver();
    if (HasFatalFailure()) return;
    const char* const names[] = {"Kx Contract Printer B", "Kx Contract Printer C", "Kx Contract Printer A"};
    for (const char* name : names) {
        HANDLE added = AddPrinter(PrinterRecord(name, kDriverName, "WinPrint"));
        ASSERT_NE(nullptr, added) << name << ": " << LastError();
        spooler().ClosePrinter(added);
    }
    std::vector<std::string> ours;
    for (const std::string& name : PrinterNames())
        if (name.rfind("Kx Contract Printer ", 0) == 0) ours.push_back(name);
    if (env_->IsWine()) {
        EXPECT_EQ((std::vector<std::string>{names[2], names[0], names[1]}), ours);
    } else {
        EXPECT_EQ((std::vector<std::string>{names[0], names[1], names[2]}), ours);
    }
    for (DWORD level : {1u, 2u, 5u}) {
        DWORD returned = 0;
        std::vector<BYTE> buffer = Fetch(
            [&](BYTE* b, DWORD s, DWORD* n, DWORD* r) {
                return spooler().EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, level, b, s, n, r);
            },
            &returned);
        std::vector<std::string> listed;
        for (DWORD i = 0; i < returned; ++i) {
            const char* name = level == 1 ? reinterpret_cast<const PRINTER_INFO_1A*>(buffer.data())[i].pName
                               : level == 2
                                   ? reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data())[i].pPrinterName
                                   : reinterpret_cast<const PRINTER_INFO_5A*>(buffer.data())[i].pPrinterName;
            if (std::string(name).rfind("Kx Contract Printer ", 0) == 0) listed.push_back(name);
        }
        EXPECT_EQ(ours, listed) << "level " << level;
    }
}

TEST_F(SpoolerContract, AddPrinterDriverRefusesADriverWhoseFileIsMissing) {
    std::string directory = DriverDirectory();
    ASSERT_FALSE(directory.empty());
    for (const char* file : {"kxcmiss.dll", "kxcmissui.dll"}) {
        env_->WriteFile(directory + "\\" + file, "placeholder");
        files_.push_back(directory + "\\" + file);
        files_.push_back(directory + "\\3\\" + file);
    }
    DRIVER_INFO_3A info{};
    info.cVersion = 3;
    info.pName = S("Kx Contract Missing Driver");
    info.pDriverPath = S("kxcmiss.dll");
    info.pDataFile = S("kxcnosuchdata.gpd");
    info.pConfigFile = S("kxcmissui.dll");
    drivers_.push_back(info.pName);
    SetLastError(0xdeadbeef);
    BOOL added = spooler().AddPrinterDriverA(nullptr, 3, reinterpret_cast<BYTE*>(&info));
    DWORD error = LastError();
    if (env_->IsWine()) {
        // Wine deviates: it takes a driver whose data file is missing.
        EXPECT_TRUE(added) << error;
    } else {
        EXPECT_FALSE(added);
        EXPECT_EQ(ERROR_FILE_NOT_FOUND, error);
        SetLastError(0xdeadbeef);
        EXPECT_FALSE(spooler().DeletePrinterDriverA(nullptr, nullptr, info.pName)) << "nothing was added";
        EXPECT_EQ(ERROR_UNKNOWN_PRINTER_DRIVER, LastError());
    }
}

// The processor DLL must be in the print-processor directory; the spooler loads it. A second add of the
// same name is refused with 3005.
TEST_F(SpoolerContract, AddPrintProcessorNeedsItsDllAndRefusesTheSameProcessorTwice) {
    const std::string processor = "Kx Contract Processor";
    processors_.push_back(processor);
    SetLastError(0xdeadbeef);
    BOOL added = spooler().AddPrintProcessorA(nullptr, nullptr, S("kxcnosuchproc.dll"), S(processor.c_str()));
    DWORD error = LastError();
    if (env_->IsWine()) {
        // Wine deviates: it does not look for the file and records the processor all the same.
        EXPECT_TRUE(added) << error;
        EXPECT_TRUE(Contains(ProcessorNames(), processor));
        RemoveProcessor(processor);
    } else {
        EXPECT_FALSE(added);
        EXPECT_EQ(ERROR_MOD_NOT_FOUND, error);
    }
    EXPECT_FALSE(Contains(ProcessorNames(), processor));

    std::string dll = ProcessorDirectory() + "\\kxcproc1.dll";
    if (!env_->PlaceStandIn("VLPRTPRC.dll", dll)) GTEST_SKIP() << "the stand-in print processor is not built";
    files_.push_back(dll);
    SetLastError(0xdeadbeef);
    ASSERT_TRUE(spooler().AddPrintProcessorA(nullptr, nullptr, S("kxcproc1.dll"), S(processor.c_str())))
        << LastError();
    EXPECT_TRUE(Contains(ProcessorNames(), processor));
    HKEY key = nullptr;
    EXPECT_EQ(ERROR_SUCCESS, env_->platform().registry.RegOpenKeyExA(
                                 HKEY_LOCAL_MACHINE, ProcessorKey(processor).c_str(), 0, KEY_READ, &key));
    if (key != nullptr) env_->platform().registry.RegCloseKey(key);
    SetLastError(0xdeadbeef);
    added = spooler().AddPrintProcessorA(nullptr, nullptr, S("kxcproc1.dll"), S(processor.c_str()));
    if (env_->IsWine()) {
        // Wine deviates: it overwrites the processor's record without a word.
        EXPECT_TRUE(added) << LastError();
    } else {
        EXPECT_FALSE(added);
        EXPECT_EQ(ERROR_PRINT_PROCESSOR_ALREADY_INSTALLED, LastError());
    }
}

// Windows keeps a processor that a printer uses (1003) and removes it, with its registry key, once none does.
TEST_F(SpoolerContract, DeletePrintProcessorWaitsUntilNoPrinterUsesIt) {
    const std::string processor = "Kx Contract Processor";
    std::string dll = ProcessorDirectory() + "\\kxcproc2.dll";
    if (!env_->PlaceStandIn("VLPRTPRC.dll", dll)) GTEST_SKIP() << "the stand-in print processor is not built";
    files_.push_back(dll);
    processors_.push_back(processor);
    SetLastError(0xdeadbeef);
    ASSERT_TRUE(spooler().AddPrintProcessorA(nullptr, nullptr, S("kxcproc2.dll"), S(processor.c_str())))
        << LastError();
    AddContractDriver();
    if (HasFatalFailure()) return;
    HANDLE added = AddPrinter(PrinterRecord(kPrinterName, kDriverName, processor.c_str()));
    ASSERT_NE(nullptr, added) << LastError();
    spooler().ClosePrinter(added);

    SetLastError(0xdeadbeef);
    BOOL deleted = spooler().DeletePrintProcessorA(nullptr, nullptr, S(processor.c_str()));
    if (env_->IsWine()) {
        // Wine deviates: DeletePrintProcessorA does nothing and succeeds, in use or not.
        EXPECT_TRUE(deleted);
    } else {
        EXPECT_FALSE(deleted);
        EXPECT_EQ(ERROR_CAN_NOT_COMPLETE, LastError());
    }
    EXPECT_TRUE(Contains(ProcessorNames(), processor));

    ASSERT_TRUE(DeletePrinterNamed(kPrinterName));
    SetLastError(0xdeadbeef);
    EXPECT_TRUE(spooler().DeletePrintProcessorA(nullptr, nullptr, S(processor.c_str()))) << LastError();
    HKEY key = nullptr;
    LONG opened = env_->platform().registry.RegOpenKeyExA(HKEY_LOCAL_MACHINE, ProcessorKey(processor).c_str(),
                                                          0, KEY_READ, &key);
    if (key != nullptr) env_->platform().registry.RegCloseKey(key);
    if (env_->IsWine()) {
        // Wine deviates as above: the processor stays listed and keeps its key.
        EXPECT_TRUE(Contains(ProcessorNames(), processor));
        EXPECT_EQ(ERROR_SUCCESS, opened);
    } else {
        EXPECT_FALSE(Contains(ProcessorNames(), processor));
        EXPECT_EQ(ERROR_FILE_NOT_FOUND, opened);
        SetLastError(0xdeadbeef);
        EXPECT_FALSE(spooler().DeletePrintProcessorA(nullptr, nullptr, S(processor.c_str())));
        EXPECT_EQ(ERROR_UNKNOWN_PRINTPROCESSOR, LastError());
    }
}

// Windows keeps a monitor while a printer uses one of its ports (3008) and removes it once none does.
TEST_F(SpoolerContract, DeleteMonitorWaitsUntilNoPrinterUsesItsPorts) {
    std::string dllPath = SystemDirectory() + "\\kxcmon2.dll";
    if (!env_->PlaceStandIn("VLCOMMON.dll", dllPath)) GTEST_SKIP() << "the stand-in monitor DLL is not built";
    files_.push_back(dllPath);
    MONITOR_INFO_2A info{S("Kx Contract Monitor 2"), nullptr, S("kxcmon2.dll")};
    monitors_.push_back(info.pName);
    SetLastError(0xdeadbeef);
    ASSERT_TRUE(spooler().AddMonitorA(nullptr, 2, reinterpret_cast<BYTE*>(&info))) << LastError();
    AddContractDriver();
    if (HasFatalFailure()) return;
    PRINTER_INFO_2A record = PrinterRecord(kPrinterName, kDriverName, "WinPrint");
    record.pPortName = S("KXCOM2:");
    HANDLE added = AddPrinter(record);
    ASSERT_NE(nullptr, added) << LastError();
    spooler().ClosePrinter(added);

    SetLastError(0xdeadbeef);
    BOOL deleted = spooler().DeleteMonitorA(nullptr, nullptr, info.pName);
    if (env_->IsWine()) {
        // Wine deviates: it removes a monitor whose port a printer uses, leaving the printer on it.
        EXPECT_TRUE(deleted) << LastError();
        EXPECT_TRUE(Contains(PrinterNames(), kPrinterName));
    } else {
        EXPECT_FALSE(deleted);
        EXPECT_EQ(ERROR_PRINT_MONITOR_IN_USE, LastError());
        ASSERT_TRUE(DeletePrinterNamed(kPrinterName));
        SetLastError(0xdeadbeef);
        EXPECT_TRUE(spooler().DeleteMonitorA(nullptr, nullptr, info.pName)) << LastError();
    }
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(spooler().DeleteMonitorA(nullptr, nullptr, info.pName));
    EXPECT_EQ(ERROR_UNKNOWN_PRINT_MONITOR, LastError());
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
