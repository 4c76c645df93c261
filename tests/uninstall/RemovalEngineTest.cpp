// The removal run against the simulated Windows and a simulated dialog: the job check, the three kinds
// of entries with their failures, the pauses, and what the controls look like afterwards.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Architecture.h"
#include "platform/sim/SimPlatform.h"
#include "uninstall/RemovalEngine.h"

namespace {

using win::DWORD;

// The dialog as the run sees it: a ticked list, the progress lines and the enabled states.
class FakeView : public RemovalView {
public:
    struct Entry {
        std::string text;
        bool checked;
    };
    std::vector<Entry> entries;
    std::vector<std::string> lines;
    std::vector<std::pair<int, bool>> enables;
    bool usbWanted = false;
    bool restartAnswer = false;
    int restartQuestions = 0;

    int ComponentCount() override { return static_cast<int>(entries.size()); }
    bool IsChecked(int index) override { return entries.at(index).checked; }
    std::string EntryText(int index) override { return entries.at(index).text; }
    void RemoveEntry(int index) override { entries.erase(entries.begin() + index); }
    void ReportLine(const std::string& text) override { lines.push_back(text); }
    bool UsbDriverWanted() override { return usbWanted; }
    void EnableControl(int id, bool enable) override { enables.emplace_back(id, enable); }
    bool AskRestart() override {
        ++restartQuestions;
        return restartAnswer;
    }
    int generation = 3;
    int DetectGeneration() override { return generation; }

    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const Entry& entry : entries) names.push_back(entry.text);
        return names;
    }
    // The enable calls after the first five, which disable the controls.
    std::vector<std::pair<int, bool>> EnablesAfterRun() const {
        return std::vector<std::pair<int, bool>>(enables.begin() + 5, enables.end());
    }
};

const char kMessages[] =
    "[Message]\r\nIDS_DELETING1=deleting %s\r\nIDS_DELETING2=deleting printer %s\r\nIDS_SUCCESS=%s "
    "removed\r\n"
    "IDS_USING=%s in use\r\nIDS_ERR_UNINSTALL=cannot remove %s\r\nIDS_ERR_OPENPRN=cannot open %s\r\n"
    "IDS_ERR_GETPRNINFO=no printer info\r\nIDS_ERR_ALLOC=no memory\r\nIDS_ERR_HAVEJOB1=%s has jobs\r\n"
    "IDS_ERR_HAVEJOB2=clear the jobs of %s\r\nIDS_ERR_DELPRINTER=cannot delete printer\r\n"
    "IDS_DRVDELETING=deleting driver of %s\r\nIDS_DRV_SUCCESS=driver removed\r\nIDS_ERR_DRVUSING=driver in "
    "use\r\n"
    "IDS_ERR_DRVDEL=cannot delete driver\r\nIDS_SELECTPRN1=choose\r\n";

const char kCatalogue[] =
    "[KXPRINTER]\r\nPRINTERNUM=1\r\nPRINTERNAME1=VORL ZMX-\r\n"
    "[KXMONITOR]\r\nMonitorNUM=2\r\nMONITORNAME1=VORL COM Monitor\r\nMONITORNAME2=VORL USB Monitor\r\n"
    "[KXPROC]\r\nPROCNUM=1\r\nPROCNAME1=VORLPrint\r\n"
    "[VORLCOMMonitor.2K]\r\nMonitorPDLLName=VLCOMMON.DLL\r\nMonitorPUIDLLName=VLCOMUI.DLL\r\n"
    "[VORLUSBMonitor.2K]\r\nMonitorPDLLName=VLUSBMON.DLL\r\nMonitorPUIDLLName=0\r\n"
    "[VORLPrint.2K]\r\nProcessorDllName=VLPRTPRC.DLL\r\n"
    "[VORLCOMMonitor.98]\r\nMonitorPDLLName=VLCOMMON.DLL\r\n";

const char kCatalogueFile[] = "C:\\MEDIUM\\Uninstall.ini";
const char kSystem[] = "C:\\WINDOWS\\system32\\";
const char kProcessors[] = "C:\\WINDOWS\\system32\\spool\\prtprocs\\" PLATFORM_NATIVE_SPOOL_DIRECTORY "\\";

class RemovalEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim_.windows().WriteFile("C:\\MEDIUM\\language\\uninstall.ini", kMessages);
        sim_.windows().WriteFile(kCatalogueFile, kCatalogue);
        messages_ = std::make_unique<LanguageText>(sim_.platform(), "Message", kUninstallLanguageFile);
        UseGeneration(3);
    }
    void UseGeneration(int generation) {
        catalogue_ =
            std::make_unique<UninstallCatalogue>(sim_.platform(), generation, "C:\\MEDIUM\\Uninstall.ini");
        engine_ = std::make_unique<RemovalEngine>(sim_.platform(), *messages_, *catalogue_, nullptr);
    }
    void UseDeleteDriverEx() {
        win::HMODULE winspool = sim_.platform().library.LoadLibraryA("winspool.drv");
        deleteEx_ = win::EntryAs<win::PFN_DeletePrinterDriverExA>(
            sim_.platform().library.GetProcAddress(winspool, "DeletePrinterDriverExA"));
        ASSERT_NE(nullptr, deleteEx_);
        engine_ = std::make_unique<RemovalEngine>(sim_.platform(), *messages_, *catalogue_, deleteEx_);
    }
    void AddMonitor(const std::string& name, const std::string& dll, std::vector<std::string> ports) {
        sim_.spooler().monitors.push_back({name, dll, ports});
        sim_.windows().WriteFile(kSystem + dll, "dll");
    }
    void AddPrinter(const std::string& name, const std::string& driver, const std::string& port,
                    DWORD jobs = 0) {
        win::sim::SimSpooler::Driver record;
        record.name = driver;
        record.environment = win::kNativeEnvironment;
        if (sim_.spooler().FindDriver(driver, win::kNativeEnvironment) == nullptr)
            sim_.spooler().drivers.push_back(record);
        win::sim::SimSpooler::Printer printer;
        printer.name = name;
        printer.driverName = driver;
        printer.portName = port;
        printer.jobs = jobs;
        sim_.spooler().printers.push_back(printer);
    }
    void List(std::vector<FakeView::Entry> entries) { view_.entries = std::move(entries); }
    bool Run() {
        if (!engine_->MayStartRemoval(view_)) return false;
        EXPECT_EQ(1, engine_->RemovalThread(view_));
        return true;
    }
    // The controls enabled again after a run that leaves entries in the list.
    static std::vector<std::pair<int, bool>> AllEnabled() {
        return {{IDC_COMPONENTLIST, true},
                {IDC_UNINSTALL, true},
                {IDC_SELECTALL, true},
                {IDC_EXIT, true},
                {IDC_USBDRIVER, true}};
    }

    win::sim::SimPlatform sim_;
    std::unique_ptr<LanguageText> messages_;
    std::unique_ptr<UninstallCatalogue> catalogue_;
    std::unique_ptr<RemovalEngine> engine_;
    win::PFN_DeletePrinterDriverExA deleteEx_ = nullptr;
    FakeView view_;
};

TEST(FormatWithName, SubstitutesTheFirstPercentSOnlyAndKeepsEverythingElse) {
    EXPECT_EQ("deleting A ...", FormatWithName("deleting %s ...", "A"));
    EXPECT_EQ("A and %s, 100%%, %d %n", FormatWithName("%s and %s, 100%%, %d %n", "A"));
    EXPECT_EQ("%n%p A", FormatWithName("%n%p %s", "A"));
    EXPECT_EQ("no argument", FormatWithName("no argument", "A"));
    EXPECT_EQ("trailing %", FormatWithName("trailing %", "A"));
    EXPECT_EQ("", FormatWithName("", "A"));
}

