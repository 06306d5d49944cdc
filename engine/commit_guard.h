// Keeps a freeing run from taking the machine's last committable memory:
// while a run holds its blocks, every other program's allocations must
// still succeed.
#pragma once

#include <windows.h>

#include <cstdint>

namespace drevcore {

// The commit a run always leaves to everyone else. A tenth of the commit
// limit keeps a run out of the last stretch before the limit, where the
// paging file has to grow and the platform warns of low virtual memory; but
// on a large machine a tenth would hold back gigabytes, and 512 MB already
// covers what other programs commit in the few seconds a run holds its blocks.
inline constexpr std::uint64_t kCommitReserveCapBytes = 512ull << 20;
inline constexpr std::uint64_t kCommitReservePercentOfLimit = 10;

class CommitGuard {
public:
    // Whether the run may take one more block of this size. Reads the
    // platform's figures on every call; the first reading is the run's
    // starting point.
    bool AllowsBlock(std::uint64_t blockBytes);
    // The same with a reading already made (nullptr: none could be), so
    // that one reading per block serves every guard.
    bool AllowsBlock(const MEMORYSTATUSEX* reading, std::uint64_t blockBytes);
    // Counts a block the run now holds.
    void Took(std::uint64_t blockBytes) { m_taken += blockBytes; }

    // Blocks of this size a run started at this reading could hold.
    static std::uint64_t BlocksWithin(const MEMORYSTATUSEX& reading, std::uint64_t blockBytes);

private:
    bool m_started = false;
    // No figures at the start: only the platform's own refusals limit the run.
    bool m_blind = false;
    std::uint64_t m_availableAtStart = 0;
    std::uint64_t m_reserve = 0;
    std::uint64_t m_taken = 0;
};

} // namespace drevcore
