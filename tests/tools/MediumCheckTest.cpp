// The release checks of medium-check against small media built here, each clean but for one fault.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "tools/medium-check/MediumCheck.h"

namespace {

namespace fs = std::filesystem;
using medium::Finding;
using medium::FindingKind;

std::string GenerationSection(const std::string& name, const std::string& stdDriver) {
    std::ostringstream s;
    s << "[" << name << "]\r\n"
      << "STDDriverName=VORL Q1\r\nSTDDriverPath=" << stdDriver << "\r\nSTDDataFile=Q.DAT\r\n"
      << "STDConfigFile=QUI.DLL\r\nSTDHelpFile=Q.HLP\r\nSTDDataFileDLLName=0\r\nSTDDataOemuiDLL=0\r\n"
      << "STDDataOemuniDLL=0\r\nSTDDataOemuniini=0\r\nSTDProcessorDLLName=QPRC.DLL\r\n"
      << "STDPrintProcessor=QPrint\r\nSTD2KDDKDEV=0\r\n"
      << "GDIDriverName=VORL Q1 Raster\r\nGDIDriverPath=UNIDRV.DLL\r\nGDIDataFile=Q.GPD\r\n"
      << "GDIConfigFile=UNIDRVUI.DLL\r\nGDIHelpFile=UNIDRV.HLP\r\nGDIDataFileDLLName=QRES.DLL\r\n"
      << "GDIDataOemuiDLL=0\r\nGDIDataOemuniDLL=0\r\nGDIDataOemuniini=0\r\nGDIProcessorDLLName=QPRC.DLL\r\n"
      << "GDIPrintProcessor=QPrint\r\nGDI2KDDKDEV=1\r\nATTRIBUTES=576\r\n\r\n";
    return s.str();
}

std::string MonitorSections() {
    std::string text;
    for (const char* suffix : {".98", ".NT", ".2K", ".XP", ".2003", ".Vista"}) {
        text += std::string("[COMMON-MONITOR") + suffix + "]\r\n" +
                "COMMONitorPName=VORL COM "
                "Monitor\r\nCOMMONitorPDLLName=QCOM.DLL\r\nCOMMONitorPUIDLLName=QCOMUI.DLL\r\n"
                "COMMONitorVersion=3\r\nUSBMONitorPName=VORL USB Monitor\r\nUSBMONitorPDLLName=QUSB.DLL\r\n"
                "USBMONitorPUIDLLName=QUSBUI.DLL\r\nUSBMONitorVersion=4\r\n\r\n";
    }
    return text;
}

// A medium with one receipt model supported on 98/Me, 2000 and XP, all its files in place.
class MediumCheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/medium-check-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root_ = pattern;
        files_["DRVCONFIG/setup.ini"] =
            "[DEVICENAME]\r\nDEVICENUMBER=1\r\nDEVICENAME1=ZMX-Q1-ReceiptPrinter\r\nDEFAULTNAME=1\r\n\r\n" +
            MonitorSections() +
            "[ProcessorVersion]\r\nDriverVersion=2\r\n\r\n"
            "[SUPPORTED-USB-DEVICE]\r\nPRNCOUNT=2\r\n0=USB_ZMX-Q1_1\r\n1=USB_ZMX-Q1_2\r\n";
        files_["DRVCONFIG/setup_receipt.ini"] =
            GenerationSection("ZMX-Q1.98", "QDRV.DRV") + GenerationSection("ZMX-Q1.2K", "QDRV.DLL") +
            GenerationSection("ZMX-Q1.XP", "QDRV.DLL") + PortSection("0", "0", "0");
        files_["Uninstall.ini"] =
            "[KXPRINTER]\r\nPRINTERNUM=1\r\nPRINTERNAME1=VORL Q\r\n\r\n"
            "[KXMONITOR]\r\nMonitorNUM=2\r\nMONITORNAME1=VORL COM Monitor\r\nMONITORNAME2=VORL USB "
            "Monitor\r\n\r\n"
            "[KXPROC]\r\nPROCNUM=1\r\nPROCNAME1=QPrint\r\n\r\n"
            "[VORLCOMMonitor.2K]\r\nMonitorPDLLName=QCOM.DLL\r\nMonitorPUIDLLName=QCOMUI.DLL\r\n\r\n"
            "[QPrint.2K]\r\nProcessorDllName=QPRC.DLL\r\n";
        files_["language/setup.ini"] =
            "[Setup]\r\nCaption=Setup\r\n[Message]\r\nIDS_NOTSUPPORTNT=no NT\r\nIDS_NOTSUPPORT2003=no 2003\r\n"
            "IDS_NOTSUPPORTVISTA=no Vista\r\nIDS_NOTSUPPORT64=32-bit only\r\nIDS_ERR_NOSUPPORTINTERFACE=no port\r\n"
            "IDS_ERR_NOSUPPORTUSB=no USB\r\n";
        files_["language/uninstall.ini"] = "[Main]\r\nCaption=Uninstall\r\n[Message]\r\nIDS_NOTSUPPORT64=no x64 edition\r\n";
        for (const char* file :
             {"License.txt", "DRVCONFIG/Left.bmp", "setup.exe", "uninstall.exe", "KxUsbInt.dll",
              "USBDrv/Install.exe", "USBDrv/BULKUSB.INF", "USBDrv/bulkusb.sys", "win98/ICONLIB.DLL"}) {
            files_[file] = "x";
        }
        for (const char* dir : {"win98", "winnt", "win2003", "Vista"}) {
            for (const char* file : {"QCOM.DLL", "QCOMUI.DLL", "QUSB.DLL", "QUSBUI.DLL"}) {
                files_[std::string(dir) + "/" + file] = "x";
            }
        }
        for (const char* file : {"QDRV.DRV", "Q.DAT", "QUI.DLL", "Q.HLP", "QPRC.DLL", "Q.GPD", "QRES.DLL",
                                 "UNIDRV.DLL", "UNIDRVUI.DLL", "UNIDRV.HLP"}) {
            files_[std::string("win98/") + file] = "x";
        }
        for (const char* file : {"QDRV.DLL", "Q.DAT", "QUI.DLL", "Q.HLP", "QPRC.DLL", "Q.GPD", "QRES.DLL"}) {
            files_[std::string("winnt/") + file] = "x";
        }
    }
    void TearDown() override { fs::remove_all(root_); }
    // A second case in the same test starts again from the clean medium.
    void Reset() {
        TearDown();
        files_.clear();
        SetUp();
    }

    static std::string PortSection(const char* nt, const char* server2003, const char* vista) {
        return std::string("[ZMX-Q1.PORT]\r\nAdvancedSetup=1\r\nSystemNTSupported=") + nt +
               "\r\nSystem2003Supported=" + server2003 + "\r\nSystemVistaSupported=" + vista +
               "\r\nBaudRate=19200\r\nUSBSUPPORTED=1\r\nLPTDEFAULT=0\r\n";
    }

    void Replace(const std::string& file, const std::string& from, const std::string& to) {
        std::string& text = files_.at(file);
        size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        text.replace(at, from.size(), to);
    }

    // The model's name everywhere the medium spells it.
    void RenameModel(const std::string& to) {
        for (auto& [path, bytes] : files_) {
            for (size_t at = bytes.find("ZMX-Q1"); at != std::string::npos; at = bytes.find("ZMX-Q1", at + 1))
                bytes.replace(at, 6, to);
        }
    }

    void Write() {
        fs::remove_all(root_);
        for (const auto& [path, bytes] : files_) {
            fs::path host = fs::path(root_) / path;
            fs::create_directories(host.parent_path());
            std::ofstream(host, std::ios::binary) << bytes;
        }
    }

    std::vector<Finding> Check(bool checkFiles = true) {
        Write();
        std::vector<Finding> findings;
        medium::CheckOptions options;
        options.checkFiles = checkFiles;
        EXPECT_TRUE(medium::CheckMedium(root_, options, &findings));
        return findings;
    }

    static std::string Lines(const std::vector<Finding>& findings) {
        std::string lines;
        for (const Finding& finding : findings) lines += medium::FormatFinding(finding) + "\n";
        return lines;
    }

    // The findings must be exactly these, by kind, file, section and key.
    static void ExpectFindings(
        const std::vector<Finding>& findings,
        const std::vector<std::tuple<FindingKind, std::string, std::string, std::string>>& want) {
        std::vector<std::tuple<FindingKind, std::string, std::string, std::string>> got;
        for (const Finding& finding : findings)
            got.emplace_back(finding.kind, finding.file, finding.section, finding.key);
        EXPECT_EQ(got, want) << Lines(findings);
    }

    std::string root_;
    std::map<std::string, std::string> files_;
};

