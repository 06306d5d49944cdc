#include "fake_kernel.h"

#include <algorithm>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <random>
#include <set>
#include <thread>
#include <unordered_map>

namespace fake_kernel {
namespace {

constexpr unsigned char kFreshByte = 0xAB;

std::mutex lock;
std::condition_variable changed;
Script script;
Record record;
std::map<void*, int> live; // block -> allocation index; every block is 1 MB
int nextIndex = 0;
int runningThreads = 0;
bool gateOpen = false;
std::multiset<const void*> workerParameters;
std::mt19937_64 refusals;
std::map<void*, int> refusedInARow;
// Per thread, the blocks it holds, oldest first: a release must take the
// newest one it has not yet been refused.
std::map<std::thread::id, std::vector<void*>> heldBy;
std::set<void*> everRefused;

// Serialised mode.
enum class State {
    Running,
    Runnable,
    Sleeping,
    Idle,
    Done
};
struct Participant {
    State state = State::Idle;
    std::uint64_t wakeMs = 0;
    // Each waits on its own signal, so a hand-over wakes one thread only.
    std::condition_variable turnCame;
};
std::condition_variable turnReturned;
bool serialised = false;
// Ids are never reused, so a thread left parked by an earlier schedule
// can never be handed the turn of a later one.
std::map<int, Participant> participants;
int nextParticipant = 0;
int turn = -1; // the participant allowed to run; -1 the scheduler
thread_local int participantId = -1;

// Hands the turn back to the scheduler and waits for it to come round
// again. Called with the fake's lock held.
void Park(std::unique_lock<std::mutex>& hold, State state, std::uint64_t wakeMs = 0)
{
    if (!serialised || participantId < 0)
        return;
    Participant& me = participants[participantId];
    me.state = state;
    me.wakeMs = wakeMs;
    turn = -1;
    turnReturned.notify_one();
    const int id = participantId;
    me.turnCame.wait(hold, [id] { return turn == id; });
    me.state = State::Running;
}

bool Draw(int permille)
{
    return permille > 0 && static_cast<int>(refusals() % 1000) < permille;
}

void DefaultScript()
{
    script = Script{};
    script.info.wProcessorArchitecture = PROCESSOR_ARCHITECTURE_INTEL;
    script.info.dwPageSize = 4096;
    script.info.lpMinimumApplicationAddress = reinterpret_cast<LPVOID>(0x00010000);
    script.info.lpMaximumApplicationAddress = reinterpret_cast<LPVOID>(0x7FFEFFFF);
    script.info.dwNumberOfProcessors = 2;
    script.info.dwAllocationGranularity = 65536;
    script.status.ullTotalPhys = 100 * kMB;
    script.status.ullAvailPhys = 100 * kMB;
    script.status.ullTotalPageFile = 4096 * kMB;
    script.status.ullAvailPageFile = 4096 * kMB;
    // A 64-bit process's address space: no run comes near its end.
    script.status.ullTotalVirtual = 128ull << 40;
    script.status.ullAvailVirtual = 128ull << 40;
}

} // namespace

void Reset()
{
    std::unique_lock<std::mutex> hold(lock);
    changed.wait(hold, [] { return runningThreads == 0; });
    for (auto& block : live)
        std::free(block.first);
    live.clear();
    nextIndex = 0;
    gateOpen = false;
    record = Record{};
    refusedInARow.clear();
    heldBy.clear();
    everRefused.clear();
    DefaultScript();
    refusals.seed(0);
}

void Edit(const std::function<void(Script&)>& change)
{
    std::lock_guard<std::mutex> hold(lock);
    const std::uint64_t seed = script.refusalSeed;
    change(script);
    if (script.refusalSeed != seed)
        refusals.seed(script.refusalSeed);
}

Record Snapshot()
{
    std::lock_guard<std::mutex> hold(lock);
    return record;
}

std::uint64_t NowMs()
{
    std::lock_guard<std::mutex> hold(lock);
    return record.clockMs;
}

std::vector<std::string> Faults()
{
    std::lock_guard<std::mutex> hold(lock);
    return record.faults;
}

int LiveBlocks()
{
    std::lock_guard<std::mutex> hold(lock);
    return static_cast<int>(live.size());
}

void OpenThreadGate()
{
    std::lock_guard<std::mutex> hold(lock);
    gateOpen = true;
    changed.notify_all();
}

void JoinThreads()
{
    std::unique_lock<std::mutex> hold(lock);
    changed.wait(hold, [] { return runningThreads == 0; });
}

void SetPhysicalBytes(DWORDLONG total, DWORDLONG available)
{
    Edit([&](Script& s) {
        s.status.ullTotalPhys = total;
        s.status.ullAvailPhys = available;
    });
}

int WorkersOn(const void* parameter)
{
    std::lock_guard<std::mutex> hold(lock);
    return static_cast<int>(workerParameters.count(parameter));
}

// Threads still waiting on their signal keep their entry.
void ForgetFinished()
{
    for (auto it = participants.begin(); it != participants.end();)
        it = it->second.state == State::Done ? participants.erase(it) : std::next(it);
}

void BeginSerialised()
{
    std::lock_guard<std::mutex> hold(lock);
    serialised = true;
    ForgetFinished();
    turn = -1;
}

void EndSerialised()
{
    std::lock_guard<std::mutex> hold(lock);
    serialised = false;
    ForgetFinished();
    turn = -1;
}

int Enlist()
{
    std::lock_guard<std::mutex> hold(lock);
    const int id = nextParticipant++;
    participants.try_emplace(id);
    return id;
}

void ParkIdle(int id)
{
    std::unique_lock<std::mutex> hold(lock);
    if (participantId == id) {
        Park(hold, State::Idle);
        return;
    }
    // A thread's first wait: it holds no turn to hand back.
    participantId = id;
    Participant& me = participants[id];
    me.turnCame.wait(hold, [id] { return turn == id; });
    me.state = State::Running;
}

void Wake(int id)
{
    std::lock_guard<std::mutex> hold(lock);
    if (participants[id].state == State::Idle)
        participants[id].state = State::Runnable;
}

bool IsIdle(int id)
{
    std::lock_guard<std::mutex> hold(lock);
    return participants[id].state == State::Idle;
}

void Leave(int id)
{
    std::lock_guard<std::mutex> hold(lock);
    participants[id].state = State::Done;
    participantId = -1;
    turn = -1;
    turnReturned.notify_one();
}

Slice RunSlice(std::uint64_t choice, int stuckMs)
{
    std::unique_lock<std::mutex> hold(lock);
    std::vector<int> ready;
    for (int pass = 0; pass < 2 && ready.empty(); ++pass) {
        std::uint64_t nextWake = UINT64_MAX;
        for (const auto& [id, p] : participants) {
            if (p.state == State::Runnable || (p.state == State::Sleeping && p.wakeMs <= record.clockMs))
                ready.push_back(id);
            else if (p.state == State::Sleeping)
                nextWake = std::min(nextWake, p.wakeMs);
        }
        // Nothing can run before the next sleeper wakes: time jumps there.
        if (ready.empty() && nextWake != UINT64_MAX)
            record.clockMs = nextWake;
    }
    if (ready.empty())
        return Slice::Quiet;
    turn = ready[choice % ready.size()];
    participants[turn].turnCame.notify_one();
    if (!turnReturned.wait_for(hold, std::chrono::milliseconds(stuckMs), [] { return turn == -1; }))
        return Slice::Stuck;
    return Slice::Ran;
}

} // namespace fake_kernel

