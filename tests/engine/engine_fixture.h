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
        fake_kernel::Reset();  // frees blocks a test left refused
    }
};

// Reaches the progress field, to check what the getter makes of any value,
// and the closing flag, to tell what a worker did after destruction began.
class CDMemoryFreeProbe {
public:
    static void SetProgress(CDMemoryFree& engine, int value) { engine.m_ProgressPercent = value; }
    static bool IsClosing(const CDMemoryFree& engine) { return engine.m_Closing != 0; }
};
