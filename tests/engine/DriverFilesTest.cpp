// Driver file staging against the simulated Windows: destinations, results, system files and versions.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "platform/Architecture.h"
#include "platform/sim/SimPlatform.h"
#include "setup/engine/DriverFiles.h"

namespace {

const char kDriverDir[] = "C:\\WINDOWS\\system32\\spool\\drivers\\" PLATFORM_NATIVE_SPOOL_DIRECTORY;
const char kCabinetDir[] = "C:\\WINDOWS\\Driver Cache\\i386\\";
const char kStore[] = "C:\\WINDOWS\\System32\\DriverStore\\FileRepository\\";

class DriverFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim_.windows().WriteFile("C:\\MEDIUM\\language\\setup.ini",
                                 "[Message]\r\nIDS_ERR_COPYFIEL=Copy failed\r\nIDS_ERR_GETDRIVERDIR=No driver dir\r\n"
                                 "IDS_ERR_GETPRODIR=No processor dir\r\nIDS_ERR_GETSYSDIR=No system dir\r\n"
                                 "IDS_ERR_GETWINDIR=No Windows dir\r\nIDS_ERR_DIRTYPE=Bad directory type\r\n"
                                 "IDS_ERR_GETCURDIR=No current dir\r\nIDS_ERR_ALLOCMEMORY=Out of memory\r\n");
        context_ = std::make_unique<SetupContext>(sim_.platform());
    }

    int Copy(std::string name, DestinationCode code, PlatformGeneration generation, bool prefix = false) {
        return CopyDriverFile(*context_, name, code, generation, prefix, message_);
    }
    void Medium(const std::string& subdirectory, const std::string& name, const std::string& bytes) {
        sim_.windows().WriteFile("C:\\MEDIUM\\" + subdirectory + "\\" + name, bytes);
    }
    void Remove(const std::string& path) { std::filesystem::remove(sim_.windows().HostPath(path)); }
    std::string Read(const std::string& path) {
        std::string bytes;
        return sim_.windows().ReadFile(path, &bytes) ? bytes : "<missing>";
    }
    // The name as the folder stores it.
    std::string StoredName(const std::string& path) {
        win::WIN32_FIND_DATAA data{};
        win::HANDLE find = sim_.platform().files.FindFirstFileA(path.c_str(), &data);
        if (find == win::INVALID_HANDLE_VALUE) return "<missing>";
        sim_.platform().files.FindClose(find);
        return data.cFileName;
    }

    win::sim::SimPlatform sim_;
    std::unique_ptr<SetupContext> context_;
    InstallMessage message_;
};

TEST_F(DriverFilesTest, EachDestinationCodeCopiesIntoItsDirectory) {
    const struct {
        DestinationCode code;
        std::string directory;
    } cases[] = {
        {kDestinationDriverDirectory, kDriverDir},
        {kDestinationProcessorDirectory, "C:\\WINDOWS\\system32\\spool\\prtprocs\\" PLATFORM_NATIVE_SPOOL_DIRECTORY},
        {kDestinationSystemDirectory, "C:\\WINDOWS\\system32"},
        {kDestinationInfDirectory, "C:\\WINDOWS\\inf"},
        {kDestinationDriverVersion3Directory, std::string(kDriverDir) + "\\3"},
    };
    Medium("winnt", "KXPORT.DLL", "port monitor");
    for (const auto& c : cases) {
        EXPECT_EQ(1, Copy("KXPORT.DLL", c.code, kGenerationXP)) << c.code;
        EXPECT_EQ("port monitor", Read(c.directory + "\\KXPORT.DLL")) << c.code;
    }
    EXPECT_TRUE(message_.Empty());
}

TEST_F(DriverFilesTest, EachGenerationTakesItsOwnMediumDirectory) {
    const struct {
        PlatformGeneration generation;
        const char* subdirectory;
    } cases[] = {{0, "win98"}, {1, "winnt"}, {2, "winnt"}, {3, "winnt"}, {4, "win2003"}, {5, "Vista"}};
    for (const auto& c : cases) {
        Medium(c.subdirectory, "KXDRV.DLL", c.subdirectory);
        EXPECT_EQ(1, Copy("KXDRV.DLL", kDestinationSystemDirectory, c.generation));
        EXPECT_EQ(c.subdirectory, Read("C:\\WINDOWS\\system32\\KXDRV.DLL")) << c.generation;
    }
}

