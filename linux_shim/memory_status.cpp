#include <windows.h>

#include "meminfo.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace linux_shim {

MemInfo ReadMemInfo()
{
    MemInfo info;
    std::FILE* file = std::fopen("/proc/meminfo", "r");
    if (!file)
        return info;
    char name[64];
    unsigned long long kb = 0;
    while (std::fscanf(file, "%63s %llu kB\n", name, &kb) == 2) {
        const std::uint64_t bytes = static_cast<std::uint64_t>(kb) << 10;
        if (!std::strcmp(name, "MemTotal:"))
            info.total = bytes;
        else if (!std::strcmp(name, "MemAvailable:"))
            info.available = bytes;
        else if (!std::strcmp(name, "SwapTotal:"))
            info.swapTotal = bytes;
        else if (!std::strcmp(name, "SwapFree:"))
            info.swapFree = bytes;
    }
    std::fclose(file);
    return info;
}

namespace {

std::uint64_t ProcessVirtualSize()
{
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("VmSize:", 0) == 0)
            return std::strtoull(line.c_str() + 7, nullptr, 10) << 10;
    }
    return 0;
}

} // namespace
} // namespace linux_shim

BOOL WINAPI GlobalMemoryStatusEx(LPMEMORYSTATUSEX status)
{
    if (!status || status->dwLength != sizeof *status)
        return FALSE;
    const linux_shim::MemInfo mem = linux_shim::ReadMemInfo();
    status->ullTotalPhys = mem.total;
    status->ullAvailPhys = mem.available;
    // What Windows calls the paging file is the commit limit: RAM plus swap.
    status->ullTotalPageFile = mem.total + mem.swapTotal;
    status->ullAvailPageFile = mem.available + mem.swapFree;
    status->dwMemoryLoad = mem.total ? static_cast<DWORD>(100 - mem.available * 100 / mem.total) : 0;
    status->ullTotalVirtual = linux_shim::AddressSpaceEnd() - linux_shim::AddressSpaceStart();
    const std::uint64_t used = linux_shim::ProcessVirtualSize();
    status->ullAvailVirtual = used < status->ullTotalVirtual ? status->ullTotalVirtual - used : 0;
    status->ullAvailExtendedVirtual = 0;
    return TRUE;
}
