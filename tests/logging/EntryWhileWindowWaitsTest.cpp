// An entry whose question runs away from the window: the window's messages during the wait, and a close meanwhile.
#include <gtest/gtest.h>

#include <memory>

#include "fakes/FakeLogEntryServices.h"
#include "fakes/FakeScheduleRig.h"
#include "fakes/FakeSpooler.h"
#include "logging/StatusLogger.h"

namespace ambervale {
namespace {

using namespace ambervale::testing;

TEST(EntryWhileWindowWaits, ALogNowClickOrATickDuringTheWaitMakesNoSecondEntry) {
    FakeLogEntryWorld world;
    EntryOutcome nested = EntryOutcome::Made;
    world.worker.whileWaiting = [&] {
        world.worker.whileWaiting = nullptr;
        EXPECT_TRUE(world.entries.logger.EntryPending());
        nested = world.entries.logger.LogStatusNow();
    };
    EXPECT_EQ(world.entries.logger.LogStatusNow(), EntryOutcome::Made);
    EXPECT_EQ(nested, EntryOutcome::Busy);
    EXPECT_EQ(world.worker.waits, 1) << "the spooler is asked once";
    EXPECT_EQ(world.logList.rows.size(), 1u);
    EXPECT_FALSE(world.entries.logger.EntryPending());

    // Through the click handler: a click while the tick's entry is pending changes nothing at all.
    FakeScheduleRig rig;
    rig.Load();
    rig.logger.pending = true;
    rig.schedule.PushButton6_Click();
    EXPECT_EQ(rig.logger.entries, 0);
    EXPECT_EQ(rig.pump.calls, 0);
    EXPECT_EQ(rig.pointer.pointer, PointerKind::Default);
    EXPECT_TRUE(rig.boxes.shown.empty());
}

TEST(EntryWhileWindowWaits, ACloseDuringTheWaitLogsNothingEvenWhenTheQueryEndsAfterwards) {
    FakeLogEntryWorld world;
    world.worker.closing = true;
    EXPECT_EQ(world.entries.logger.LogStatusNow(), EntryOutcome::Closing);
    EXPECT_FALSE(world.entries.logger.EntryPending());
    EXPECT_EQ(world.clock.reads, 0);
    // The worker, blocked until now, finishes after the entry's call has returned: it writes only what it owns.
    ASSERT_TRUE(world.worker.held);
    world.worker.held();
    EXPECT_TRUE(world.logList.rows.empty());
    EXPECT_TRUE(world.historyWriter.files.empty());
    EXPECT_EQ(world.spooler.closeCount, 1);
}

// A source that counts, in a place the test keeps, how often it was asked.
class CountingSource : public StatusSource {
public:
    explicit CountingSource(std::shared_ptr<int> asked) : asked_(std::move(asked)) {}
    std::uint32_t StatusBits(const OpenPrinter&) override {
        ++*asked_;
        return 0;
    }

private:
    std::shared_ptr<int> asked_;
};

TEST(EntryWhileWindowWaits, TheWorkACloseLeftRunningOwnsTheSpoolerAndTheSourcesItAsks) {
    ScriptedEntryWorker worker;
    worker.closing = true;
    FakeClock clock;
    FakeDateTimeText dateTimeText;
    const auto asked = std::make_shared<int>(0);
    std::weak_ptr<FakeSpooler> spoolerLeft;
    std::weak_ptr<StatusSource> sourceLeft;
    {
        auto spooler = std::make_shared<FakeSpooler>();
        auto source = std::make_shared<CountingSource>(asked);
        spoolerLeft = spooler;
        sourceLeft = source;
        EntryLogger logger(spooler, clock, dateTimeText, worker);
        logger.AddStatusSource(source);
        EXPECT_EQ(logger.LogStatusNow(), EntryOutcome::Closing);
    }  // the program's objects go after the close, the logger among them
    ASSERT_FALSE(spoolerLeft.expired()) << "the work still owns what it asks";
    ASSERT_FALSE(sourceLeft.expired());

    worker.held();  // the question, blocked until now, ends after all
    EXPECT_EQ(*asked, 1);
    EXPECT_EQ(spoolerLeft.lock()->closeCount, 1);
    worker.held = nullptr;
    EXPECT_TRUE(spoolerLeft.expired()) << "and they go with it";
    EXPECT_TRUE(sourceLeft.expired());
}

TEST(EntryWhileWindowWaits, ACloseDuringTheTicksEntryEndsTheTickWithTheTimerStill) {
    FakeScheduleRig rig;
    rig.settings.values["OftenIndex"] = "1";
    rig.Load();
    rig.logger.outcome = EntryOutcome::Closing;
    rig.logger.onLog = [&] { rig.timer.SetEnabled(false); };  // the close sequence's first step
    rig.Tick();
    EXPECT_EQ(rig.logger.entries, 1);
    EXPECT_FALSE(rig.timer.Enabled());
    EXPECT_FALSE(rig.timer.Running());
    EXPECT_EQ(rig.schedule.ElapsedSeconds(), 1) << "nothing of the tick after the entry ran";
    EXPECT_TRUE(rig.boxes.shown.empty());

    FakeScheduleRig click;
    click.Load();
    click.logger.outcome = EntryOutcome::Closing;
    click.bar.position = 7;
    click.schedule.PushButton6_Click();
    EXPECT_EQ(click.bar.position, 7) << "the closed window's bar is left alone";
    EXPECT_TRUE(click.boxes.shown.empty());
}

} // namespace
} // namespace ambervale
