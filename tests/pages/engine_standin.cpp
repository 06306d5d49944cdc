// The engine's classes as the pages use them, answering scripted figures
// and recording freeing runs instead of performing them.
#include "drevcore.h"
#include "engine_standin.h"

#include <mutex>
#include <utility>
#include <vector>

namespace {

std::mutex lock;
StandInFigures figures = DefaultStandInFigures();
DWORD progress = 100;
DWORD reachMB = 0xFFFFFFFF;
std::vector<std::pair<const void*, int>> runs;
int availableQueries = 0;
int liveFreeObjects = 0;
void (*onFreeObjectDestroyed)(const void*) = nullptr;

StandInFigures Current()
{
    std::lock_guard<std::mutex> guard(lock);
    return figures;
}

} // namespace

STANDIN_API void StandInReset()
{
    std::lock_guard<std::mutex> guard(lock);
    figures = DefaultStandInFigures();
    progress = 100;
    reachMB = 0xFFFFFFFF;
    runs.clear();
    availableQueries = 0;
}

STANDIN_API void StandInSetFigures(StandInFigures newFigures)
{
    std::lock_guard<std::mutex> guard(lock);
    figures = newFigures;
}

STANDIN_API void StandInSetProgress(DWORD percent)
{
    std::lock_guard<std::mutex> guard(lock);
    progress = percent;
}

STANDIN_API void StandInSetRunReachMB(DWORD newReachMB)
{
    std::lock_guard<std::mutex> guard(lock);
    reachMB = newReachMB;
}

STANDIN_API int StandInRunCount()
{
    std::lock_guard<std::mutex> guard(lock);
    return static_cast<int>(runs.size());
}

STANDIN_API int StandInRunAmountMB(int index)
{
    std::lock_guard<std::mutex> guard(lock);
    return runs.at(static_cast<size_t>(index)).second;
}

STANDIN_API const void* StandInRunObject(int index)
{
    std::lock_guard<std::mutex> guard(lock);
    return runs.at(static_cast<size_t>(index)).first;
}

STANDIN_API int StandInAvailableQueries()
{
    std::lock_guard<std::mutex> guard(lock);
    return availableQueries;
}

STANDIN_API int StandInLiveFreeObjects()
{
    std::lock_guard<std::mutex> guard(lock);
    return liveFreeObjects;
}

STANDIN_API void StandInOnFreeObjectDestroyed(void (*callback)(const void* object))
{
    std::lock_guard<std::mutex> guard(lock);
    onFreeObjectDestroyed = callback;
}

CDSystemInfo::CDSystemInfo() = default;
CDSystemInfo::~CDSystemInfo() = default;
DWORD CDSystemInfo::getInfoPageSize() { return Current().pageSize; }
LPVOID CDSystemInfo::getInfoMinimumApplicationAddressLP() { return Current().minimumAddress; }
LPVOID CDSystemInfo::getInfoMaximumApplicationAddressLP() { return Current().maximumAddress; }

CDMemoryStatus::CDMemoryStatus() = default;
CDMemoryStatus::~CDMemoryStatus() = default;
DWORD CDMemoryStatus::getStatusPhyTotalMB() { return Current().phyTotalMB; }
DWORD CDMemoryStatus::getStatusPhyAvaiMB()
{
    std::lock_guard<std::mutex> guard(lock);
    ++availableQueries;
    return figures.phyAvaiMB;
}
DWORD CDMemoryStatus::getStatusPageTotalMB() { return Current().pageTotalMB; }
DWORD CDMemoryStatus::getStatusPageAvaiMB() { return Current().pageAvaiMB; }
DWORD CDMemoryStatus::getStatusVirtualTotalMB() { return Current().virtualTotalMB; }
DWORD CDMemoryStatus::getStatusMemoryLoad() { return Current().memoryLoad; }

CDMemoryFree::CDMemoryFree()
{
    std::lock_guard<std::mutex> guard(lock);
    ++liveFreeObjects;
}

CDMemoryFree::~CDMemoryFree()
{
    void (*callback)(const void*) = nullptr;
    {
        std::lock_guard<std::mutex> guard(lock);
        --liveFreeObjects;
        callback = onFreeObjectDestroyed;
    }
    if (callback)
        callback(this);
}

int CDMemoryFree::FreeMemoryThreadMB(int amountMB)
{
    std::lock_guard<std::mutex> guard(lock);
    runs.emplace_back(this, amountMB);
    return 0;
}

DWORD CDMemoryFree::getProgressPercent()
{
    std::lock_guard<std::mutex> guard(lock);
    return progress;
}

DWORD CDMemoryFree::getFreeMemoryReachMB()
{
    std::lock_guard<std::mutex> guard(lock);
    return reachMB;
}
