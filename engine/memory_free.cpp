#include "drevcore.h"

#include "address_space_guard.h"
#include "commit_guard.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr SIZE_T kBlockBytes = 1048576;
constexpr std::uint32_t kBlockKB = 1024;
// A release the platform refuses is retried this often before the block is
// set aside and reported; an endless retry would hang the run.
constexpr int kReleaseAttempts = 3;

bool ReleaseBlock(HGLOBAL block)
{
    for (int attempt = 0; attempt < kReleaseAttempts; ++attempt) {
        if (GlobalFree(block) == nullptr)
            return true;
    }
    return false;
}

// The run's blocks, chained through their own first bytes: keeping track of
// them needs no memory besides theirs, so the run cannot fail for want of
// bookkeeping space once the platform's memory is exhausted, which is the
// very state a run drives it to.
class BlockChain {
public:
    bool empty() const { return m_first == nullptr; }

    void push_back(HGLOBAL block)
    {
        Link(block) = nullptr;
        if (m_last)
            Link(m_last) = block;
        else
            m_first = block;
        m_last = block;
    }

    void push_front(HGLOBAL block)
    {
        Link(block) = m_first;
        m_first = block;
        if (!m_last)
            m_last = block;
    }

    // Called before the block is released: the link lives in it, and is
    // cleared so the block goes back all zero, as it was filled.
    HGLOBAL pop_front()
    {
        HGLOBAL block = m_first;
        m_first = Link(block);
        Link(block) = nullptr;
        if (!m_first)
            m_last = nullptr;
        return block;
    }

private:
    static HGLOBAL& Link(HGLOBAL block) { return *static_cast<HGLOBAL*>(block); }

    HGLOBAL m_first = nullptr;
    HGLOBAL m_last = nullptr;
};

} // namespace

CDMemoryFree::CDMemoryFree() = default;

CDMemoryFree::CDMemoryFree(const CDMemoryFree& other)
    : CDMemoryStatus(other)
{
    CopyFields(other);
}

CDMemoryFree& CDMemoryFree::operator=(const CDMemoryFree& other)
{
    if (this != &other) {
        CDMemoryStatus::operator=(other);
        CopyFields(other);
    }
    return *this;
}

void CDMemoryFree::CopyFields(const CDMemoryFree& other)
{
    // Only what a caller stored. The flags and the progress stay this
    // object's own: copied from a source mid-run, a copy would report that
    // run for ever; copied onto a running target, they would stop its loop
    // or re-arm one already told to stop.
    m_MinimalKeepMode = other.m_MinimalKeepMode.load();
    m_MinimalKeepKB = other.m_MinimalKeepKB.load();
    m_MinimalKeepInterval = other.m_MinimalKeepInterval.load();
    m_FreeMemoryKB = other.m_FreeMemoryKB.load();
}

CDMemoryFree::~CDMemoryFree()
{
    // Workers hold a pointer to this object: tell them to finish quickly and
    // wait for the last one, so none of them touches freed memory.
    m_closing = 1;
    m_MinimalKeepRun = 0;
    m_MinimalKeepModeRun = 0;
    while (m_activeWorkers.load(std::memory_order_acquire) > 0)
        Sleep(1);
}

