// Code-page conversion and the local time as Windows gives them: the simulation and the real calls.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/ContractEnv.h"

namespace {

class KernelContract : public ::testing::Test {
protected:
    void SetUp() override { env_ = MakeContractEnv(); }
    win::Kernel& kernel() { return env_->platform().kernel; }

    std::unique_ptr<ContractEnv> env_;
};

// "打印机" (printer) in code page 936 and in UTF-8.
const std::string kGbk = "\xB4\xF2\xD3\xA1\xBB\xFA";
const std::string kUtf8 = "\xE6\x89\x93\xE5\x8D\xB0\xE6\x9C\xBA";

TEST_F(KernelContract, CodePage936GoesToUtf16AndOnToUtf8WithASizeQueryFirst) {
    const int length = static_cast<int>(kGbk.size());
    ASSERT_EQ(3, kernel().MultiByteToWideChar(win::kTextCodePage, 0, kGbk.data(), length, nullptr, 0));
    std::vector<win::WCHAR> wide(3);
    ASSERT_EQ(3, kernel().MultiByteToWideChar(win::kTextCodePage, 0, kGbk.data(), length, wide.data(), 3));
    EXPECT_EQ((std::vector<win::WCHAR>{0x6253, 0x5370, 0x673A}), wide);

    ASSERT_EQ(9, kernel().WideCharToMultiByte(win::CP_UTF8, 0, wide.data(), 3, nullptr, 0, nullptr, nullptr));
    std::string utf8(9, '\0');
    ASSERT_EQ(9,
              kernel().WideCharToMultiByte(win::CP_UTF8, 0, wide.data(), 3, &utf8[0], 9, nullptr, nullptr));
    EXPECT_EQ(kUtf8, utf8);

    // The way back, and a zero-ended text counts its zero.
    ASSERT_EQ(4, kernel().MultiByteToWideChar(win::CP_UTF8, 0, kUtf8.c_str(), -1, nullptr, 0));
    std::vector<win::WCHAR> back(4);
    kernel().MultiByteToWideChar(win::CP_UTF8, 0, kUtf8.c_str(), -1, back.data(), 4);
    std::string gbk(7, '\0');
    ASSERT_EQ(7, kernel().WideCharToMultiByte(win::kTextCodePage, 0, back.data(), -1, &gbk[0], 7, nullptr,
                                              nullptr));
    EXPECT_EQ(kGbk + '\0', gbk);
}

TEST_F(KernelContract, AnOutputTooSmallFailsWith122) {
    win::WCHAR wide[2] = {};
    kernel().SetLastError(0);
    EXPECT_EQ(0, kernel().MultiByteToWideChar(win::kTextCodePage, 0, kGbk.data(),
                                              static_cast<int>(kGbk.size()), wide, 2));
    EXPECT_EQ(win::ERROR_INSUFFICIENT_BUFFER, kernel().GetLastError());
}

TEST_F(KernelContract, TheLocalTimeIsACalendarDate) {
    win::SYSTEMTIME now{};
    env_->platform().clock.GetLocalTime(&now);
    EXPECT_GE(now.wYear, 2000);
    EXPECT_TRUE(now.wMonth >= 1 && now.wMonth <= 12);
    EXPECT_TRUE(now.wDay >= 1 && now.wDay <= 31);
    EXPECT_LT(now.wHour, 24);
    EXPECT_LT(now.wMinute, 60);
    EXPECT_LT(now.wSecond, 60);
}

}  // namespace

namespace {

// Starting a program and waiting for it, as the PE32 programs start their x64 twins.
TEST_F(KernelContract, AStartedProgramIsWaitedForAndGivesItsExitCodeAndAMissingOneGives2) {
    std::string commandLine;
    std::string program = env_->ExitingProgram(7, &commandLine);
    win::STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    win::PROCESS_INFORMATION process{};
    ASSERT_TRUE(kernel().CreateProcessA(program.c_str(), &commandLine[0], win::FALSE, 0, nullptr, &startup, &process));
    EXPECT_NE(nullptr, process.hProcess);
    EXPECT_NE(nullptr, process.hThread);
    EXPECT_EQ(win::WAIT_OBJECT_0, kernel().WaitForSingleObject(process.hProcess, win::INFINITE));
    win::DWORD code = 0;
    ASSERT_TRUE(kernel().GetExitCodeProcess(process.hProcess, &code));
    EXPECT_EQ(7u, code);
    EXPECT_TRUE(kernel().CloseHandle(process.hThread));
    EXPECT_TRUE(kernel().CloseHandle(process.hProcess));

    std::string missing = env_->ScratchDirectory() + "\\missing64.exe";
    std::string line = "\"" + missing + "\"";
    process = win::PROCESS_INFORMATION{};
    EXPECT_FALSE(kernel().CreateProcessA(missing.c_str(), &line[0], win::FALSE, 0, nullptr, &startup, &process));
    EXPECT_EQ(win::ERROR_FILE_NOT_FOUND, env_->platform().kernel.GetLastError());
}

TEST_F(KernelContract, TheCommandLineStartsWithTheProgramAndTheStandardHandlesCanBeInherited) {
    const char* line = kernel().GetCommandLineA();
    ASSERT_NE(nullptr, line);
    EXPECT_NE('\0', line[0]);
    win::HANDLE output = kernel().GetStdHandle(win::STD_OUTPUT_HANDLE);
    ASSERT_NE(reinterpret_cast<win::HANDLE>(intptr_t{-1}), output);
    if (output != nullptr) {
        EXPECT_TRUE(kernel().SetHandleInformation(output, win::HANDLE_FLAG_INHERIT, win::HANDLE_FLAG_INHERIT));
    }
}

}  // namespace
