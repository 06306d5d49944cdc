#include <windows.h>

#include "meminfo.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace linux_shim {

namespace {

// A small /proc file kept open for the life of the process and read again
// from its start on every call: the kernel builds the text afresh each time,
// and opening the file costs as much as reading it.
class ProcFile {
public:
    explicit ProcFile(const char* path) : m_fd(open(path, O_RDONLY | O_CLOEXEC)) {}

    // The file's text, terminated; empty when it cannot be read.
    std::size_t Read(char* buffer, std::size_t size) const
    {
        std::size_t used = 0;
        while (m_fd >= 0 && used + 1 < size) {
            const ssize_t got = pread(m_fd, buffer + used, size - 1 - used, static_cast<off_t>(used));
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                break;
            used += static_cast<std::size_t>(got);
        }
        buffer[used] = '\0';
        return used;
    }

private:
    int m_fd;
};

// The kB figure after a field name that starts a line; 0 when absent.
std::uint64_t FieldBytes(const char* text, const char* name)
{
    const std::size_t length = std::strlen(name);
    for (const char* line = text; *line;) {
        if (!std::strncmp(line, name, length))
            return static_cast<std::uint64_t>(std::strtoull(line + length, nullptr, 10)) << 10;
        const char* next = std::strchr(line, '\n');
        if (!next)
            break;
        line = next + 1;
    }
    return 0;
}

} // namespace

MemInfo ReadMemInfo()
{
    static const ProcFile file("/proc/meminfo");
    char text[8192];
    MemInfo info;
    if (!file.Read(text, sizeof text))
        return info;
    info.total = FieldBytes(text, "MemTotal:");
    info.available = FieldBytes(text, "MemAvailable:");
    info.swapTotal = FieldBytes(text, "SwapTotal:");
    info.swapFree = FieldBytes(text, "SwapFree:");
    return info;
}

namespace {

std::uint64_t ProcessVirtualSize()
{
    // The first figure of statm is the size in pages; far cheaper for the
    // kernel to produce than the status file.
    static const ProcFile file("/proc/self/statm");
    char text[256];
    if (!file.Read(text, sizeof text))
        return 0;
    return static_cast<std::uint64_t>(std::strtoull(text, nullptr, 10))
        * static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE));
}

MEMORYSTATUSEX ReadStatus()
{
    const MemInfo mem = ReadMemInfo();
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    status.ullTotalPhys = mem.total;
    status.ullAvailPhys = mem.available;
    // What Windows calls the paging file is the commit limit: RAM plus swap.
    status.ullTotalPageFile = mem.total + mem.swapTotal;
    status.ullAvailPageFile = mem.available + mem.swapFree;
    status.dwMemoryLoad = mem.total ? static_cast<DWORD>(100 - mem.available * 100 / mem.total) : 0;
    status.ullTotalVirtual = AddressSpaceEnd() - AddressSpaceStart();
    // A limit on the process's address space (ulimit -v) ends it sooner,
    // as a 32-bit Windows process's 2 to 4 GB do.
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
        status.ullTotalVirtual = std::min<std::uint64_t>(status.ullTotalVirtual, limit.rlim_cur);
    const std::uint64_t used = ProcessVirtualSize();
    status.ullAvailVirtual = used < status.ullTotalVirtual ? status.ullTotalVirtual - used : 0;
    status.ullAvailExtendedVirtual = 0;
    return status;
}

// A reading is reused for this long, as Wine reuses one for about a second:
// a freeing run asks before every block, and reading /proc costs tens of
// microseconds against a block's fraction of a millisecond.
constexpr std::int64_t kStatusReuseNs = 10'000'000;

std::int64_t NowNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

std::mutex statusLock;
MEMORYSTATUSEX lastStatus{};
std::int64_t lastReadNs = 0;

} // namespace
} // namespace linux_shim

BOOL WINAPI GlobalMemoryStatusEx(LPMEMORYSTATUSEX status)
{
    using namespace linux_shim;
    if (!status || status->dwLength != sizeof *status)
        return FALSE;
    std::lock_guard<std::mutex> hold(statusLock);
    const std::int64_t now = NowNs();
    if (lastStatus.dwLength == 0 || now - lastReadNs >= kStatusReuseNs) {
        lastStatus = ReadStatus();
        lastReadNs = now;
    }
    *status = lastStatus;
    return TRUE;
}