TEST_F(RemovalEngineTest, RemovesPrintersWithDriversThenMonitorsAndProcessorsInListOrder) {
    AddMonitor("VORL COM Monitor", "VLCOMMON.DLL", {"KXCOM1:"});
    sim_.windows().WriteFile(std::string(kSystem) + "VLCOMUI.DLL", "ui");
    sim_.spooler().processors.push_back({"VORLPrint", win::kNativeEnvironment, "VLPRTPRC.DLL", {}});
    sim_.windows().WriteFile(std::string(kProcessors) + "VLPRTPRC.DLL", "p");
    AddPrinter("ZMX-T310(S)", "VORL ZMX-T310", "KXCOM1:");
    List({{"ZMX-T310(S)", true}, {"VORL COM Monitor", true}, {"VORLPrint", true}});

    ASSERT_TRUE(Run());
    EXPECT_EQ((std::vector<std::string>{"deleting printer ZMX-T310(S)", "ZMX-T310(S) removed",
                                        "deleting driver of ZMX-T310(S)", "driver removed",
                                        "deleting VORL COM Monitor", "VORL COM Monitor removed",
                                        "deleting VORLPrint", "VORLPrint removed"}),
              view_.lines);
    EXPECT_TRUE(view_.entries.empty());
    EXPECT_TRUE(sim_.spooler().printers.empty());
    EXPECT_EQ(nullptr, sim_.spooler().FindDriver("VORL ZMX-T310", win::kNativeEnvironment));
    EXPECT_EQ(nullptr, sim_.spooler().FindMonitor("VORL COM Monitor"));
    EXPECT_FALSE(sim_.windows().FileExists(std::string(kSystem) + "VLCOMMON.DLL"));
    EXPECT_FALSE(sim_.windows().FileExists(std::string(kSystem) + "VLCOMUI.DLL"));
    EXPECT_FALSE(sim_.windows().FileExists(std::string(kProcessors) + "VLPRTPRC.DLL"));
    EXPECT_EQ("VORLPrint", engine_->CurrentItemText());
    // An empty list leaves only Exit to press, with no prompt line.
    EXPECT_EQ((std::vector<std::pair<int, bool>>{{IDC_EXIT, true}}), view_.EnablesAfterRun());
    // Each entry's 500 ms; the printer's 100 and 1000 ms around the spooler restart (2000 ms) and after its
    // driver; a restart and 500 ms after the monitor and after the processor.
    EXPECT_EQ((std::vector<DWORD>{500, 100, 2000, 1000, 100, 1000, 500, 2000, 500, 500, 2000, 500}),
              sim_.windows().sleeps);
}

TEST_F(RemovalEngineTest, AnyQueuedJobOnTheSystemKeepsTheRunFromStarting) {
    AddPrinter("Office", "HP LaserJet", "LPT1:", 2);
    AddPrinter("ZMX-T310(S)", "VORL ZMX-T310", "KXCOM1:");
    List({{"ZMX-T310(S)", true}});
    EXPECT_FALSE(Run());
    EXPECT_EQ((std::vector<std::string>{"clear the jobs of Office"}), view_.lines);
    EXPECT_EQ(2u, sim_.spooler().printers.size());
    EXPECT_TRUE(view_.enables.empty());
    EXPECT_EQ(0u, sim_.spooler().OpenPrinterCount());

    // A printer that cannot be opened stops it too, without a pause.
    sim_.spooler().printers[0].jobs = 0;
    view_.lines.clear();
    sim_.windows().sleeps.clear();
    sim_.windows().InjectFault("OpenPrinterA", 5);
    EXPECT_FALSE(Run());
    EXPECT_EQ((std::vector<std::string>{"cannot open Office"}), view_.lines);
    EXPECT_TRUE(sim_.windows().sleeps.empty());
}

TEST_F(RemovalEngineTest, UncheckedEntriesArePausedOverAndRemovedOnesLetTheNextMoveUp) {
    AddMonitor("VORL COM Monitor", "VLCOMMON.DLL", {"KXCOM1:"});
    AddMonitor("VORL USB Monitor", "VLUSBMON.DLL", {"USB_ZMX_1"});
    List({{"Skipped", false}, {"VORL COM Monitor", true}, {"VORL USB Monitor", true}, {"Last", false}});
    sim_.registry().SetDwordValue(win::HKEY_LOCAL_MACHINE, "SOFTWARE\\TARNOVA\\PORTNAME", "USB_ZMX_1", 0);
    sim_.registry().SetDwordValue(win::HKEY_LOCAL_MACHINE, "SOFTWARE\\TARNOVA\\PRINTERPORT", "USB_ZMX_1", 0);

    ASSERT_TRUE(Run());
    EXPECT_EQ((std::vector<std::string>{"Skipped", "Last"}), view_.Names());
    EXPECT_EQ(nullptr, sim_.spooler().FindMonitor("VORL USB Monitor"));
    DWORD value = 0;
    EXPECT_FALSE(sim_.registry().GetDwordValue(win::HKEY_LOCAL_MACHINE, "SOFTWARE\\TARNOVA\\PORTNAME",
                                               "USB_ZMX_1", &value));
    EXPECT_TRUE(sim_.registry().GetDwordValue(win::HKEY_LOCAL_MACHINE, "SOFTWARE\\TARNOVA\\PRINTERPORT",
                                              "USB_ZMX_1", &value));
    // "MonitorPUIDLLName=0" names no file.
    EXPECT_FALSE(sim_.windows().FileExists(std::string(kSystem) + "VLUSBMON.DLL"));
    int entryPauses = 0;
    for (DWORD pause : sim_.windows().sleeps) entryPauses += pause == 500;
    EXPECT_EQ(4 + 2, entryPauses);  // four entries examined, and one pause after each monitor's restart
    EXPECT_EQ("choose", view_.lines.back());
    EXPECT_EQ(AllEnabled(), view_.EnablesAfterRun());
}

