// The PE32 companions on 64-bit Windows: they run their x64 twin with their own arguments, standard handles
// and current directory and give its exit code, or refuse where it is missing; elsewhere they run
// themselves.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/SimPlatform.h"
#include "setup/engine/CommandLineInstall.h"
#include "shared/Handover.h"
#include "shared/ProgramInstances.h"
#include "tests/engine/InstallMedium.h"
#include "tests/support/MachineSnapshot.h"
#include "tests/support/Wow64.h"
#include "uninstall/CommandLineRemoval.h"

namespace {

using Args = std::vector<std::string>;

TEST(HandoverArguments, TheProgramsNameIsSplitOffAsWindowsDoes) {
    EXPECT_EQ(" --model \"ZMX M530\" --port COM1:",
              ArgumentsOf("\"C:\\Program Files\\VORL\\install-printer.exe\" --model \"ZMX M530\" --port COM1:"));
    EXPECT_EQ("  --list", ArgumentsOf("uninstall-printer.exe  --list"));
    EXPECT_EQ("\t--all", ArgumentsOf("uninstall-printer\t--all"));
    EXPECT_EQ("", ArgumentsOf("\"C:\\MEDIUM\\setup.exe\""));
    EXPECT_EQ("", ArgumentsOf("\"C:\\MEDIUM\\setup.exe"));
    EXPECT_EQ("", ArgumentsOf(""));
    EXPECT_EQ("", ArgumentsOf(nullptr));
}

class HandoverTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteInstallMedium(sim_);
        sim_.windows().WriteFile("C:\\MEDIUM\\language\\setup.ini",
                                 "[Message]\r\nIDS_NOTSUPPORT64=needs the x64 edition\r\n");
        sim_.windows().WriteFile("C:\\MEDIUM\\Uninstall.ini",
                                 "[KXPRINTER]\r\nPRINTERNUM=1\r\nPRINTERNAME1=KX \r\n[KXMONITOR]\r\nMonitorNUM=0\r\n"
                                 "[KXPROC]\r\nPROCNUM=0\r\n");
        sim_.windows().WriteFile("C:\\MEDIUM\\language\\uninstall.ini",
                                 "[Message]\r\nIDS_NOTSUPPORT64=uninstall needs the x64 edition\r\n");
        // Started by a deployment tool from the medium, with a log beside it.
        sim_.windows().currentDirectory = "C:\\MEDIUM";
    }
    // As the program would be started: its own path, then the arguments.
    int Start(const char* program, const std::string& arguments) {
        sim_.windows().moduleFileName = std::string("C:\\MEDIUM\\") + program + ".exe";
        sim_.windows().commandLine = "\"C:\\MEDIUM\\" + std::string(program) + ".exe\" " + arguments;
        Args args;
        std::string word;
        for (char c : arguments + " ") {
            if (c != ' ') word += c;
            else if (!word.empty()) args.push_back(std::exchange(word, ""));
        }
        lines_.clear();
        std::string error;
        return std::string(program) == "install-printer" ? RunInstallPrinter(sim_.platform(), args, out_, error)
                                                          : RemoveFromCommandLine(sim_.platform(), args, out_, error);
    }
    void PlaceTwin(const char* twin, win::DWORD exitCode) {
        std::string path = std::string("C:\\MEDIUM\\") + twin;
        sim_.windows().WriteFile(path, "MZ");
        std::string lower = path;
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        sim_.windows().programExitCodes[lower] = exitCode;
    }

    win::sim::SimPlatform sim_;
    std::vector<std::string> lines_;
    ConsoleOutput out_{[this](const std::string& line) { lines_.push_back(line); }, [](const std::string&) {}};
};

