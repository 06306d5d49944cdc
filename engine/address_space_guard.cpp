#include "address_space_guard.h"

#include <algorithm>

namespace drevcore {

bool AddressSpaceGuard::AllowsBlock(const MEMORYSTATUSEX* reading, std::uint64_t blockBytes)
{
    if (!m_started) {
        m_started = true;
        m_blind = reading == nullptr;
        m_availableAtStart = reading ? reading->ullAvailVirtual : 0;
    }
    if (m_blind)
        return true;
    // As with commit, a reading may be up to a second old while a run
    // takes hundreds of MB a second: the start's figure less what this run
    // has taken bounds it.
    std::uint64_t available = m_availableAtStart > m_taken ? m_availableAtStart - m_taken : 0;
    if (reading)
        available = std::min(available, static_cast<std::uint64_t>(reading->ullAvailVirtual));
    return available >= kAddressReserveBytes + Footprint(blockBytes);
}

std::uint64_t AddressSpaceGuard::BlocksWithin(const MEMORYSTATUSEX& reading, std::uint64_t blockBytes)
{
    const std::uint64_t available = reading.ullAvailVirtual;
    return available > kAddressReserveBytes ? (available - kAddressReserveBytes) / Footprint(blockBytes) : 0;
}

} // namespace drevcore