TEST_F(RemovalEngineTest, AMonitorOrProcessorInUseStaysAndTheRunGoesOn) {
    AddMonitor("VORL COM Monitor", "VLCOMMON.DLL", {"KXCOM1:"});
    AddPrinter("Other", "Other Driver", "KXCOM1:");
    sim_.spooler().processors.push_back({"VORLPrint", win::kNativeEnvironment, "VLPRTPRC.DLL", {}});
    sim_.spooler().printers[0].printProcessor = "VORLPrint";
    List({{"VORL COM Monitor", true}, {"VORLPrint", true}});

    ASSERT_TRUE(Run());
    EXPECT_EQ((std::vector<std::string>{"deleting VORL COM Monitor", "VORL COM Monitor in use",
                                        "deleting VORLPrint", "VORLPrint in use", "choose"}),
              view_.lines);
    EXPECT_EQ(2u, view_.entries.size());
    EXPECT_TRUE(sim_.windows().FileExists(std::string(kSystem) + "VLCOMMON.DLL"));
    // The monitor is tried twice, around a restart of the spooler.
    EXPECT_EQ((std::vector<DWORD>{500, 2000, 500, 100, 500, 100}), sim_.windows().sleeps);

    // Another failure says so in other words.
    view_.lines.clear();
    sim_.windows().InjectFault("DeletePrintProcessorA", 5);
    view_.entries = {{"VORLPrint", true}};
    ASSERT_TRUE(Run());
    EXPECT_EQ("cannot remove VORLPrint", view_.lines[1]);
}

TEST_F(RemovalEngineTest, APrinterWithJobsOrUnreadableEndsTheRunAndKeepsWhatWasDone) {
    AddMonitor("VORL COM Monitor", "VLCOMMON.DLL", {"KXCOM1:"});
    List({{"VORL COM Monitor", true}, {"ZMX-T310(S)", true}, {"VORLPrint", true}});
    sim_.spooler().processors.push_back({"VORLPrint", win::kNativeEnvironment, "VLPRTPRC.DLL", {}});
    AddPrinter("ZMX-T310(S)", "VORL ZMX-T310", "LPT1:");
    ASSERT_TRUE(engine_->MayStartRemoval(view_));
    sim_.spooler().printers[0].jobs = 1;  // a job arrives after the check
    view_.usbWanted = true;
    view_.restartAnswer = true;
    engine_->RemovalThread(view_);

    EXPECT_EQ((std::vector<std::string>{"deleting VORL COM Monitor", "VORL COM Monitor removed",
                                        "deleting printer ZMX-T310(S)", "ZMX-T310(S) has jobs", "choose"}),
              view_.lines);
    EXPECT_EQ((std::vector<std::string>{"ZMX-T310(S)", "VORLPrint"}), view_.Names());
    EXPECT_NE(nullptr, sim_.spooler().FindProcessor("VORLPrint", win::kNativeEnvironment));
    EXPECT_EQ(0, view_.restartQuestions);
    EXPECT_EQ(0u, sim_.spooler().OpenPrinterCount());

    for (DWORD failure : {1u, 2u}) {  // the size query, then the read
        view_.lines.clear();
        sim_.spooler().printers[0].jobs = 0;
        sim_.windows().InjectFault("GetPrinterA", 5, static_cast<int>(failure));
        engine_->RemovalThread(view_);
        EXPECT_EQ("no printer info", view_.lines[1]) << failure;
        EXPECT_EQ(2u, view_.entries.size());
    }
}