constexpr char kSetup[] = "DRVCONFIG\\setup.ini";
constexpr char kReceipt[] = "DRVCONFIG\\setup_receipt.ini";

TEST_F(MediumCheckTest, CleanMediumHasNoFindings) { EXPECT_EQ(Lines(Check()), ""); }

TEST_F(MediumCheckTest, MediumWithoutDeviceListCannotBeRead) {
    files_.erase("DRVCONFIG/setup.ini");
    Write();
    std::vector<Finding> findings;
    EXPECT_FALSE(medium::CheckMedium(root_, {}, &findings));
    EXPECT_FALSE(medium::CheckMedium(root_ + "/nowhere", {}, &findings));
}

TEST_F(MediumCheckTest, ModelListEntries) {
    // No class suffix: the selection page skips the entry, and it has no class file to be checked in.
    Replace("DRVCONFIG/setup.ini", "DEVICENAME1=ZMX-Q1-ReceiptPrinter", "DEVICENAME1=ZMX-Q1-Receipt");
    auto findings = Check(false);
    ASSERT_FALSE(findings.empty());
    EXPECT_EQ(findings[0].kind, FindingKind::kMissingClassSuffix);
    EXPECT_EQ(findings[0].key, "DEVICENAME1");

    Reset();
    Replace("DRVCONFIG/setup.ini", "DEVICENAME1=ZMX-Q1-ReceiptPrinter", "DEVICENAME1=ZMX-Q1-ReceiptPrinter2");
    ExpectFindings(Check(false), {{FindingKind::kMissingClassSuffix, kSetup, "DEVICENAME", "DEVICENAME1"}});
}

