// What the sequence runner needs from the platform underneath: the fake
// kernel (figures, refusals, serialised threads, a record of every block),
// or the real one, which tells nothing.
#pragma once

#include "sequence.h"

#include <cstdint>
#include <string>
#include <vector>

namespace sequences::platform {

bool IsFake();
void Begin(const Sequence& sequence);
void End();

// Serialised threads (fake only).
int Enlist();
void ParkIdle(int id);
void Wake(int id);
bool IsIdle(int id);
void Leave(int id);
enum class Slice {
    Ran,
    Quiet,
    Stuck
};
Slice RunSlice(std::uint64_t choice);
std::uint64_t NowMs();

// Faults the platform saw since Begin; blocks held; workers running on an
// object (-1: not known).
std::vector<std::string> Faults();
int LiveBlocks();
int WorkersOn(const void* object);

} // namespace sequences::platform
