// Every getter of CDSystemInfo and CDMemoryStatus, picked by number.
#pragma once

#include "drevcore.h"

#include <cstdint>

namespace sequences {

// Calls getter `which` (taken modulo the number there are) of an object:
// only CDSystemInfo's when status is null, else those of both classes.
std::uint64_t CallGetter(CDSystemInfo& info, CDMemoryStatus* status, int which);

} // namespace sequences