TEST_F(HandoverTest, OnA64BitWindowsTheTwinRunsWithTheSameArgumentsHandlesAndDirectoryAndItsExitCodeCounts) {
    MakeWindows64Bit(sim_.library());
    PlaceTwin("install-printer64.exe", 3010);
    PlaceTwin("uninstall-printer64.exe", 4);
    std::string before = MachineSnapshot(sim_);
    const struct {
        const char* program;
        const char* arguments;
        int exitCode;
    } runs[] = {{"install-printer", "--model ZMX-M530 --port COM1: --log C:\\MEDIUM\\i.log", 3010},
                {"uninstall-printer", "--all --log u.log", 4}};
    for (const auto& run : runs) {
        SCOPED_TRACE(run.program);
        sim_.windows().startedPrograms.clear();
        EXPECT_EQ(run.exitCode, Start(run.program, run.arguments));
        ASSERT_EQ(1u, sim_.windows().startedPrograms.size());
        const auto& twin = sim_.windows().startedPrograms[0];
        const std::string path = std::string("C:\\MEDIUM\\") + run.program + "64.exe";
        EXPECT_EQ(path, twin.application);
        EXPECT_EQ("\"" + path + "\" " + run.arguments, twin.commandLine);
        EXPECT_EQ("C:\\MEDIUM", twin.currentDirectory);
        EXPECT_TRUE(twin.inheritHandles);
        EXPECT_EQ(win::STARTF_USESTDHANDLES, twin.startFlags);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(sim_.windows().standardHandles[i], twin.standardHandles[i]) << i;
            EXPECT_EQ(1u, sim_.windows().inheritableHandles.count(sim_.windows().standardHandles[i])) << i;
        }
        EXPECT_TRUE(twin.waitedFor);
        // The twin writes the output and the log; this program adds nothing and changes nothing.
        EXPECT_TRUE(lines_.empty());
    }
    EXPECT_EQ(before, MachineSnapshot(sim_));
}

TEST_F(HandoverTest, WithoutTheTwinBothRefuseWithTheLanguageFilesTextAndChangeNothing) {
    MakeWindows64Bit(sim_.library());
    std::string before = MachineSnapshot(sim_);
    EXPECT_EQ(kExitRefused, Start("install-printer", "--model ZMX-M530 --port COM1:"));
    EXPECT_NE(lines_.end(), std::find(lines_.begin(), lines_.end(), "needs the x64 edition"));
    EXPECT_EQ("not installed", lines_.back());
    EXPECT_EQ(kExitRefused, Start("install-printer", "--model ZMX-M530 --port COM1: --what-if"));
    for (const char* arguments : {"--all", "--list", "--remove KX-1 --what-if"}) {
        SCOPED_TRACE(arguments);
        EXPECT_EQ(kExitRefused, Start("uninstall-printer", arguments));
        EXPECT_EQ((std::vector<std::string>{"uninstall needs the x64 edition", "refused: nothing was changed"}), lines_);
    }
    EXPECT_EQ(before, MachineSnapshot(sim_));
    // A twin that cannot start is the same refusal.
    PlaceTwin("install-printer64.exe", 0);
    sim_.windows().InjectFault("CreateProcessA", 193);
    EXPECT_EQ(kExitRefused, Start("install-printer", "--model ZMX-M530 --port COM1:"));
}

TEST_F(HandoverTest, NeitherA32BitWindowsNorTheX64EditionHandsOver) {
    PlaceTwin("install-printer64.exe", 7);
    PlaceTwin("uninstall-printer64.exe", 7);
    EXPECT_EQ(kExitDone, Start("install-printer", "--model ZMX-M530 --port LPT1: --what-if"));
    EXPECT_EQ(kExitDone, Start("uninstall-printer", "--list"));
    EXPECT_TRUE(sim_.windows().startedPrograms.empty());

    // The x64 edition itself: kernel32 tells a 64-bit process that it is no WOW64 one.
    win::sim::SimPlatform x64(win::kArchitectureX64);
    x64.windows().WriteFile("C:\\MEDIUM\\install-printer64.exe", "MZ");
    EXPECT_FALSE(MustHandOverToX64(x64.platform()));
    // Its boxes and its instance are setup's, whichever edition runs.
    x64.windows().moduleFileName = "C:\\MEDIUM\\setup64.exe";
    EXPECT_EQ("setup", ApplicationName(x64.platform()));
    sim_.windows().moduleFileName = "C:\\MEDIUM\\setup64.exe";
    EXPECT_EQ("setup64", ApplicationName(sim_.platform())) << "only the x64 edition drops it";
    MakeWindows64Bit(sim_.library());
    EXPECT_TRUE(MustHandOverToX64(sim_.platform()));
    EXPECT_EQ("C:\\MEDIUM\\setup64.exe", X64TwinPath(sim_.platform(), "setup"));
}

}  // namespace