using namespace fake_kernel;

void WINAPI GetSystemInfo(LPSYSTEM_INFO info)
{
    std::unique_lock<std::mutex> hold(lock);
    Park(hold, State::Runnable);
    ++record.infoQueries;
    *info = script.info;
}

BOOL WINAPI GlobalMemoryStatusEx(LPMEMORYSTATUSEX status)
{
    std::unique_lock<std::mutex> hold(lock);
    Park(hold, State::Runnable);
    if (status->dwLength != sizeof *status)
        return FALSE;
    ++record.statusQueries;
    if (script.refuseStatus)
        return FALSE;
    *status = script.status;
    status->dwLength = sizeof *status;
    if (script.chargeBlocks) {
        const DWORDLONG held = live.size() * kMB;
        const DWORDLONG avail = status->ullAvailPageFile;
        status->ullAvailPageFile = avail > held ? avail - held : 0;
        // Each block also takes a 64 KB granule beyond its bytes.
        const DWORDLONG spanned = live.size() * (kMB + (64 << 10)), space = status->ullAvailVirtual;
        status->ullAvailVirtual = space > spanned ? space - spanned : 0;
    }
    return TRUE;
}

HGLOBAL WINAPI GlobalAlloc(UINT, SIZE_T bytes)
{
    std::function<void()> hook;
    {
        std::lock_guard<std::mutex> hold(lock);
        hook = script.onAlloc;
    }
    if (hook)
        hook();
    std::unique_lock<std::mutex> hold(lock);
    Park(hold, State::Runnable);
    if (script.blocksGranted >= 0 && nextIndex >= script.blocksGranted)
        return nullptr;
    if (script.liveBlockLimit >= 0 && static_cast<int>(live.size()) >= script.liveBlockLimit)
        return nullptr;
    if (Draw(script.refuseAllocPermille))
        return nullptr;
    void* block = std::malloc(bytes);
    std::memset(block, kFreshByte, bytes);
    const int index = nextIndex++;
    live[block] = index;
    heldBy[std::this_thread::get_id()].push_back(block);
    record.allocated.push_back(index);
    return block;
}

