// The progress bar's schedule on a virtual clock, against a worker that reports at a chosen time.
#include <gtest/gtest.h>

#include <vector>

#include "setup/engine/InstallRecord.h"
#include "setup/wizard/ProgressSchedule.h"

namespace {

struct Timeline {
    std::vector<std::pair<win::DWORD, int>> bars;  // time in ms, position
    win::DWORD closedAt = 0;
    bool closed = false;
};

// Ticks the schedule until it closes or the time limit passes; the worker writes its state at reportAt.
Timeline Animate(PlatformGeneration target, int32_t outcome, win::DWORD reportAt, win::DWORD limit = 60000) {
    ProgressSchedule schedule(target);
    Timeline timeline;
    win::DWORD now = 0;
    while (now <= limit) {
        ProgressSchedule::Step step = schedule.Tick(now >= reportAt ? outcome : kCompletionRunning);
        if (step.barPosition >= 0) timeline.bars.emplace_back(now, step.barPosition);
        if (step.close) {
            timeline.closed = true;
            timeline.closedAt = now;
            break;
        }
        now += step.wait;
    }
    return timeline;
}

TEST(ProgressSchedule, SuccessRunsTheBarFromWhereItIsTo99InStepsOf10msThenCloses) {
    Timeline t = Animate(kGenerationXP, kCompletionSucceeded, 1000);
    ASSERT_TRUE(t.closed);
    // 0 to 12 every 80 ms, the report seen at the tick of 1040 ms, then 13 to 99 from 1050 ms.
    EXPECT_EQ((std::pair<win::DWORD, int>{960, 12}), t.bars[12]);
    EXPECT_EQ((std::pair<win::DWORD, int>{1050, 13}), t.bars[13]);
    EXPECT_EQ((std::pair<win::DWORD, int>{1910, 99}), t.bars.back());
    EXPECT_EQ(1910u + 100u, t.closedAt);
    EXPECT_EQ(100u, t.bars.size());
}

TEST(ProgressSchedule, FailureAtNinetyRunsTheBarDownToZeroThenCloses) {
    Timeline t = Animate(kGenerationVista, kCompletionFailed, 10000);
    ASSERT_TRUE(t.closed);
    // Waiting at 90 from 7200 ms; down from where the count stood, to 1, then 0, then 100 ms.
    EXPECT_EQ(90, t.bars[90].second);
    std::vector<int> last(t.bars.size() >= 4 ? 4 : 0);
    for (size_t i = 0; i < last.size(); ++i) last[i] = t.bars[t.bars.size() - 4 + i].second;
    EXPECT_EQ((std::vector<int>{3, 2, 1, 0}), last);
    EXPECT_EQ(t.bars.back().first + 100, t.closedAt);
    EXPECT_EQ(t.bars[t.bars.size() - 2].first, t.bars.back().first) << "0 follows 1 without a wait";
}

TEST(ProgressSchedule, A98TargetClosesAtNinetyWithoutTheWorkerAndOthersWaitThere) {
    Timeline me = Animate(kGenerationWin98Me, kCompletionRunning, 0);
    ASSERT_TRUE(me.closed);
    EXPECT_EQ(90u * 80u, me.closedAt);
    EXPECT_EQ(89, me.bars.back().second);

    Timeline xp = Animate(kGenerationXP, kCompletionRunning, 0, 20000);
    EXPECT_FALSE(xp.closed);
    EXPECT_EQ(90, xp.bars.back().second);
}

TEST(ProgressSchedule, AnOutcomeKnownAtTheStartEndsAtOnce) {
    Timeline failed = Animate(kGenerationXP, kCompletionFailed, 0);
    EXPECT_EQ((std::vector<std::pair<win::DWORD, int>>{{0, 0}}), failed.bars);
    EXPECT_EQ(100u, failed.closedAt);

    Timeline done = Animate(kGenerationXP, kCompletionSucceeded, 0);
    EXPECT_EQ(100u, done.bars.size());
    EXPECT_EQ(1000u + 100u, done.closedAt);  // 0 at 10 ms, 99 at 1000 ms
}

}  // namespace
