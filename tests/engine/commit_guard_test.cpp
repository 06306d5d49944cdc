#include "engine_fixture.h"

#include <ostream>
#include <vector>

using fake_kernel::kMB;

namespace {

// One run of 120 MB asked for, on a machine with the given commit limit
// and available commit.
struct GuardCase {
    const char* name;
    DWORDLONG limitMB, availMB;
    bool chargeBlocks; // false: the figure stays as at the start
    int othersTakeMB;  // other programs' commit per block of the run
    bool refuseStatus;
    size_t blocks; // what the run gets
};

std::ostream& operator<<(std::ostream& out, const GuardCase& c)
{
    return out << c.name;
}

class CommitReserveTest : public EngineTest, public ::testing::WithParamInterface<GuardCase> {};

using CommitReserveLoopsTest = EngineTest;

} // namespace

TEST_P(CommitReserveTest, ARunStopsWhereOneMoreBlockWouldEatIntoTheReserveAndReleasesAll)
{
    const GuardCase& c = GetParam();
    fake_kernel::Edit([&](fake_kernel::Script& s) {
        s.status.ullTotalPageFile = c.limitMB * kMB;
        s.status.ullAvailPageFile = c.availMB * kMB;
        s.chargeBlocks = c.chargeBlocks;
        s.refuseStatus = c.refuseStatus;
        s.onAlloc = [&] {
            fake_kernel::Edit([&](fake_kernel::Script& t) { t.status.ullAvailPageFile -= c.othersTakeMB * kMB; });
        };
    });
    CDMemoryFree engine;
    EXPECT_EQ(engine.FreeMemory(120 * 1024), static_cast<int>(c.blocks * 1024));
    const fake_kernel::Record r = fake_kernel::Snapshot();
    ASSERT_EQ(r.allocated.size(), c.blocks);
    std::vector<int> lastFirst;
    for (size_t k = c.blocks; k > 0; --k)
        lastFirst.push_back(static_cast<int>(k - 1));
    EXPECT_EQ(r.released, lastFirst);
    EXPECT_EQ(fake_kernel::LiveBlocks(), 0);
    EXPECT_EQ(engine.getProgressPercent(), 100u);
}

// Small machine: 10 % of 2000 MB is 200 MB, so blocks are taken while 201 MB
// or more is available. Large machine: 512 MB is less than 10 % of 16 GB.
// One case a line, its fields in columns, laid by hand: the formatter joins them
// into one line.
// clang-format off
INSTANTIATE_TEST_SUITE_P(Machines, CommitReserveTest, ::testing::Values(
    GuardCase{"small machine, a tenth",          2000,  300,   true,  0, false, 100},
    GuardCase{"large machine, 512 MB",           16384, 600,   true,  0, false, 88},
    GuardCase{"a stale figure cannot overshoot", 2000,  300,   false, 0, false, 100},
    GuardCase{"others commit too",               2000,  300,   true,  1, false, 50},
    GuardCase{"already inside the reserve",      2000,  200,   true,  0, false, 0},
    GuardCase{"far from the reserve",            16384, 16384, true,  0, false, 120},
    GuardCase{"no figures, only refusals",       2000,  0,     true,  0, true,  120}));
// clang-format on

TEST_F(CommitReserveLoopsTest, BothLoopsRunsStopAtTheReserveToo)
{
    // 10 blocks a run: 210 MB of 2000 MB available, a figure that stays put.
    fake_kernel::SetPhysicalBytes(512 * kMB, 10 * kMB);
    CDMemoryFree engine;
    fake_kernel::Edit([&](fake_kernel::Script& s) {
        s.status.ullTotalPageFile = 2000 * kMB;
        s.status.ullAvailPageFile = 210 * kMB;
        s.chargeBlocks = false;
        s.onSleep = [&](std::uint64_t now) {
            if (now == 20)
                engine.MinimalKeepThreadStop();
            if (now >= 20000)
                engine.MinimalKeepModeThreadStop();
        };
    });
    engine.MinimalKeep(100 * 1024, 10);
    EXPECT_EQ(fake_kernel::Snapshot().allocated.size(), 2u * 10) << "two passes";
    engine.MinimalKeepMode(3);
    EXPECT_EQ(fake_kernel::Snapshot().allocated.size(), 3u * 10) << "one watchdog run of 128 MB asked";
    EXPECT_EQ(fake_kernel::LiveBlocks(), 0);
}
