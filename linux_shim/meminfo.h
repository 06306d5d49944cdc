#pragma once

#include <cstdint>

namespace linux_shim {

// Fields of /proc/meminfo in bytes; 0 for a field the kernel does not give.
struct MemInfo {
    std::uint64_t total = 0;
    std::uint64_t available = 0;
    std::uint64_t swapTotal = 0;
    std::uint64_t swapFree = 0;
};

MemInfo ReadMemInfo();

// The highest user-space address plus one, and the lowest mappable one.
std::uint64_t AddressSpaceEnd();
std::uint64_t AddressSpaceStart();

} // namespace linux_shim
