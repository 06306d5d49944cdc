#include "engine_fixture.h"

#include <vector>

using FreeMemoryTest = EngineTest;

TEST_F(FreeMemoryTest, AmountsAreRoundedUpToWholeBlocks)
{
    struct Case {
        int amountKB, blocks, result;
    } cases[] = {{0, 0, 0}, {1, 1, 1024}, {1000, 1, 1024}, {1024, 1, 1024}, {1025, 2, 2048}, {4096, 4, 4096}};
    for (const Case& c : cases) {
        fake_kernel::Reset();
        CDMemoryFree engine;
        EXPECT_EQ(engine.FreeMemory(c.amountKB), c.result) << c.amountKB << " KB";
        const fake_kernel::Record r = fake_kernel::Snapshot();
        EXPECT_EQ(r.allocated.size(), size_t(c.blocks)) << c.amountKB << " KB";
        EXPECT_EQ(r.released.size(), size_t(c.blocks)) << c.amountKB << " KB";
        EXPECT_TRUE(r.allZeroAtRelease);
        EXPECT_EQ(engine.getProgressPercent(), 100u);
    }
}

TEST_F(FreeMemoryTest, UnitVariantsReturnZeroAndScaleByOneThousandTwentyFour)
{
    CDMemoryFree engine;
    EXPECT_EQ(engine.FreeMemoryMB(2), 0);
    EXPECT_EQ(fake_kernel::Snapshot().allocated.size(), 2u);
    EXPECT_EQ(engine.FreeMemoryKB(1025), 0);
    EXPECT_EQ(fake_kernel::Snapshot().allocated.size(), 4u);
}

TEST_F(FreeMemoryTest, NegativeAmountsAreRefusedWithoutSideEffects)
{
    ProgressProbe engine;
    engine.SetProgress(42);
    EXPECT_EQ(engine.FreeMemory(-5), 0);
    EXPECT_EQ(engine.FreeMemoryKB(-2), 0);
    EXPECT_EQ(engine.FreeMemoryMB(-1), 0) << "-1 MB is -1024 KB, not the stored amount";
    EXPECT_EQ(engine.getProgressPercent(), 42u);
    EXPECT_TRUE(fake_kernel::Snapshot().allocated.empty());
}

TEST_F(FreeMemoryTest, MinusOneSelectsTheStoredAmount)
{
    CDMemoryFree engine;
    EXPECT_EQ(engine.FreeMemory(-1), 0) << "a fresh object stores 0";

    // Without a thread the starter only stores the amount.
    fake_kernel::Edit([](fake_kernel::Script& s) { s.refuseThreads = true; });
    engine.FreeMemoryThread(3000);
    EXPECT_EQ(engine.getProgressPercent(), 100u) << "a thread that never ran leaves progress alone";
    EXPECT_EQ(engine.FreeMemory(-1), 3072);

    engine.FreeMemoryThreadMB(-3);
    EXPECT_EQ(engine.FreeMemory(-1), 0) << "a stored negative amount is refused too";
    EXPECT_EQ(fake_kernel::Snapshot().allocated.size(), 3u);
}