int CDMemoryFree::FreeMemory(int amountKB)
{
    if (amountKB == -1)
        amountKB = m_FreeMemoryKB;
    // A stored amount is refused like a direct one: a negative amount would
    // otherwise allocate until the platform says no.
    if (amountKB < 0)
        return 0;

    const std::uint32_t amount = static_cast<std::uint32_t>(amountKB);
    // Newest first, so the release below runs last allocated, first released.
    BlockChain blocks;
    std::uint32_t processed = 0;
    drevcore::CommitGuard commit;
    drevcore::AddressSpaceGuard addressSpace;

    if (amount > 0) {
        m_ProgressPercent = 0;
        while (processed < amount) {
            // 64-bit product: the same value as 32-bit arithmetic wherever
            // that does not overflow, and no wrap for very large amounts.
            m_ProgressPercent = static_cast<std::int32_t>(std::uint64_t{processed} * 100 / amount);
            if (m_closing.load(std::memory_order_relaxed))
                break;
            // A block that would eat into other programs' reserve of commit,
            // or into this process's reserve of address space, ends the run
            // as a refused one does. One reading serves both.
            MEMORYSTATUSEX status{};
            status.dwLength = sizeof status;
            const MEMORYSTATUSEX* reading = GlobalMemoryStatusEx(&status) ? &status : nullptr;
            if (!commit.AllowsBlock(reading, kBlockBytes) || !addressSpace.AllowsBlock(reading, kBlockBytes))
                break;
            HGLOBAL block = GlobalAlloc(GMEM_FIXED, kBlockBytes);
            if (block == nullptr)
                break;
            commit.Took(kBlockBytes);
            addressSpace.Took(kBlockBytes);
            std::memset(block, 0, kBlockBytes);
            blocks.push_front(block);
            processed += kBlockKB;
        }
    }

    // Last allocated, first released. A block the platform will not take
    // back is kept aside (never dropped unreleased) and tried once more
    // after the others.
    BlockChain refused;
    while (!blocks.empty()) {
        HGLOBAL block = blocks.pop_front();
        if (!ReleaseBlock(block))
            refused.push_back(block);
    }
    int stillHeld = 0;
    while (!refused.empty()) {
        if (!ReleaseBlock(refused.pop_front()))
            ++stillHeld;
    }
    if (stillHeld > 0) {
        m_releaseFailures = stillHeld;
        OutputDebugStringA("drevcore: the platform refused to release memory blocks of a freeing run\n");
    }

    m_ProgressPercent = 100;
    // Only what really went back counts as freed.
    return static_cast<int>(processed - kBlockKB * static_cast<std::uint32_t>(stillHeld));
}

int CDMemoryFree::FreeMemoryKB(int amountKB)
{
    FreeMemory(amountKB);
    return 0;
}

int CDMemoryFree::FreeMemoryMB(int amountMB)
{
    FreeMemory(static_cast<int>(static_cast<std::uint32_t>(amountMB) << 10));
    return 0;
}

int CDMemoryFree::FreeMemoryThread(int amountKB)
{
    m_FreeMemoryKB = amountKB;
    return StartWorker(&Worker<&CDMemoryFree::FreeMemoryThreadContent>);
}

int CDMemoryFree::FreeMemoryThreadKB(int amountKB)
{
    return FreeMemoryThread(amountKB);
}

int CDMemoryFree::FreeMemoryThreadMB(int amountMB)
{
    return FreeMemoryThread(static_cast<int>(static_cast<std::uint32_t>(amountMB) << 10));
}

DWORD WINAPI CDMemoryFree::FreeMemoryThreadContent(LPVOID self)
{
    auto* object = static_cast<CDMemoryFree*>(self);
    object->FreeMemory(-1);
    return 0;
}

DWORD CDMemoryFree::getProgressPercent()
{
    const std::int32_t progress = m_ProgressPercent;
    if (progress > 100)
        return 100;
    if (progress < 0)
        return 0;
    return static_cast<DWORD>(progress);
}

DWORD CDMemoryFree::getFreeMemoryReachMB()
{
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    // No figures: nothing but the platform's refusals would stop a run.
    if (!GlobalMemoryStatusEx(&status))
        return 0xFFFFFFFFul;
    const std::uint64_t blocks = std::min(drevcore::CommitGuard::BlocksWithin(status, kBlockBytes),
                                          drevcore::AddressSpaceGuard::BlocksWithin(status, kBlockBytes));
    // One block is one MB.
    return blocks > 0xFFFFFFFFull ? 0xFFFFFFFFul : static_cast<DWORD>(blocks);
}

int CDMemoryFree::getReleaseFailures()
{
    return m_releaseFailures;
}

int CDMemoryFree::StartWorker(LPTHREAD_START_ROUTINE worker)
{
    m_activeWorkers.fetch_add(1, std::memory_order_relaxed);
    HANDLE thread = CreateThread(nullptr, 0, worker, this, 0, nullptr);
    if (thread == nullptr) {
        m_activeWorkers.fetch_sub(1, std::memory_order_release);
        return 0;
    }
    CloseHandle(thread);
    return 0;
}