TEST_F(MediumCheckTest, CountsMustMatchTheirEntries) {
    Replace("DRVCONFIG/setup.ini", "DEVICENUMBER=1", "DEVICENUMBER=2");
    Replace("DRVCONFIG/setup.ini", "PRNCOUNT=2", "PRNCOUNT=1");
    ExpectFindings(Check(false), {{FindingKind::kCountMismatch, kSetup, "DEVICENAME", "DEVICENAME2"},
                                  {FindingKind::kCountMismatch, kSetup, "SUPPORTED-USB-DEVICE", "1"}});

    Reset();
    // Entries are numbered from 1; the key numbered 0 is never read, nor a default beyond the list.
    Replace("DRVCONFIG/setup.ini", "DEVICENAME1=", "DEVICENAME0=ZMX-Q0-ReceiptPrinter\r\nDEVICENAME1=");
    Replace("DRVCONFIG/setup.ini", "DEFAULTNAME=1", "DEFAULTNAME=2");
    ExpectFindings(Check(false), {{FindingKind::kCountMismatch, kSetup, "DEVICENAME", "DEVICENAME0"},
                                  {FindingKind::kCountMismatch, kSetup, "DEVICENAME", "DEFAULTNAME"}});

    Reset();
    // A count far beyond its entries is one finding, not one per missing key.
    Replace("DRVCONFIG/setup.ini", "PRNCOUNT=2", "PRNCOUNT=2000000000");
    ExpectFindings(Check(false), {{FindingKind::kCountMismatch, kSetup, "SUPPORTED-USB-DEVICE", "PRNCOUNT"}});
}

TEST_F(MediumCheckTest, UninstallCatalogueCounts) {
    // A missing entry reads as "0" and would match every monitor whose name holds a 0.
    Replace("Uninstall.ini", "MonitorNUM=2", "MonitorNUM=3");
    Replace("Uninstall.ini", "PROCNUM=1\r\nPROCNAME1=QPrint",
            "PROCNUM=1\r\nPROCNAME1=QPrint\r\nPROCNAME2=Other");
    ExpectFindings(Check(false), {{FindingKind::kCountMismatch, "Uninstall.ini", "KXMONITOR", "MONITORNAME3"},
                                  {FindingKind::kCountMismatch, "Uninstall.ini", "KXPROC", "PROCNAME2"}});

    Reset();
    // The tenth entry is read under "PRINTERNAME:", not "PRINTERNAME10".
    std::string entries = "PRINTERNUM=10\r\n";
    for (int i = 1; i <= 10; ++i) entries += "PRINTERNAME" + std::to_string(i) + "=VORL Q\r\n";
    Replace("Uninstall.ini", "PRINTERNUM=1\r\nPRINTERNAME1=VORL Q\r\n", entries);
    ExpectFindings(Check(false),
                   {{FindingKind::kCountMismatch, "Uninstall.ini", "KXPRINTER", "PRINTERNAME:"},
                    {FindingKind::kCountMismatch, "Uninstall.ini", "KXPRINTER", "PRINTERNAME10"},
                    {FindingKind::kCountMismatch, "Uninstall.ini", "KXPRINTER", "PRINTERNUM"}});
}

