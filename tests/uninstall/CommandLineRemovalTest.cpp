// The command-line remover against the simulated Windows: options, the listing and a removal by name.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Architecture.h"
#include "platform/sim/SimPlatform.h"
#include "uninstall/CommandLineRemoval.h"

namespace {

class CommandLineRemovalTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim_.windows().WriteFile(
            "C:\\MEDIUM\\DRVCONFIG\\Uninstall.ini",
            "[KXPRINTER]\r\nPRINTERNUM=1\r\nPRINTERNAME1=VORL ZMX-\r\n[KXMONITOR]\r\nMonitorNUM=1\r\n"
            "MONITORNAME1=VORL COM Monitor\r\n[KXPROC]\r\nPROCNUM=1\r\nPROCNAME1=VORLPrint\r\n");
        sim_.windows().WriteFile("C:\\MEDIUM\\language\\uninstall.ini",
                                 "[Message]\r\nIDS_SUCCESS=%s removed\r\nIDS_ERR_NOINI=no Uninstall.ini\r\n");
        AddPrinter("Till", "VORL ZMX-T310", "KXCOM1:");
        AddPrinter("Office 2000", "HP 2000", "LPT1:");
        sim_.spooler().monitors.push_back({"VORL COM Monitor", "VLCOMMON.DLL", {"KXCOM1:"}});
        sim_.spooler().processors.push_back({"VORLPrint", win::kNativeEnvironment, "VLPRTPRC.DLL", {}});
    }
    void AddPrinter(const std::string& name, const std::string& driver, const std::string& port) {
        win::sim::SimSpooler::Driver record;
        record.name = driver;
        record.environment = win::kNativeEnvironment;
        sim_.spooler().drivers.push_back(record);
        win::sim::SimSpooler::Printer printer;
        printer.name = name;
        printer.driverName = driver;
        printer.portName = port;
        sim_.spooler().printers.push_back(printer);
    }
    int Run(const std::vector<std::string>& args) {
        lines_.clear();
        error_.clear();
        return RemoveFromCommandLine(
            sim_.platform(), args, [this](const std::string& line) { lines_.push_back(line); }, error_);
    }
    bool Has(const std::string& line) const {
        for (const std::string& l : lines_)
            if (l == line) return true;
        return false;
    }

    win::sim::SimPlatform sim_;
    std::vector<std::string> lines_;
    std::string error_;
};

TEST_F(CommandLineRemovalTest, OptionsNeedExactlyOneActionAndKnownNames) {
    EXPECT_EQ(kRemovalBadOptions, Run({}));
    EXPECT_EQ(kRemovalBadOptions, Run({"--list", "--all"}));
    EXPECT_EQ(kRemovalBadOptions, Run({"--remove"}));
    EXPECT_EQ(kRemovalBadOptions, Run({"--bogus"}));
    EXPECT_EQ(kRemovalBadOptions, Run({"--remove", "Office 2000"}));
    EXPECT_NE(std::string::npos, error_.find("Office 2000 is not a removable component"));
    EXPECT_EQ(2u, sim_.spooler().printers.size());
}

TEST_F(CommandLineRemovalTest, ListsOnlyOurComponentsWithTheirKinds) {
    EXPECT_EQ(kRemovalDone, Run({"--list"}));
    EXPECT_EQ((std::vector<std::string>{"printer Till (driver VORL ZMX-T310, port KXCOM1:)",
                                        "monitor VORL COM Monitor", "processor VORLPrint"}),
              lines_);
}

TEST_F(CommandLineRemovalTest, RemovesTheNamedOnesOrAllOfOursAndNothingElse) {
    EXPECT_EQ(kRemovalDone, Run({"--remove", "Till"}));
    EXPECT_TRUE(Has("Till removed"));
    EXPECT_EQ(1u, sim_.spooler().printers.size());
    EXPECT_NE(nullptr, sim_.spooler().FindMonitor("VORL COM Monitor"));

    EXPECT_EQ(kRemovalDone, Run({"--all"}));
    EXPECT_EQ(nullptr, sim_.spooler().FindMonitor("VORL COM Monitor"));
    EXPECT_EQ(nullptr, sim_.spooler().FindProcessor("VORLPrint", win::kNativeEnvironment));
    ASSERT_EQ(1u, sim_.spooler().printers.size());
    EXPECT_EQ("Office 2000", sim_.spooler().printers[0].name);
    EXPECT_TRUE(sim_.windows().sleeps.size() > 0);
}

TEST_F(CommandLineRemovalTest, AFailedRemovalOrAMissingCatalogueFails) {
    sim_.windows().InjectFault("DeletePrintProcessorA", 5);
    EXPECT_EQ(kRemovalFailed, Run({"--remove", "VORLPrint"}));
    EXPECT_NE(nullptr, sim_.spooler().FindProcessor("VORLPrint", win::kNativeEnvironment));

    sim_.windows().currentDirectory = "C:\\ELSEWHERE";
    sim_.windows().MakeDirectory("C:\\ELSEWHERE\\DRVCONFIG");
    EXPECT_EQ(kRemovalFailed, Run({"--all"}));
    // The language file lies under the current directory too: without it the key says what happened.
    EXPECT_EQ((std::vector<std::string>{"IDS_ERR_NOINI"}), lines_);
}

}  // namespace
