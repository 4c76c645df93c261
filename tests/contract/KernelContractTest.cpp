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