TEST_F(RemovalEngineTest, DriverDeletionReportsItsOutcomeAndIsSkippedOnOldSystems) {
    UseDeleteDriverEx();
    AddPrinter("A", "VORL ZMX-T310", "LPT1:");
    AddPrinter("B", "VORL ZMX-T310", "LPT2:");
    List({{"A", true}});
    ASSERT_TRUE(Run());
    EXPECT_EQ("driver in use", view_.lines[3]);  // printer B still uses it

    sim_.windows().InjectFault("DeletePrinterDriverExA", 87);
    List({{"B", true}});
    ASSERT_TRUE(Run());
    EXPECT_EQ("cannot delete driver    er=87", view_.lines[7]);

    for (int generation : {0, 1}) {
        UseGeneration(generation);
        AddPrinter("C", "VORL ZMX-T310", "LPT1:");
        List({{"C", true}});
        view_.lines.clear();
        ASSERT_TRUE(Run());
        EXPECT_EQ((std::vector<std::string>{"deleting printer C", "C removed"}), view_.lines) << generation;
        EXPECT_NE(nullptr, sim_.spooler().FindDriver("VORL ZMX-T310", win::kNativeEnvironment));
    }
}

TEST_F(RemovalEngineTest, On98AMonitorStaysWhileAnyPrinterUsesASerialPort) {
    UseGeneration(0);
    AddMonitor("VORL COM Monitor", "VLCOMMON.DLL", {"KXCOM1:"});
    AddPrinter("Other", "Other Driver", "KXCOM2:");
    List({{"VORL COM Monitor", true}});
    ASSERT_TRUE(Run());
    EXPECT_EQ((std::vector<std::string>{"deleting VORL COM Monitor", "VORL COM Monitor has jobs",
                                        "VORL COM Monitor in use", "choose"}),
              view_.lines);
    EXPECT_NE(nullptr, sim_.spooler().FindMonitor("VORL COM Monitor"));

    sim_.spooler().printers[0].portName = "LPT1:";
    view_.lines.clear();
    ASSERT_TRUE(Run());
    EXPECT_EQ("VORL COM Monitor removed", view_.lines[1]);
}

TEST_F(RemovalEngineTest, On98APrinterThatCannotBeOpenedOrReadKeepsEveryMonitor) {
    UseGeneration(0);
    AddMonitor("VORL COM Monitor", "VLCOMMON.DLL", {"KXCOM1:"});
    AddPrinter("Other", "Other Driver", "LPT1:");
    List({{"VORL COM Monitor", true}});
    ASSERT_TRUE(engine_->MayStartRemoval(view_));
    // The check cannot tell whether the printer uses a serial port: the monitor stays.
    sim_.windows().InjectFault("OpenPrinterA", 5);
    EXPECT_EQ(1, engine_->RemovalThread(view_));
    EXPECT_EQ((std::vector<std::string>{"deleting VORL COM Monitor", "cannot open VORL COM Monitor",
                                        "VORL COM Monitor in use", "choose"}),
              view_.lines);
    EXPECT_EQ((std::vector<DWORD>{500}), sim_.windows().sleeps) << "no pause after a printer not opened";

    for (int failure : {1, 2}) {  // the size query, then the read
        view_.lines.clear();
        sim_.windows().sleeps.clear();
        sim_.windows().InjectFault("GetPrinterA", 5, failure);
        EXPECT_EQ(1, engine_->RemovalThread(view_));
        EXPECT_EQ((std::vector<std::string>{"deleting VORL COM Monitor", "no printer info",
                                            "VORL COM Monitor in use", "choose"}),
                  view_.lines)
            << failure;
        EXPECT_EQ((std::vector<DWORD>{500, 100}), sim_.windows().sleeps) << failure;
    }
    EXPECT_NE(nullptr, sim_.spooler().FindMonitor("VORL COM Monitor"));
    EXPECT_TRUE(sim_.windows().FileExists(std::string(kSystem) + "VLCOMMON.DLL"));
    EXPECT_EQ(1u, view_.entries.size());
    EXPECT_EQ(0u, sim_.spooler().OpenPrinterCount());
}