TEST_F(DriverFilesTest, ALowerCaseNameIsCopiedUnderItsUpperCaseNameAndTheCallerSeesItUpperCased) {
    Medium("winnt", "kxmon.dll", "monitor");
    std::string name = "kxMon.dll";
    EXPECT_EQ(1, CopyDriverFile(*context_, name, kDestinationSystemDirectory, kGenerationXP, false, message_));
    EXPECT_EQ("KXMON.DLL", name);
    EXPECT_EQ("KXMON.DLL", StoredName("C:\\WINDOWS\\system32\\kxmon.dll"));
}

TEST_F(DriverFilesTest, TargetInUseGives32AndAccessDeniedGives5WithoutMessage) {
    Medium("winnt", "KXMON.DLL", "new");
    sim_.windows().WriteFile("C:\\WINDOWS\\system32\\KXMON.DLL", "old");
    sim_.windows().MarkInUse("C:\\WINDOWS\\system32\\KXMON.DLL");
    EXPECT_EQ(32, Copy("KXMON.DLL", kDestinationSystemDirectory, kGenerationXP));
    EXPECT_TRUE(message_.Empty());

    sim_.windows().MarkInUse("C:\\WINDOWS\\system32\\KXMON.DLL", false);
    sim_.windows().MarkAccessDenied("C:\\WINDOWS\\system32\\KXMON.DLL");
    EXPECT_EQ(5, Copy("KXMON.DLL", kDestinationSystemDirectory, kGenerationXP));
    EXPECT_TRUE(message_.Empty());
    EXPECT_EQ("old", Read("C:\\WINDOWS\\system32\\KXMON.DLL"));
}

