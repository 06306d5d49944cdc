// The threads library that the C++ runtime brings imports GetTickCount64,
// which Windows has only from Vista on: a program importing it does not load
// on XP. This defines the import slot itself, so the linker takes no import
// from KERNEL32, and fills it with the system's function where there is one
// and GetTickCount widened to 64 bits where there is not.
#include <windows.h>

#include <atomic>

namespace {

using TickCount64Function = ULONGLONG(WINAPI*)();

// GetTickCount wraps after 49.7 days; counting each wrap keeps the figure
// rising as long as something asks at least once in that time, which the
// waits that use it do.
ULONGLONG WidenedTickCount()
{
    static std::atomic<ULONGLONG> last{0};
    ULONGLONG seen = last.load();
    for (;;) {
        ULONGLONG now = (seen & ~ULONGLONG(0xFFFFFFFF)) | ::GetTickCount();
        if (now < seen)
            now += ULONGLONG(1) << 32;
        if (last.compare_exchange_weak(seen, now))
            return now;
    }
}

// No function-local static: the lock that would guard its first use is
// the threads library's, which may itself be waiting here.
std::atomic<TickCount64Function> systemTickCount64{nullptr};
std::atomic<bool> looked{false};

ULONGLONG WINAPI TickCount64()
{
    if (!looked.load(std::memory_order_acquire)) {
        HMODULE kernel32 = ::GetModuleHandleA("kernel32.dll");
        systemTickCount64.store(kernel32 ? reinterpret_cast<TickCount64Function>(reinterpret_cast<void*>(
                                               ::GetProcAddress(kernel32, "GetTickCount64")))
                                         : nullptr);
        looked.store(true, std::memory_order_release);
    }
    const TickCount64Function system = systemTickCount64.load();
    return system ? system() : WidenedTickCount();
}

} // namespace

// The slot an import of GetTickCount64 reads its address from.
#ifdef _WIN64
extern "C" TickCount64Function tickCount64Import __asm__("__imp_GetTickCount64");
#else
extern "C" TickCount64Function tickCount64Import __asm__("__imp__GetTickCount64@0");
#endif
TickCount64Function tickCount64Import = TickCount64;