TEST_F(MediumCheckTest, UninstallCatalogueIsFoundByItsExactName) {
    // The uninstaller's directory scan compares "Uninstall.ini" case-sensitively.
    files_["uninstall.ini"] = files_.at("Uninstall.ini");
    files_.erase("Uninstall.ini");
    ExpectFindings(Check(false), {{FindingKind::kMissingFile, "uninstall.ini", "", ""}});

    files_["DRVCONFIG/Uninstall.ini"] = files_.at("uninstall.ini");
    EXPECT_EQ(Lines(Check(false)), "");

    files_.erase("DRVCONFIG/Uninstall.ini");
    files_.erase("uninstall.ini");
    ExpectFindings(Check(false), {{FindingKind::kMissingFile, "Uninstall.ini", "", ""}});
}

TEST_F(MediumCheckTest, SectionsTheModelNeeds) {
    files_["DRVCONFIG/setup_receipt.ini"] =
        GenerationSection("ZMX-Q1.98", "QDRV.DRV") + GenerationSection("ZMX-Q1.2K", "QDRV.DLL");
    ExpectFindings(Check(false), {{FindingKind::kMissingSection, kReceipt, "ZMX-Q1.PORT", ""},
                                  {FindingKind::kMissingSection, kReceipt, "ZMX-Q1.XP", ""}});
}

TEST_F(MediumCheckTest, SupportFlagsPromiseGenerationSections) {
    Replace("DRVCONFIG/setup_receipt.ini", PortSection("0", "0", "0"), PortSection("1", "1", "1"));
    ExpectFindings(Check(false), {{FindingKind::kMissingSection, kReceipt, "ZMX-Q1.NT", ""},
                                  {FindingKind::kMissingSection, kReceipt, "ZMX-Q1.2003", ""},
                                  {FindingKind::kMissingSection, kReceipt, "ZMX-Q1.Vista", ""}});

    Reset();
    // Sections the flags do not promise are never read, and neither are those of unlisted models.
    files_["DRVCONFIG/setup_receipt.ini"] +=
        GenerationSection("ZMX-Q1.Vista", "QDRV.DLL") + GenerationSection("ZMX-Q9.XP", "QDRV.DLL");
    ExpectFindings(Check(false), {{FindingKind::kUnknownSection, kReceipt, "ZMX-Q1.Vista", ""},
                                  {FindingKind::kUnknownSection, kReceipt, "ZMX-Q9.XP", ""}});
}

TEST_F(MediumCheckTest, MonitorSectionsForEveryGeneration) {
    Replace("DRVCONFIG/setup.ini", "[COMMON-MONITOR.2003]", "[COMMON-MONITOR.2003x]");
    ExpectFindings(Check(false), {{FindingKind::kUnknownSection, kSetup, "COMMON-MONITOR.2003x", ""},
                                  {FindingKind::kMissingSection, kSetup, "COMMON-MONITOR.2003", ""}});
}

TEST_F(MediumCheckTest, MissingFileIsNamedWithItsKeyAndDirectory) {
    files_.erase("winnt/Q.DAT");
    auto findings = Check();
    ExpectFindings(findings, {{FindingKind::kMissingFile, kReceipt, "ZMX-Q1.2K", "STDDataFile"},
                              {FindingKind::kMissingFile, kReceipt, "ZMX-Q1.XP", "STDDataFile"}});
    ASSERT_EQ(findings.size(), 2u);
    EXPECT_EQ(medium::FormatFinding(findings[1]),
              "DRVCONFIG\\setup_receipt.ini [ZMX-Q1.XP] STDDataFile: file \"Q.DAT\" is missing from winnt\\");
    // The unassembled source tree skips the file checks.
    EXPECT_EQ(Lines(Check(false)), "");
}

TEST_F(MediumCheckTest, FileNamesCompareWithoutCase) {
    std::map<std::string, std::string> renamed;
    for (const auto& [path, bytes] : files_) {
        std::string name = path;
        if (path.rfind("winnt/", 0) == 0) {
            name = path.substr(6);
            for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            name = "WinNT/" + name;
        }
        renamed[name] = bytes;
    }
    files_ = renamed;
    EXPECT_EQ(Lines(Check()), "");
}