TEST_F(DriverFilesTest, AReadOnlyTargetIsMadeWritableAndReplaced) {
    Medium("winnt", "KXMON.DLL", "new");
    const std::string target = "C:\\WINDOWS\\system32\\KXMON.DLL";
    sim_.windows().WriteFile(target, "old");
    sim_.platform().files.SetFileAttributesA(target.c_str(), win::FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(1, Copy("KXMON.DLL", kDestinationSystemDirectory, kGenerationXP));
    EXPECT_EQ("new", Read(target));
}

TEST_F(DriverFilesTest, AnyOtherCopyErrorWritesTheTextTheCodeAndTheSourcePath) {
    Medium("winnt", "OTHER.DLL", "x");
    EXPECT_EQ(0, Copy("MISSING.DLL", kDestinationDriverDirectory, kGenerationXP));
    EXPECT_EQ("Copy failed  er = 2C:\\MEDIUM\\winnt\\MISSING.DLL", message_.Text());

    Medium("winnt", "KXMON.DLL", "x");
    sim_.windows().InjectFault("CopyFileA", 112);  // disk full
    EXPECT_EQ(0, Copy("KXMON.DLL", kDestinationDriverDirectory, kGenerationXP));
    EXPECT_EQ("Copy failed  er = 112C:\\MEDIUM\\winnt\\KXMON.DLL", message_.Text());

    // A code with the high bit set prints as a negative number.
    sim_.windows().InjectFault("CopyFileA", 0x80070005u);
    EXPECT_EQ(0, Copy("KXMON.DLL", kDestinationDriverDirectory, kGenerationXP));
    EXPECT_EQ("Copy failed  er = -2147024891C:\\MEDIUM\\winnt\\KXMON.DLL", message_.Text());
}

TEST_F(DriverFilesTest, ADirectoryThatCannotBeObtainedWritesTheKeyOfItsCode) {
    const struct {
        DestinationCode code;
        const char* operation;
        const char* text;
    } cases[] = {
        {kDestinationDriverDirectory, "GetPrinterDriverDirectoryA", "No driver dir"},
        {kDestinationDriverVersion3Directory, "GetPrinterDriverDirectoryA", "No driver dir"},
        {kDestinationProcessorDirectory, "GetPrintProcessorDirectoryA", "No processor dir"},
        {kDestinationSystemDirectory, "GetSystemDirectoryA", "No system dir"},
        {kDestinationInfDirectory, "GetWindowsDirectoryA", "No Windows dir"},
        {kDestinationSystemDirectory, "GetCurrentDirectoryA", "No current dir"},
    };
    Medium("winnt", "KXMON.DLL", "x");
    for (const auto& c : cases) {
        message_.Clear();
        sim_.windows().InjectFault(c.operation, win::ERROR_NOT_ENOUGH_MEMORY);
        EXPECT_EQ(0, Copy("KXMON.DLL", c.code, kGenerationXP)) << c.operation;
        EXPECT_EQ(c.text, message_.Text()) << c.operation;
    }
    message_.Clear();
    EXPECT_EQ(0, Copy("KXMON.DLL", 66003, kGenerationXP));
    EXPECT_EQ("Bad directory type", message_.Text());
}

TEST_F(DriverFilesTest, AMissingMessageTextStillLeavesAFailureInTheBuffer) {
    sim_.windows().WriteFile("C:\\MEDIUM\\language\\setup.ini", "[Message]\r\n");
    EXPECT_EQ(0, Copy("KXMON.DLL", 5, kGenerationXP));
    EXPECT_EQ("IDS_ERR_DIRTYPE", message_.Text());
}

TEST_F(DriverFilesTest, AnUnsetModelEntryIsSkippedSilently) {
    message_.Set("earlier");
    EXPECT_EQ(0, Copy("0", kDestinationDriverDirectory, kGenerationXP));
    EXPECT_EQ(0, Copy("0", 12345, kGenerationXP));
    EXPECT_EQ("earlier", message_.Text());
}

TEST_F(DriverFilesTest, ThePrefixNamesTheCopyNEvenForNamesLongerThanEighteenCharacters) {
    const std::string name = "KXPOSPRINTERLANGUAGEMONITOR_V2.DLL";
    Medium("winnt", name, "long");
    EXPECT_EQ(1, Copy(name, kDestinationSystemDirectory, kGenerationXP, true));
    EXPECT_EQ("n" + name, StoredName("C:\\WINDOWS\\system32\\n" + name));
    EXPECT_EQ("long", Read("C:\\WINDOWS\\system32\\n" + name));
    EXPECT_EQ("<missing>", Read("C:\\WINDOWS\\system32\\" + name));
}

TEST_F(DriverFilesTest, ANameThatIsNoPlainFileNameCopiesNothing) {
    // Each would reach outside the medium's or the system's directory.
    Medium("winnt", "EVIL.DLL", "evil");
    sim_.windows().WriteFile("C:\\MEDIUM\\EVIL.DLL", "evil");
    for (const char* unsafe : {"..\\EVIL.DLL", "../evil.dll", "sub\\evil.dll", "C:EVIL.DLL", "C:\\EVIL.DLL", "A..DLL"}) {
        message_.Clear();
        std::string name = unsafe;
        EXPECT_EQ(0, CopyDriverFile(*context_, name, kDestinationDriverDirectory, kGenerationXP, true, message_));
        EXPECT_EQ("Copy failed  er = 123" + name, message_.Text()) << unsafe;
    }
    EXPECT_EQ("<missing>", Read("C:\\WINDOWS\\system32\\spool\\drivers\\nEVIL.DLL"));
    EXPECT_EQ("<missing>", Read("C:\\WINDOWS\\system32\\spool\\drivers\\EVIL.DLL"));
    EXPECT_EQ("<missing>", Read("C:\\EVIL.DLL"));
}

TEST_F(DriverFilesTest, SystemFilesOnXpComeFromTheCabinetsWhichAreExtractedOnce) {
    sim_.cabinet().SetCabinet(std::string(kCabinetDir) + "driver.cab",
                              {{"readme.txt", "skip me"}, {"unidrv.dll", "cab unidrv"}, {"unidrvui.dll", "cab ui"}});
    sim_.cabinet().SetCabinet(std::string(kCabinetDir) + "sp2.cab", {{"unires.dll", "cab res"}});
    Medium("winnt", "UNIDRV.DLL", "medium unidrv");

    EXPECT_EQ(1, Copy("unidrv.dll", kDestinationDriverDirectory, kGenerationXP));
    EXPECT_EQ("cab unidrv", Read(std::string(kDriverDir) + "\\UNIDRV.DLL"));
    EXPECT_EQ("<missing>", Read("C:\\TEMP\\readme.txt"));
    const DriverStagingState& state = context_->driverStaging;
    EXPECT_FALSE(state.extractionPending);
    EXPECT_EQ((std::vector<std::string>{"driver.cab", "sp2.cab"}), state.cabinets);
    EXPECT_EQ(kCabinetDir, state.cabinetDirectory);

    // Changed cabinets are not read again: the second file is the first extraction's copy.
    sim_.cabinet().SetCabinet(std::string(kCabinetDir) + "driver.cab", {{"unidrvui.dll", "changed"}});
    EXPECT_EQ(1, Copy("UNIDRVUI.DLL", kDestinationDriverDirectory, kGenerationXP));
    EXPECT_EQ("cab ui", Read(std::string(kDriverDir) + "\\UNIDRVUI.DLL"));
    EXPECT_EQ(2u, state.cabinets.size());
}

TEST_F(DriverFilesTest, SystemFilesOnXpComeFromTheMediumWhenTheTemporaryCopyFails) {
    sim_.cabinet().SetCabinet(std::string(kCabinetDir) + "driver.cab", {{"unidrv.dll", "cab unidrv"}});
    Medium("winnt", "UNIDRV.HLP", "medium help");
    Medium("win2003", "STDNAMES.GPD", "medium names");
    EXPECT_EQ(1, Copy("UNIDRV.HLP", kDestinationDriverDirectory, kGenerationXP));
    EXPECT_EQ("medium help", Read(std::string(kDriverDir) + "\\UNIDRV.HLP"));
    EXPECT_EQ(1, Copy("STDNAMES.GPD", kDestinationDriverDirectory, kGenerationServer2003));
    EXPECT_EQ("medium names", Read(std::string(kDriverDir) + "\\STDNAMES.GPD"));
    EXPECT_TRUE(message_.Empty());
}

TEST_F(DriverFilesTest, WithoutCabinetsSystemFilesComeFromTheMedium) {
    Medium("winnt", "UNIDRV.DLL", "medium unidrv");
    EXPECT_EQ(1, Copy("UNIDRV.DLL", kDestinationDriverDirectory, kGenerationWin2000));
    EXPECT_EQ("medium unidrv", Read(std::string(kDriverDir) + "\\UNIDRV.DLL"));
    EXPECT_TRUE(context_->driverStaging.cabinets.empty());
}

TEST_F(DriverFilesTest, ExtractionReportsTheLastCabinetOnly) {
    sim_.cabinet().SetCabinet(std::string(kCabinetDir) + "a.cab", {{"unidrv.dll", "a"}});
    sim_.windows().WriteFile(std::string(kCabinetDir) + "b.cab", "not a cabinet");
    DriverStagingState state;
    EXPECT_FALSE(ExtractSystemDriverFiles(sim_.platform(), state));
    EXPECT_EQ("a", Read("C:\\TEMP\\unidrv.dll"));
    EXPECT_EQ("C:\\TEMP\\", state.extractionDirectory);

    sim_.windows().WriteFile(std::string(kCabinetDir) + "b.cab", "");
    sim_.cabinet().SetCabinet(std::string(kCabinetDir) + "b.cab", {{"UNIDRV.DLL", "upper case: not ours"}});
    DriverStagingState again;
    EXPECT_TRUE(ExtractSystemDriverFiles(sim_.platform(), again));
    EXPECT_EQ("a", Read("C:\\TEMP\\unidrv.dll"));
}

TEST_F(DriverFilesTest, ExtractionSkipsAFileWhoseTargetNameWouldNotFit) {
    sim_.windows().tempPath = "C:\\" + std::string(245, 't') + "\\";
    sim_.windows().MakeDirectory(sim_.windows().tempPath);
    sim_.cabinet().SetCabinet(std::string(kCabinetDir) + "a.cab", {{"unidrvui.dll", "ui"}, {"unidrv.dll", "fits"}});
    DriverStagingState state;
    EXPECT_TRUE(ExtractSystemDriverFiles(sim_.platform(), state));
    EXPECT_EQ("fits", Read(sim_.windows().tempPath + "unidrv.dll"));
    EXPECT_EQ("<missing>", Read(sim_.windows().tempPath + "unidrvui.dll"));
}

TEST_F(DriverFilesTest, SystemFilesOnVistaComeFromTheFirstNtprintFolderOfTheDriverStore) {
    sim_.windows().WriteFile(std::string(kStore) + "ntprint.inf_1a2b\\i386\\UNIDRV.DLL", "store unidrv");
    sim_.windows().WriteFile(std::string(kStore) + "prnms001.inf_9\\I386\\UNIDRV.DLL", "other");
    Medium("Vista", "UNIDRV.DLL", "medium unidrv");
    EXPECT_EQ(1, Copy("unidrv.dll", kDestinationDriverDirectory, kGenerationVista));
    EXPECT_EQ("store unidrv", Read(std::string(kDriverDir) + "\\UNIDRV.DLL"));

    sim_.windows().MarkInUse(std::string(kDriverDir) + "\\UNIDRV.DLL");
    EXPECT_EQ(32, Copy("UNIDRV.DLL", kDestinationDriverDirectory, kGenerationVista));
    EXPECT_TRUE(message_.Empty());

    // No fallback to the medium for Vista.
    Medium("Vista", "TTFSUB.GPD", "medium");
    EXPECT_EQ(0, Copy("TTFSUB.GPD", kDestinationDriverDirectory, kGenerationVista));
    EXPECT_EQ("Copy failed  er = 2" + std::string(kStore) + "ntprint.inf_1a2b\\I386\\TTFSUB.GPD", message_.Text());
}

TEST_F(DriverFilesTest, VistaWithoutAnNtprintFolderFindsNoSystemFiles) {
    sim_.windows().MakeDirectory(std::string(kStore) + "prnms001.inf_9");
    Medium("Vista", "UNIDRV.DLL", "medium unidrv");
    EXPECT_EQ(0, Copy("UNIDRV.DLL", kDestinationDriverDirectory, kGenerationVista));
    EXPECT_EQ("Couldn't find system fiels.", message_.Text());
    EXPECT_EQ("<missing>", Read(std::string(kDriverDir) + "\\UNIDRV.DLL"));
}

TEST_F(DriverFilesTest, SystemFilesWithoutTheDriverDirectoryReportItOnTheCabinetAndStorePaths) {
    sim_.cabinet().SetCabinet(std::string(kCabinetDir) + "driver.cab", {{"unidrv.dll", "cab"}});
    Medium("winnt", "UNIDRV.DLL", "medium");
    sim_.windows().InjectFault("GetPrinterDriverDirectoryA", win::ERROR_ACCESS_DENIED);
    EXPECT_EQ(0, Copy("UNIDRV.DLL", kDestinationDriverDirectory, kGenerationXP));
    EXPECT_EQ("No driver dir", message_.Text());

    message_.Clear();
    sim_.windows().WriteFile(std::string(kStore) + "ntprint.inf_1\\I386\\UNIRES.DLL", "res");
    sim_.windows().InjectFault("GetPrinterDriverDirectoryA", win::ERROR_ACCESS_DENIED);
    EXPECT_EQ(0, Copy("UNIRES.DLL", kDestinationDriverDirectory, kGenerationVista));
    EXPECT_EQ("No driver dir", message_.Text());
    EXPECT_EQ("<missing>", Read(std::string(kDriverDir) + "\\UNIRES.DLL"));
}

TEST_F(DriverFilesTest, VistaGivesFiveWithoutAMessageWhenTheTargetIsDenied) {
    sim_.windows().WriteFile(std::string(kStore) + "ntprint.inf_1\\I386\\UNIRES.DLL", "res");
    sim_.windows().WriteFile(std::string(kDriverDir) + "\\UNIRES.DLL", "old");
    sim_.windows().MarkAccessDenied(std::string(kDriverDir) + "\\UNIRES.DLL");
    EXPECT_EQ(5, Copy("UNIRES.DLL", kDestinationDriverDirectory, kGenerationVista));
    EXPECT_TRUE(message_.Empty()) << message_.Text();
}

TEST_F(DriverFilesTest, VistaReportsASearchThatCannotBeClosed) {
    sim_.windows().WriteFile(std::string(kStore) + "ntprint.inf_1\\I386\\UNIRES.DLL", "res");
    sim_.windows().InjectFault("FindClose", win::ERROR_INVALID_HANDLE);
    EXPECT_EQ(0, Copy("UNIRES.DLL", kDestinationDriverDirectory, kGenerationVista));
    EXPECT_EQ("Couldn't close search handle.", message_.Text());
}

TEST_F(DriverFilesTest, SystemFileNamesForNt4And98ComeFromTheMedium) {
    sim_.cabinet().SetCabinet(std::string(kCabinetDir) + "driver.cab", {{"unidrv.dll", "cab"}});
    Medium("winnt", "UNIDRV.DLL", "nt4 medium");
    EXPECT_EQ(1, Copy("UNIDRV.DLL", kDestinationDriverDirectory, kGenerationNT4));
    EXPECT_EQ("nt4 medium", Read(std::string(kDriverDir) + "\\UNIDRV.DLL"));
    EXPECT_TRUE(context_->driverStaging.extractionPending);
    EXPECT_TRUE(IsSystemDriverFile("MYTTFSUB.GPD"));
    EXPECT_FALSE(IsSystemDriverFile("unidrv.dll")) << "the test is made on the upper-case name";
}

class RestoreSystemDriverFilesTest : public DriverFilesTest {
protected:
    void SetUp() override {
        DriverFilesTest::SetUp();
        sim_.windows().SetVersion(win::VER_PLATFORM_WIN32_WINDOWS, 4, 10, 2222);
        sim_.windows().systemDirectory = "C:\\WINDOWS\\SYSTEM";
        sim_.windows().MakeDirectory("C:\\WINDOWS\\SYSTEM");
        Medium("win98", "ICONLIB.DLL", "icons");
        Medium("win98", "UNIDRV.DLL", "medium unidrv");
    }
};

TEST_F(RestoreSystemDriverFilesTest, Windows98RestoresAMissingUnidriverFromItsBackup) {
    sim_.windows().WriteFile("C:\\WINDOWS\\Sysbckup\\UNIDRV.DLL", "backup unidrv");
    RestoreSystemDriverFiles(*context_, kGenerationWin98Me, false, message_);
    EXPECT_EQ("icons", Read("C:\\WINDOWS\\SYSTEM\\ICONLIB.DLL"));
    EXPECT_EQ("backup unidrv", Read("C:\\WINDOWS\\SYSTEM\\UNIDRV.DLL"));
    EXPECT_TRUE(message_.Empty());
}

TEST_F(RestoreSystemDriverFilesTest, Windows98TakesTheMediumsUnidriverWithoutABackup) {
    RestoreSystemDriverFiles(*context_, kGenerationWin98Me, false, message_);
    EXPECT_EQ("medium unidrv", Read("C:\\WINDOWS\\SYSTEM\\UNIDRV.DLL"));
    EXPECT_TRUE(message_.Empty());
}

TEST_F(RestoreSystemDriverFilesTest, Windows98KeepsAnExistingUnidriverEvenWhenItIsInUse) {
    sim_.windows().WriteFile("C:\\WINDOWS\\SYSTEM\\UNIDRV.DLL", "installed");
    sim_.windows().MarkInUse("C:\\WINDOWS\\SYSTEM\\UNIDRV.DLL");
    sim_.windows().WriteFile("C:\\WINDOWS\\Sysbckup\\UNIDRV.DLL", "backup unidrv");
    RestoreSystemDriverFiles(*context_, kGenerationWin98Me, false, message_);
    EXPECT_EQ("installed", Read("C:\\WINDOWS\\SYSTEM\\UNIDRV.DLL"));
    EXPECT_TRUE(message_.Empty());
}

TEST_F(RestoreSystemDriverFilesTest, Windows98ErrorsStayInTheBuffer) {
    sim_.windows().InjectFault("GetSystemDirectoryA", win::ERROR_NOT_ENOUGH_MEMORY);
    RestoreSystemDriverFiles(*context_, kGenerationWin98Me, false, message_);
    EXPECT_EQ("Out of memory", message_.Text());

    message_.Clear();
    Remove("C:\\MEDIUM\\win98\\ICONLIB.DLL");
    RestoreSystemDriverFiles(*context_, kGenerationWin98Me, false, message_);
    EXPECT_EQ("Copy failed  er = 2C:\\MEDIUM\\win98\\ICONLIB.DLL", message_.Text());
}

TEST_F(DriverFilesTest, DdkModelsGetTheirGpdFilesAndAnOptionalResourceFile) {
    Medium("winnt", "TTFSUB.GPD", "ttf");
    Medium("winnt", "STDNAMES.GPD", "names");
    RestoreSystemDriverFiles(*context_, kGenerationXP, true, message_);
    EXPECT_EQ("ttf", Read(std::string(kDriverDir) + "\\TTFSUB.GPD"));
    EXPECT_EQ("names", Read(std::string(kDriverDir) + "\\STDNAMES.GPD"));
    EXPECT_TRUE(message_.Empty()) << "the missing UNIRES.DLL is not reported";

    Remove("C:\\MEDIUM\\winnt\\STDNAMES.GPD");
    RestoreSystemDriverFiles(*context_, kGenerationXP, true, message_);
    EXPECT_EQ("Copy failed  er = 2C:\\MEDIUM\\winnt\\STDNAMES.GPD", message_.Text());
}

TEST_F(DriverFilesTest, ModelsWithoutDdkFilesAndNt4NeedNoFixUps) {
    Medium("winnt", "TTFSUB.GPD", "ttf");
    RestoreSystemDriverFiles(*context_, kGenerationXP, false, message_);
    RestoreSystemDriverFiles(*context_, kGenerationNT4, true, message_);
    EXPECT_EQ("<missing>", Read(std::string(kDriverDir) + "\\TTFSUB.GPD"));
    EXPECT_TRUE(message_.Empty());
}

TEST_F(DriverFilesTest, TheFileVersionIsReadThroughTheFirstTranslation) {
    win::Platform& platform = sim_.platform();
    sim_.windows().WriteFile("C:\\a.dll", "");
    sim_.version().SetFileVersion("C:\\a.dll", "5.1.2600.0");
    EXPECT_EQ("5.1.2600.0", GetFileVersionString(platform, "C:\\A.DLL"));
    sim_.windows().WriteFile("C:\\cn.dll", "");
    sim_.version().SetFileVersion("C:\\cn.dll", "2, 0, 1, 7", 0x0804, 0x03a8);
    EXPECT_EQ("2, 0, 1, 7", GetFileVersionString(platform, "C:\\cn.dll"));

    sim_.windows().WriteFile("C:\\plain.txt", "no resource");
    EXPECT_EQ("0.0.0.0", GetFileVersionString(platform, "C:\\plain.txt"));
    EXPECT_EQ("0.0.0.0", GetFileVersionString(platform, "C:\\missing.dll"));
    sim_.windows().WriteFile("C:\\empty.dll", "");
    sim_.version().SetFileVersion("C:\\empty.dll", "");
    EXPECT_EQ("0.0.0.0", GetFileVersionString(platform, "C:\\empty.dll"));
    sim_.windows().WriteFile("C:\\other.dll", "");
    sim_.version().SetVersionString("C:\\other.dll", "ProductVersion", "9.9");
    EXPECT_EQ("0.0.0.0", GetFileVersionString(platform, "C:\\other.dll"));
}

class CompareUsbDriverVersionTest : public DriverFilesTest {
protected:
    void Ship(const std::string& version) {
        sim_.windows().WriteFile("C:\\MEDIUM\\USBDRV\\bulkusb.sys", "shipped");
        sim_.version().SetFileVersion("C:\\MEDIUM\\USBDRV\\bulkusb.sys", version);
    }
    void Install(const std::string& version) {
        sim_.windows().WriteFile("C:\\WINDOWS\\system32\\drivers\\bulkusb.sys", "installed");
        sim_.version().SetFileVersion("C:\\WINDOWS\\system32\\drivers\\bulkusb.sys", version);
    }
};

TEST_F(CompareUsbDriverVersionTest, NoInstalledDriverGivesMinusOne) {
    Ship("2.0.0.1");
    EXPECT_EQ(-1, CompareUsbDriverVersion(sim_.platform()));
}

TEST_F(CompareUsbDriverVersionTest, OnlyANewerMajorNumberGivesOne) {
    Ship("6.0.0.1");
    Install("5.1.2600.0");
    EXPECT_EQ(1, CompareUsbDriverVersion(sim_.platform()));
    Install("6.0.0.1");
    EXPECT_EQ(0, CompareUsbDriverVersion(sim_.platform()));
    Install("6.2.0.0");
    EXPECT_EQ(0, CompareUsbDriverVersion(sim_.platform())) << "same major number";
    Install("7.0.0.0");
    EXPECT_EQ(0, CompareUsbDriverVersion(sim_.platform()));
}

TEST_F(CompareUsbDriverVersionTest, HugeVersionNumbersCompareWithoutOverflow) {
    Ship("99999999999999999999.0");
    Install("1.0");
    EXPECT_EQ(1, CompareUsbDriverVersion(sim_.platform()));
}

TEST_F(CompareUsbDriverVersionTest, TheShippedDriverIsFoundBesideTheProgram) {
    sim_.windows().moduleFileName = "D:\\KIT\\setup.exe";
    sim_.windows().WriteFile("D:\\KIT\\USBDRV\\bulkusb.sys", "");
    sim_.version().SetFileVersion("D:\\KIT\\USBDRV\\bulkusb.sys", "3.0");
    Install("2.0");
    EXPECT_EQ(1, CompareUsbDriverVersion(sim_.platform()));
}

}  // namespace
