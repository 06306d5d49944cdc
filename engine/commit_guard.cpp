#include "commit_guard.h"

#include <algorithm>

namespace drevcore {

namespace {

std::uint64_t Reserve(const MEMORYSTATUSEX& reading)
{
    return std::min(kCommitReserveCapBytes, reading.ullTotalPageFile * kCommitReservePercentOfLimit / 100);
}

} // namespace

bool CommitGuard::AllowsBlock(std::uint64_t blockBytes)
{
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    const bool read = GlobalMemoryStatusEx(&status) != FALSE;
    return AllowsBlock(read ? &status : nullptr, blockBytes);
}

bool CommitGuard::AllowsBlock(const MEMORYSTATUSEX* reading, std::uint64_t blockBytes)
{
    if (!m_started) {
        m_started = true;
        m_blind = reading == nullptr;
        m_availableAtStart = reading ? reading->ullAvailPageFile : 0;
        m_reserve = reading ? Reserve(*reading) : 0;
    }
    if (m_blind)
        return true;
    // The platform may report a figure up to a second old (Wine caches it),
    // while a run commits hundreds of MB a second: never trust it for more
    // than the start's figure less what this run has taken since.
    std::uint64_t available = m_availableAtStart > m_taken ? m_availableAtStart - m_taken : 0;
    if (reading)
        available = std::min(available, static_cast<std::uint64_t>(reading->ullAvailPageFile));
    return available >= m_reserve + blockBytes;
}

std::uint64_t CommitGuard::BlocksWithin(const MEMORYSTATUSEX& reading, std::uint64_t blockBytes)
{
    const std::uint64_t available = reading.ullAvailPageFile;
    const std::uint64_t reserve = Reserve(reading);
    return available > reserve ? (available - reserve) / blockBytes : 0;
}

} // namespace drevcore
