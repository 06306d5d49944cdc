// Keeps a freeing run from taking the program's own last address space: a
// 32-bit process can hold far less than a large machine's RAM, and its
// window, heaps, threads and painting must still work while a run holds
// its blocks.
#pragma once

#include <windows.h>

#include <cstdint>

namespace drevcore {

// The address space a run always leaves to its own process. The program
// needs a few tens of MB to go on (its heaps, a thread's stack, the
// painting of a window, a DLL loaded late); 256 MB covers that several
// times over, and also the splintering of what is left, whose largest free
// stretch can be far smaller than the sum. It is a small share of the 2 to
// 4 GB of a 32-bit process and nothing beside a 64-bit one's 128 TB.
inline constexpr std::uint64_t kAddressReserveBytes = 256ull << 20;
// A block's footprint in the address space: its bytes and the heap's
// header round up to the next 64 KB granule (blocks of 1 MB sit 0x110000
// apart).
inline constexpr std::uint64_t kAllocationGranuleBytes = 64ull << 10;

class AddressSpaceGuard {
public:
    // Whether the run may take one more block of this size, given this
    // moment's reading (nullptr: none could be made). The first call's
    // reading is the run's starting point.
    bool AllowsBlock(const MEMORYSTATUSEX* reading, std::uint64_t blockBytes);
    // Counts a block the run now holds.
    void Took(std::uint64_t blockBytes) { m_taken += Footprint(blockBytes); }

    // Blocks of this size a run started at this reading could hold.
    static std::uint64_t BlocksWithin(const MEMORYSTATUSEX& reading, std::uint64_t blockBytes);

private:
    static std::uint64_t Footprint(std::uint64_t blockBytes)
    {
        return blockBytes + kAllocationGranuleBytes;
    }

    bool m_started = false;
    // No figures at the start: only the platform's own refusals limit the run.
    bool m_blind = false;
    std::uint64_t m_availableAtStart = 0;
    std::uint64_t m_taken = 0;
};

} // namespace drevcore
