// A scriptable stand-in for the kernel services the engine calls, linked in
// place of the real ones: chosen figures, refused allocations and releases,
// a virtual clock behind Sleep, and a record of what the engine did.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace fake_kernel {

struct Script {
    SYSTEM_INFO info{};
    MEMORYSTATUSEX status{};
    // Blocks granted before allocations are refused; -1 grants all.
    int blocksGranted = -1;
    // Allocation index (0-based) of a block whose release is refused, and
    // how many times; -1 refuses it for ever.
    int refuseReleaseOfBlock = -1;
    int releaseRefusals = 0;
    // Blocks held are charged to the available page-file figure, as a real
    // kernel charges committed memory; off, the figure stays as scripted
    // (a stale reading).
    bool chargeBlocks = true;
    bool refuseStatus = false;
    bool refuseThreads = false;
    // New threads wait at a gate until OpenThreadGate().
    bool holdThreads = false;
    // Run before each allocation and each release, and after each Sleep
    // with the clock.
    std::function<void()> onAlloc;
    std::function<void()> onRelease;
    std::function<void(std::uint64_t nowMs)> onSleep;
};

struct Record {
    int statusQueries = 0;
    int infoQueries = 0;
    std::vector<int> allocated;  // block indices in allocation order
    std::vector<int> released;   // block indices in release order
    int releaseAttempts = 0;
    int releaseAttemptsOfRefused = 0;
    bool allZeroAtRelease = true;
    int threadsCreated = 0;
    std::uint64_t clockMs = 0;
    std::vector<DWORD> sleeps;
};

// Resets script and record: 100 MB of RAM and 4 GB of page file, all
// available, 4 KB pages.
void Reset();
// Changes the script under the fake's lock.
void Edit(const std::function<void(Script&)>& change);
Record Snapshot();
int LiveBlocks();
void OpenThreadGate();
// Waits (really) until every thread the fake started has returned.
void JoinThreads();

void SetPhysicalBytes(DWORDLONG total, DWORDLONG available);
inline constexpr DWORDLONG MB = 1ull << 20;

} // namespace fake_kernel
