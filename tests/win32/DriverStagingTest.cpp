// Driver file staging against the real API under Wine: driver directory, Driver Cache cabinet, versions.
#include <gtest/gtest.h>

#include "platform/Architecture.h"
#include "setup/environment/PlatformGeneration.h"

#include <cstring>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "setup/engine/DriverFiles.h"

namespace {

class DriverStagingWine : public ::testing::Test {
protected:
    void SetUp() override { context_ = std::make_unique<SetupContext>(platform()); }
    void TearDown() override {
        for (auto it = created_.rbegin(); it != created_.rend(); ++it) {
            files().SetFileAttributesA(it->c_str(), win::FILE_ATTRIBUTE_NORMAL);
            if (!files().DeleteFileA(it->c_str())) files().RemoveDirectoryA(it->c_str());
        }
    }
    win::Platform& platform() { return win::Win32Platform(); }
    win::Files& files() { return platform().files; }

    std::string ProgramDirectory() {
        char path[win::MAX_PATH];
        win::DWORD length = files().GetModuleFileNameA(nullptr, path, sizeof(path));
        std::string program(path, length);
        return program.substr(0, program.find_last_of('\\') + 1);
    }
    std::string WindowsDirectory() {
        char path[win::MAX_PATH];
        return std::string(path, files().GetWindowsDirectoryA(path, sizeof(path)));
    }
    std::string DriverDirectory() {
        win::BYTE path[win::MAX_PATH];
        win::DWORD needed = 0;
        if (!platform().spooler.GetPrinterDriverDirectoryA(nullptr, nullptr, 1, path, sizeof(path), &needed)) return "";
        return reinterpret_cast<char*>(path);
    }
    bool Exists(const std::string& path) { return files().GetFileAttributesA(path.c_str()) != win::INVALID_FILE_ATTRIBUTES; }
    // Creates the folder unless it exists, and removes it at the end when this test made it.
    void Folder(const std::string& path) {
        if (files().CreateDirectoryA(path.c_str(), nullptr)) created_.push_back(path);
    }
    void CopyIn(const std::string& source, const std::string& target) {
        ASSERT_TRUE(files().CopyFileA(source.c_str(), target.c_str(), win::FALSE)) << target;
        created_.push_back(target);
    }
    // Files this test expects the code under test to make; removed at the end.
    void WillCreate(const std::string& path) {
        ASSERT_FALSE(Exists(path)) << path << " exists before the test";
        created_.push_back(path);
    }
    std::string Contents(const std::string& path) {
        std::string bytes;
        if (FILE* f = std::fopen(path.c_str(), "rb")) {
            char chunk[256];
            size_t n;
            while ((n = std::fread(chunk, 1, sizeof(chunk), f)) > 0) bytes.append(chunk, n);
            std::fclose(f);
        }
        return bytes;
    }

