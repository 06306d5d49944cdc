// Runs random call sequences against the engine until time runs out or one
// fails; a failure prints its seed and the shortest sequence that still
// fails. Over the fake kernel or the real platform, whichever this program
// was linked with.
#include "platform.h"
#include "runner.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

namespace {

void Usage()
{
    std::fprintf(stderr,
                 "usage: engine_sequences [--seconds N] [--seed S] [--from S] [--steps N]\n"
                 "                        [--threads serialised|free|mixed]\n"
                 "  --seconds N  run sequences for N seconds (default 20)\n"
                 "  --seed S     run the one sequence of seed S (a replay)\n"
                 "  --from S     first seed of a timed run (default: random)\n"
                 "  --steps N    longest sequence (default 60)\n");
}

} // namespace

int main(int argc, char** argv)
{
    using Clock = std::chrono::steady_clock;
    double seconds = 20;
    bool replay = false;
    std::uint64_t seed = std::random_device{}() * 0x100000001ull;
    sequences::Profile profile;
    profile.realPlatform = !sequences::platform::IsFake();
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (!value) {
            Usage();
            return 2;
        }
        ++i;
        if (arg == "--seconds") {
            seconds = std::atof(value);
        } else if (arg == "--seed") {
            seed = std::strtoull(value, nullptr, 0);
            replay = true;
        } else if (arg == "--from") {
            seed = std::strtoull(value, nullptr, 0);
        } else if (arg == "--steps") {
            profile.maxSteps = std::max(1, std::atoi(value));
        } else if (arg == "--threads") {
            const std::string mode = value;
            profile.threads = mode == "serialised" ? sequences::Profile::Threads::Serialised
                : mode == "free"                   ? sequences::Profile::Threads::Free
                                                   : sequences::Profile::Threads::Mixed;
        } else {
            Usage();
            return 2;
        }
    }
    std::printf("engine sequences over the %s, %s seed %llu\n",
                profile.realPlatform ? "real platform" : "fake kernel", replay ? "replaying" : "starting at",
                static_cast<unsigned long long>(seed));
    std::fflush(stdout);

    const auto start = Clock::now();
    long long tried = 0, steps = 0, calls = 0;
    for (;; ++seed) {
        const sequences::Sequence sequence = sequences::Generate(seed, profile);
        const sequences::Outcome outcome = sequences::Run(sequence);
        ++tried;
        steps += static_cast<long long>(sequence.steps.size());
        calls += outcome.calls;
        if (outcome.failure) {
            std::printf("FAILED\n%s", sequences::Report(sequence, *outcome.failure).c_str());
            std::fflush(stdout);
            const int tries = sequence.serialised && !profile.realPlatform ? 1 : 3;
            const sequences::Sequence shortest = sequences::Shrink(sequence, *outcome.failure, tries);
            if (sequences::StuckEarlier()) {
                std::printf("threads were left stuck: no shrinking\nreplay: %s --seed %llu\n", argv[0],
                            static_cast<unsigned long long>(sequence.seed));
                std::fflush(stdout);
                std::_Exit(1);
            }
            const sequences::Outcome again = sequences::Run(shortest);
            std::printf("shortest sequence that still fails (%zu steps):\n%s",
                        shortest.steps.size(),
                        again.failure ? sequences::Report(shortest, *again.failure).c_str()
                                      : sequences::Describe(shortest).c_str());
            std::printf("replay: %s --seed %llu\n", argv[0], static_cast<unsigned long long>(sequence.seed));
            std::fflush(stdout);
            // Threads left stuck would keep the process from ending.
            std::_Exit(1);
        }
        const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
        if (replay || elapsed >= seconds)
            break;
    }
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("sequences tried %lld, steps %lld, calls %lld in %.1f s: %.0f calls/s\n", tried, steps, calls,
                elapsed, elapsed > 0 ? calls / elapsed : 0.0);
    return 0;
}
