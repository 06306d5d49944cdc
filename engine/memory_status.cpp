#include "drevcore.h"

namespace {

// The extended record: the legacy one clamps its byte counts on machines
// with more than 4 GB (or 2 GB without large-address awareness).
MEMORYSTATUSEX QueryStatus()
{
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    GlobalMemoryStatusEx(&status);
    return status;
}

// Truncating, and saturating rather than wrapping past 32 bits.
DWORD Saturated(DWORDLONG figure)
{
    return figure > 0xFFFFFFFFull ? 0xFFFFFFFFul : static_cast<DWORD>(figure);
}

DWORD BytesToKB(DWORDLONG bytes) { return Saturated(bytes >> 10); }
// From the bytes, not from a KB figure already saturated: a 64-bit
// process's 128 TB of address space is 134217727 MB, well within 32 bits.
DWORD BytesToMB(DWORDLONG bytes) { return Saturated(bytes >> 20); }

} // namespace

CDMemoryStatus::CDMemoryStatus() = default;
CDMemoryStatus::CDMemoryStatus(const CDMemoryStatus&) = default;
CDMemoryStatus& CDMemoryStatus::operator=(const CDMemoryStatus&) = default;
CDMemoryStatus::~CDMemoryStatus() = default;

DWORD CDMemoryStatus::getStatusPhyTotalKB() { return BytesToKB(QueryStatus().ullTotalPhys); }
DWORD CDMemoryStatus::getStatusPhyTotalMB() { return BytesToMB(QueryStatus().ullTotalPhys); }
DWORD CDMemoryStatus::getStatusPhyAvaiKB() { return BytesToKB(QueryStatus().ullAvailPhys); }
DWORD CDMemoryStatus::getStatusPhyAvaiMB() { return BytesToMB(QueryStatus().ullAvailPhys); }
DWORD CDMemoryStatus::getStatusPageTotalKB() { return BytesToKB(QueryStatus().ullTotalPageFile); }
DWORD CDMemoryStatus::getStatusPageTotalMB() { return BytesToMB(QueryStatus().ullTotalPageFile); }
DWORD CDMemoryStatus::getStatusPageAvaiKB() { return BytesToKB(QueryStatus().ullAvailPageFile); }
DWORD CDMemoryStatus::getStatusPageAvaiMB() { return BytesToMB(QueryStatus().ullAvailPageFile); }
DWORD CDMemoryStatus::getStatusVirtualTotalKB() { return BytesToKB(QueryStatus().ullTotalVirtual); }
DWORD CDMemoryStatus::getStatusVirtualTotalMB() { return BytesToMB(QueryStatus().ullTotalVirtual); }
DWORD CDMemoryStatus::getStatusMemoryLoad() { return QueryStatus().dwMemoryLoad; }

int CDMemoryStatus::getStatusPhyAvaiPercent()
{
    const DWORD availMB = getStatusPhyAvaiMB();
    const DWORD totalMB = getStatusPhyTotalMB();
    if (totalMB == 0)
        return 0; // less than 1 MB installed: no meaningful share
    // Single precision first, then double: the last digit depends on it
    // (29 of 100 gives 28).
    const float avail = static_cast<float>(availMB);
    const double percent = avail / static_cast<double>(totalMB) * 100.0;
    return static_cast<int>(percent);
}
