// Runs a call sequence against the engine and checks, after every step and
// at the end, what must hold whatever the order of calls.
#pragma once

#include "sequence.h"

#include <optional>
#include <string>

namespace sequences {

struct Failure {
    int step = -1;    // -1: found at the end, after every object was destroyed
    std::string kind; // what broke, the same for every instance of it
    std::string detail;
};

struct Outcome {
    std::optional<Failure> failure;
    int calls = 0;
    // Threads were left stuck: no further run can be trusted in this process.
    bool stuck = false;
};

Outcome Run(const Sequence& sequence);
// Whether an earlier run left threads stuck.
bool StuckEarlier();

// The shortest sequence found that still fails the same way; each
// candidate is tried `tries` times (free threads do not replay exactly).
// It gives up, keeping what it has, once a run leaves threads stuck.
Sequence Shrink(const Sequence& failing, const Failure& failure, int tries);

std::string Report(const Sequence& sequence, const Failure& failure);

} // namespace sequences
