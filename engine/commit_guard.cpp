#include "commit_guard.h"

#include <algorithm>

namespace drevcore {

bool CommitGuard::AllowsBlock(std::uint64_t blockBytes)
{
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    const bool read = GlobalMemoryStatusEx(&status) != FALSE;
    if (!m_started) {
        m_started = true;
        m_blind = !read;
        m_availableAtStart = status.ullAvailPageFile;
        m_reserve = std::min(kCommitReserveCapBytes,
                             status.ullTotalPageFile * kCommitReservePercentOfLimit / 100);
    }
    if (m_blind)
        return true;
    // The platform may report a figure up to a second old (Wine caches it),
    // while a run commits hundreds of MB a second: never trust it for more
    // than the start's figure less what this run has taken since.
    std::uint64_t available = m_availableAtStart > m_taken ? m_availableAtStart - m_taken : 0;
    if (read)
        available = std::min(available, static_cast<std::uint64_t>(status.ullAvailPageFile));
    return available >= m_reserve + blockBytes;
}

} // namespace drevcore
