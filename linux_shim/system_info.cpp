#include <windows.h>

#include "meminfo.h"

#include <sched.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace linux_shim {

namespace {

std::uint64_t ReadAddressSpaceStart()
{
    std::uint64_t start = 0;
    std::ifstream in("/proc/sys/vm/mmap_min_addr");
    if (!(in >> start) || start == 0)
        start = static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE));
    return start;
}

std::uint64_t ReadAddressSpaceEnd()
{
    // The stack sits at the top of the user address space; the space ends at
    // the next power of two above it, less one guard page.
    std::uint64_t stackEnd = 0;
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line)) {
        if (line.find("[stack]") == std::string::npos)
            continue;
        unsigned long long from = 0, to = 0;
        if (std::sscanf(line.c_str(), "%llx-%llx", &from, &to) == 2)
            stackEnd = to;
    }
    if (stackEnd == 0)
        stackEnd = reinterpret_cast<std::uintptr_t>(&line);
    std::uint64_t end = 1;
    while (end < stackEnd && end != 0)
        end <<= 1;
    return end - static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE));
}

} // namespace

// Both bounds are fixed for the life of the process: read them once.
std::uint64_t AddressSpaceStart()
{
    static const std::uint64_t start = ReadAddressSpaceStart();
    return start;
}

std::uint64_t AddressSpaceEnd()
{
    static const std::uint64_t end = ReadAddressSpaceEnd();
    return end;
}

namespace {

struct CpuId {
    WORD family = 0;
    WORD model = 0;
    WORD stepping = 0;
};

CpuId ReadCpuId()
{
    CpuId id;
    std::ifstream in("/proc/cpuinfo");
    std::string line;
    // Lines read "key<tabs>: value"; only the first processor's are used.
    while (std::getline(in, line) && !line.empty()) {
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        const std::string key = line.substr(0, line.find_last_not_of(" \t", colon - 1) + 1);
        const WORD value = static_cast<WORD>(std::strtoul(line.c_str() + colon + 1, nullptr, 10));
        if (key == "cpu family")
            id.family = value;
        else if (key == "model")
            id.model = value;
        else if (key == "stepping")
            id.stepping = value;
    }
    return id;
}

} // namespace
} // namespace linux_shim

void WINAPI GetSystemInfo(LPSYSTEM_INFO info)
{
    std::memset(info, 0, sizeof *info);
#if defined(__x86_64__)
    info->wProcessorArchitecture = PROCESSOR_ARCHITECTURE_AMD64;
    info->dwProcessorType = 8664;
#elif defined(__i386__)
    info->wProcessorArchitecture = PROCESSOR_ARCHITECTURE_INTEL;
    info->dwProcessorType = 586;
#elif defined(__aarch64__)
    info->wProcessorArchitecture = PROCESSOR_ARCHITECTURE_ARM64;
#else
    info->wProcessorArchitecture = PROCESSOR_ARCHITECTURE_UNKNOWN;
#endif
    const long pageSize = sysconf(_SC_PAGESIZE);
    info->dwPageSize = static_cast<DWORD>(pageSize);
    // Linux maps at page granularity.
    info->dwAllocationGranularity = static_cast<DWORD>(pageSize);
    info->lpMinimumApplicationAddress =
        reinterpret_cast<LPVOID>(static_cast<std::uintptr_t>(linux_shim::AddressSpaceStart()));
    info->lpMaximumApplicationAddress =
        reinterpret_cast<LPVOID>(static_cast<std::uintptr_t>(linux_shim::AddressSpaceEnd() - 1));

    cpu_set_t cpus;
    CPU_ZERO(&cpus);
    if (sched_getaffinity(0, sizeof cpus, &cpus) == 0) {
        for (unsigned cpu = 0; cpu < sizeof(DWORD_PTR) * 8; ++cpu) {
            if (CPU_ISSET(cpu, &cpus))
                info->dwActiveProcessorMask |= DWORD_PTR{1} << cpu;
        }
    }
    info->dwNumberOfProcessors = static_cast<DWORD>(sysconf(_SC_NPROCESSORS_ONLN));

    static const linux_shim::CpuId id = linux_shim::ReadCpuId();
    info->wProcessorLevel = id.family;
    info->wProcessorRevision = static_cast<WORD>((id.model << 8) | (id.stepping & 0xFF));
}
