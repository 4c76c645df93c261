// The service manager as Windows answers it: the Spooler service stopped, queried and started again.
#include <gtest/gtest.h>

#include "platform/Services.h"
#include "platform/Spooler.h"
#include "tests/support/ContractEnv.h"

namespace {

using namespace win;

class ServicesContract : public ::testing::Test {
protected:
    void SetUp() override {
        env_ = MakeContractEnv();
        manager_ = services().OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
        if (manager_ == nullptr) GTEST_SKIP() << "no rights on the service manager: " << LastError();
    }
    void TearDown() override {
        if (manager_ == nullptr) return;
        // The spooler runs again whatever the test did.
        SC_HANDLE spooler = services().OpenServiceA(manager_, "Spooler", SERVICE_START | SERVICE_QUERY_STATUS);
        if (spooler != nullptr) {
            services().StartServiceA(spooler, 0, nullptr);
            WaitFor(spooler, SERVICE_RUNNING);
            services().CloseServiceHandle(spooler);
        }
        services().CloseServiceHandle(manager_);
    }

    Services& services() { return env_->platform().services; }
    void SetLastError(DWORD error) { env_->platform().kernel.SetLastError(error); }
    DWORD LastError() { return env_->platform().kernel.GetLastError(); }

    DWORD WaitFor(SC_HANDLE service, DWORD state) {
        SERVICE_STATUS status{};
        for (int i = 0; i < 100; ++i) {
            if (!services().QueryServiceStatus(service, &status)) return 0;
            if (status.dwCurrentState == state) break;
            env_->platform().clock.Sleep(100);
        }
        return status.dwCurrentState;
    }

    std::unique_ptr<ContractEnv> env_;
    SC_HANDLE manager_ = nullptr;
};

TEST_F(ServicesContract, UnknownServiceDoesNotOpen) {
    SetLastError(0xdeadbeef);
    EXPECT_EQ(nullptr, services().OpenServiceA(manager_, "KxNoSuchService", SERVICE_QUERY_STATUS));
    EXPECT_EQ(ERROR_SERVICE_DOES_NOT_EXIST, LastError());
}

TEST_F(ServicesContract, SpoolerStopsAndStartsAgain) {
    SC_HANDLE spooler =
        services().OpenServiceA(manager_, "Spooler", SERVICE_STOP | SERVICE_START | SERVICE_QUERY_STATUS);
    ASSERT_NE(nullptr, spooler) << LastError();
    SERVICE_STATUS status{};
    ASSERT_TRUE(services().QueryServiceStatus(spooler, &status));
    ASSERT_EQ(SERVICE_RUNNING, status.dwCurrentState);

    SetLastError(0xdeadbeef);
    SC_HANDLE queryOnly = services().OpenServiceA(manager_, "Spooler", SERVICE_QUERY_STATUS);
    ASSERT_NE(nullptr, queryOnly);
    EXPECT_FALSE(services().ControlService(queryOnly, SERVICE_CONTROL_STOP, &status));
    EXPECT_EQ(ERROR_ACCESS_DENIED, LastError());
    EXPECT_TRUE(services().CloseServiceHandle(queryOnly));

    SetLastError(0xdeadbeef);
    EXPECT_FALSE(services().StartServiceA(spooler, 0, nullptr));
    EXPECT_EQ(ERROR_SERVICE_ALREADY_RUNNING, LastError());

    EXPECT_TRUE(services().ControlService(spooler, SERVICE_CONTROL_STOP, &status)) << LastError();
    EXPECT_EQ(SERVICE_STOPPED, WaitFor(spooler, SERVICE_STOPPED));
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(services().ControlService(spooler, SERVICE_CONTROL_STOP, &status));
    EXPECT_EQ(ERROR_SERVICE_NOT_ACTIVE, LastError());

    DWORD needed = 0, returned = 0;
    SetLastError(0xdeadbeef);
    BOOL listed = env_->platform().spooler.EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &needed, &returned);
    if (env_->IsWine()) {
        // Wine deviates: its winspool answers in-process, so the spooler calls go on working.
    } else {
        EXPECT_FALSE(listed);
        EXPECT_EQ(RPC_S_SERVER_UNAVAILABLE, LastError());
    }

    SetLastError(0xdeadbeef);
    EXPECT_TRUE(services().StartServiceA(spooler, 0, nullptr)) << LastError();
    EXPECT_EQ(SERVICE_RUNNING, WaitFor(spooler, SERVICE_RUNNING));
    EXPECT_TRUE(services().CloseServiceHandle(spooler));
}

TEST_F(ServicesContract, ServiceHandleOpenedWithoutStartRightCannotStart) {
    SC_HANDLE spooler = services().OpenServiceA(manager_, "Spooler", SERVICE_QUERY_STATUS);
    ASSERT_NE(nullptr, spooler);
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(services().StartServiceA(spooler, 0, nullptr));
    EXPECT_EQ(ERROR_ACCESS_DENIED, LastError());
    EXPECT_TRUE(services().CloseServiceHandle(spooler));
}

}  // namespace
