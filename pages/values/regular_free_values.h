// The Regular Free page's settings as the main view carries them from one
// run of the program to the next.
#pragma once

#include <cstdint>

struct RegularFreeValues {
    std::int32_t mode = 0;               // 0 "Free memory :", 1 "Keep at least :", -1 neither
    std::int32_t freeAmountMB = 0;       // the amount slider's position
    std::int32_t keepAtLeastMB = 0;      // the threshold slider's position
    std::uint32_t intervalPosResult = 0; // UDM_GETPOS's return value: seconds in the low word,
                                         // non-zero high word when its text is no position
    bool applied = false;                // the "Apply" toggle is down
};
