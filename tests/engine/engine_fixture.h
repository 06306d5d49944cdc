#pragma once

#include "drevcore.h"
#include "fake_kernel.h"

#include <gtest/gtest.h>

// Every test starts from the fake's defaults and leaves no thread behind.
class EngineTest : public ::testing::Test {
protected:
    void SetUp() override { fake_kernel::Reset(); }
    void TearDown() override
    {
        fake_kernel::OpenThreadGate();
        fake_kernel::JoinThreads();
        fake_kernel::Reset(); // frees blocks a test left refused
    }
};

// An engine whose progress field a test can set, to check what the getter
// makes of any value.
class ProgressProbe : public CDMemoryFree {
public:
    void SetProgress(int value) { m_ProgressPercent = value; }
};
