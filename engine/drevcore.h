// drevcore: the memory engine of Kolvar.
//
// CDSystemInfo and CDMemoryStatus return processor, address-space and
// memory-status figures read afresh on every call; CDMemoryFree frees physical
// memory by pressure (allocate 1 MB blocks, zero them, release them all),
// on the caller's thread or on detached worker threads, and offers two
// keep-free loops.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

#if defined(_WIN32)
#  if defined(DREVCORE_BUILD)
#    define DREVCORE_API __declspec(dllexport)
#  else
#    define DREVCORE_API __declspec(dllimport)
#  endif
#else
#  define DREVCORE_API __attribute__((visibility("default")))
#endif

class DREVCORE_API CDSystemInfo {
public:
    CDSystemInfo();
    CDSystemInfo(const CDSystemInfo&);
    CDSystemInfo& operator=(const CDSystemInfo&);
    virtual ~CDSystemInfo();

    WORD getInfoProcessorArchitecture();
    WORD getInfoReserved();
    DWORD getInfoPageSize();
    LPVOID getInfoMinimumApplicationAddressLP();
    LPVOID getInfoMaximumApplicationAddressLP();
    DWORD getInfoActiveProcessorMask();
    DWORD getInfoNumberOfProcessors();
    DWORD getInfoProcessorType();
    DWORD getInfoAllocationGranularity();
    WORD getInfoProcessorLevel();
    WORD getInfoProcessorRevision();
};

class DREVCORE_API CDMemoryStatus : public CDSystemInfo {
public:
    CDMemoryStatus();
    CDMemoryStatus(const CDMemoryStatus&);
    CDMemoryStatus& operator=(const CDMemoryStatus&);
    virtual ~CDMemoryStatus();

    DWORD getStatusPhyTotalKB();
    DWORD getStatusPhyTotalMB();
    DWORD getStatusPhyAvaiKB();
    DWORD getStatusPhyAvaiMB();
    DWORD getStatusPageTotalKB();
    DWORD getStatusPageTotalMB();
    DWORD getStatusPageAvaiKB();
    DWORD getStatusPageAvaiMB();
    DWORD getStatusVirtualTotalKB();
    DWORD getStatusVirtualTotalMB();
    DWORD getStatusMemoryLoad();
    int getStatusPhyAvaiPercent();
};

class DREVCORE_API CDMemoryFree : public CDMemoryStatus {
public:
    CDMemoryFree();
    CDMemoryFree(const CDMemoryFree&);
    CDMemoryFree& operator=(const CDMemoryFree&);
    // Stops this object's loops and waits until every worker started on it
    // has finished with it; a run in progress stops allocating early.
    virtual ~CDMemoryFree();

    // Freeing runs. Amounts are KB unless the name ends in MB; -1 selects
    // the amount stored by FreeMemoryThread. A run stops early when the
    // platform refuses a block, or when one more block would leave other
    // programs less than their reserve of commit or this process less than
    // its reserve of address space.
    int FreeMemory(int amountKB);
    int FreeMemoryKB(int amountKB);
    int FreeMemoryMB(int amountMB);
    int FreeMemoryThread(int amountKB);
    int FreeMemoryThreadKB(int amountKB);
    int FreeMemoryThreadMB(int amountMB);
    static DWORD WINAPI FreeMemoryThreadContent(LPVOID self);
    DWORD getProgressPercent();
    // The MB a run started now could hold before either reserve stops it.
    DWORD getFreeMemoryReachMB();

    // Keep-free loop: free a fixed amount, pause, repeat until stopped.
    int MinimalKeep(int amountKB, int pauseMs);
    int MinimalKeepThread(int amountKB, int pauseMs);
    static DWORD WINAPI MinimalKeepThreadContent(LPVOID self);
    int MinimalKeepThreadStop();
    int getMinimalKeepIsInProgress();

    // Mode watchdog: every 20 s, free the mode's amount when memory is low.
    int MinimalKeepMode(int mode);
    int MinimalKeepModeThread(int mode);
    static DWORD WINAPI MinimalKeepModeThreadContent(LPVOID self);
    int MinimalKeepModeThreadStop();

    // Blocks whose release the platform refused in the last run that met
    // such a refusal; 0 when every block went back.
    int getReleaseFailures();

protected:
    using Field = std::atomic<std::int32_t>;
    static_assert(Field::is_always_lock_free, "shared fields must be lock-free");

    // The class's documented state. A copy or an assignment carries the
    // stored arguments (mode, keep-free amount and pause, run amount) but
    // not the run flags, the in-progress flag or the progress: those
    // describe the object's own runs and loops, and a copy has none of its
    // source's.
    Field m_MinimalKeepMode{0};
    Field m_MinimalKeepModeRun{0};
    Field m_MinimalKeepKB{0};
    Field m_MinimalKeepInterval{0};
    Field m_MinimalKeepRun{0};
    Field m_MinimalKeepIsInProgress{0};
    Field m_FreeMemoryKB{0};
    Field m_ProgressPercent{100};

private:
    int KeepLoop(int amountKB, int pauseMs, bool armedByStarter);
    int ModeLoop(int mode, bool armedByStarter);
    bool Pause(DWORD ms);
    int StartWorker(LPTHREAD_START_ROUTINE worker);
    // A worker's thread: runs the entry, then counts the worker out. The
    // entries are public and may be called on any thread, so they must not
    // count anything out themselves.
    template <LPTHREAD_START_ROUTINE Entry>
    static DWORD WINAPI Worker(LPVOID self)
    {
        Entry(self);
        // The last touch of the object: after this the destructor may run.
        static_cast<CDMemoryFree*>(self)->m_activeWorkers.fetch_sub(1, std::memory_order_release);
        return 0;
    }
    void CopyFields(const CDMemoryFree& other);

    // This object's own workers.
    Field m_activeWorkers{0};
    Field m_closing{0};
    Field m_releaseFailures{0};
};