TEST_F(FreeMemoryTest, PartialRunReleasesEverythingItGotLastFirst)
{
    fake_kernel::Edit([](fake_kernel::Script& s) { s.blocksGranted = 3; });
    CDMemoryFree engine;
    EXPECT_EQ(engine.FreeMemory(10 * 1024), 3072);
    const fake_kernel::Record r = fake_kernel::Snapshot();
    EXPECT_EQ(r.allocated, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(r.released, (std::vector<int>{2, 1, 0}));
    EXPECT_EQ(fake_kernel::LiveBlocks(), 0);
    EXPECT_EQ(engine.getProgressPercent(), 100u);
}

TEST_F(FreeMemoryTest, ARunLeavesItsProcessAReserveOfAddressSpace)
{
    // 300 MB of address space left, 1000 MB asked: 256 MB stay the
    // process's own, which leaves room for 41 blocks and their granules.
    fake_kernel::Edit([](fake_kernel::Script& s) { s.status.ullAvailVirtual = 300 * fake_kernel::kMB; });
    CDMemoryFree engine;
    EXPECT_EQ(engine.getFreeMemoryReachMB(), 41u);
    EXPECT_EQ(engine.FreeMemory(1000 * 1024), 41 * 1024);
    EXPECT_EQ(fake_kernel::Snapshot().released.size(), 41u);
    EXPECT_EQ(engine.getProgressPercent(), 100u);
}

TEST_F(FreeMemoryTest, ProgressRisesPerBlockAndReaches100OnlyAfterRelease)
{
    CDMemoryFree engine;
    std::vector<DWORD> seen, seenAtRelease;
    fake_kernel::Edit([&](fake_kernel::Script& s) {
        s.onAlloc = [&] { seen.push_back(engine.getProgressPercent()); };
        s.onRelease = [&] { seenAtRelease.push_back(engine.getProgressPercent()); };
    });
    engine.FreeMemory(65536);
    ASSERT_EQ(seen.size(), 64u);
    const std::vector<DWORD> start(seen.begin(), seen.begin() + 7);
    EXPECT_EQ(start, (std::vector<DWORD>{0, 1, 3, 4, 6, 7, 9}));
    EXPECT_EQ(seen.back(), 98u);
    for (size_t k = 0; k < seen.size(); ++k)
        EXPECT_EQ(seen[k], k * 1024 * 100 / 65536) << "block " << k;
    EXPECT_EQ(seenAtRelease, std::vector<DWORD>(64, 98)) << "a page must not see 100 while memory goes back";
    EXPECT_EQ(engine.getProgressPercent(), 100u);

    seenAtRelease.clear();
    engine.FreeMemory(4096);
    EXPECT_EQ(seenAtRelease, std::vector<DWORD>(4, 75));
}

TEST_F(FreeMemoryTest, ProgressOfAVeryLargeRequestDoesNotWrap)
{
    // 2 TB asked, two blocks granted: the second block's progress needs more
    // than 32 bits on the way.
    fake_kernel::Edit([](fake_kernel::Script& s) { s.blocksGranted = 2; });
    CDMemoryFree engine;
    std::vector<DWORD> seen;
    fake_kernel::Edit([&](fake_kernel::Script& s) { s.onAlloc = [&] { seen.push_back(engine.getProgressPercent()); }; });
    EXPECT_EQ(engine.FreeMemory(0x7FFFFFFF), 2048);
    EXPECT_EQ(seen, (std::vector<DWORD>{0, 0, 0}));
}

TEST_F(FreeMemoryTest, ReportedProgressIsClampedToAPercentage)
{
    ProgressProbe engine;
    EXPECT_EQ(engine.getProgressPercent(), 100u) << "a fresh object is idle";
    engine.SetProgress(150);
    EXPECT_EQ(engine.getProgressPercent(), 100u);
    engine.SetProgress(-3);
    EXPECT_EQ(engine.getProgressPercent(), 0u);
    engine.SetProgress(57);
    EXPECT_EQ(engine.getProgressPercent(), 57u);
}

TEST_F(FreeMemoryTest, ARefusedReleaseIsRetriedAFewTimes)
{
    fake_kernel::Edit([](fake_kernel::Script& s) {
        s.refuseReleaseOfBlock = 1;
        s.releaseRefusals = 2;
    });
    CDMemoryFree engine;
    EXPECT_EQ(engine.FreeMemory(3 * 1024), 3072);
    EXPECT_EQ(fake_kernel::LiveBlocks(), 0);
    EXPECT_EQ(engine.getReleaseFailures(), 0);
}

TEST_F(FreeMemoryTest, ABlockThatNeverGoesBackIsReportedNotFreedAsIfReleased)
{
    fake_kernel::Edit([](fake_kernel::Script& s) {
        s.refuseReleaseOfBlock = 1;
        s.releaseRefusals = -1;
    });
    CDMemoryFree engine;
    EXPECT_EQ(engine.FreeMemory(3 * 1024), 2048) << "only what went back counts";
    const fake_kernel::Record r = fake_kernel::Snapshot();
    EXPECT_EQ(r.released, (std::vector<int>{2, 0})) << "the others are still released in order";
    EXPECT_GT(r.releaseAttemptsOfRefused, 1);
    EXPECT_LE(r.releaseAttemptsOfRefused, 10) << "retries are bounded";
    EXPECT_EQ(engine.getReleaseFailures(), 1);
    EXPECT_EQ(engine.getProgressPercent(), 100u);
}

TEST_F(FreeMemoryTest, CopiesCarryTheStoredArgumentsButNotTheSourcesRun)
{
    fake_kernel::Edit([](fake_kernel::Script& s) { s.refuseThreads = true; });
    ProgressProbe engine;
    engine.FreeMemoryThread(2048);
    engine.SetProgress(40); // as if a run of its own were under way
    CDMemoryFree copy(engine);
    EXPECT_EQ(copy.getProgressPercent(), 100u) << "the copy has no run";
    EXPECT_EQ(copy.FreeMemory(-1), 2048) << "the stored amount comes along";
    CDMemoryFree assigned;
    EXPECT_EQ(&(assigned = engine), &assigned);
    EXPECT_EQ(assigned.getProgressPercent(), 100u);
    EXPECT_EQ(assigned.FreeMemory(-1), 2048);
    static_cast<CDMemoryFree&>(engine) = assigned;
    EXPECT_EQ(engine.getProgressPercent(), 40u) << "assignment keeps the target's own run";
}
