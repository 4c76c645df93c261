// ModelConfig over a test medium beside the simulated program: records, file sets, monitors, device list.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/sim/SimPlatform.h"
#include "setup/environment/ModelConfig.h"

namespace {

const char* const kSuffixes[] = {".98", ".NT", ".2K", ".XP", ".2003", ".Vista"};

// One generation section of the receipt model KP-300: both kinds, every key, names carry kind and suffix.
std::string Kp300Section(const std::string& s) {
    std::string text = "[KP-300" + s + "]\r\nATTRIBUTES=2624\r\nGDI2KDDKDEV=1\r\nSTD2KDDKDEV=0\r\n";
    for (std::string k : {"STD", "GDI"})
        text += k + "DriverName=KP-300 " + k + s + "\r\n" + k + "DriverPath=" + k + "drv" + s + ".dll\r\n" +
                k + "DataFile=" + k + s + ".gpd\r\n" + k + "ConfigFile=" + k + "ui" + s + ".dll\r\n" + k +
                "HelpFile=" + k + s + ".hlp\r\n" + k + "DataFileDLLName=" + k + "res.dll\r\n" + k +
                "DataOemuiDLL=0\r\n" + k + "DataOemuniini=" + k + "oem.ini\r\n" + k +
                "ProcessorDLLName=" + k + "proc.dll\r\n" + k + "PrintProcessor=KXPROC " + k + "\r\n";
    return text;
}

class ModelConfigTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string list =
            "[DEVICENAME]\r\nDEVICENUMBER=5\r\nDEFAULTNAME=3\r\n"
            "DEVICENAME1=KP-300-ReceiptPrinter\r\nDEVICENAME2=Loose Model\r\n"
            "DEVICENAME3=TK-80-TicketPrinter\r\nDEVICENAME4=T-LabelPrinter-TicketPrinter\r\n"
            "DEVICENAME5=EM-1-EmbeddedPrinter\r\n[ProcessorVersion]\r\nDriverVersion=1207\r\n"
            "[COMMON-MONITOR]\r\nCOMMONitorPName=bare\r\n";
        for (std::string s : kSuffixes)
            list += "[COMMON-MONITOR" + s + "]\r\nCOMMONitorPName=KXCOM" + s +
                    "\r\nCOMMONitorPDLLName=kxcom" + s + ".dll\r\nCOMMONitorPUIDLLName=kxcomui" + s +
                    ".dll\r\nCOMMONitorVersion=301\r\n" + "USBMONitorPName=KXUSB" + s +
                    "\r\nUSBMONitorPDLLName=kxusb" + s +
                    ".dll\r\nUSBMONitorPUIDLLName=" + std::string(60, 'u') + "\r\nUSBMONitorVersion=12x\r\n";
        Write("setup.ini", list);
        std::string receipt;
        for (std::string s : kSuffixes) receipt += Kp300Section(s);
        // The empty further file is copied and ends the list; the flag counts by atoi, the kind flag
        // by its first character.
        receipt +=
            "[KP-EMPTY.2K]\r\nGDI2KDDKDEV=2\r\nSTDDataFile=e.gpd\r\nSTDDataFileDLLName=\r\n"
            "STDDataOemuiDLL=ui.dll\r\nSTD2KDDKDEV=10\r\n";
        Write("setup_receipt.ini", receipt);
        // Class files spelled otherwise than ModelConfig spells them, on a case-sensitive host.
        Write("SETUP_TICKET.INI", "[TK-80.XP]\r\nGDIDriverName=ticket\r\n");
        Write("Setup_Lable.Ini", "[LB-4.XP]\r\nGDIDriverName=label\r\n");
        Write("setup_EMBEDDED.ini", "[EM-1.XP]\r\nGDIDriverName=embedded\r\n");
        config_.SetPrinterClass(kPrinterClassReceipt);
    }
    void Write(const std::string& name, const std::string& bytes) {
        sim_.windows().WriteFile("C:\\MEDIUM\\DRVCONFIG\\" + name, bytes);
    }
    // The double-zero-ended list as the spooler reads it.
    static std::vector<std::string> Entries(const char* list) {
        std::vector<std::string> entries;
        for (const char* at = list; *at != '\0'; at += std::strlen(at) + 1) entries.push_back(at);
        return entries;
    }
    win::sim::SimPlatform sim_;
    ModelConfig config_{sim_.platform()};
};