TEST_F(MediumCheckTest, UnidrvFilesComeFromWindowsFrom2000On) {
    // Not on 98/Me or NT 4: there the medium must carry them.
    files_.erase("win98/UNIDRV.HLP");
    Replace("DRVCONFIG/setup_receipt.ini", PortSection("0", "0", "0"), PortSection("1", "0", "0"));
    files_["DRVCONFIG/setup_receipt.ini"] += GenerationSection("ZMX-Q1.NT", "QDRV.DLL");
    ExpectFindings(Check(), {{FindingKind::kMissingFile, kReceipt, "ZMX-Q1.98", "GDIHelpFile"},
                             {FindingKind::kMissingFile, kReceipt, "ZMX-Q1.NT", "GDIDriverPath"},
                             {FindingKind::kMissingFile, kReceipt, "ZMX-Q1.NT", "GDIConfigFile"},
                             {FindingKind::kMissingFile, kReceipt, "ZMX-Q1.NT", "GDIHelpFile"}});
}

TEST_F(MediumCheckTest, MonitorAndMediumFiles) {
    files_.erase("Vista/QUSBUI.DLL");
    files_.erase("language/uninstall.ini");
    files_.erase("win98/ICONLIB.DLL");
    ExpectFindings(Check(),
                   {{FindingKind::kMissingFile, "language\\uninstall.ini", "", ""},
                    {FindingKind::kMissingFile, "win98\\ICONLIB.DLL", "", ""},
                    {FindingKind::kMissingFile, kSetup, "COMMON-MONITOR.Vista", "USBMONitorPUIDLLName"}});
    // The language files belong to the source tree too.
    ExpectFindings(Check(false), {{FindingKind::kMissingFile, "language\\uninstall.ini", "", ""}});
}

// The files setup copies by names no model file gives: missing ones name the file, the generation and
// the models whose installation would fail or fall short.
TEST_F(MediumCheckTest, ColourLibraryOfTwoModelsOn98Me) {
    RenameModel("ZMX-M530");
    auto findings = Check();
    ExpectFindings(findings, {{FindingKind::kMissingFile, "win98\\DMCOLOR.DLL", "", ""}});
    EXPECT_EQ(Lines(findings),
              "win98\\DMCOLOR.DLL: is missing: on Windows 98/Me setup copies it by this name for ZMX-M530\n");
    EXPECT_EQ(Lines(Check(false)), "");
    files_["win98/DMCOLOR.DLL"] = "x";
    EXPECT_EQ(Lines(Check()), "");

    // A part of the model name, compared with case as the installation does.
    Reset();
    RenameModel("ZMX-R510II");
    ExpectFindings(Check(), {{FindingKind::kMissingFile, "win98\\DMCOLOR.DLL", "", ""}});
    Reset();
    RenameModel("zmx-m530");
    EXPECT_EQ(Lines(Check()), "");
}

TEST_F(MediumCheckTest, IconLibraryAndUnidriverFallbackOf98Me) {
    files_.erase("win98/ICONLIB.DLL");
    files_.erase("win98/UNIDRV.DLL");
    auto findings = Check();
    // The raster driver names the unidriver itself; the fallback is reported apart from that.
    ExpectFindings(findings, {{FindingKind::kMissingFile, kReceipt, "ZMX-Q1.98", "GDIDriverPath"},
                              {FindingKind::kMissingFile, "win98\\ICONLIB.DLL", "", ""},
                              {FindingKind::kMissingFile, "win98\\UNIDRV.DLL", "", ""}});
    ASSERT_EQ(findings.size(), 3u);
    EXPECT_EQ(medium::FormatFinding(findings[2]),
              "win98\\UNIDRV.DLL: is missing: on Windows 98/Me setup copies it by this name for ZMX-Q1 when "
              "Windows has lost its own copy and its backup");
}

TEST_F(MediumCheckTest, EveryRefusalHasItsText) {
    Replace("language/setup.ini", "IDS_NOTSUPPORT64=32-bit only\r\n", "");
    Replace("language/setup.ini", "IDS_ERR_NOSUPPORTUSB=no USB", "IDS_ERR_NOSUPPORTUSB=");
    ExpectFindings(Check(), {{FindingKind::kNotSet, "language\\setup.ini", "Message", "IDS_NOTSUPPORT64"},
                             {FindingKind::kNotSet, "language\\setup.ini", "Message", "IDS_ERR_NOSUPPORTUSB"}});
}

