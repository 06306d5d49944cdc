#include "sequence.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <random>
#include <sstream>

namespace sequences {
namespace {

// The edges of each kind of argument: 0, 1, -1 (the stored value), other
// negatives, block boundaries, the largest amounts a signed 32-bit value
// holds (and the largest MB amount whose KB still fits), and amounts larger
// than any machine.
const int kAmountsKB[] = {0, 1, -1, -2, -5, INT_MIN, 1023, 1024, 1025, 2048, 3072, 8192,
                          24576, 65536, 4194304, INT_MAX >> 10, INT_MAX};
const int kAmountsMB[] = {0, 1, -1, -2, INT_MIN, 2, 8, 24, 64, 4096,
                          INT_MAX >> 10, (INT_MAX >> 10) + 1, INT_MAX};
// Pauses stop at 100 s: a stop waits out the pause in hand, and every 100 ms
// of a pause is a hand-over between threads, even in virtual time.
const int kPausesMs[] = {-1, -2, INT_MIN, 0, 1, 99, 100, 101, 1000, 20000, 100000};
const int kRealPausesMs[] = {-1, -2, INT_MIN, 0, 1, 10};
const int kModes[] = {-1, 0, 1, 2, 3, 4, INT_MIN};
// What the real platform can give a test on a shared machine.
constexpr std::int64_t kRealLimitKB = 65536;

struct Weighted {
    Call call;
    int weight;
};

const Weighted kFreeCalls[] = {
    {Call::New, 3},
    {Call::Copy, 3},
    {Call::Assign, 4},
    {Call::Destroy, 3},
    {Call::Getter, 2},
    {Call::FreeMemory, 4},
    {Call::FreeMemoryKB, 2},
    {Call::FreeMemoryMB, 3},
    {Call::FreeMemoryThread, 3},
    {Call::FreeMemoryThreadKB, 2},
    {Call::FreeMemoryThreadMB, 4},
    {Call::FreeMemoryThreadContent, 2},
    {Call::GetProgressPercent, 3},
    {Call::MinimalKeep, 3},
    {Call::MinimalKeepThread, 4},
    {Call::MinimalKeepThreadContent, 2},
    {Call::MinimalKeepThreadStop, 5},
    {Call::GetMinimalKeepIsInProgress, 2},
    {Call::MinimalKeepMode, 2},
    {Call::MinimalKeepModeThread, 3},
    {Call::MinimalKeepModeThreadContent, 1},
    {Call::MinimalKeepModeThreadStop, 4},
    {Call::GetReleaseFailures, 1},
};
const Weighted kPlainCalls[] = {
    {Call::New, 2},
    {Call::Copy, 2},
    {Call::Assign, 2},
    {Call::Destroy, 2},
    {Call::Getter, 6},
};

template <class T, std::size_t N>
const T& Pick(std::mt19937_64& rng, const T (&items)[N])
{
    return items[rng() % N];
}

template <std::size_t N>
Call PickCall(std::mt19937_64& rng, const Weighted (&calls)[N])
{
    int total = 0;
    for (const Weighted& w : calls)
        total += w.weight;
    int roll = static_cast<int>(rng() % static_cast<std::uint64_t>(total));
    for (const Weighted& w : calls) {
        if (roll < w.weight)
            return w.call;
        roll -= w.weight;
    }
    return calls[0].call;
}

bool TakesMB(Call call)
{
    return call == Call::FreeMemoryMB || call == Call::FreeMemoryThreadMB;
}

// The amount a call asks for, in KB, as the engine computes it.
std::int64_t EffectiveKB(Call call, int amount)
{
    const std::int32_t kb = TakesMB(call) ? static_cast<std::int32_t>(static_cast<std::uint32_t>(amount) << 10) : amount;
    return kb;
}

int PickAmount(std::mt19937_64& rng, Call call, bool real)
{
    for (;;) {
        const int amount = TakesMB(call) ? Pick(rng, kAmountsMB) : Pick(rng, kAmountsKB);
        if (!real || EffectiveKB(call, amount) <= kRealLimitKB)
            return amount;
    }
}

const char* Name(Call call)
{
    switch (call) {
    case Call::New: return "new";
    case Call::Copy: return "copy of";
    case Call::Assign: return "assign from";
    case Call::Destroy: return "destroy";
    case Call::Getter: return "getter";
    case Call::FreeMemory: return "FreeMemory";
    case Call::FreeMemoryKB: return "FreeMemoryKB";
    case Call::FreeMemoryMB: return "FreeMemoryMB";
    case Call::FreeMemoryThread: return "FreeMemoryThread";
    case Call::FreeMemoryThreadKB: return "FreeMemoryThreadKB";
    case Call::FreeMemoryThreadMB: return "FreeMemoryThreadMB";
    case Call::FreeMemoryThreadContent: return "FreeMemoryThreadContent";
    case Call::GetProgressPercent: return "getProgressPercent";
    case Call::MinimalKeep: return "MinimalKeep";
    case Call::MinimalKeepThread: return "MinimalKeepThread";
    case Call::MinimalKeepThreadContent: return "MinimalKeepThreadContent";
    case Call::MinimalKeepThreadStop: return "MinimalKeepThreadStop";
    case Call::GetMinimalKeepIsInProgress: return "getMinimalKeepIsInProgress";
    case Call::MinimalKeepMode: return "MinimalKeepMode";
    case Call::MinimalKeepModeThread: return "MinimalKeepModeThread";
    case Call::MinimalKeepModeThreadContent: return "MinimalKeepModeThreadContent";
    case Call::MinimalKeepModeThreadStop: return "MinimalKeepModeThreadStop";
    case Call::GetReleaseFailures: return "getReleaseFailures";
    }
    return "?";
}

int Arguments(Call call)
{
    switch (call) {
    case Call::FreeMemory:
    case Call::FreeMemoryKB:
    case Call::FreeMemoryMB:
    case Call::FreeMemoryThread:
    case Call::FreeMemoryThreadKB:
    case Call::FreeMemoryThreadMB:
    case Call::MinimalKeepMode:
    case Call::MinimalKeepModeThread:
    case Call::Getter:
        return 1;
    case Call::MinimalKeep:
    case Call::MinimalKeepThread:
        return 2;
    default:
        return 0;
    }
}

} // namespace

bool IsLoop(Call call)
{
    return call == Call::MinimalKeep || call == Call::MinimalKeepThreadContent || call == Call::MinimalKeepMode
        || call == Call::MinimalKeepModeThreadContent;
}

bool MayRun(Call call)
{
    return IsLoop(call) || call == Call::FreeMemory || call == Call::FreeMemoryKB || call == Call::FreeMemoryMB
        || call == Call::FreeMemoryThreadContent;
}

Sequence Generate(std::uint64_t seed, const Profile& profile)
{
    std::mt19937_64 rng(seed);
    Sequence sequence;
    sequence.seed = seed;
    sequence.serialised = profile.threads == Profile::Threads::Serialised
        || (profile.threads == Profile::Threads::Mixed && rng() % 4 != 0);
    // Only the fake kernel can serialise threads.
    sequence.serialised = sequence.serialised && !profile.realPlatform;

    Machine& m = sequence.machine;
    const unsigned totals[] = {20, 30, 31, 63, 251, 4095};
    const unsigned avails[] = {0, 3, 15, 63, 100};
    const unsigned pageFiles[] = {48, 4096};
    const int limits[] = {8, 24, 40};
    const int allocRefusals[] = {0, 0, 20, 200};
    const int releaseRefusals[] = {0, 0, 100, 500};
    m.totalMB = Pick(rng, totals);
    m.availMB = std::min(m.totalMB, Pick(rng, avails));
    m.pageFileMB = Pick(rng, pageFiles);
    m.liveBlockLimit = Pick(rng, limits);
    m.refuseAllocPermille = Pick(rng, allocRefusals);
    m.refuseReleasePermille = Pick(rng, releaseRefusals);
    m.refusalSeed = rng();

    bool occupied[kSlots] = {};
    const int count = 1 + static_cast<int>(rng() % static_cast<std::uint64_t>(profile.maxSteps));
    for (int i = 0; i < count; ++i) {
        Step s;
        s.thread = static_cast<int>(rng() % kThreads);
        const int roll = static_cast<int>(rng() % 100);
        s.slot = roll < 70 ? static_cast<int>(rng() % kFreeSlots) : roll < 85 ? kStatusSlot
                                                                              : kInfoSlot;
        const bool free = s.slot < kFreeSlots;
        if (!occupied[s.slot] && rng() % 5 != 0)
            s.call = rng() % 2 ? Call::New : Call::Copy;
        else
            s.call = free ? PickCall(rng, kFreeCalls) : PickCall(rng, kPlainCalls);
        if (profile.realPlatform && (s.call == Call::MinimalKeepMode || s.call == Call::MinimalKeepModeThreadContent))
            s.call = Call::MinimalKeepModeThread;
        // A CDMemoryStatus or CDSystemInfo may be copied from any object of
        // its class or a derived one; a CDMemoryFree only from another.
        s.source = static_cast<int>(rng() % (s.slot == kInfoSlot ? kSlots : s.slot == kStatusSlot ? kSlots - 1
                                                                                                  : kFreeSlots));
        switch (s.call) {
        case Call::FreeMemory:
        case Call::FreeMemoryKB:
        case Call::FreeMemoryMB:
        case Call::FreeMemoryThread:
        case Call::FreeMemoryThreadKB:
        case Call::FreeMemoryThreadMB:
            s.a = PickAmount(rng, s.call, profile.realPlatform);
            break;
        case Call::MinimalKeep:
        case Call::MinimalKeepThread:
            s.a = PickAmount(rng, s.call, profile.realPlatform);
            s.b = profile.realPlatform ? Pick(rng, kRealPausesMs) : Pick(rng, kPausesMs);
            break;
        case Call::MinimalKeepMode:
        case Call::MinimalKeepModeThread:
            s.a = Pick(rng, kModes);
            break;
        case Call::Getter:
            s.a = static_cast<int>(rng() % 64);
            break;
        default:
            break;
        }
        const int sliceRoll = static_cast<int>(rng() % 10);
        s.slices = sliceRoll < 5 ? sliceRoll : static_cast<int>(rng() % 200);
        s.choices = rng();
        if (s.call == Call::New || s.call == Call::Copy)
            occupied[s.slot] = true;
        else if (s.call == Call::Destroy)
            occupied[s.slot] = false;
        sequence.steps.push_back(s);
    }
    return sequence;
}

std::string Describe(const Step& s)
{
    static const char* const slotNames[] = {"free0", "free1", "free2", "status", "info"};
    std::ostringstream out;
    out << "thread " << s.thread << ": " << slotNames[s.slot] << '.' << Name(s.call);
    if (s.call == Call::Copy || s.call == Call::Assign)
        out << ' ' << slotNames[s.source];
    const int arguments = Arguments(s.call);
    if (arguments > 0) {
        out << '(' << s.a;
        if (arguments > 1)
            out << ", " << s.b;
        out << ')';
    }
    out << " [" << s.slices << " hand-overs]";
    return out.str();
}

std::string Describe(const Sequence& sequence)
{
    std::ostringstream out;
    const Machine& m = sequence.machine;
    out << (sequence.serialised ? "serialised" : "free") << " threads; machine " << m.availMB << " of "
        << m.totalMB << " MB available, page file " << m.pageFileMB << " MB, " << m.liveBlockLimit
        << " blocks at most, refusals " << m.refuseAllocPermille << "/" << m.refuseReleasePermille
        << " per mille\n";
    for (std::size_t i = 0; i < sequence.steps.size(); ++i)
        out << "  " << i << ". " << Describe(sequence.steps[i]) << '\n';
    return out.str();
}

} // namespace sequences
