// A scriptable stand-in for the kernel services the engine calls, linked in
// place of the real ones: chosen figures, refused allocations and releases,
// a virtual clock behind Sleep, and a record of what the engine did.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
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
    // Blocks held are charged to the available page-file and address-space
    // figures, as a real kernel charges them; off, the figures stay as
    // scripted (a stale reading).
    bool chargeBlocks = true;
    // Blocks that may be held at once, by all runs together; -1 no limit.
    int liveBlockLimit = -1;
    // Refusals drawn from a seeded generator: allocations, and releases
    // (at most releaseRefusalsInARow for one block, so it goes back in the
    // end), in parts per thousand.
    int refuseAllocPermille = 0;
    int refuseReleasePermille = 0;
    int releaseRefusalsInARow = 0;
    std::uint64_t refusalSeed = 0;
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
    std::vector<int> allocated; // block indices in allocation order
    std::vector<int> released;  // block indices in release order
    int releaseAttempts = 0;
    int releaseAttemptsOfRefused = 0;
    bool allZeroAtRelease = true;
    int threadsCreated = 0;
    std::uint64_t clockMs = 0;
    std::vector<DWORD> sleeps;
    // What no run may do: release a block twice or one it does not hold,
    // release out of order, release a block not all zero.
    std::vector<std::string> faults;
};

// Resets script and record: 100 MB of RAM and 4 GB of page file, all
// available, 4 KB pages, 128 TB of address space.
void Reset();
// Changes the script under the fake's lock.
void Edit(const std::function<void(Script&)>& change);
Record Snapshot();
// Cheaper than a snapshot, for callers that ask often.
std::uint64_t NowMs();
std::vector<std::string> Faults();
int LiveBlocks();
void OpenThreadGate();
// Waits (really) until every thread the fake started has returned.
void JoinThreads();

void SetPhysicalBytes(DWORDLONG total, DWORDLONG available);
// Threads the fake started on this parameter that have not yet returned.
int WorkersOn(const void* parameter);

// Serialised mode: the threads taking part run one at a time and change
// hands only inside kernel calls, so one choice per hand-over decides the
// whole interleaving, and Sleep waits on a virtual clock that jumps ahead
// when nothing else can run. Every thread the fake starts takes part; other
// threads join with Enlist.
void BeginSerialised();
void EndSerialised();
// A new participant, idle until Wake; its thread calls ParkIdle(id) first.
int Enlist();
void ParkIdle(int id);
void Wake(int id);
bool IsIdle(int id);
// The participant's thread is done with the schedule.
void Leave(int id);
// Lets one participant run to its next kernel call, picked by choice among
// those that can run. False when none can (all idle or gone), or when the
// one picked did not come back (blocked outside the kernel) within stuckMs.
enum class Slice {
    Ran,
    Quiet,
    Stuck
};
Slice RunSlice(std::uint64_t choice, int stuckMs = 60000);
inline constexpr DWORDLONG kMB = 1ull << 20;

} // namespace fake_kernel