TEST_F(MediumCheckTest, FileNamesMustBePlain) {
    Replace("DRVCONFIG/setup_receipt.ini",
            "STDHelpFile=Q.HLP\r\nSTDDataFileDLLName=0\r\nSTDDataOemuiDLL=0\r\n"
            "STDDataOemuniDLL=0\r\nSTDDataOemuniini=0\r\nSTDProcessorDLLName=QPRC.DLL\r\nSTDPrintProcessor="
            "QPrint\r\n"
            "STD2KDDKDEV=0\r\nGDIDriverName=VORL Q1 Raster\r\nGDIDriverPath=UNIDRV.DLL",
            "STDHelpFile=..\\Q.HLP\r\nSTDDataFileDLLName=0\r\nSTDDataOemuiDLL=C:Q.DLL\r\n"
            "STDDataOemuniDLL=0\r\nSTDDataOemuniini=0\r\nSTDProcessorDLLName=QPRC.DLL\r\nSTDPrintProcessor="
            "QPrint\r\n"
            "STD2KDDKDEV=0\r\nGDIDriverName=VORL Q1 Raster\r\nGDIDriverPath=sub/UNIDRV.DLL");
    Replace("Uninstall.ini", "ProcessorDllName=QPRC.DLL", "ProcessorDllName=x\\QPRC.DLL");
    ExpectFindings(Check(false),
                   {{FindingKind::kNotPlainName, kReceipt, "ZMX-Q1.98", "STDHelpFile"},
                    {FindingKind::kNotPlainName, kReceipt, "ZMX-Q1.98", "STDDataOemuiDLL"},
                    {FindingKind::kNotPlainName, kReceipt, "ZMX-Q1.98", "GDIDriverPath"},
                    {FindingKind::kNotPlainName, "Uninstall.ini", "QPrint.2K", "ProcessorDllName"}});
}

TEST_F(MediumCheckTest, DoubleByteNamesAreNotTakenForPaths) {
    // The second byte of this code page 936 character is a backslash.
    Replace("DRVCONFIG/setup_receipt.ini",
            "STDDataFile=Q.DAT\r\nSTDConfigFile=QUI.DLL\r\nSTDHelpFile=Q.HLP\r\n"
            "STDDataFileDLLName=0\r\nSTDDataOemuiDLL=0\r\nSTDDataOemuniDLL=0\r\nSTDDataOemuniini=0\r\n"
            "STDProcessorDLLName=QPRC.DLL\r\nSTDPrintProcessor=QPrint\r\nSTD2KDDKDEV=0\r\nGDIDriverName=VORL "
            "Q1 Raster",
            "STDDataFile=\xD5\x5C.DAT\r\nSTDConfigFile=QUI.DLL\r\nSTDHelpFile=Q.HLP\r\n"
            "STDDataFileDLLName=0\r\nSTDDataOemuiDLL=0\r\nSTDDataOemuniDLL=0\r\nSTDDataOemuniini=0\r\n"
            "STDProcessorDLLName=QPRC.DLL\r\nSTDPrintProcessor=QPrint\r\nSTD2KDDKDEV=0\r\nGDIDriverName=VORL "
            "Q1 Raster");
    ExpectFindings(Check(false), {});
}

