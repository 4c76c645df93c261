// Broadcasting WM_WININICHANGE as Windows NT answers it.
#include <gtest/gtest.h>

#include "platform/Windows.h"
#include "tests/support/ContractEnv.h"

namespace {

using namespace win;

class BroadcastContract : public ::testing::Test {
protected:
    void SetUp() override { env_ = MakeContractEnv(); }
    std::unique_ptr<ContractEnv> env_;
};

TEST_F(BroadcastContract, ATimedBroadcastOfTheChangeIsDelivered) {
    DWORD_PTR result = 99;
    EXPECT_NE(0, env_->platform().windows.SendMessageTimeoutA(HWND_BROADCAST, WM_WININICHANGE, 0,
                                                              reinterpret_cast<LPARAM>("windows"),
                                                              SMTO_NORMAL, 1000, &result));
    EXPECT_NE(0, env_->platform().windows.SendMessageTimeoutA(HWND_BROADCAST, WM_WININICHANGE, 0, 0,
                                                              SMTO_NORMAL, 1000, &result));
}

TEST_F(BroadcastContract, ANotifyBroadcastOfTheChangeIsRefusedOnNtWithOrWithoutItsText) {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    ASSERT_TRUE(env_->platform().kernel.GetVersionExA(&version));
    if (version.dwPlatformId != VER_PLATFORM_WIN32_NT) GTEST_SKIP() << "only NT refuses it";
    // The message may carry a text, which would be gone when it is delivered after the call returns.
    for (LPARAM text : {reinterpret_cast<LPARAM>("Ports"), LPARAM{0}}) {
        env_->platform().kernel.SetLastError(0xdeadbeef);
        EXPECT_FALSE(env_->platform().windows.SendNotifyMessageA(HWND_BROADCAST, WM_WININICHANGE, 0, text));
        EXPECT_EQ(ERROR_MESSAGE_SYNC_ONLY, env_->platform().kernel.GetLastError());
    }
}

}  // namespace
