#include "getters.h"

namespace sequences {

std::uint64_t CallGetter(CDSystemInfo& info, CDMemoryStatus* status, int which)
{
    using InfoGetter = std::uint64_t (*)(CDSystemInfo&);
    using StatusGetter = std::uint64_t (*)(CDMemoryStatus&);
    static const InfoGetter infoGetters[] = {
        [](CDSystemInfo& o) -> std::uint64_t { return o.getInfoProcessorArchitecture(); },
        [](CDSystemInfo& o) -> std::uint64_t { return o.getInfoReserved(); },
        [](CDSystemInfo& o) -> std::uint64_t { return o.getInfoPageSize(); },
        [](CDSystemInfo& o) -> std::uint64_t { return reinterpret_cast<std::uintptr_t>(o.getInfoMinimumApplicationAddressLP()); },
        [](CDSystemInfo& o) -> std::uint64_t { return reinterpret_cast<std::uintptr_t>(o.getInfoMaximumApplicationAddressLP()); },
        [](CDSystemInfo& o) -> std::uint64_t { return o.getInfoActiveProcessorMask(); },
        [](CDSystemInfo& o) -> std::uint64_t { return o.getInfoNumberOfProcessors(); },
        [](CDSystemInfo& o) -> std::uint64_t { return o.getInfoProcessorType(); },
        [](CDSystemInfo& o) -> std::uint64_t { return o.getInfoAllocationGranularity(); },
        [](CDSystemInfo& o) -> std::uint64_t { return o.getInfoProcessorLevel(); },
        [](CDSystemInfo& o) -> std::uint64_t { return o.getInfoProcessorRevision(); },
    };
    static const StatusGetter statusGetters[] = {
        [](CDMemoryStatus& o) -> std::uint64_t { return o.getStatusPhyTotalKB(); },
        [](CDMemoryStatus& o) -> std::uint64_t { return o.getStatusPhyTotalMB(); },
        [](CDMemoryStatus& o) -> std::uint64_t { return o.getStatusPhyAvaiKB(); },
        [](CDMemoryStatus& o) -> std::uint64_t { return o.getStatusPhyAvaiMB(); },
        [](CDMemoryStatus& o) -> std::uint64_t { return o.getStatusPageTotalKB(); },
        [](CDMemoryStatus& o) -> std::uint64_t { return o.getStatusPageTotalMB(); },
        [](CDMemoryStatus& o) -> std::uint64_t { return o.getStatusPageAvaiKB(); },
        [](CDMemoryStatus& o) -> std::uint64_t { return o.getStatusPageAvaiMB(); },
        [](CDMemoryStatus& o) -> std::uint64_t { return o.getStatusVirtualTotalKB(); },
        [](CDMemoryStatus& o) -> std::uint64_t { return o.getStatusVirtualTotalMB(); },
        [](CDMemoryStatus& o) -> std::uint64_t { return o.getStatusMemoryLoad(); },
        [](CDMemoryStatus& o) -> std::uint64_t { return static_cast<std::uint32_t>(o.getStatusPhyAvaiPercent()); },
    };
    constexpr int infoCount = sizeof infoGetters / sizeof infoGetters[0];
    constexpr int statusCount = sizeof statusGetters / sizeof statusGetters[0];
    if (!status)
        return infoGetters[which % infoCount](info);
    which %= infoCount + statusCount;
    return which < infoCount ? infoGetters[which](info) : statusGetters[which - infoCount](*status);
}

} // namespace sequences
