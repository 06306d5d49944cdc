#include "runner.h"

#include <algorithm>
#include <sstream>

namespace sequences {
namespace {

bool FailsAlike(const Sequence& candidate, const Failure& failure, int tries)
{
    for (int i = 0; i < tries && !StuckEarlier(); ++i) {
        const Outcome outcome = Run(candidate);
        if (outcome.failure && outcome.failure->kind == failure.kind)
            return true;
    }
    return false;
}

} // namespace

Sequence Shrink(const Sequence& failing, const Failure& failure, int tries)
{
    Sequence best = failing;
    if (StuckEarlier())
        return best;
    // Steps after the failing one play no part.
    if (failure.step >= 0 && failure.step + 1 < static_cast<int>(best.steps.size())) {
        Sequence cut = best;
        cut.steps.resize(static_cast<std::size_t>(failure.step) + 1);
        if (FailsAlike(cut, failure, tries))
            best = cut;
    }
    // Remove ever smaller chunks while the failure stays.
    for (std::size_t chunk = std::max<std::size_t>(best.steps.size() / 2, 1); chunk >= 1; chunk /= 2) {
        for (std::size_t start = 0; start < best.steps.size();) {
            Sequence candidate = best;
            const std::size_t end = std::min(start + chunk, candidate.steps.size());
            candidate.steps.erase(candidate.steps.begin() + static_cast<std::ptrdiff_t>(start),
                                  candidate.steps.begin() + static_cast<std::ptrdiff_t>(end));
            if (!candidate.steps.empty() && FailsAlike(candidate, failure, tries))
                best = candidate;
            else
                start += chunk;
        }
        if (chunk == 1)
            break;
    }
    // Fewer hand-overs make a sequence easier to read.
    for (std::size_t at = 0; at < best.steps.size(); ++at) {
        if (best.steps[at].slices == 0)
            continue;
        Sequence candidate = best;
        candidate.steps[at].slices = 0;
        if (FailsAlike(candidate, failure, tries))
            best = candidate;
    }
    return best;
}

std::string Report(const Sequence& sequence, const Failure& failure)
{
    std::ostringstream out;
    out << "seed " << sequence.seed << ": " << failure.kind << " at ";
    if (failure.step >= 0)
        out << "step " << failure.step << " (" << Describe(sequence.steps[static_cast<std::size_t>(failure.step)]) << ")";
    else
        out << "the end";
    out << ": " << failure.detail << '\n'
        << Describe(sequence);
    return out.str();
}

} // namespace sequences