TEST_F(RemovalEngineTest, AMonitorIsTriedAgainAfterARestartAndASecondOtherFailureKeepsIt) {
    AddMonitor("VORL COM Monitor", "VLCOMMON.DLL", {"KXCOM1:"});
    List({{"VORL COM Monitor", true}});
    sim_.windows().InjectFault("DeleteMonitorA", 5, 1);
    sim_.windows().InjectFault("DeleteMonitorA", 1722, 2);
    ASSERT_TRUE(Run());
    EXPECT_EQ(
        (std::vector<std::string>{"deleting VORL COM Monitor", "cannot remove VORL COM Monitor", "choose"}),
        view_.lines);
    EXPECT_NE(nullptr, sim_.spooler().FindMonitor("VORL COM Monitor"));
    EXPECT_TRUE(sim_.windows().FileExists(std::string(kSystem) + "VLCOMMON.DLL"));
    EXPECT_EQ((std::vector<DWORD>{500, 2000, 500, 100}), sim_.windows().sleeps);

    // The first failure alone: the second attempt removes it.
    view_.lines.clear();
    sim_.windows().InjectFault("DeleteMonitorA", 5);
    ASSERT_TRUE(Run());
    EXPECT_EQ("VORL COM Monitor removed", view_.lines[1]);
    EXPECT_EQ(nullptr, sim_.spooler().FindMonitor("VORL COM Monitor"));
    EXPECT_FALSE(sim_.windows().FileExists(std::string(kSystem) + "VLCOMMON.DLL"));
}

TEST_F(RemovalEngineTest, OnlyAUsbMonitorTakesTheInstalledPrinterAndPortNameRecordsWithIt) {
    AddMonitor("VORL COM Monitor", "VLCOMMON.DLL", {"KXCOM1:"});
    AddMonitor("VORL USB Monitor", "VLUSBMON.DLL", {"USB_ZMX_1"});
    const char* keys[] = {"SOFTWARE\\TARNOVA\\INSTALLPRINTER", "SOFTWARE\\TARNOVA\\PORTNAME",
                          "SOFTWARE\\TARNOVA\\PRINTERPORT"};
    for (const char* key : keys) sim_.registry().SetDwordValue(win::HKEY_LOCAL_MACHINE, key, "USB_ZMX_1", 0);
    auto kept = [&] {
        std::vector<bool> present;
        DWORD value = 0;
        for (const char* key : keys)
            present.push_back(
                sim_.registry().GetDwordValue(win::HKEY_LOCAL_MACHINE, key, "USB_ZMX_1", &value));
        return present;
    };

    List({{"VORL COM Monitor", true}, {"VORL USB Monitor", false}});
    ASSERT_TRUE(Run());
    ASSERT_EQ(nullptr, sim_.spooler().FindMonitor("VORL COM Monitor"));
    EXPECT_EQ((std::vector<bool>{true, true, true}), kept()) << "a monitor without USB in its name";

    view_.entries[0].checked = true;
    ASSERT_TRUE(Run());
    ASSERT_EQ(nullptr, sim_.spooler().FindMonitor("VORL USB Monitor"));
    EXPECT_EQ((std::vector<bool>{false, false, true}), kept());
}

TEST_F(RemovalEngineTest, ADirectoryThatCannotBeFoundDeletesNothing) {
    sim_.windows().WriteFile("C:\\VLCOMMON.DLL", "not ours");
    sim_.windows().InjectFault("GetSystemDirectoryA", 5);
    engine_->DeleteMonitorFiles(view_, "VORL COM Monitor");
    EXPECT_EQ((std::vector<std::string>{"Get system Directory error."}), view_.lines);
    EXPECT_TRUE(sim_.windows().FileExists("C:\\VLCOMMON.DLL"));

    sim_.windows().InjectFault("GetPrintProcessorDirectoryA", 5);
    engine_->DeleteProcessorFile(view_, "VORLPrint");
    EXPECT_EQ(2u, view_.lines.size());
}

