// WriteProfileStringA into win.ini as Windows does it, read back through GetPrivateProfileStringA.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/ContractEnv.h"

namespace {

const char kSection[] = "PosPrnProfileContract";
const char kOther[] = "PosPrnProfileContractOther";

class ProfileWriteContract : public ::testing::Test {
protected:
    void SetUp() override {
        env_ = MakeContractEnv();
        RemoveSections();
    }
    // win.ini is the machine's own file: only the test's sections are taken out again.
    void TearDown() override { RemoveSections(); }

    void RemoveSections() {
        profile().WriteProfileStringA(kSection, nullptr, nullptr);
        profile().WriteProfileStringA(kOther, nullptr, nullptr);
        profile().WriteProfileStringA(nullptr, nullptr, nullptr);
    }
    win::Profile& profile() { return env_->platform().profile; }
    std::string Read(const char* section, const char* key) {
        char buffer[260];
        profile().GetPrivateProfileStringA(section, key, "none", buffer, sizeof buffer, "win.ini");
        return buffer;
    }

    std::unique_ptr<ContractEnv> env_;
};

TEST_F(ProfileWriteContract, AWrittenKeyIsReadBackFromWinIni) {
    env_->platform().kernel.SetLastError(0xdeadbeef);
    EXPECT_TRUE(profile().WriteProfileStringA(kSection, "COM9:", "9600,n,8,1,x"));
    EXPECT_EQ("9600,n,8,1,x", Read(kSection, "com9:"));
}

TEST_F(ProfileWriteContract, RewritingAKeyKeepsTheOtherKeysAndSections) {
    ASSERT_TRUE(profile().WriteProfileStringA(kSection, "a", "1"));
    ASSERT_TRUE(profile().WriteProfileStringA(kSection, "b", "2"));
    ASSERT_TRUE(profile().WriteProfileStringA(kOther, "a", "other"));
    ASSERT_TRUE(profile().WriteProfileStringA(kSection, "A", "3"));
    EXPECT_EQ("3", Read(kSection, "a"));
    EXPECT_EQ("2", Read(kSection, "b"));
    EXPECT_EQ("other", Read(kOther, "a"));
}

TEST_F(ProfileWriteContract, ANullValueRemovesTheKeyAndANullKeyTheSection) {
    ASSERT_TRUE(profile().WriteProfileStringA(kSection, "a", "1"));
    ASSERT_TRUE(profile().WriteProfileStringA(kSection, "b", "2"));
    ASSERT_TRUE(profile().WriteProfileStringA(kOther, "c", "3"));
    EXPECT_TRUE(profile().WriteProfileStringA(kSection, "a", nullptr));
    EXPECT_EQ("none", Read(kSection, "a"));
    EXPECT_EQ("2", Read(kSection, "b"));
    EXPECT_TRUE(profile().WriteProfileStringA(kSection, nullptr, nullptr));
    EXPECT_EQ("none", Read(kSection, "b"));
    EXPECT_EQ("3", Read(kOther, "c"));
}

TEST_F(ProfileWriteContract, FlushingWithAllThreeNullReturnsFalseAndKeepsTheWrites) {
    ASSERT_TRUE(profile().WriteProfileStringA(kSection, "a", "1"));
    EXPECT_FALSE(profile().WriteProfileStringA(nullptr, nullptr, nullptr));
    EXPECT_EQ("1", Read(kSection, "a"));
}

}  // namespace