TEST_F(MediumCheckTest, NumbersMustParse) {
    Replace("DRVCONFIG/setup.ini", "DriverVersion=2", "DriverVersion=2.1");
    Replace("DRVCONFIG/setup.ini",
            "COMMONitorVersion=3\r\nUSBMONitorPName=VORL USB Monitor\r\nUSBMONitorPDLLName=QUSB.DLL\r\n"
            "USBMONitorPUIDLLName=QUSBUI.DLL\r\nUSBMONitorVersion=4\r\n\r\n[COMMON-MONITOR.NT]",
            "COMMONitorVersion=three\r\nUSBMONitorPName=VORL USB Monitor\r\nUSBMONitorPDLLName=QUSB.DLL\r\n"
            "USBMONitorPUIDLLName=QUSBUI.DLL\r\nUSBMONitorVersion=4\r\n\r\n[COMMON-MONITOR.NT]");
    Replace("DRVCONFIG/setup_receipt.ini", "BaudRate=19200", "BaudRate=19200bps");
    Replace("DRVCONFIG/setup_receipt.ini", "SystemNTSupported=0", "SystemNTSupported=");
    Replace("DRVCONFIG/setup_receipt.ini", "GDI2KDDKDEV=1\r\nATTRIBUTES=576",
            "GDI2KDDKDEV=2\r\nATTRIBUTES=0x240");
    Replace("Uninstall.ini", "PROCNUM=1", "PROCNUM=one");
    ExpectFindings(Check(false),
                   {{FindingKind::kNotANumber, kSetup, "COMMON-MONITOR.98", "COMMONitorVersion"},
                    {FindingKind::kNotANumber, kSetup, "ProcessorVersion", "DriverVersion"},
                    {FindingKind::kNotANumber, kReceipt, "ZMX-Q1.98", "GDI2KDDKDEV"},
                    {FindingKind::kNotANumber, kReceipt, "ZMX-Q1.98", "ATTRIBUTES"},
                    {FindingKind::kNotANumber, kReceipt, "ZMX-Q1.PORT", "SystemNTSupported"},
                    {FindingKind::kNotANumber, kReceipt, "ZMX-Q1.PORT", "BaudRate"},
                    {FindingKind::kCountMismatch, "Uninstall.ini", "KXPROC", "PROCNAME1"},
                    {FindingKind::kNotANumber, "Uninstall.ini", "KXPROC", "PROCNUM"}});
}

TEST_F(MediumCheckTest, ByteOrderMarkHidesTheFirstSection) {
    files_["DRVCONFIG/setup_receipt.ini"].insert(0, "\xEF\xBB\xBF");
    files_["language/setup.ini"].insert(0, "\xEF\xBB\xBF");
    auto findings = Check(false);
    ASSERT_GE(findings.size(), 2u) << Lines(findings);
    EXPECT_EQ(findings[0].kind, FindingKind::kByteOrderMark);
    EXPECT_EQ(findings[0].file, kReceipt);
    EXPECT_EQ(findings[1].kind, FindingKind::kByteOrderMark);
    EXPECT_EQ(findings[1].file, "language\\setup.ini");
    // What the programs then miss is reported too.
    ExpectFindings({findings.begin() + 2, findings.end()},
                   {{FindingKind::kMissingSection, kReceipt, "ZMX-Q1.98", ""}});
}

TEST_F(MediumCheckTest, KeysTheProgramsNeverRead) {
    Replace("DRVCONFIG/setup_receipt.ini", "STDDataFile=Q.DAT", "STDDataFlie=Q.DAT");
    Replace("DRVCONFIG/setup_receipt.ini", "LPTDEFAULT=0", "LPTDEFAULT=0\r\nATTRIBUTES=576");
    Replace("DRVCONFIG/setup.ini", "DriverVersion=2", "DriverVersion=2\r\ndriverversion=3\r\nVersion=2");
    Replace("Uninstall.ini", "[QPrint.2K]", "[QPrint.XP]\r\nProcessorDllName=QPRC.DLL\r\n\r\n[QPrint.2K]");
    // Names compare without regard to case, as Windows reads them.
    Replace("DRVCONFIG/setup_receipt.ini", "GDIDriverName=VORL Q1 Raster", "GDIDRIVERNAME=VORL Q1 Raster");
    ExpectFindings(Check(false), {{FindingKind::kDuplicateKey, kSetup, "ProcessorVersion", "driverversion"},
                                  {FindingKind::kUnknownKey, kSetup, "ProcessorVersion", "Version"},
                                  {FindingKind::kUnknownKey, kReceipt, "ZMX-Q1.98", "STDDataFlie"},
                                  {FindingKind::kNotSet, kReceipt, "ZMX-Q1.98", "STDDataFile"},
                                  {FindingKind::kUnknownKey, kReceipt, "ZMX-Q1.PORT", "ATTRIBUTES"},
                                  {FindingKind::kUnknownSection, "Uninstall.ini", "QPrint.XP", ""}});
}

TEST_F(MediumCheckTest, ValuesCutByTheirBuffers) {
    Replace("DRVCONFIG/setup_receipt.ini", "STDDriverName=VORL Q1", "STDDriverName=" + std::string(50, 'N'));
    Replace("Uninstall.ini", "PROCNAME1=QPrint", "PROCNAME1=" + std::string(30, 'P'));
    ExpectFindings(Check(false), {{FindingKind::kTooLong, kReceipt, "ZMX-Q1.98", "STDDriverName"},
                                  {FindingKind::kTooLong, "Uninstall.ini", "KXPROC", "PROCNAME1"}});
}

