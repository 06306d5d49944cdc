#include "same_sequence.h"

#include <algorithm>
#include <sstream>

::testing::AssertionResult SameSequence(const std::vector<std::string>& seen,
                                        const std::vector<std::string>& expected)
{
    if (seen == expected)
        return ::testing::AssertionSuccess();
    std::ostringstream out;
    out << "the sequences differ\n";
    const size_t rows = std::max(seen.size(), expected.size());
    bool marked = false;
    for (size_t i = 0; i < rows; ++i) {
        const std::string want = i < expected.size() ? expected[i] : "-";
        const std::string got = i < seen.size() ? seen[i] : "-";
        const bool differs = want != got;
        out << (differs && !marked ? "  >> " : "     ") << i << ": expected " << want << ", seen " << got << "\n";
        marked = marked || differs;
    }
    return ::testing::AssertionFailure() << out.str();
}
