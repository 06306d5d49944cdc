#include "engine_fixture.h"

#include <numeric>
#include <ostream>

using fake_kernel::kMB;
using KeepFreeTest = EngineTest;

namespace {

std::uint64_t SleptMs()
{
    return fake_kernel::Snapshot().clockMs;
}

} // namespace

TEST_F(KeepFreeTest, KeepLoopFreesAtOnceThenPausesUntilStopped)
{
    CDMemoryFree engine;
    int passes = 0;
    fake_kernel::Edit([&](fake_kernel::Script& s) {
        s.onSleep = [&](std::uint64_t now) {
            EXPECT_EQ(engine.getMinimalKeepIsInProgress(), 1);
            if (now >= 3 * 250)
                engine.MinimalKeepThreadStop();
        };
        s.onAlloc = [&] { ++passes; };
    });
    EXPECT_EQ(engine.MinimalKeep(2048, 250), 0);
    EXPECT_EQ(passes, 3 * 2) << "three passes of two blocks";
    EXPECT_EQ(SleptMs(), 750u);
    EXPECT_EQ(engine.getMinimalKeepIsInProgress(), 0);
}

TEST_F(KeepFreeTest, KeepLoopOnAFreshObjectMakesEmptyRunsAndZeroSleeps)
{
    CDMemoryFree engine;
    int sleeps = 0;
    fake_kernel::Edit([&](fake_kernel::Script& s) {
        s.onSleep = [&](std::uint64_t) {
            if (++sleeps == 5)
                engine.MinimalKeepThreadStop();
        };
    });
    engine.MinimalKeep(-1, -1);
    const fake_kernel::Record r = fake_kernel::Snapshot();
    EXPECT_TRUE(r.allocated.empty());
    EXPECT_EQ(r.sleeps, (std::vector<DWORD>(5, 0)));
}

TEST_F(KeepFreeTest, AStopDuringThePauseEndsTheLoopAfterItWithoutAnotherRun)
{
    CDMemoryFree engine;
    fake_kernel::Edit([&](fake_kernel::Script& s) {
        s.onSleep = [&](std::uint64_t now) {
            if (now == 100)
                engine.MinimalKeepThreadStop();
        };
    });
    engine.MinimalKeep(1024, 1000);
    EXPECT_EQ(fake_kernel::Snapshot().allocated.size(), 1u);
    EXPECT_EQ(SleptMs(), 1000u) << "the pause is slept in full";
}

TEST_F(KeepFreeTest, NegativePausesOtherThanTheStoredOneAreRefused)
{
    CDMemoryFree engine;
    EXPECT_EQ(engine.MinimalKeep(1024, -2), 0);
    fake_kernel::Edit([](fake_kernel::Script& s) { s.holdThreads = true; });
    engine.MinimalKeepThread(1024, -1);
    fake_kernel::OpenThreadGate();
    fake_kernel::JoinThreads();
    EXPECT_TRUE(fake_kernel::Snapshot().allocated.empty());
    EXPECT_TRUE(fake_kernel::Snapshot().sleeps.empty());
    EXPECT_EQ(engine.getMinimalKeepIsInProgress(), 0);
}

TEST_F(KeepFreeTest, ThreadedKeepLoopUsesTheStoredArgumentsAndStops)
{
    CDMemoryFree engine;
    fake_kernel::Edit([](fake_kernel::Script& s) { s.holdThreads = true; });
    engine.MinimalKeepThread(3000, 40);
    EXPECT_EQ(engine.getMinimalKeepIsInProgress(), 0) << "set only once the loop begins";
    fake_kernel::Edit([&](fake_kernel::Script& s) {
        s.onSleep = [&](std::uint64_t now) {
            if (now >= 80)
                engine.MinimalKeepThreadStop();
        };
    });
    fake_kernel::OpenThreadGate();
    fake_kernel::JoinThreads();
    EXPECT_EQ(fake_kernel::Snapshot().allocated.size(), 2u * 3);
    EXPECT_EQ(engine.getMinimalKeepIsInProgress(), 0);
}

TEST_F(KeepFreeTest, StopsThatComeBeforeTheirLoopBeginsAreNotLost)
{
    CDMemoryFree engine;
    fake_kernel::Edit([](fake_kernel::Script& s) { s.holdThreads = true; });
    engine.MinimalKeepThread(1024, 10);
    engine.MinimalKeepModeThread(1);
    engine.MinimalKeepThreadStop();
    engine.MinimalKeepModeThreadStop();
    fake_kernel::OpenThreadGate();
    fake_kernel::JoinThreads();
    EXPECT_TRUE(fake_kernel::Snapshot().allocated.empty());
    EXPECT_TRUE(fake_kernel::Snapshot().sleeps.empty());
    EXPECT_EQ(engine.getMinimalKeepIsInProgress(), 0);
}

