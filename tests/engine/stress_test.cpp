// Many runs and both loops at once on one object, over the real platform;
// meant to be run under ThreadSanitizer and AddressSanitizer.
#include "drevcore.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

TEST(StressTest, ConcurrentRunsAndLoopsOnOneObjectThenDestroyIt)
{
    auto engine = std::make_unique<CDMemoryFree>();
    engine->MinimalKeepThread(2048, 1);
    engine->MinimalKeepModeThread(1);
    for (int i = 0; i < 16; ++i)
        engine->FreeMemoryThreadMB(4 + i % 4);

    std::atomic<bool> stop{false};
    std::vector<std::thread> readers;
    for (int r = 0; r < 3; ++r) {
        readers.emplace_back([&] {
            while (!stop) {
                const DWORD progress = engine->getProgressPercent();
                EXPECT_LE(progress, 100u);
                engine->getMinimalKeepIsInProgress();
                engine->getStatusPhyAvaiMB();
            }
        });
    }
    std::this_thread::sleep_for(200ms);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(engine->FreeMemory(1024 * (1 + i % 3)), 1024 * (1 + i % 3));
    stop = true;
    for (std::thread& reader : readers)
        reader.join();

    engine->MinimalKeepThreadStop();
    engine->MinimalKeepModeThreadStop();
    // Destroyed with workers possibly still in their runs or pauses: the
    // destructor must wait for them, and quickly, even for the 20 s pause.
    const auto start = std::chrono::steady_clock::now();
    engine.reset();
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_LT(waited, 10s);
}

TEST(StressTest, ManyObjectsDestroyedMidRun)
{
    for (int round = 0; round < 8; ++round) {
        CDMemoryFree engine;
        engine.FreeMemoryThreadMB(64);
        engine.FreeMemoryThreadMB(64);
        engine.MinimalKeepModeThread(3);
    }
}
