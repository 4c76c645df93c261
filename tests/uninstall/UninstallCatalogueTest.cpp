// Finding "Uninstall.ini" and deciding which printers, monitors and processors are ours, against the
// simulated Windows.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/sim/SimPlatform.h"
#include "uninstall/UninstallCatalogue.h"

namespace {

using win::FILE_ATTRIBUTE_HIDDEN;
using win::FILE_ATTRIBUTE_READONLY;

const char kIni[] = "C:\\MEDIUM\\Uninstall.ini";

class UninstallCatalogueTest : public ::testing::Test {
protected:
    UninstallCatalogue Catalogue(int generation = 3) {
        return UninstallCatalogue(sim_.platform(), generation, kIni);
    }
    void Ini(const std::string& text) { sim_.windows().WriteFile(kIni, text); }
    void AddPrinter(const std::string& name, const std::string& driver) {
        win::sim::SimSpooler::Printer printer;
        printer.name = name;
        printer.portName = "LPT1:";
        printer.driverName = driver;
        sim_.spooler().printers.push_back(printer);
    }

    win::sim::SimPlatform sim_;
};

TEST_F(UninstallCatalogueTest, FindsTheFileInTheCurrentDirectoryBeforeDrvconfig) {
    sim_.windows().WriteFile("C:\\MEDIUM\\DRVCONFIG\\Uninstall.ini", "x");
    sim_.windows().WriteFile(kIni, "x");
    UninstallIniLocation found = LocateUninstallIni(sim_.platform());
    EXPECT_EQ(nullptr, found.errorKey);
    EXPECT_EQ("C:\\MEDIUM\\Uninstall.ini", found.path);

    sim_.windows().ForgetFile(kIni);
    ASSERT_EQ(0, std::remove(sim_.windows().HostPath(kIni).c_str()));
    found = LocateUninstallIni(sim_.platform());
    EXPECT_EQ("C:\\MEDIUM\\DRVCONFIG\\Uninstall.ini", found.path);
}

TEST_F(UninstallCatalogueTest, OnlyTheExactNameCountsInAnyCase) {
    sim_.windows().WriteFile("C:\\MEDIUM\\Uninstall.ini.bak", "x");
    sim_.windows().MakeDirectory("C:\\MEDIUM\\Uninstall.ini.old\\Uninstall.ini");
    sim_.windows().WriteFile("C:\\MEDIUM\\DRVCONFIG\\Uninstall.ini", "x");
    EXPECT_EQ("C:\\MEDIUM\\DRVCONFIG\\Uninstall.ini", LocateUninstallIni(sim_.platform()).path);

    sim_.windows().WriteFile("C:\\MEDIUM\\UNINSTALL.INI", "x");
    EXPECT_EQ("C:\\MEDIUM\\Uninstall.ini", LocateUninstallIni(sim_.platform()).path);
}

TEST_F(UninstallCatalogueTest, OnlyTheFileUsedLosesItsReadOnlyMark) {
    sim_.windows().currentDirectory = "C:\\MEDIA\\MEDIUM";
    sim_.windows().WriteFile("C:\\MEDIA\\MEDIUM\\DRVCONFIG\\Uninstall.ini", "x");
    sim_.windows().WriteFile("C:\\MEDIA\\MEDIUM\\readme.txt", "x");
    sim_.windows().StoreAttributes("C:\\MEDIA\\MEDIUM\\readme.txt",
                                   FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    sim_.windows().StoreAttributes("C:\\MEDIA\\MEDIUM\\DRVCONFIG\\Uninstall.ini",
                                   FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);

    EXPECT_EQ("C:\\MEDIA\\MEDIUM\\DRVCONFIG\\Uninstall.ini", LocateUninstallIni(sim_.platform()).path);
    EXPECT_EQ(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN,
              sim_.windows().StoredAttributes("C:\\MEDIA\\MEDIUM\\readme.txt"));
    EXPECT_EQ(FILE_ATTRIBUTE_HIDDEN,
              sim_.windows().StoredAttributes("C:\\MEDIA\\MEDIUM\\DRVCONFIG\\Uninstall.ini"));
}

TEST_F(UninstallCatalogueTest, FailuresNameTheirMessages) {
    sim_.windows().WriteFile("C:\\MEDIUM\\DRVCONFIG\\setup.ini", "x");
    EXPECT_STREQ("IDS_ERR_NOINI", LocateUninstallIni(sim_.platform()).errorKey);

    sim_.windows().currentDirectory = "C:\\MEDIUM\\DRVCONFIG";  // it has no DRVCONFIG of its own to scan
    EXPECT_STREQ("IDS_ERR_INVALID", LocateUninstallIni(sim_.platform()).errorKey);
    sim_.windows().currentDirectory = "C:\\GONE";
    UninstallIniLocation found = LocateUninstallIni(sim_.platform());
    EXPECT_STREQ("IDS_ERR_INVALID", found.errorKey);
    EXPECT_TRUE(found.path.empty());

    sim_.windows().currentDirectory = "C:\\MEDIUM";
    sim_.windows().InjectFault("GetCurrentDirectoryA", 5);
    EXPECT_STREQ("IDS_ERR_GETSYSDIR", LocateUninstallIni(sim_.platform()).errorKey);
}

TEST_F(UninstallCatalogueTest, ACurrentDirectoryLongerThanTheUsualBufferIsStillScanned) {
    std::string deep = "C:\\" + std::string(150, 'a') + "\\" + std::string(150, 'b');
    sim_.windows().currentDirectory = deep;
    sim_.windows().WriteFile(deep + "\\Uninstall.ini", "x");
    EXPECT_EQ(deep + "\\Uninstall.ini", LocateUninstallIni(sim_.platform()).path);
}

TEST_F(UninstallCatalogueTest, NameSectionsMatchSubstringsCaseSensitivelyInOrder) {
    Ini("[KXMONITOR]\r\nMonitorNUM=2\r\nMONITORNAME1=VORL COM\r\nMONITORNAME2=USB Monitor\r\n"
        "[KXPROC]\r\nPROCNUM=1\r\nPROCNAME1=VORLPrint\r\n");
    UninstallCatalogue catalogue = Catalogue();
    EXPECT_TRUE(catalogue.IsListedMonitor("VORL COM Monitor"));
    EXPECT_TRUE(catalogue.IsListedMonitor("Other USB Monitor"));
    EXPECT_FALSE(catalogue.IsListedMonitor("vorl com monitor"));
    EXPECT_FALSE(catalogue.IsListedMonitor("Local Port"));
    EXPECT_TRUE(catalogue.IsListedProcessor("VORLPrint"));
    EXPECT_FALSE(catalogue.IsListedProcessor("WinPrint"));
    // 98/Me processors are never ours to remove.
    EXPECT_FALSE(Catalogue(0).IsListedProcessor("VORLPrint"));
}

TEST_F(UninstallCatalogueTest, AMissingOrEmptyEntryMatchesNothing) {
    Ini("[KXMONITOR]\r\nMonitorNUM=3\r\nMONITORNAME1=VORL\r\nMONITORNAME2=\r\n");
    UninstallCatalogue catalogue = Catalogue();
    // Entry 3 is missing: read as "0" it would claim another maker's "Port 2000"; entry 2 is empty and
    // would claim every monitor.
    EXPECT_FALSE(catalogue.IsListedMonitor("Port 2000"));
    EXPECT_FALSE(catalogue.IsListedMonitor("Local Port"));
    EXPECT_TRUE(catalogue.IsListedMonitor("VORL COM Monitor"));

    Ini("[KXMONITOR]\r\nMonitorNUM=-4\r\nMONITORNAME1=Local\r\n");
    EXPECT_FALSE(catalogue.IsListedMonitor("Local Port"));
    // Entries past the ninth are read under the characters after "9"; a huge count still ends.
    Ini("[KXMONITOR]\r\nMonitorNUM=2000000000\r\nMONITORNAME:=Tenth\r\nMONITORNAME1=A\r\nMONITORNAME2=B\r\n"
        "MONITORNAME3=C\r\nMONITORNAME4=D\r\nMONITORNAME5=E\r\nMONITORNAME6=F\r\nMONITORNAME7=G\r\n"
        "MONITORNAME8=H\r\nMONITORNAME9=I\r\n");
    EXPECT_TRUE(catalogue.IsListedMonitor("The Tenth"));
}

TEST_F(UninstallCatalogueTest, OnlyTheFirst29CharactersOfAnEntryCount) {
    Ini("[KXPRINTER]\r\nPRINTERNUM=1\r\nPRINTERNAME1=" + std::string(29, 'x') + "TAIL\r\n");
    AddPrinter("P1", std::string(29, 'x') + "OTHER");
    AddPrinter("P2", "VORL ZMX-T310");
    UninstallCatalogue catalogue = Catalogue();
    EXPECT_TRUE(catalogue.IsListedPrinter("P1"));
    EXPECT_FALSE(catalogue.IsListedPrinter("P2"));
}

TEST_F(UninstallCatalogueTest, PrintersMatchByDriverNameAndUnreadableOnesAreNotOurs) {
    Ini("[KXPRINTER]\r\nPRINTERNUM=1\r\nPRINTERNAME1=VORL ZMX-\r\n");
    AddPrinter("Till", "VORL ZMX-T310");
    AddPrinter("VORL ZMX-Office", "HP LaserJet");
    UninstallCatalogue catalogue = Catalogue();
    EXPECT_TRUE(catalogue.IsListedPrinter("Till"));
    EXPECT_FALSE(catalogue.IsListedPrinter("VORL ZMX-Office"));  // the printer's own name does not count
    EXPECT_FALSE(catalogue.IsListedPrinter("Nowhere"));

    sim_.windows().InjectFault("GetPrinterA", 5);
    EXPECT_FALSE(catalogue.IsListedPrinter("Till"));
    sim_.windows().InjectFault("OpenPrinterA", 5);
    EXPECT_FALSE(catalogue.IsListedPrinter("Till"));
    EXPECT_EQ(0u, sim_.spooler().OpenPrinterCount());
    EXPECT_TRUE(catalogue.IsListedPrinter("Till"));
    EXPECT_EQ(0u, sim_.spooler().OpenPrinterCount());
}

TEST_F(UninstallCatalogueTest, DllSectionsTakeTheGenerationSuffixAndNameNoFileForZeroValues) {
    Ini("[VORLCOMMonitor.2K]\r\nMonitorPDLLName=VLCOMMON.DLL\r\nMonitorPUIDLLName=VLCOMUI.DLL\r\n"
        "[VORLUSBMonitor.2K]\r\nMonitorPDLLName=0\r\nMonitorPUIDLLName=\r\n"
        "[VORL Print.2K]\r\nProcessorDllName=VLPRTPRC.DLL\r\n"
        "[VORLPrint.2K]\r\nProcessorDllName=..\\..\\WINDOWS\\explorer.exe\r\n"
        "[VORLCOMMonitor.Vista]\r\nMonitorPDLLName=C:\\WINDOWS\\system32\\spoolsv.exe\r\n"
        "[VORLCOMMonitor.98]\r\nMonitorPDLLName=VLCOM98.DLL\r\n");
    UninstallCatalogue xp = Catalogue(3);  // XP reads the 2000 sections
    EXPECT_EQ("VLCOMMON.DLL", xp.MonitorDllName("VORL COM Monitor"));
    EXPECT_EQ("VLCOMUI.DLL", xp.MonitorUiDllName("VORL COM Monitor"));
    EXPECT_EQ("", xp.MonitorDllName("VORL USB Monitor"));
    EXPECT_EQ("", xp.MonitorUiDllName("VORL USB Monitor"));
    EXPECT_EQ("VLPRTPRC.DLL", xp.ProcessorDllName("VORL Print"));  // processor sections keep spaces
    EXPECT_EQ("..\\..\\WINDOWS\\explorer.exe", xp.ProcessorDllName("VORLPrint"));  // the remover refuses it
    EXPECT_EQ("", xp.MonitorDllName("Unknown Monitor"));
    // Values are cut at 29 characters; unknown systems read the ".Vista" sections.
    EXPECT_EQ("C:\\WINDOWS\\system32\\spoolsv.e", Catalogue(5).MonitorDllName("VORL COM Monitor"));
    EXPECT_EQ(Catalogue(5).MonitorDllName("VORL COM Monitor"),
              Catalogue(-1).MonitorDllName("VORL COM Monitor"));
    EXPECT_EQ("VLCOM98.DLL", Catalogue(0).MonitorDllName("VORL COM Monitor"));

    const win::Architecture& x86 = win::kArchitectureX86;
    EXPECT_STREQ(".98", UninstallSectionSuffix(0, x86));
    EXPECT_STREQ(".NT", UninstallSectionSuffix(1, x86));
    EXPECT_STREQ(".2K", UninstallSectionSuffix(2, x86));
    EXPECT_STREQ(".2003", UninstallSectionSuffix(4, x86));
    EXPECT_STREQ(".Vista", UninstallSectionSuffix(6, x86));
    // The x64 edition reads its own sections on every NT system, unknown ones too.
    for (int generation : {1, 3, 4, 5, -1}) EXPECT_STREQ(".x64", UninstallSectionSuffix(generation, win::kArchitectureX64));
    EXPECT_STREQ(".98", UninstallSectionSuffix(0, win::kArchitectureX64));
}

}  // namespace
