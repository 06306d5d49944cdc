// SameSequence: comparing two sequences of lines, with a readable failure.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

// Whether seen is exactly expected, in order; when not, the failure shows
// both whole sequences side by side and marks where they first part.
::testing::AssertionResult SameSequence(const std::vector<std::string>& seen,
                                        const std::vector<std::string>& expected);
