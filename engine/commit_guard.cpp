#include "commit_guard.h"

#include <algorithm>

namespace drevcore {

bool CommitGuard::AllowsBlock(std::uint64_t blockBytes)
{
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    const bool read = GlobalMemoryStatusEx(&status) != FALSE;
    if (!m_Started) {
        m_Started = true;
        m_Blind = !read;
        m_AvailableAtStart = status.ullAvailPageFile;
        m_Reserve = std::min(kCommitReserveCapBytes,
                             status.ullTotalPageFile * kCommitReservePercentOfLimit / 100);
    }
    if (m_Blind)
        return true;
    // The platform may report a figure up to a second old (Wine caches it),
    // while a run commits hundreds of MB a second: never trust it for more
    // than the start's figure less what this run has taken since.
    std::uint64_t available = m_AvailableAtStart > m_Taken ? m_AvailableAtStart - m_Taken : 0;
    if (read)
        available = std::min(available, static_cast<std::uint64_t>(status.ullAvailPageFile));
    return available >= m_Reserve + blockBytes;
}

} // namespace drevcore
