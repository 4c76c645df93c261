// The simulated service manager: start failures, a slow or stuck start, handle bookkeeping.
#include <gtest/gtest.h>

#include "platform/sim/SimPlatform.h"

namespace {

using namespace win;
using win::sim::SimPlatform;

class SimServicesTest : public ::testing::Test {
protected:
    void SetUp() override {
        manager_ = services().OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
        spooler_ = services().OpenServiceA(manager_, "spooler", SERVICE_ALL_ACCESS);
        ASSERT_NE(nullptr, spooler_);
        SERVICE_STATUS status{};
        ASSERT_TRUE(services().ControlService(spooler_, SERVICE_CONTROL_STOP, &status));
        EXPECT_EQ(SERVICE_STOPPED, status.dwCurrentState);
    }
    void TearDown() override {
        services().CloseServiceHandle(spooler_);
        services().CloseServiceHandle(manager_);
        EXPECT_EQ(0u, sim_.services().OpenHandleCount());
    }
    Services& services() { return sim_.platform().services; }
    DWORD State() {
        SERVICE_STATUS status{};
        EXPECT_TRUE(services().QueryServiceStatus(spooler_, &status));
        return status.dwCurrentState;
    }
    SimPlatform sim_;
    SC_HANDLE manager_ = nullptr;
    SC_HANDLE spooler_ = nullptr;
};

TEST_F(SimServicesTest, StartFailsWithTheChosenErrorAndTheServiceStaysStopped) {
    sim_.services().service("Spooler").startError = ERROR_SERVICE_REQUEST_TIMEOUT;
    EXPECT_FALSE(services().StartServiceA(spooler_, 0, nullptr));
    EXPECT_EQ(ERROR_SERVICE_REQUEST_TIMEOUT, sim_.platform().kernel.GetLastError());
    EXPECT_EQ(SERVICE_STOPPED, State());
}

TEST_F(SimServicesTest, SlowStartRunsAfterTheGivenNumberOfQueries) {
    sim_.services().service("Spooler").pendingQueries = 2;
    ASSERT_TRUE(services().StartServiceA(spooler_, 0, nullptr));
    EXPECT_EQ(SERVICE_START_PENDING, State());
    EXPECT_EQ(SERVICE_START_PENDING, State());
    EXPECT_EQ(SERVICE_RUNNING, State());
    EXPECT_FALSE(services().StartServiceA(spooler_, 0, nullptr));
    EXPECT_EQ(ERROR_SERVICE_ALREADY_RUNNING, sim_.platform().kernel.GetLastError());
}

TEST_F(SimServicesTest, StuckStartNeverRunsAndTakesNoStop) {
    sim_.services().service("Spooler").neverRuns = true;
    ASSERT_TRUE(services().StartServiceA(spooler_, 0, nullptr));
    for (int i = 0; i < 20; ++i) EXPECT_EQ(SERVICE_START_PENDING, State());
    SERVICE_STATUS status{};
    EXPECT_FALSE(services().ControlService(spooler_, SERVICE_CONTROL_STOP, &status));
    EXPECT_EQ(ERROR_SERVICE_CANNOT_ACCEPT_CTRL, sim_.platform().kernel.GetLastError());
    EXPECT_FALSE(sim_.services().IsRunning("Spooler"));
}

TEST_F(SimServicesTest, CallsAreRecordedWithTheirAccessAndControl) {
    EXPECT_EQ((std::vector<std::string>{"OpenSCManagerA 0xf003f", "OpenServiceA spooler 0xf01ff", "ControlService 1"}),
              sim_.services().calls);
    EXPECT_FALSE(services().CloseServiceHandle(reinterpret_cast<SC_HANDLE>(0x1234)));
    EXPECT_EQ(ERROR_INVALID_HANDLE, sim_.platform().kernel.GetLastError());
}

}  // namespace