TEST_F(RemovalEngineTest, ANameThatCouldLeaveTheDirectoryIsReportedAndNotDeleted) {
    sim_.windows().WriteFile(
        kCatalogueFile,
        "[VORLCOMMonitor.2K]\r\nMonitorPDLLName=..\\..\\boot.ini\r\n"
        "MonitorPUIDLLName=C:\\VLCOMUI.DLL\r\n[VORLPrint.2K]\r\nProcessorDllName=a/b.dll\r\n");
    sim_.windows().WriteFile("C:\\boot.ini", "x");
    sim_.windows().WriteFile("C:\\VLCOMUI.DLL", "x");
    engine_->DeleteMonitorFiles(view_, "VORL COM Monitor");
    engine_->DeleteProcessorFile(view_, "VORLPrint");
    EXPECT_EQ((std::vector<std::string>{"Not deleted, not a plain file name: ..\\..\\boot.ini",
                                        "Not deleted, not a plain file name: C:\\VLCOMUI.DLL",
                                        "Not deleted, not a plain file name: a/b.dll"}),
              view_.lines);
    EXPECT_TRUE(sim_.windows().FileExists("C:\\boot.ini"));
    EXPECT_TRUE(sim_.windows().FileExists("C:\\VLCOMUI.DLL"));
}

TEST_F(RemovalEngineTest, TheUsbDriverIsRemovedThroughItsInstallerAfterTheComponents) {
    view_.usbWanted = true;
    List({{"Skipped", false}});
    ASSERT_TRUE(Run());
    EXPECT_EQ((std::vector<std::string>{"正在删除USB设备驱动", "USB设备驱动已删除", "choose"}), view_.lines);
    ASSERT_EQ(1u, sim_.ui().ShellCalls().size());
    EXPECT_EQ("C:\\MEDIUM\\USBDrv\\Install.exe", sim_.ui().ShellCalls()[0].file);
    EXPECT_EQ("22", sim_.ui().ShellCalls()[0].parameters);
    EXPECT_EQ("open", sim_.ui().ShellCalls()[0].verb);
    // The entry's 500 ms, then 500 ms before looking for the installer's window, 500 and 1000 ms after.
    EXPECT_EQ((std::vector<DWORD>{500, 500, 500, 1000}), sim_.windows().sleeps);
    EXPECT_TRUE(sim_.ui().exitWindowsCalls.empty()) << "nothing was removed: no restart";

    // While the installer's window is open the run waits, a second between looks.
    sim_.ui().CloseAfterFinds(sim_.ui().AddTopLevelWindow("VORL print system setup"), 2);
    sim_.windows().sleeps.clear();
    view_.lines.clear();
    ASSERT_TRUE(Run());
    EXPECT_EQ((std::vector<DWORD>{500, 500, 1000, 1000, 500, 1000}), sim_.windows().sleeps);
    EXPECT_EQ("USB设备驱动已删除", view_.lines.at(1));
}

TEST_F(RemovalEngineTest, ARestartIsAskedOnlyAfterARemovalAndNeedsTheShutdownPrivilegeOnNt) {
    AddPrinter("A", "VORL ZMX-T310", "LPT1:");
    List({{"A", true}});
    ASSERT_TRUE(Run());
    EXPECT_EQ(1, view_.restartQuestions);
    EXPECT_TRUE(sim_.ui().exitWindowsCalls.empty()) << "the user said no";

    view_.restartAnswer = true;
    AddPrinter("B", "VORL ZMX-T310", "LPT1:");
    List({{"B", true}});
    ASSERT_TRUE(Run());
    EXPECT_EQ((std::vector<std::string>{"SeShutdownPrivilege"}), sim_.ui().enabledPrivileges);
    EXPECT_EQ((std::vector<win::UINT>{win::EWX_REBOOT}), sim_.ui().exitWindowsCalls);

    // Without the privilege NT would refuse: nothing is asked of Windows. 98/Me needs no privilege.
    sim_.windows().InjectFault("AdjustTokenPrivileges", 5);
    AddPrinter("C", "VORL ZMX-T310", "LPT1:");
    List({{"C", true}});
    ASSERT_TRUE(Run());
    EXPECT_EQ(1u, sim_.ui().exitWindowsCalls.size());
    view_.generation = 0;
    AddPrinter("D", "VORL ZMX-T310", "LPT1:");
    List({{"D", true}});
    ASSERT_TRUE(Run());
    EXPECT_EQ(2u, sim_.ui().exitWindowsCalls.size());
    EXPECT_EQ(1u, sim_.ui().enabledPrivileges.size());
}

