#include "fake_kernel.h"

#include <algorithm>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <thread>

namespace fake_kernel {
namespace {

constexpr unsigned char kFreshByte = 0xAB;

std::mutex lock;
std::condition_variable changed;
Script script;
Record record;
std::map<void*, int> live;  // block -> allocation index; every block is 1 MB
int nextIndex = 0;
int runningThreads = 0;
bool gateOpen = false;

void DefaultScript()
{
    script = Script{};
    script.info.wProcessorArchitecture = PROCESSOR_ARCHITECTURE_INTEL;
    script.info.dwPageSize = 4096;
    script.info.lpMinimumApplicationAddress = reinterpret_cast<LPVOID>(0x00010000);
    script.info.lpMaximumApplicationAddress = reinterpret_cast<LPVOID>(0x7FFEFFFF);
    script.info.dwNumberOfProcessors = 2;
    script.info.dwAllocationGranularity = 65536;
    script.status.ullTotalPhys = 100 * MB;
    script.status.ullAvailPhys = 100 * MB;
    script.status.ullTotalPageFile = 4096 * MB;
    script.status.ullAvailPageFile = 4096 * MB;
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
    DefaultScript();
}

void Edit(const std::function<void(Script&)>& change)
{
    std::lock_guard<std::mutex> hold(lock);
    change(script);
}

Record Snapshot()
{
    std::lock_guard<std::mutex> hold(lock);
    return record;
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

} // namespace fake_kernel

using namespace fake_kernel;

void WINAPI GetSystemInfo(LPSYSTEM_INFO info)
{
    std::lock_guard<std::mutex> hold(lock);
    ++record.infoQueries;
    *info = script.info;
}

BOOL WINAPI GlobalMemoryStatusEx(LPMEMORYSTATUSEX status)
{
    std::lock_guard<std::mutex> hold(lock);
    if (status->dwLength != sizeof *status)
        return FALSE;
    ++record.statusQueries;
    if (script.refuseStatus)
        return FALSE;
    *status = script.status;
    status->dwLength = sizeof *status;
    if (script.chargeBlocks) {
        const DWORDLONG held = live.size() * MB;
        const DWORDLONG avail = status->ullAvailPageFile;
        status->ullAvailPageFile = avail > held ? avail - held : 0;
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
    std::lock_guard<std::mutex> hold(lock);
    if (script.blocksGranted >= 0 && nextIndex >= script.blocksGranted)
        return nullptr;
    void* block = std::malloc(bytes);
    std::memset(block, kFreshByte, bytes);
    const int index = nextIndex++;
    live[block] = index;
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
    std::lock_guard<std::mutex> hold(lock);
    ++record.releaseAttempts;
    const auto found = live.find(block);
    if (found == live.end())
        return block;
    const int index = found->second;
    if (index == script.refuseReleaseOfBlock) {
        ++record.releaseAttemptsOfRefused;
        if (script.releaseRefusals < 0)
            return block;
        if (script.releaseRefusals > 0) {
            --script.releaseRefusals;
            return block;
        }
    }
    const auto* bytes = static_cast<const unsigned char*>(block);
    if (std::any_of(bytes, bytes + 1048576, [](unsigned char b) { return b != 0; }))
        record.allZeroAtRelease = false;
    record.released.push_back(index);
    live.erase(found);
    std::free(block);
    return nullptr;
}

HANDLE WINAPI CreateThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE start, LPVOID parameter,
                           DWORD, LPDWORD)
{
    std::lock_guard<std::mutex> hold(lock);
    if (script.refuseThreads)
        return nullptr;
    ++record.threadsCreated;
    ++runningThreads;
    const bool wait = script.holdThreads;
    std::thread([start, parameter, wait] {
        if (wait) {
            std::unique_lock<std::mutex> gate(lock);
            changed.wait(gate, [] { return gateOpen; });
        }
        start(parameter);
        std::lock_guard<std::mutex> done(lock);
        --runningThreads;
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
        std::lock_guard<std::mutex> hold(lock);
        record.clockMs += milliseconds;
        record.sleeps.push_back(milliseconds);
        now = record.clockMs;
        hook = script.onSleep;
    }
    if (hook)
        hook(now);
    std::this_thread::yield();
}

void WINAPI OutputDebugStringA(LPCSTR) {}
