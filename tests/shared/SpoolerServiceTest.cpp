// The "Spooler" service control against the simulated service manager: steps, pauses and messages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/SimPlatform.h"
#include "shared/SpoolerService.h"

namespace {

using Calls = std::vector<std::string>;
using Sleeps = std::vector<win::DWORD>;

class SpoolerServiceTest : public ::testing::Test {
protected:
    win::sim::SimServices::Service& Spooler() { return sim_.services().service("Spooler"); }
    const Calls& ServiceCalls() { return sim_.services().calls; }
    const Sleeps& Pauses() { return sim_.windows().sleeps; }

    win::sim::SimPlatform sim_;
    std::string message_;
};

TEST_F(SpoolerServiceTest, StopSpoolerStopsPausesOnceAndIgnoresFailures) {
    StopSpooler(sim_.platform());
    EXPECT_FALSE(sim_.services().IsRunning("Spooler"));
    EXPECT_EQ((Calls{"OpenSCManagerA 0xf003f", "OpenServiceA Spooler 0x20", "ControlService 1",
                     "CloseServiceHandle", "CloseServiceHandle"}),
              ServiceCalls());
    StopSpooler(sim_.platform());  // already stopped: 1062
    EXPECT_EQ((Sleeps{100, 100}), Pauses());

    // No manager, nothing to wait for.
    sim_.windows().InjectFault("OpenSCManagerA", win::ERROR_ACCESS_DENIED);
    StopSpooler(sim_.platform());
    EXPECT_EQ((Sleeps{100, 100}), Pauses());
    EXPECT_EQ(0u, sim_.services().OpenHandleCount());
}

TEST_F(SpoolerServiceTest, StartSpoolerTakesAlreadyRunningAsSuccessAndReportsAnyOtherError) {
    message_ = "earlier";
    StartSpooler(sim_.platform(), message_);  // 1056
    EXPECT_EQ("earlier", message_);

    Spooler().state = win::SERVICE_STOPPED;
    StartSpooler(sim_.platform(), message_);
    EXPECT_TRUE(sim_.services().IsRunning("Spooler"));
    EXPECT_EQ("earlier", message_);

    Spooler().state = win::SERVICE_STOPPED;
    Spooler().startError = 1058;
    StartSpooler(sim_.platform(), message_);
    EXPECT_EQ("Start spool service error, error code = 1058", message_);
    // The code is printed unsigned.
    Spooler().startError = 0x80070005u;
    StartSpooler(sim_.platform(), message_);
    EXPECT_EQ("Start spool service error, error code = 2147942405", message_);
    EXPECT_TRUE(Pauses().empty());
    EXPECT_EQ(0u, sim_.services().OpenHandleCount());
}

TEST_F(SpoolerServiceTest, StartSpoolerReportsAManagerOrServiceThatCannotBeOpened) {
    sim_.windows().InjectFault("OpenSCManagerA", win::ERROR_ACCESS_DENIED);
    StartSpooler(sim_.platform(), message_);
    EXPECT_EQ("Start spool service error, error code = 5", message_);

    sim_.windows().InjectFault("OpenServiceA", win::ERROR_SERVICE_DOES_NOT_EXIST);
    StartSpooler(sim_.platform(), message_);
    EXPECT_EQ("Start spool service error, error code = 1060", message_);
    EXPECT_EQ(0u, sim_.services().OpenHandleCount());
}

TEST_F(SpoolerServiceTest, WaitForSpoolerGivesUpAfterTenQueriesThreeHundredMillisecondsApart) {
    Spooler().state = win::SERVICE_START_PENDING;
    Spooler().neverRuns = true;
    EXPECT_FALSE(WaitForSpooler(sim_.platform(), message_));
    EXPECT_EQ("StartSpoolService error", message_);
    EXPECT_EQ(Sleeps(10, 300), Pauses());
    EXPECT_EQ(3000u, sim_.windows().nowMilliseconds);
    int queries = 0;
    for (const std::string& call : ServiceCalls()) queries += call == "QueryServiceStatus";
    EXPECT_EQ(10, queries);
    EXPECT_EQ(0u, sim_.services().OpenHandleCount());
}

TEST_F(SpoolerServiceTest, WaitForSpoolerReturnsAsSoonAsTheServiceRuns) {
    EXPECT_TRUE(WaitForSpooler(sim_.platform(), message_));
    EXPECT_TRUE(Pauses().empty());

    Spooler().state = win::SERVICE_STOPPED;
    Spooler().pendingQueries = 2;
    StartSpooler(sim_.platform(), message_);
    // A failed query counts as not running yet.
    sim_.windows().InjectFault("QueryServiceStatus", win::ERROR_ACCESS_DENIED);
    EXPECT_TRUE(WaitForSpooler(sim_.platform(), message_));
    EXPECT_EQ((Sleeps{300, 300, 300}), Pauses());
    EXPECT_EQ("", message_);
}

TEST_F(SpoolerServiceTest, RestartSpoolerStopsPausesTwoSecondsAndStartsIgnoringErrors) {
    RestartSpooler(sim_.platform());
    EXPECT_EQ((Calls{"OpenSCManagerA 0xf003f", "OpenServiceA Spooler 0x20", "ControlService 1",
                     "CloseServiceHandle", "OpenServiceA Spooler 0x10", "StartServiceA", "CloseServiceHandle",
                     "CloseServiceHandle"}),
              ServiceCalls());
    Spooler().state = win::SERVICE_STOPPED;  // the stop fails, the start still runs
    RestartSpooler(sim_.platform());
    EXPECT_TRUE(sim_.services().IsRunning("Spooler"));
    EXPECT_EQ((Sleeps{2000, 2000}), Pauses());
    EXPECT_EQ(0u, sim_.services().OpenHandleCount());
}

TEST_F(SpoolerServiceTest, RestartSpoolerPausesEvenWhenTheManagerCannotBeOpened) {
    sim_.windows().InjectFault("OpenSCManagerA", win::ERROR_ACCESS_DENIED);
    RestartSpooler(sim_.platform());
    EXPECT_EQ((Sleeps{2000}), Pauses());
    EXPECT_EQ(0u, sim_.services().OpenHandleCount());
}

// A spooler left stopped would break every printer of the machine, so a failed start is tried again once.
TEST_F(SpoolerServiceTest, RestartSpoolerTriesAFailedStartOnceMore) {
    sim_.windows().InjectFault("StartServiceA", win::ERROR_ACCESS_DENIED);
    RestartSpooler(sim_.platform());
    EXPECT_TRUE(sim_.services().IsRunning("Spooler"));
    EXPECT_EQ((Sleeps{2000, 300}), Pauses());

    sim_.windows().InjectFault("OpenServiceA", win::ERROR_ACCESS_DENIED, 2);  // the start's open
    RestartSpooler(sim_.platform());
    EXPECT_TRUE(sim_.services().IsRunning("Spooler"));
    EXPECT_EQ(0u, sim_.services().OpenHandleCount());
}

}  // namespace