// One pass of the watchdog: the loop is stopped during its first pause.
struct WatchdogCase {
    int mode;
    DWORDLONG totalMB, availMB;
    size_t freedMB;
    int statusQueries;
};

// Without a printer GoogleTest dumps the bytes, padding included, and the
// case names change from run to run.
void PrintTo(const WatchdogCase& c, std::ostream* os)
{
    *os << "mode " << c.mode << ", " << c.availMB << " of " << c.totalMB << " MB available";
}

class WatchdogTest : public EngineTest, public ::testing::WithParamInterface<WatchdogCase> {};

TEST_P(WatchdogTest, LooksAfterTwentySecondsAndFreesOnlyBelowTheFloor)
{
    const WatchdogCase& c = GetParam();
    fake_kernel::SetPhysicalBytes(c.totalMB * kMB, c.availMB * kMB);
    CDMemoryFree engine;
    std::uint64_t firstLook = 0;
    fake_kernel::Edit([&](fake_kernel::Script& s) {
        s.onSleep = [&](std::uint64_t now) {
            if (now == 1000)
                engine.MinimalKeepModeThreadStop();
        };
        s.onAlloc = [&] {
            if (!firstLook)
                firstLook = SleptMs();
        };
    });
    EXPECT_EQ(engine.MinimalKeepMode(c.mode), 0);
    const fake_kernel::Record r = fake_kernel::Snapshot();
    EXPECT_EQ(r.allocated.size(), c.freedMB);
    EXPECT_EQ(r.statusQueries, c.statusQueries + static_cast<int>(c.freedMB)) << "the look, and one per block run";
    EXPECT_EQ(r.clockMs, 20000u) << "one full pause, then one look";
    if (c.freedMB) {
        EXPECT_EQ(firstLook, 20000u);
    }
}

// One case a line, its fields in columns, laid by hand: the formatter joins them
// into one line.
// clang-format off
INSTANTIATE_TEST_SUITE_P(ModesAtTheirLimits, WatchdogTest, ::testing::Values(
    WatchdogCase{1, 30,   0,  0,   1},
    WatchdogCase{1, 31,   3,  8,   2},
    WatchdogCase{1, 31,   4,  0,   2},
    WatchdogCase{2, 60,   0,  0,   1},
    WatchdogCase{2, 63,   15, 32,  2},
    WatchdogCase{2, 63,   16, 0,   2},
    WatchdogCase{3, 250,  0,  0,   1},
    WatchdogCase{3, 251,  63, 128, 2},
    WatchdogCase{3, 251,  64, 0,   2},
    WatchdogCase{0, 4096, 0,  0,   0},
    WatchdogCase{4, 4096, 0,  0,   0}));
// clang-format on

TEST_F(KeepFreeTest, WatchdogFreesOncePerPassEvenWhileMemoryStaysLow)
{
    fake_kernel::SetPhysicalBytes(512 * kMB, 10 * kMB);
    CDMemoryFree engine;
    fake_kernel::Edit([&](fake_kernel::Script& s) {
        s.onSleep = [&](std::uint64_t now) {
            if (now == 41000)
                engine.MinimalKeepModeThreadStop();
        };
    });
    engine.MinimalKeepMode(2);
    EXPECT_EQ(fake_kernel::Snapshot().allocated.size(), 3u * 32) << "three passes, one run each";
    EXPECT_EQ(SleptMs(), 60000u);
}

TEST_F(KeepFreeTest, ThreadedWatchdogTakesTheStoredMode)
{
    fake_kernel::SetPhysicalBytes(512 * kMB, 10 * kMB);
    CDMemoryFree engine;
    fake_kernel::Edit([&](fake_kernel::Script& s) {
        s.holdThreads = true;
        s.onSleep = [&](std::uint64_t now) {
            if (now == 20000)
                engine.MinimalKeepModeThreadStop();
        };
    });
    engine.MinimalKeepModeThread(3);
    fake_kernel::OpenThreadGate();
    fake_kernel::JoinThreads();
    EXPECT_EQ(fake_kernel::Snapshot().allocated.size(), 128u);
}
