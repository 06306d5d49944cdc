// The engine over the real platform: Linux through the stand-in natively,
// the real Win32 services under Wine.
#include "drevcore.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <thread>

#if defined(_WIN32)
#  include <psapi.h>
#else
#  include <sys/resource.h>
#  include <unistd.h>

#  include <cstdio>
#endif

namespace {

// The process's resident memory now and at its highest so far.
struct Resident {
    std::uint64_t now = 0;
    std::uint64_t peak = 0;
};

Resident ResidentBytes()
{
#if defined(_WIN32)
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return {counters.WorkingSetSize, counters.PeakWorkingSetSize};
#else
    Resident bytes;
    long pages = 0, resident = 0;
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) == 2)
            bytes.now = static_cast<std::uint64_t>(resident) * sysconf(_SC_PAGESIZE);
        std::fclose(statm);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    bytes.peak = static_cast<std::uint64_t>(usage.ru_maxrss) << 10;
    return bytes;
#endif
}

} // namespace

TEST(PlatformTest, FiguresAreConsistent)
{
    CDMemoryStatus status;
    const DWORD total = status.getStatusPhyTotalMB();
    EXPECT_GT(total, 0u);
    EXPECT_LE(status.getStatusPhyAvaiMB(), total);
    EXPECT_LE(status.getStatusMemoryLoad(), 100u);
    EXPECT_GE(status.getStatusPageTotalMB(), total) << "the commit limit includes RAM";
    EXPECT_GT(status.getStatusVirtualTotalMB(), 1024u);
    const int percent = status.getStatusPhyAvaiPercent();
    EXPECT_GE(percent, 0);
    EXPECT_LE(percent, 100);

    CDSystemInfo info;
    EXPECT_EQ(info.getInfoPageSize(), 4096u);
    EXPECT_LT(info.getInfoMinimumApplicationAddressLP(), info.getInfoMaximumApplicationAddressLP());
    EXPECT_GE(info.getInfoNumberOfProcessors(), 1u);
    EXPECT_NE(info.getInfoActiveProcessorMask(), 0u);
}

#if defined(_WIN32)
TEST(PlatformTest, ProcessIsLargeAddressAware)
{
    CDSystemInfo info;
    EXPECT_GT(reinterpret_cast<std::uintptr_t>(info.getInfoMaximumApplicationAddressLP()), 0x7FFFFFFFu);
}
#endif

TEST(PlatformTest, RunsRoundUpToWholeBlocks)
{
    CDMemoryFree engine;
    EXPECT_EQ(engine.FreeMemory(1025), 2048);
    EXPECT_EQ(engine.FreeMemory(0), 0);
    EXPECT_EQ(engine.getProgressPercent(), 100u);
}

TEST(PlatformTest, ARunBacksItsBlocksWithMemory)
{
    // From what is resident now: earlier tests in this process may have
    // raised the peak already.
    const Resident before = ResidentBytes();
    CDMemoryFree engine;
    ASSERT_EQ(engine.FreeMemoryMB(0), 0);
    EXPECT_EQ(engine.FreeMemory(256 * 1024), 256 * 1024);
    const Resident after = ResidentBytes();
    EXPECT_GE(after.peak - before.now, 256ull << 20) << "the zeroed blocks were really resident";
#if defined(_WIN32)
    EXPECT_LT(after.now, before.now + (64ull << 20)) << "and were given back";
#endif
}

TEST(PlatformTest, AWorkerRunEndsIdle)
{
    CDMemoryFree engine;
    engine.FreeMemoryThreadMB(32);
    // The worker sets 0 only once it runs; wait for it to start, then end.
    // A run this size may also start and end between two polls.
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::seconds(30);
    const auto settled = Clock::now() + std::chrono::seconds(2);
    bool sawRun = false;
    while (Clock::now() < deadline) {
        const DWORD progress = engine.getProgressPercent();
        if (progress < 100)
            sawRun = true;
        else if (sawRun || Clock::now() > settled)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(engine.getProgressPercent(), 100u);
}
