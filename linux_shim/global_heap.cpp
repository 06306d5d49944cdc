#include <windows.h>

#include "meminfo.h"

#include <malloc.h>

#include <cstdlib>
#include <mutex>

namespace {

// Linux overcommits: a block granted now may wake the out-of-memory killer
// when it is touched. Refusing blocks below this floor of available memory
// turns an oversized run into a partial run instead.
constexpr std::int64_t kAvailableFloor = 64ll << 20;
// /proc/meminfo is read again after this many blocks, or sooner when the
// budget from the last reading runs out.
constexpr unsigned kBlocksPerReading = 32;

std::mutex budgetLock;
std::int64_t budget = 0;
unsigned blocksSinceReading = kBlocksPerReading;

bool TakeFromBudget(std::int64_t bytes)
{
    std::lock_guard<std::mutex> hold(budgetLock);
    if (budget < bytes || blocksSinceReading >= kBlocksPerReading) {
        budget = static_cast<std::int64_t>(linux_shim::ReadMemInfo().available) - kAvailableFloor;
        blocksSinceReading = 0;
    }
    if (budget < bytes)
        return false;
    budget -= bytes;
    ++blocksSinceReading;
    return true;
}

void PinMmapThreshold()
{
    // glibc raises its mmap threshold after large frees, after which 1 MB
    // blocks would stay in the heap instead of going back to the system.
    static std::once_flag once;
    std::call_once(once, [] { mallopt(M_MMAP_THRESHOLD, 128 * 1024); });
}

} // namespace

HGLOBAL WINAPI GlobalAlloc(UINT /*flags*/, SIZE_T bytes)
{
    PinMmapThreshold();
    if (!TakeFromBudget(static_cast<std::int64_t>(bytes)))
        return nullptr;
    return std::malloc(bytes ? bytes : 1);
}

HGLOBAL WINAPI GlobalFree(HGLOBAL block)
{
    std::free(block);
    return nullptr;
}