TEST_F(ModelConfigTest, DriverInfoFollowsGenerationAndKind) {
    const win::DWORD versions[] = {0, 2, 3, 3, 3, 3};
    char monitor[] = "mon";
    for (PlatformGeneration g = 0; g < kGenerationCount; ++g) {
        for (std::string k : {"STD", "GDI"}) {
            std::string s = kSuffixes[g];
            win::DRIVER_INFO_3A record{};
            record.pMonitorName = monitor;
            config_.GetDriverInfo("KP-300", g, record, k == "STD" ? kDriverKindStd : kDriverKindGdi);
            EXPECT_EQ(versions[g], record.cVersion) << s;
            EXPECT_STREQ(g == 0 ? "Windows 4.0" : nullptr, record.pEnvironment);
            EXPECT_EQ("KP-300 " + k + s, record.pName);
            EXPECT_EQ(k + "drv" + s + ".dll", record.pDriverPath);
            EXPECT_EQ(k + s + ".gpd", record.pDataFile);
            EXPECT_EQ(k + "ui" + s + ".dll", record.pConfigFile);
            EXPECT_EQ(k + s + ".hlp", record.pHelpFile);
            EXPECT_EQ(monitor, record.pMonitorName);
            EXPECT_EQ(nullptr, record.pDefaultDataType);
            // "0" and missing further files are left out; before 2000 the Unidrv files are not listed.
            std::vector<std::string> expected;
            if (g >= kGenerationWin2000)
                expected = {k + s + ".gpd", "TTFSUB.GPD",  "UNIRES.DLL",
                            "STDNAMES.GPD", k + "res.dll", k + "oem.ini"};
            EXPECT_EQ(expected, Entries(record.pDependentFiles)) << s << k;
        }
    }
}

TEST_F(ModelConfigTest, AnEmptyFurtherFileEndsTheDependentListEarly) {
    win::DRIVER_INFO_3A record{};
    config_.GetDriverInfo("KP-EMPTY", kGenerationWin2000, record, kDriverKindStd);
    EXPECT_EQ((std::vector<std::string>{"e.gpd", "TTFSUB.GPD", "UNIRES.DLL", "STDNAMES.GPD"}),
              Entries(record.pDependentFiles));
    EXPECT_FALSE(config_.UsesDdkDependentFiles("KP-EMPTY", kGenerationWin2000, kDriverKindGdi))
        << "2: not '1'";
    EXPECT_TRUE(config_.UsesDdkDependentFiles("KP-EMPTY", kGenerationWin2000, kDriverKindStd));
    EXPECT_TRUE(config_.UsesDdkDependentFiles("KP-300", kGenerationXP, kDriverKindGdi));
    EXPECT_FALSE(config_.UsesDdkDependentFiles("KP-300", kGenerationXP, kDriverKindStd));
    EXPECT_FALSE(config_.UsesDdkDependentFiles("KP-300", kGenerationXP, 2));
}

TEST_F(ModelConfigTest, LongestFurtherFilesMakeAWholeDependentListWithoutOverrun) {
    std::string names[5];
    std::string section = "[BIG.XP]\r\nGDI2KDDKDEV=1\r\n";
    const char* keys[] = {"DataFile", "DataFileDLLName", "DataOemuiDLL", "DataOemuniDLL", "DataOemuniini"};
    for (int i = 0; i < 5; ++i) {
        names[i] = std::string(199, static_cast<char>('a' + i));
        section += std::string("GDI") + keys[i] + "=" + names[i] + "tail\r\n";
    }
    Write("setup_receipt.ini", section);
    MonitorPair pair{};
    config_.GetMonitorInfo(kGenerationXP, pair);
    win::DRIVER_INFO_3A record{};
    config_.GetDriverInfo("BIG", kGenerationXP, record, kDriverKindGdi);
    EXPECT_STREQ("KXUSB.XP", pair.usbMonitor.pName) << "the list stays within its own buffer";
    EXPECT_EQ((std::vector<std::string>{names[0], "TTFSUB.GPD", "UNIRES.DLL", "STDNAMES.GPD", names[1],
                                        names[2], names[3], names[4]}),
              Entries(record.pDependentFiles));
}