// The x64 edition: a model's x64 promise asks for its .x64 section, the x64 monitors and the refusal text;
// the files of x64\ and the x64 programs are asked for where the medium holds that edition.
TEST_F(MediumCheckTest, X64DriversPromisedAreCheckedAsTheOtherGenerations) {
    Replace("DRVCONFIG/setup_receipt.ini", "SystemVistaSupported=0", "SystemVistaSupported=0\r\nSystemX64Supported=1");
    ExpectFindings(Check(false), {{FindingKind::kMissingSection, kReceipt, "ZMX-Q1.x64", ""},
                                  {FindingKind::kMissingSection, "DRVCONFIG\\setup.ini", "COMMON-MONITOR.x64", ""},
                                  {FindingKind::kNotSet, "language\\setup.ini", "Message", "IDS_NOTSUPPORTX64"}});

    files_["DRVCONFIG/setup_receipt.ini"] += GenerationSection("ZMX-Q1.x64", "QDRV64.DLL");
    files_["DRVCONFIG/setup.ini"] +=
        "\r\n[COMMON-MONITOR.x64]\r\nCOMMONitorPName=VORL COM Monitor\r\nCOMMONitorPDLLName=QCOM64.DLL\r\n"
        "COMMONitorPUIDLLName=0\r\nCOMMONitorVersion=3\r\nUSBMONitorPName=VORL USB Monitor\r\n"
        "USBMONitorPDLLName=QUSB64.DLL\r\nUSBMONitorPUIDLLName=0\r\nUSBMONitorVersion=4\r\n";
    files_["language/setup.ini"] += "IDS_NOTSUPPORTX64=no x64\r\n";
    files_["Uninstall.ini"] += "\r\n[QPrint.x64]\r\nProcessorDllName=QPRC64.DLL\r\n";
    // Without the x64 edition on the medium, its files are no matter.
    EXPECT_EQ("", Lines(Check()));

    files_["setup64.exe"] = "x";
    for (const char* file : {"QDRV64.DLL", "Q.DAT", "QUI.DLL", "Q.HLP", "QPRC.DLL", "Q.GPD", "QRES.DLL", "QCOM64.DLL"})
        files_[std::string("x64/") + file] = "x";
    ExpectFindings(Check(),
                   {{FindingKind::kMissingFile, "uninstall64.exe", "", ""},
                    {FindingKind::kMissingFile, "install-printer64.exe", "", ""},
                    {FindingKind::kMissingFile, "uninstall-printer64.exe", "", ""},
                    {FindingKind::kMissingFile, "KxUsbInt64.dll", "", ""},
                    {FindingKind::kMissingFile, "USBDrv\\x64\\Install.exe", "", ""},
                    {FindingKind::kMissingFile, "USBDrv\\x64\\BULKUSB.INF", "", ""},
                    {FindingKind::kMissingFile, "USBDrv\\x64\\bulkusb.sys", "", ""},
                    {FindingKind::kMissingFile, "DRVCONFIG\\setup.ini", "COMMON-MONITOR.x64", "USBMONitorPDLLName"}});
    const std::string lines = Lines(Check());
    EXPECT_NE(std::string::npos, lines.find("\"QUSB64.DLL\" is missing from x64\\")) << lines;
}

TEST(MediumTextTest, Cp936BecomesUtf8) {
    EXPECT_EQ(medium::Cp936ToUtf8("A\xC4\xE3\xBA\xC3"), "A\xE4\xBD\xA0\xE5\xA5\xBD");
    // A lone lead byte at the end and a byte outside the code page become replacement characters.
    EXPECT_EQ(medium::Cp936ToUtf8("x\xFF"
                                  "y\xC4"),
              "x\xEF\xBF\xBDy\xEF\xBF\xBD");
    // Longer than one conversion chunk.
    EXPECT_EQ(medium::Cp936ToUtf8(std::string(1000, '\xC4')).size(), 1500u);
}

TEST(MediumTextTest, JsonStringEscapes) {
    EXPECT_EQ(medium::JsonString("a\"b\\c\r\n\x01"), "\"a\\\"b\\\\c\\u000d\\u000a\\u0001\"");
}

}  // namespace