    std::unique_ptr<SetupContext> context_;
    InstallMessage message_;
    std::vector<std::string> created_;
};

TEST_F(DriverStagingWine, CopyDriverFileCopiesIntoTheRealPrinterDriverDirectory) {
    char current[win::MAX_PATH];
    std::string medium(current, files().GetCurrentDirectoryA(sizeof(current), current));
    // XP's folder of the medium: winnt, or x64 for the x64 edition.
    std::string source = medium + GetGenerationProperties(kGenerationXP, win::kBuildArchitecture)->sourceDirectory;
    source.pop_back();
    Folder(source);
    CopyIn(ProgramDirectory() + "staging-driver.cab", source + "\\H2STAGEDRV.DLL");
    std::string drivers = DriverDirectory();
    ASSERT_FALSE(drivers.empty());
    WillCreate(drivers + "\\H2STAGEDRV.DLL");
    WillCreate(drivers + "\\nH2STAGEDRV.DLL");

    std::string name = "h2stagedrv.dll";
    EXPECT_EQ(1, CopyDriverFile(*context_, name, kDestinationDriverDirectory, kGenerationXP, false, message_));
    EXPECT_EQ("H2STAGEDRV.DLL", name);
    EXPECT_EQ(1, CopyDriverFile(*context_, name, kDestinationDriverDirectory, kGenerationXP, true, message_));
    EXPECT_TRUE(message_.Empty()) << message_.Text();
    EXPECT_EQ(Contents(source + "\\H2STAGEDRV.DLL"), Contents(drivers + "\\H2STAGEDRV.DLL"));
    EXPECT_TRUE(Exists(drivers + "\\nH2STAGEDRV.DLL"));
}

TEST_F(DriverStagingWine, SystemFilesComeFromARealCabinetInTheDriverCache) {
    std::string cache = WindowsDirectory() + "\\Driver Cache";
    Folder(cache);
    // i386, or amd64 for the x64 edition (XP x64 and Server 2003 x64).
    const std::string platformFolder = cache + "\\" + win::kBuildArchitecture.cabinetPlatform;
    Folder(platformFolder);
    CopyIn(ProgramDirectory() + "staging-driver.cab", platformFolder + "\\h2stage.cab");
    char temp[win::MAX_PATH];
    std::string tempDirectory(temp, files().GetTempPathA(sizeof(temp), temp));
    std::string drivers = DriverDirectory();
    if (Exists(drivers + "\\UNIDRV.DLL") || Exists(tempDirectory + "unidrv.dll"))
        GTEST_SKIP() << "this prefix has a unidriver of its own";
    WillCreate(drivers + "\\UNIDRV.DLL");
    WillCreate(tempDirectory + "unidrv.dll");
    WillCreate(tempDirectory + "unidrvui.dll");

    std::string name = "UNIDRV.DLL";
    EXPECT_EQ(1, CopyDriverFile(*context_, name, kDestinationDriverDirectory, kGenerationXP, false, message_));
    EXPECT_TRUE(message_.Empty()) << message_.Text();
    EXPECT_EQ("cabinet unidrv", Contents(drivers + "\\UNIDRV.DLL"));
    EXPECT_EQ("cabinet unidrvui", Contents(tempDirectory + "unidrvui.dll"));
    EXPECT_FALSE(Exists(tempDirectory + "readme.txt")) << "only the unidriver files are extracted";
    EXPECT_EQ((std::vector<std::string>{"h2stage.cab"}), context_->driverStaging.cabinets);
}

struct Notifications {
    std::vector<std::string> seen;
    std::string extractTo;
};

win::UINT PLATFORM_STDCALL Record(void* context, win::UINT notification, win::UINT_PTR param1, win::UINT_PTR) {
    auto* log = static_cast<Notifications*>(context);
    if (notification == win::SPFILENOTIFY_FILEINCABINET) {
        auto* info = reinterpret_cast<win::FILE_IN_CABINET_INFO_A*>(param1);
        log->seen.push_back(std::string("in:") + info->NameInCabinet + ":" + std::to_string(info->FileSize));
        if (std::strcmp(info->NameInCabinet, "unidrv.dll") != 0) return win::FILEOP_SKIP;
        std::string target = log->extractTo + info->NameInCabinet;
        std::memcpy(info->FullTargetName, target.c_str(), target.size() + 1);
        return win::FILEOP_DOIT;
    }
    if (notification == win::SPFILENOTIFY_FILEEXTRACTED) {
        auto* paths = reinterpret_cast<win::FILEPATHS_A*>(param1);
        log->seen.push_back(std::string("done:") + paths->Target + ":" + std::to_string(paths->Win32Error));
    }
    return win::NO_ERROR;
}

TEST_F(DriverStagingWine, CabinetIterationAsksForEachFileAndReportsEachExtraction) {
    char temp[win::MAX_PATH];
    Notifications log;
    log.extractTo.assign(temp, files().GetTempPathA(sizeof(temp), temp));
    log.extractTo += "h2cab\\";
    Folder(log.extractTo.substr(0, log.extractTo.size() - 1));
    WillCreate(log.extractTo + "unidrv.dll");
    std::string cabinet = ProgramDirectory() + "staging-driver.cab";
    EXPECT_TRUE(platform().cabinet.SetupIterateCabinetA(cabinet.c_str(), 0, Record, &log));
    EXPECT_EQ((std::vector<std::string>{"in:readme.txt:63", "in:unidrv.dll:14",
                                        "done:" + log.extractTo + "unidrv.dll:0", "in:unidrvui.dll:16"}),
              log.seen);
}

TEST_F(DriverStagingWine, VersionStringsComeFromRealVersionResources) {
    std::string fixture = ProgramDirectory() + "versioned.dll";
    EXPECT_EQ("3.1.4.15", GetFileVersionString(platform(), fixture));
    EXPECT_EQ("0.0.0.0", GetFileVersionString(platform(), ProgramDirectory() + "staging-driver.cab"));
}

TEST_F(DriverStagingWine, TheUsbDriverComparisonReadsBothRealFiles) {
    std::string installed = WindowsDirectory() + "\\system32\\drivers\\bulkusb.sys";
    if (Exists(installed)) GTEST_SKIP() << "this prefix has a USB bulk driver of its own";
    const std::string kit = ProgramDirectory() + win::kBuildArchitecture.usbDriverKit;
    Folder(ProgramDirectory() + "USBDrv");
    Folder(kit);
    CopyIn(ProgramDirectory() + "versioned.dll", kit + "\\bulkusb.sys");
    EXPECT_EQ(-1, CompareUsbDriverVersion(platform()));
    CopyIn(ProgramDirectory() + "versioned.dll", installed);
    EXPECT_EQ(0, CompareUsbDriverVersion(platform()));
}

}  // namespace