TEST_F(ModelConfigTest, MissingKeysReadAsZeroAndAnUnknownKindReadsNothing) {
    win::DRIVER_INFO_3A record{};
    config_.GetDriverInfo("NOWHERE", kGenerationXP, record, kDriverKindGdi);
    EXPECT_STREQ("0", record.pName);
    EXPECT_STREQ("0", record.pHelpFile);
    EXPECT_STREQ("", record.pDependentFiles);
    win::PRINTER_INFO_2A printer{};
    config_.GetPrinterInfo("NOWHERE", kGenerationXP, printer, kDriverKindGdi);
    EXPECT_EQ(0u, printer.Attributes);
    EXPECT_STREQ("0", printer.pPrintProcessor);
    // Another kind must not hand on what the last read left in the buffers.
    config_.GetDriverInfo("KP-300", kGenerationXP, record, kDriverKindGdi);
    config_.GetDriverInfo("KP-300", kGenerationXP, record, 5);
    EXPECT_STREQ("", record.pName);
    EXPECT_STREQ("", record.pDependentFiles);
    DriverFileSet set{};
    config_.GetDriverFiles("KP-300", kGenerationXP, set, -1);
    EXPECT_EQ(std::string(DriverFileSet::kSize, '\0'), std::string(set.bytes, sizeof(set.bytes)));
}

TEST_F(ModelConfigTest, PrinterInfoFillsOnlyItsFourFields) {
    win::PRINTER_INFO_2A record{};
    char port[] = "KXCOM1:";
    record.pPortName = port;
    record.Priority = 7;
    config_.GetPrinterInfo("KP-300", kGenerationVista, record, kDriverKindGdi);
    EXPECT_STREQ("KP-300", record.pPrinterName);
    EXPECT_STREQ("KP-300 GDI.Vista", record.pDriverName) << "GDIDRIVERNAME is GDIDriverName";
    EXPECT_STREQ("KXPROC GDI", record.pPrintProcessor);
    EXPECT_EQ(2624u, record.Attributes);
    EXPECT_EQ(port, record.pPortName);
    EXPECT_EQ(7u, record.Priority);
    // A model name longer than the printer-name buffer is cut, not run past it.
    config_.GetPrinterInfo(std::string(300, 'm').c_str(), kGenerationXP, record, kDriverKindStd);
    EXPECT_EQ(std::string(199, 'm'), record.pPrinterName);
}

TEST_F(ModelConfigTest, DriverFilesGoIntoTheirSlotsAndTheRestStaysEmpty) {
    DriverFileSet set{};
    config_.GetDriverFiles("KP-300", kGenerationNT4, set, kDriverKindStd);
    EXPECT_STREQ("STDdrv.NT.dll", set.Slot(DriverFileSet::kDriverPath));
    EXPECT_STREQ("STD.NT.gpd", set.Slot(DriverFileSet::kDataFile));
    EXPECT_STREQ("STDui.NT.dll", set.Slot(DriverFileSet::kConfigFile));
    EXPECT_STREQ("STD.NT.hlp", set.Slot(DriverFileSet::kHelpFile));
    EXPECT_STREQ("STDproc.dll", set.Slot(DriverFileSet::kProcessorDll));
    EXPECT_STREQ("STDres.dll", set.Slot(DriverFileSet::kDataFileDll));
    EXPECT_STREQ("0", set.Slot(DriverFileSet::kOemUnidrvDll)) << "missing";
    EXPECT_STREQ("STDoem.ini", set.Slot(DriverFileSet::kOemUnidrvIni));
    EXPECT_STREQ("0", set.Slot(DriverFileSet::kOemUiDll));
    EXPECT_EQ(std::string(1100, '\0'), std::string(set.Slot(800), 1100));
    EXPECT_EQ(std::string(100, '\0'), std::string(set.Slot(2800), 100));
}