TEST_F(RemovalEngineTest, WithoutTheProcessTokenOrThePrivilegesIdNtIsNotAskedToRestart) {
    view_.restartAnswer = true;
    for (const char* failing : {"OpenProcessToken", "LookupPrivilegeValueA"}) {
        AddPrinter("A", "VORL ZMX-T310", "LPT1:");
        List({{"A", true}});
        view_.lines.clear();
        view_.restartQuestions = 0;
        sim_.windows().InjectFault(failing, 5);
        ASSERT_TRUE(Run());
        EXPECT_EQ(0u, view_.entries.size()) << failing;
        EXPECT_EQ(1, view_.restartQuestions) << failing;
        EXPECT_TRUE(sim_.ui().enabledPrivileges.empty()) << failing;
        EXPECT_TRUE(sim_.ui().exitWindowsCalls.empty()) << failing;
        EXPECT_EQ("driver removed", view_.lines.back()) << failing << ": a failed restart is not reported";
    }
}

// The list is filled when the dialog opens; the run reads each printer's driver again and deletes only a
// driver that the catalogue still names.
TEST_F(RemovalEngineTest, APrinterGivenAnotherMakersDriverSinceItWasListedKeepsItAndTheRunSaysWhy) {
    UseDeleteDriverEx();
    AddPrinter("ZMX-T310(S)", "VORL ZMX-T310", "KXCOM1:");
    AddPrinter("ZMX-R80(P)", "VORL ZMX-R80", "LPT1:");
    AddPrinter("Office", "HP LaserJet", "LPT2:");
    List({{"ZMX-T310(S)", true}, {"ZMX-R80(P)", true}});
    sim_.spooler().FindPrinter("ZMX-T310(S)")->driverName = "HP LaserJet";
    sim_.spooler().printers.pop_back();  // the other maker's printer has gone: its driver is unused

    ASSERT_TRUE(Run());
    EXPECT_EQ(
        (std::vector<std::string>{"deleting printer ZMX-T310(S)",
                                  "ZMX-T310(S) 使用的驱动已不在Uninstall.ini之列，打印机及其驱动未删除。",
                                  "deleting printer ZMX-R80(P)", "ZMX-R80(P) removed",
                                  "deleting driver of ZMX-R80(P)", "driver removed", "choose"}),
        view_.lines);
    EXPECT_EQ((std::vector<std::string>{"ZMX-T310(S)"}), view_.Names());
    ASSERT_NE(nullptr, sim_.spooler().FindPrinter("ZMX-T310(S)"));
    EXPECT_NE(nullptr, sim_.spooler().FindDriver("HP LaserJet", win::kNativeEnvironment));
    EXPECT_EQ(nullptr, sim_.spooler().FindPrinter("ZMX-R80(P)"));
    EXPECT_EQ(nullptr, sim_.spooler().FindDriver("VORL ZMX-R80", win::kNativeEnvironment));
    EXPECT_EQ(AllEnabled(), view_.EnablesAfterRun());
    EXPECT_EQ(0u, sim_.spooler().OpenPrinterCount());

    // The language file's own text, when it has one.
    sim_.windows().WriteFile("C:\\MEDIUM\\language\\uninstall.ini",
                             std::string(kMessages) + "IDS_INF_NOTLISTED=%s is not ours now\r\n");
    messages_ = std::make_unique<LanguageText>(sim_.platform(), "Message", kUninstallLanguageFile);
    UseDeleteDriverEx();
    view_.lines.clear();
    ASSERT_TRUE(Run());
    EXPECT_EQ(
        (std::vector<std::string>{"deleting printer ZMX-T310(S)", "ZMX-T310(S) is not ours now", "choose"}),
        view_.lines);
    EXPECT_NE(nullptr, sim_.spooler().FindDriver("HP LaserJet", win::kNativeEnvironment));
}

TEST(RemovalEngineTexts, BothLanguageSetsSayWhyAPrinterNoLongerListedIsKept) {
    for (const char* set : {"language", "language-en"}) {
        std::ifstream file(std::string(SOURCE_DIR) + "/medium/" + set + "/uninstall.ini", std::ios::binary);
        std::stringstream content;
        content << file.rdbuf();
        win::sim::SimPlatform sim;
        sim.windows().WriteFile("C:\\MEDIUM\\language\\uninstall.ini", content.str());
        LanguageText messages(sim.platform(), "Message", kUninstallLanguageFile);
        std::string text = messages.Get("IDS_INF_NOTLISTED");
        EXPECT_NE(std::string::npos, text.find("%s")) << set << ": " << text;
        EXPECT_EQ(text.find("%s"), text.rfind('%')) << set << ": one argument only";
    }
}

}  // namespace
