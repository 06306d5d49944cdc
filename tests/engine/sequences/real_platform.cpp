#include "platform.h"

#include <chrono>

namespace sequences::platform {

bool IsFake() { return false; }
void Begin(const Sequence&) {}
void End() {}

// Never serialised: the real platform's threads run as they will.
int Enlist() { return -1; }
void ParkIdle(int) {}
void Wake(int) {}
bool IsIdle(int) { return true; }
void Leave(int) {}
Slice RunSlice(std::uint64_t) { return Slice::Quiet; }

std::uint64_t NowMs()
{
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
}

std::vector<std::string> Faults() { return {}; }
int LiveBlocks() { return -1; }
int WorkersOn(const void*) { return -1; }

} // namespace sequences::platform