TEST_F(ModelConfigTest, MonitorsComeFromTheGenerationsSection) {
    for (PlatformGeneration g = 0; g < kGenerationCount; ++g) {
        std::string s = kSuffixes[g];
        MonitorPair pair{};
        config_.GetMonitorInfo(g, pair);
        EXPECT_EQ("KXCOM" + s, pair.comMonitor.pName);
        EXPECT_EQ("kxcom" + s + ".dll", pair.comMonitor.pDLLName);
        EXPECT_EQ("KXUSB" + s, pair.usbMonitor.pName);
        EXPECT_EQ("kxusb" + s + ".dll", pair.usbMonitor.pDLLName);
        EXPECT_STREQ(g == 0 ? "Windows 4.0" : nullptr, pair.comMonitor.pEnvironment);
        EXPECT_STREQ(g == 0 ? "Windows 4.0" : nullptr, pair.usbMonitor.pEnvironment);
        EXPECT_EQ("kxcomui" + s + ".dll", std::string(pair.comUiDllName));
        EXPECT_EQ(std::string(49, 'u'), pair.usbUiDllName) << "cut at 50 bytes";
        EXPECT_EQ(301, pair.comVersion);
        EXPECT_EQ(12, pair.usbVersion);
    }
    MonitorPair pair{};
    config_.GetMonitorInfo(9, pair);
    EXPECT_STREQ("bare", pair.comMonitor.pName);
    EXPECT_STREQ("0", pair.usbMonitor.pName);
    EXPECT_EQ(1207, config_.GetProcessorVersion());
}

TEST_F(ModelConfigTest, DeviceListGivesClassAndModelName) {
    EXPECT_EQ(5, config_.GetDeviceCount());
    char buffer[kDefaultDeviceSize];
    EXPECT_EQ(kPrinterClassReceipt, config_.GetDeviceName(1, buffer));
    EXPECT_STREQ("KP-300", buffer);
    EXPECT_EQ(kPrinterClassNone, config_.GetDeviceName(2, buffer));
    EXPECT_STREQ("Loose Model", buffer);
    // Suffixes are searched in class order, so the ticket suffix wins over an earlier label one.
    EXPECT_EQ(kPrinterClassTicket, config_.GetDeviceName(4, buffer));
    EXPECT_STREQ("T-LabelPrinter", buffer);
    EXPECT_EQ(kPrinterClassEmbedded, config_.GetDeviceName(5, buffer));
    EXPECT_STREQ("EM-1", buffer);
    EXPECT_EQ(kPrinterClassNone, config_.GetDeviceName(6, buffer));
    EXPECT_STREQ("0", buffer);
    EXPECT_EQ(kPrinterClassTicket, config_.GetDefaultDevice(buffer));
    EXPECT_STREQ("TK-80", buffer);
    // Without a device list nothing is found.
    Write("setup.ini", "");
    EXPECT_EQ(0, config_.GetDeviceCount());
    EXPECT_EQ(kPrinterClassNone, config_.GetDefaultDevice(buffer));
    EXPECT_STREQ("0", buffer);
}

TEST_F(ModelConfigTest, EachClassReadsItsOwnFileWhateverTheCaseOfItsName) {
    const struct {
        PrinterClass printerClass;
        const char *model, *driver;
    } cases[] = {{kPrinterClassTicket, "TK-80", "ticket"},
                 {kPrinterClassLabel, "LB-4", "label"},
                 {kPrinterClassEmbedded, "EM-1", "embedded"}};
    for (const auto& c : cases) {
        config_.SetPrinterClass(c.printerClass);
        win::DRIVER_INFO_3A record{};
        config_.GetDriverInfo(c.model, kGenerationXP, record, kDriverKindGdi);
        EXPECT_STREQ(c.driver, record.pName);
        config_.GetDriverInfo("KP-300", kGenerationXP, record, kDriverKindGdi);
        EXPECT_STREQ("0", record.pName) << "the receipt file is not read for class " << c.printerClass;
    }
    // Outside 0 to 3, and before the owner sets a class, no file is read at all.
    for (PrinterClass printerClass : {kPrinterClassNone, 4}) {
        ModelConfig fresh(sim_.platform());
        if (printerClass != kPrinterClassNone) fresh.SetPrinterClass(printerClass);
        win::PRINTER_INFO_2A record{};
        fresh.GetPrinterInfo("KP-300", kGenerationXP, record, kDriverKindStd);
        EXPECT_STREQ("0", record.pDriverName);
        EXPECT_STREQ("KP-300", record.pPrinterName);
        EXPECT_FALSE(fresh.UsesDdkDependentFiles("KP-300", kGenerationXP, kDriverKindGdi));
    }
}