HGLOBAL WINAPI GlobalFree(HGLOBAL block)
{
    std::function<void()> hook;
    {
        std::lock_guard<std::mutex> hold(lock);
        hook = script.onRelease;
    }
    if (hook)
        hook();
    std::unique_lock<std::mutex> hold(lock);
    Park(hold, State::Runnable);
    ++record.releaseAttempts;
    const auto found = live.find(block);
    if (found == live.end()) {
        record.faults.push_back("release of a block not held (twice, or never allocated)");
        return block;
    }
    const int index = found->second;
    if (script.releaseRefusalsInARow > 0 && refusedInARow[block] < script.releaseRefusalsInARow
        && Draw(script.refuseReleasePermille)) {
        ++refusedInARow[block];
        everRefused.insert(block);
        return block;
    }
    if (index == script.refuseReleaseOfBlock) {
        ++record.releaseAttemptsOfRefused;
        if (script.releaseRefusals < 0)
            return block;
        if (script.releaseRefusals > 0) {
            --script.releaseRefusals;
            return block;
        }
    }
    // memcmp, not a loop: sanitizers check it as one range, not byte by byte.
    static const unsigned char zeros[1048576] = {};
    if (std::memcmp(block, zeros, sizeof zeros) != 0) {
        if (record.allZeroAtRelease)
            record.faults.push_back("block " + std::to_string(index) + " released not all zero");
        record.allZeroAtRelease = false;
    }
    std::vector<void*>& held = heldBy[std::this_thread::get_id()];
    auto newest = std::find_if(held.rbegin(), held.rend(), [](void* b) { return !everRefused.count(b); });
    if (!everRefused.count(block) && (newest == held.rend() || *newest != block))
        record.faults.push_back("block " + std::to_string(index) + " released out of order, or by another thread");
    held.erase(std::remove(held.begin(), held.end(), block), held.end());
    everRefused.erase(block);
    refusedInARow.erase(block);
    record.released.push_back(index);
    live.erase(found);
    std::free(block);
    return nullptr;
}

HANDLE WINAPI CreateThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE start, LPVOID parameter,
                           DWORD, LPDWORD)
{
    std::unique_lock<std::mutex> hold(lock);
    Park(hold, State::Runnable);
    if (script.refuseThreads)
        return nullptr;
    ++record.threadsCreated;
    ++runningThreads;
    workerParameters.insert(parameter);
    const bool wait = script.holdThreads && !serialised;
    int id = -1;
    if (serialised) {
        id = nextParticipant++;
        participants[id].state = State::Runnable;
    }
    std::thread([start, parameter, wait, id] {
        if (wait) {
            std::unique_lock<std::mutex> gate(lock);
            changed.wait(gate, [] { return gateOpen; });
        }
        if (id >= 0) {
            participantId = id;
            std::unique_lock<std::mutex> gate(lock);
            Participant& me = participants[id];
            me.turnCame.wait(gate, [id] { return turn == id; });
            me.state = State::Running;
        }
        start(parameter);
        std::lock_guard<std::mutex> done(lock);
        --runningThreads;
        workerParameters.erase(workerParameters.find(parameter));
        if (id >= 0 && participants.count(id)) {
            participants[id].state = State::Done;
            participantId = -1;
            turn = -1;
            turnReturned.notify_one();
        }
        changed.notify_all();
    }).detach();
    return new int(0);
}

BOOL WINAPI CloseHandle(HANDLE handle)
{
    delete static_cast<int*>(handle);
    return TRUE;
}

void WINAPI Sleep(DWORD milliseconds)
{
    std::function<void(std::uint64_t)> hook;
    std::uint64_t now;
    {
        std::unique_lock<std::mutex> hold(lock);
        record.sleeps.push_back(milliseconds);
        if (serialised && participantId >= 0) {
            // A zero sleep yields: it lets the clock move on by a tick, as
            // real time moves on while a thread spins.
            Park(hold, State::Sleeping, record.clockMs + std::max<DWORD>(milliseconds, 1));
            return;
        }
        record.clockMs += milliseconds;
        now = record.clockMs;
        hook = script.onSleep;
    }
    if (hook)
        hook(now);
    std::this_thread::yield();
}

void WINAPI OutputDebugStringA(LPCSTR) {}
