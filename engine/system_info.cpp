#include "drevcore.h"

namespace {

SYSTEM_INFO QueryInfo()
{
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    return info;
}

} // namespace

CDSystemInfo::CDSystemInfo() = default;
CDSystemInfo::CDSystemInfo(const CDSystemInfo&) = default;
CDSystemInfo& CDSystemInfo::operator=(const CDSystemInfo&) = default;
CDSystemInfo::~CDSystemInfo() = default;

WORD CDSystemInfo::getInfoProcessorArchitecture() { return QueryInfo().wProcessorArchitecture; }
WORD CDSystemInfo::getInfoReserved() { return QueryInfo().wReserved; }
DWORD CDSystemInfo::getInfoPageSize() { return QueryInfo().dwPageSize; }
LPVOID CDSystemInfo::getInfoMinimumApplicationAddressLP() { return QueryInfo().lpMinimumApplicationAddress; }
LPVOID CDSystemInfo::getInfoMaximumApplicationAddressLP() { return QueryInfo().lpMaximumApplicationAddress; }
DWORD CDSystemInfo::getInfoActiveProcessorMask() { return static_cast<DWORD>(QueryInfo().dwActiveProcessorMask); }
DWORD CDSystemInfo::getInfoNumberOfProcessors() { return QueryInfo().dwNumberOfProcessors; }
DWORD CDSystemInfo::getInfoProcessorType() { return QueryInfo().dwProcessorType; }
DWORD CDSystemInfo::getInfoAllocationGranularity() { return QueryInfo().dwAllocationGranularity; }
WORD CDSystemInfo::getInfoProcessorLevel() { return QueryInfo().wProcessorLevel; }
WORD CDSystemInfo::getInfoProcessorRevision() { return QueryInfo().wProcessorRevision; }
