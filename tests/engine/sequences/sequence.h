// Random call sequences over the engine's public interface: which thread
// calls which member of which object, with which arguments, and how the
// threads are interleaved after each call.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sequences {

// Object slots: three CDMemoryFree, then one CDMemoryStatus, one CDSystemInfo.
inline constexpr int kFreeSlots = 3;
inline constexpr int kStatusSlot = 3;
inline constexpr int kInfoSlot = 4;
inline constexpr int kSlots = 5;
inline constexpr int kThreads = 4;

enum class Call : std::uint8_t {
    New,
    Copy,   // slot = new object copied from source
    Assign, // slot = source
    Destroy,
    Getter, // argument a picks one of the object's getters
    FreeMemory,
    FreeMemoryKB,
    FreeMemoryMB,
    FreeMemoryThread,
    FreeMemoryThreadKB,
    FreeMemoryThreadMB,
    FreeMemoryThreadContent,
    GetProgressPercent,
    MinimalKeep,
    MinimalKeepThread,
    MinimalKeepThreadContent,
    MinimalKeepThreadStop,
    GetMinimalKeepIsInProgress,
    MinimalKeepMode,
    MinimalKeepModeThread,
    MinimalKeepModeThreadContent,
    MinimalKeepModeThreadStop,
    GetReleaseFailures,
};

// Calls that may keep their thread until another thread stops them.
bool IsLoop(Call call);
// Calls that may make a freeing run on the caller's thread.
bool MayRun(Call call);

struct Step {
    int thread = 0;
    int slot = 0;
    Call call = Call::New;
    int source = 0; // Copy and Assign
    int a = 0;
    int b = 0;
    // Hand-overs between threads after the call, and the choices they take
    // (serialised mode).
    int slices = 0;
    std::uint64_t choices = 0;
};

// The fake machine a sequence runs on.
struct Machine {
    unsigned totalMB = 100;
    unsigned availMB = 100;
    unsigned pageFileMB = 4096;
    int liveBlockLimit = 24;
    int refuseAllocPermille = 0;
    int refuseReleasePermille = 0;
    std::uint64_t refusalSeed = 0;
};

struct Sequence {
    std::uint64_t seed = 0;
    bool serialised = true;
    Machine machine;
    std::vector<Step> steps;
};

struct Profile {
    // Over the real platform: amounts stay within what this machine can
    // give a test, pauses short, and no watchdog on a caller's thread (it
    // would keep that thread 20 real seconds).
    bool realPlatform = false;
    // Threads serialised by the fake (exact replay), free, or mixed per seed.
    enum class Threads {
        Serialised,
        Free,
        Mixed
    } threads = Threads::Mixed;
    int maxSteps = 60;
};

Sequence Generate(std::uint64_t seed, const Profile& profile);
std::string Describe(const Step& step);
std::string Describe(const Sequence& sequence);

} // namespace sequences
