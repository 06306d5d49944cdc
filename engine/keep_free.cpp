#include "drevcore.h"

namespace {

constexpr DWORD kModePauseMs = 20000;
// Long pauses are slept in slices so a closing object is not kept waiting.
constexpr DWORD kPauseSliceMs = 100;

struct ModeRule {
    DWORD totalAboveMB;
    DWORD availBelowMB;
    int freeMB;
};

const ModeRule* RuleFor(int mode)
{
    static const ModeRule rules[] = {
        {30, 4, 8},
        {60, 16, 32},
        {250, 64, 128},
    };
    return mode >= 1 && mode <= 3 ? &rules[mode - 1] : nullptr;
}

} // namespace

bool CDMemoryFree::Pause(DWORD ms)
{
    if (ms == 0) {
        Sleep(0);
        return !m_closing;
    }
    while (ms > 0) {
        if (m_closing)
            return false;
        const DWORD slice = ms < kPauseSliceMs ? ms : kPauseSliceMs;
        Sleep(slice);
        ms -= slice;
    }
    return !m_closing;
}

int CDMemoryFree::MinimalKeep(int amountKB, int pauseMs)
{
    return KeepLoop(amountKB, pauseMs, false);
}

int CDMemoryFree::KeepLoop(int amountKB, int pauseMs, bool armedByStarter)
{
    if (amountKB == -1)
        amountKB = m_MinimalKeepKB;
    if (pauseMs == -1)
        pauseMs = m_MinimalKeepInterval;
    // Any other negative pause would be a sleep of weeks or without end.
    if (pauseMs < 0)
        return 0;

    if (armedByStarter) {
        // The starter raised the flag before the thread existed, so a stop
        // that came before this point is still seen.
        if (m_MinimalKeepRun != 1)
            return 0;
    } else {
        m_MinimalKeepRun = 1;
    }
    m_MinimalKeepIsInProgress = 1;
    do {
        FreeMemoryKB(amountKB);
        if (!Pause(static_cast<DWORD>(pauseMs)))
            break;
    } while (m_MinimalKeepRun == 1);
    m_MinimalKeepIsInProgress = 0;
    return 0;
}

int CDMemoryFree::MinimalKeepThread(int amountKB, int pauseMs)
{
    m_MinimalKeepKB = amountKB;
    m_MinimalKeepInterval = pauseMs;
    m_MinimalKeepRun = 1;
    return StartWorker(&Worker<&CDMemoryFree::MinimalKeepThreadContent>);
}

DWORD WINAPI CDMemoryFree::MinimalKeepThreadContent(LPVOID self)
{
    auto* object = static_cast<CDMemoryFree*>(self);
    object->KeepLoop(-1, -1, true);
    return 0;
}

int CDMemoryFree::MinimalKeepThreadStop()
{
    m_MinimalKeepRun = 0;
    return 0;
}

int CDMemoryFree::getMinimalKeepIsInProgress()
{
    return m_MinimalKeepIsInProgress;
}

int CDMemoryFree::MinimalKeepMode(int mode)
{
    return ModeLoop(mode, false);
}

int CDMemoryFree::ModeLoop(int mode, bool armedByStarter)
{
    if (mode == -1)
        mode = m_MinimalKeepMode;
    const ModeRule* rule = RuleFor(mode);

    if (armedByStarter) {
        if (m_MinimalKeepModeRun != 1)
            return 0;
    } else {
        m_MinimalKeepModeRun = 1;
    }
    do {
        if (!Pause(kModePauseMs))
            break;
        if (rule && getStatusPhyTotalMB() > rule->totalAboveMB
            && getStatusPhyAvaiMB() < rule->availBelowMB)
            FreeMemoryMB(rule->freeMB);
    } while (m_MinimalKeepModeRun == 1);
    return 0;
}

int CDMemoryFree::MinimalKeepModeThread(int mode)
{
    m_MinimalKeepMode = mode;
    m_MinimalKeepModeRun = 1;
    return StartWorker(&Worker<&CDMemoryFree::MinimalKeepModeThreadContent>);
}

DWORD WINAPI CDMemoryFree::MinimalKeepModeThreadContent(LPVOID self)
{
    auto* object = static_cast<CDMemoryFree*>(self);
    object->ModeLoop(-1, true);
    return 0;
}

int CDMemoryFree::MinimalKeepModeThreadStop()
{
    m_MinimalKeepModeRun = 0;
    return 0;
}