TEST_F(ModelConfigTest, ValuesAreCutAtTheirSizesButSectionNamesAreNot) {
    std::string model(199, 'n');
    Write("setup_receipt.ini", "[" + model + ".Vista]\r\nSTDDriverName=" + std::string(80, 'd') +
                                   "\r\nSTDDriverPath=" + std::string(250, 'p') + "\r\n");
    win::DRIVER_INFO_3A record{};
    config_.GetDriverInfo(model.c_str(), kGenerationVista, record, kDriverKindStd);
    EXPECT_EQ(std::string(49, 'd'), record.pName);
    EXPECT_EQ(std::string(199, 'p'), record.pDriverPath);
    DriverFileSet set{};
    config_.GetDriverFiles(model.c_str(), kGenerationVista, set, kDriverKindStd);
    EXPECT_EQ(std::string(199, 'p'), set.Slot(DriverFileSet::kDriverPath));
    EXPECT_EQ('\0', set.bytes[DriverFileSet::kDataFile + DriverFileSet::kSlotSize - 1]);
}

TEST(ModelFilePaths, NameTheFilesBesideTheProgram) {
    win::sim::SimPlatform sim;
    sim.windows().moduleFileName = "D:\\kit\\v2\\setup.exe";
    char list[kModelTextSize], model[kModelTextSize];
    const char* const names[] = {"setup_receipt.ini", "setup_Ticket.ini", "setup_Lable.ini",
                                 "setup_Embedded.ini"};
    for (PrinterClass c = 0; c < kPrinterClassCount; ++c) {
        ModelFilePaths(sim.platform(), c, list, model);
        EXPECT_STREQ("D:\\kit\\v2\\DRVCONFIG\\setup.ini", list);
        EXPECT_EQ(std::string("D:\\kit\\v2\\DRVCONFIG\\") + names[c], model);
    }
    ModelFilePaths(sim.platform(), 4, list, model);
    EXPECT_STREQ("D:\\kit\\v2\\", model);
    EXPECT_EQ("D:\\kit\\v2\\DRVCONFIG\\setup_lable.ini",
              ModelConfig(sim.platform()).ClassFilePath(kPrinterClassLabel));

    // Without a directory in the program path the files are read below the current directory.
    sim.windows().moduleFileName = "setup.exe";
    sim.windows().WriteFile("C:\\MEDIUM\\DRVCONFIG\\setup.ini", "[DEVICENAME]\r\nDEVICENUMBER=4\r\n");
    ModelConfig config(sim.platform());
    EXPECT_EQ("DRVCONFIG\\setup.ini", config.DeviceListPath());
    EXPECT_EQ(4, config.GetDeviceCount());
}

TEST(ModelFilePaths, PathsTooLongForTheirBuffersAreLeftEmptyNotCut) {
    win::sim::SimPlatform sim;
    // 171 + 28 = 199 characters: the longest class file path that fits.
    std::string fits = "C:\\" + std::string(167, 'f') + "\\";
    sim.windows().moduleFileName = fits + "s.exe";
    char list[kModelTextSize], model[kModelTextSize];
    ModelFilePaths(sim.platform(), kPrinterClassEmbedded, list, model);
    EXPECT_EQ(fits + "DRVCONFIG\\setup_Embedded.ini", model);
    sim.windows().WriteFile(fits + "DRVCONFIG\\setup.ini", "[DEVICENAME]\r\nDEVICENUMBER=3\r\n");
    EXPECT_EQ(3, ModelConfig(sim.platform()).GetDeviceCount());

    std::string longer = "C:\\" + std::string(168, 'g') + "\\";
    sim.windows().moduleFileName = longer + "s.exe";
    ModelFilePaths(sim.platform(), kPrinterClassEmbedded, list, model);
    EXPECT_EQ(longer + "DRVCONFIG\\setup.ini", list);
    EXPECT_STREQ("", model);
    ModelConfig config(sim.platform());
    EXPECT_EQ("", config.ClassFilePath(kPrinterClassEmbedded));
    EXPECT_EQ(longer + "DRVCONFIG\\setup_receipt.ini", config.ClassFilePath(kPrinterClassReceipt));

    // A program path cut at 200 bytes names no directory for certain: nothing is read.
    sim.windows().moduleFileName = "C:\\" + std::string(300, 'h') + "\\setup.exe";
    ModelFilePaths(sim.platform(), kPrinterClassReceipt, list, model);
    EXPECT_STREQ("", list);
    EXPECT_STREQ("", model);
    ModelConfig cut(sim.platform());
    char buffer[kDefaultDeviceSize];
    EXPECT_EQ(kPrinterClassNone, cut.GetDefaultDevice(buffer));
    EXPECT_STREQ("0", buffer);
}

}  // namespace
