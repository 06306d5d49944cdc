#pragma once
// Scripting of the engine stand-in that the page tests link instead of
// drevcore: the figures its getters return, the progress its freeing
// objects report, and the runs the pages asked of it.
#include <windows.h>

#if defined(STANDIN_BUILD)
#  define STANDIN_API extern "C" __declspec(dllexport)
#else
#  define STANDIN_API extern "C" __declspec(dllimport)
#endif

struct StandInFigures {
    DWORD memoryLoad;
    DWORD phyTotalMB;
    DWORD phyAvaiMB;
    DWORD pageTotalMB;
    DWORD pageAvaiMB;
    DWORD virtualTotalMB;
    DWORD pageSize;
    void* minimumAddress;
    void* maximumAddress;
};

// A plausible small machine.
inline StandInFigures DefaultStandInFigures()
{
    return {37, 2048, 1234, 3296, 2001, 2047, 4096,
            reinterpret_cast<void*>(0x00010000), reinterpret_cast<void*>(0x7FFEFFFF)};
}

// Back to the default figures, progress 100 and no recorded runs.
STANDIN_API void StandInReset();
STANDIN_API void StandInSetFigures(StandInFigures figures);
// What every CDMemoryFree::getProgressPercent returns.
STANDIN_API void StandInSetProgress(DWORD percent);
// What every CDMemoryFree::getFreeMemoryReachMB returns; no limit after a reset.
STANDIN_API void StandInSetRunReachMB(DWORD reachMB);

// The default figures with this total and available physical memory.
inline void StandInSetPhysicalMemory(DWORD totalMB, DWORD availableMB)
{
    StandInFigures figures = DefaultStandInFigures();
    figures.phyTotalMB = totalMB;
    figures.phyAvaiMB = availableMB;
    StandInSetFigures(figures);
}

// The FreeMemoryThreadMB calls since the last reset, oldest first.
STANDIN_API int StandInRunCount();
STANDIN_API int StandInRunAmountMB(int index);
STANDIN_API const void* StandInRunObject(int index);

// How often the available physical memory was read since the last reset.
STANDIN_API int StandInAvailableQueries();
// CDMemoryFree objects constructed and not yet destroyed.
STANDIN_API int StandInLiveFreeObjects();
// Called at the start of every CDMemoryFree destructor; nullptr: none.
STANDIN_API void StandInOnFreeObjectDestroyed(void (*callback)(const void* object));
