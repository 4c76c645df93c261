// Version resources and cabinets for files that have none: the simulation and the real calls agree.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/ContractEnv.h"

namespace {

constexpr win::DWORD kPreset = 0xdeadbeef;

class VersionContract : public ::testing::Test {
protected:
    void SetUp() override {
        env_ = MakeContractEnv();
        dir_ = env_->ScratchDirectory();
    }
    win::DWORD LastError() { return env_->platform().kernel.GetLastError(); }
    void Preset() { env_->platform().kernel.SetLastError(kPreset); }

    std::unique_ptr<ContractEnv> env_;
    std::string dir_;
};

TEST_F(VersionContract, AFileWithoutVersionResourceHasNoVersionBlock) {
    std::string plain = dir_ + "\\plain.sys";
    env_->WriteFile(plain, "not a program");
    win::DWORD handle = 7;
    Preset();
    EXPECT_EQ(0u, env_->platform().version.GetFileVersionInfoSizeA(plain.c_str(), &handle));
    EXPECT_EQ(0u, handle);
    EXPECT_NE(kPreset, LastError());
    EXPECT_NE(0u, LastError());

    Preset();
    EXPECT_EQ(0u, env_->platform().version.GetFileVersionInfoSizeA((dir_ + "\\missing.sys").c_str(), &handle));
    EXPECT_EQ(win::ERROR_FILE_NOT_FOUND, LastError());
}

win::UINT PLATFORM_STDCALL CountNotifications(void* context, win::UINT, win::UINT_PTR, win::UINT_PTR) {
    ++*static_cast<int*>(context);
    return win::FILEOP_SKIP;
}

TEST_F(VersionContract, IteratingAMissingCabinetOrAPlainFileFails) {
    int calls = 0;
    Preset();
    EXPECT_FALSE(env_->platform().cabinet.SetupIterateCabinetA((dir_ + "\\missing.cab").c_str(), 0,
                                                               CountNotifications, &calls));
    EXPECT_EQ(win::ERROR_FILE_NOT_FOUND, LastError());

    std::string plain = dir_ + "\\plain.cab";
    env_->WriteFile(plain, "not a cabinet");
    Preset();
    EXPECT_FALSE(env_->platform().cabinet.SetupIterateCabinetA(plain.c_str(), 0, CountNotifications, &calls));
    if (env_->IsWine())
        EXPECT_EQ(0u, LastError()) << "Wine deviates: it clears the error; Windows reports ERROR_INVALID_DATA";
    else
        EXPECT_EQ(win::ERROR_INVALID_DATA, LastError());
    EXPECT_EQ(0, calls);
}

}  // namespace
