// A page's freeing runs, on an engine object of the page's own. Every page
// that frees memory holds one, and they know of each other: an automatic
// tick can tell whether any run of the program is still going, and the end
// of the session can end them all.
#pragma once

#include <optional>

#include "drevcore.h"

class FreeingRun {
public:
    FreeingRun();
    ~FreeingRun();
    FreeingRun(const FreeingRun&) = delete;
    FreeingRun& operator=(const FreeingRun&) = delete;

    // FreeMemoryThreadMB: one run on a worker thread; returns at once.
    void Start(int amountMB) { m_engine->FreeMemoryThreadMB(amountMB); }
    // The engine's progress of this page's run: 100 when none is going.
    DWORD ProgressPercent() { return m_engine->getProgressPercent(); }
    bool InProgress() { return ProgressPercent() < kNoRunPercent; }
    // The MB a run started now could hold.
    DWORD ReachMB() { return m_engine->getFreeMemoryReachMB(); }

    // Whether a run started by any page of the program is still going.
    static bool AnyInProgress();
    // Ends every run as leaving the program does: each engine object is
    // destroyed, which stops its run at the next block, gives back what the
    // run holds and waits for its worker. Each page then frees on a new one.
    static void EndAll();

private:
    static constexpr DWORD kNoRunPercent = 100;
    // In place, so the engine object stays part of the page that owns it.
    std::optional<CDMemoryFree> m_engine;
};
