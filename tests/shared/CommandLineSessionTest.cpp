// What both console programs share, against the simulated Windows: the shared options, the medium, the
// log file and the fixed mutexes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/SimPlatform.h"
#include "shared/CommandLineSession.h"
#include "shared/LanguageText.h"
#include "shared/ProgramInstances.h"

namespace {

using Args = std::vector<std::string>;

class CommandLineSessionTest : public ::testing::Test {
protected:
    void SetUp() override { sim_.windows().WriteFile("C:\\MEDIUM\\language\\setup.ini", "[Setup]\r\n"); }
    std::string Log(const std::string& path = "C:\\LOGS\\run.log") {
        std::string bytes;
        sim_.windows().ReadFile(path, &bytes);
        return bytes;
    }
    std::string Settle(const std::string& given) {
        error_.clear();
        std::string folder;
        auto check = [](win::Platform& platform, const std::string& at) {
            return HasMediumFile(platform, at, kSetupLanguageFile) ? "" : "language\\setup.ini";
        };
        return SettleMedium(sim_.platform(), given, check, folder, error_) ? folder : "<refused>";
    }

    win::sim::SimPlatform sim_;
    std::vector<std::string> lines_, warnings_;
    ConsoleOutput out_{[this](const std::string& line) { lines_.push_back(line); },
                       [this](const std::string& line) { warnings_.push_back(line); }};
    std::string error_;
};

TEST_F(CommandLineSessionTest, TheSharedOptionsAreTakenOutAndTheProgramsOwnLeft) {
    Args args = {"--model", "M", "--medium", "D:\\", "--what-if", "--log", "a b.log", "--port", "LPT1:"};
    SessionOptions options;
    ASSERT_TRUE(TakeSessionOptions(args, options, error_)) << error_;
    EXPECT_EQ((Args{"--model", "M", "--port", "LPT1:"}), args);
    EXPECT_EQ("D:\\", options.medium);
    EXPECT_EQ("a b.log", options.logFile);
    EXPECT_TRUE(options.whatIf);
    EXPECT_FALSE(options.help);

    for (const Args& bad : {Args{"--log"}, Args{"--medium", "--what-if"}, Args{"--log", ""},
                            Args{"--medium", "A", "--medium", "B"}}) {
        Args copy = bad;
        SessionOptions ignored;
        EXPECT_FALSE(TakeSessionOptions(copy, ignored, error_)) << bad[0];
    }
    EXPECT_NE(std::string::npos, error_.find("twice"));
    Args help = {"/?"};
    ASSERT_TRUE(TakeSessionOptions(help, options, error_));
    EXPECT_TRUE(options.help);
}

TEST_F(CommandLineSessionTest, TheMediumIsTheGivenFolderTheCurrentOneOrTheProgramsOwn) {
    sim_.windows().MakeDirectory("C:\\ELSEWHERE");
    sim_.windows().currentDirectory = "C:\\ELSEWHERE";
    EXPECT_EQ("<refused>", Settle("C:\\ELSEWHERE"));
    EXPECT_NE(std::string::npos, error_.find("is not an installation medium: it has no language\\setup.ini"));
    EXPECT_EQ("<refused>", Settle("C:\\NOWHERE"));
    EXPECT_NE(std::string::npos, error_.find("no such folder"));
    EXPECT_EQ("C:\\ELSEWHERE", sim_.windows().currentDirectory) << "a refused medium changes nothing";

    // A relative folder is the caller's, and the medium's full path comes back.
    sim_.windows().currentDirectory = "C:\\";
    EXPECT_EQ("C:\\MEDIUM", Settle("MEDIUM\\"));
    EXPECT_EQ("C:\\MEDIUM", sim_.windows().currentDirectory);

    // A drive's root may be a medium too.
    sim_.windows().WriteFile("C:\\language\\setup.ini", "[Setup]\r\n");
    EXPECT_EQ("C:\\", Settle("C:\\"));

    // Without --medium: the program's folder when the current directory is no medium (the default
    // program lies in C:\MEDIUM), else the current directory.
    sim_.windows().currentDirectory = "C:\\ELSEWHERE";
    EXPECT_EQ("C:\\MEDIUM", Settle(""));
    sim_.windows().WriteFile("C:\\OTHER\\language\\setup.ini", "[Setup]\r\n");
    sim_.windows().currentDirectory = "C:\\OTHER";
    EXPECT_EQ("C:\\OTHER", Settle(""));
    // Neither: the current directory stays, and the run reports what it misses on its own.
    sim_.windows().currentDirectory = "C:\\ELSEWHERE";
    sim_.windows().moduleFileName = "C:\\TOOLS\\install-printer.exe";
    EXPECT_EQ("C:\\ELSEWHERE", Settle(""));
}

TEST_F(CommandLineSessionTest, TheLogGetsEachLineInUtf8WithTheLocalTimeAndTheErrorAndIsAppendedTo) {
    sim_.windows().WriteFile("C:\\LOGS\\run.log", "an earlier run\r\n");
    {
        ConsoleSession session(sim_.platform(), out_);
        ASSERT_TRUE(session.OpenLog("C:\\LOGS\\run.log"));
        session.LogOnly("install-printer --model M");
        sim_.platform().clock.Sleep(61000);
        // "正在删除" in code page 936, as the language files and the fixed texts hold it.
        session.Line("\xD5\xFD\xD4\xDA\xC9\xBE\xB3\xFD VORL", 0);
        session.Line("printer P: failed", 1801);
        session.Warning("careful");
    }
    EXPECT_EQ(
        "an earlier run\r\n"
        "2008-03-14 09:26:53  install-printer --model M\r\n"
        "2008-03-14 09:27:54  \xE6\xAD\xA3\xE5\x9C\xA8\xE5\x88\xA0\xE9\x99\xA4 VORL\r\n"
        "2008-03-14 09:27:54  printer P: failed (error 1801)\r\n"
        "2008-03-14 09:27:54  careful\r\n",
        Log());
    // The console gets the texts as they are, without the time; the command line stays in the log.
    EXPECT_EQ((std::vector<std::string>{"\xD5\xFD\xD4\xDA\xC9\xBE\xB3\xFD VORL", "printer P: failed"}),
              lines_);
    EXPECT_EQ((std::vector<std::string>{"careful"}), warnings_);
}

TEST_F(CommandLineSessionTest, ALogThatCannotBeOpenedIsAWarningAndTheLinesStillReachTheConsole) {
    ConsoleSession session(sim_.platform(), out_);
    EXPECT_FALSE(session.OpenLog("C:\\NO FOLDER\\run.log"));
    ASSERT_EQ(1u, warnings_.size());
    EXPECT_EQ("the log C:\\NO FOLDER\\run.log cannot be opened (error 3); going on without it", warnings_[0]);
    session.Line("step: done");
    EXPECT_EQ((std::vector<std::string>{"step: done"}), lines_);

    // Another program holding the log without sharing it is no different.
    sim_.windows().WriteFile("C:\\LOGS\\run.log", "");
    sim_.windows().MarkInUse("C:\\LOGS\\run.log");
    ConsoleSession second(sim_.platform(), out_);
    EXPECT_FALSE(second.OpenLog("C:\\LOGS\\run.log"));
    EXPECT_NE(std::string::npos, warnings_.back().find("(error 32)"));
}

TEST_F(CommandLineSessionTest, TheLockHoldsItsKindsMutexAndSeesEitherKindRunning) {
    {
        RunningProgramLock lock(sim_.platform(), kSetupRunningMutex, kUninstallRunningMutex);
        EXPECT_FALSE(lock.AnotherRuns());
        EXPECT_TRUE(sim_.ui().MutexExists(kSetupRunningMutex));
        // A second installer, or an uninstaller, started now sees it.
        RunningProgramLock second(sim_.platform(), kSetupRunningMutex, kUninstallRunningMutex);
        EXPECT_TRUE(second.AnotherRuns());
        RunningProgramLock remover(sim_.platform(), kUninstallRunningMutex, kSetupRunningMutex);
        EXPECT_TRUE(remover.AnotherRuns());
    }
    EXPECT_FALSE(sim_.ui().MutexExists(kSetupRunningMutex));
    EXPECT_FALSE(sim_.ui().MutexExists(kUninstallRunningMutex));

    sim_.ui().HoldMutexElsewhere(kUninstallRunningMutex);
    RunningProgramLock lock(sim_.platform(), kSetupRunningMutex, kUninstallRunningMutex);
    EXPECT_TRUE(lock.AnotherRuns());
}

}  // namespace
