#include "engine_fixture.h"

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <thread>

using namespace std::chrono_literals;
using WorkerTest = EngineTest;

namespace {

// Real-time bound for waiting on a worker; never reached when all is well.
template <class Done>
bool WaitFor(Done done)
{
    for (int i = 0; i < 10000 && !done(); ++i)
        std::this_thread::sleep_for(1ms);
    return done();
}

} // namespace

TEST_F(WorkerTest, AWorkerRunsTheStoredAmountAndEndsIdle)
{
    fake_kernel::Edit([](fake_kernel::Script& s) { s.holdThreads = true; });
    CDMemoryFree engine;
    EXPECT_EQ(engine.FreeMemoryThreadMB(4), 0);
    EXPECT_EQ(engine.getProgressPercent(), 100u) << "progress moves only once the worker runs";
    fake_kernel::OpenThreadGate();
    fake_kernel::JoinThreads();
    const fake_kernel::Record r = fake_kernel::Snapshot();
    EXPECT_EQ(r.threadsCreated, 1);
    EXPECT_EQ(r.allocated.size(), 4u);
    EXPECT_EQ(fake_kernel::LiveBlocks(), 0);
    EXPECT_EQ(engine.getProgressPercent(), 100u);
}

TEST_F(WorkerTest, NegativeWorkerAmountsAllocateNothing)
{
    CDMemoryFree engine;
    engine.FreeMemoryThread(-7);
    engine.FreeMemoryThreadKB(-1);
    engine.FreeMemoryThreadMB(-1);
    fake_kernel::JoinThreads();
    EXPECT_EQ(fake_kernel::Snapshot().threadsCreated, 3);
    EXPECT_TRUE(fake_kernel::Snapshot().allocated.empty());
    EXPECT_EQ(engine.getProgressPercent(), 100u);
}

TEST_F(WorkerTest, ARefusedThreadIsHarmless)
{
    fake_kernel::Edit([](fake_kernel::Script& s) { s.refuseThreads = true; });
    auto engine = std::make_unique<CDMemoryFree>();
    EXPECT_EQ(engine->FreeMemoryThreadMB(8), 0);
    EXPECT_EQ(engine->MinimalKeepThread(1024, 10), 0);
    EXPECT_EQ(engine->MinimalKeepModeThread(1), 0);
    EXPECT_EQ(engine->getMinimalKeepIsInProgress(), 0);
    engine.reset(); // must not wait for workers that never started
    EXPECT_TRUE(fake_kernel::Snapshot().allocated.empty());
}

TEST_F(WorkerTest, DestroyingTheObjectWaitsForItsWorkerAndCutsTheRunShort)
{
    std::atomic<bool> inRun{false};
    std::promise<void> letGo;
    std::shared_future<void> released = letGo.get_future().share();
    fake_kernel::Edit([&](fake_kernel::Script& s) {
        s.onAlloc = [&, released] {
            if (!inRun.exchange(true))
                released.wait();
        };
    });
    auto* engine = new CDMemoryFree;
    engine->FreeMemoryThreadMB(64);
    ASSERT_TRUE(WaitFor([&] { return inRun.load(); }));

    std::atomic<bool> destroyed{false};
    std::thread closer([&] {
        delete engine;
        destroyed = true;
    });
    std::this_thread::sleep_for(50ms);
    EXPECT_FALSE(destroyed) << "the destructor returned under a running worker";
    letGo.set_value();
    closer.join();
    EXPECT_TRUE(destroyed);
    fake_kernel::JoinThreads();
    EXPECT_LT(fake_kernel::Snapshot().allocated.size(), 64u) << "the run stops allocating once closing";
    EXPECT_EQ(fake_kernel::LiveBlocks(), 0);
}

TEST_F(WorkerTest, DestroyingTheObjectStopsBothLoops)
{
    // Both loops are held in their first pause until the destructor, which
    // raises the closing flag before its first wait, begins to wait for
    // them. Virtual time would let the rest of a 20 s pause pass unnoticed,
    // so count the sleeps the loops begin after that instead.
    auto engine = std::make_unique<CDMemoryFree>();
    const std::thread::id destroyer = std::this_thread::get_id();
    std::atomic<bool> closing{false};
    std::atomic<int> held{0}, sleepsWhileClosing{0};
    fake_kernel::Edit([&](fake_kernel::Script& s) {
        s.onSleep = [&, destroyer](std::uint64_t) {
            if (std::this_thread::get_id() == destroyer) {
                closing = true; // the destructor's own waits
                return;
            }
            if (closing) {
                ++sleepsWhileClosing;
                return;
            }
            ++held;
            WaitFor([&] { return closing.load(); });
        };
    });
    engine->MinimalKeepThread(1024, 500);
    engine->MinimalKeepModeThread(1);
    ASSERT_TRUE(WaitFor([&] { return held == 2; }));
    engine.reset();
    fake_kernel::JoinThreads();
    EXPECT_EQ(sleepsWhileClosing, 0) << "a loop paused on after its object began closing";
    EXPECT_EQ(fake_kernel::LiveBlocks(), 0);
}

// Found by the sequence tester: the thread entries are public, and one
// called on the caller's thread counted a worker out that was never counted
// in, so the destructor returned under the object's real worker.
TEST_F(WorkerTest, AThreadEntryCalledDirectlyDoesNotLetTheDestructorMissAWorker)
{
    // The loop's worker is held in a pause until well after the delete has
    // begun: a destructor that waits returns only once the worker has left
    // it. Its thread's own ending, after it counted itself out, may lag.
    std::atomic<bool> inPause{false};
    std::promise<void> letGo;
    std::shared_future<void> released = letGo.get_future().share();
    const std::thread::id caller = std::this_thread::get_id();
    fake_kernel::Edit([&](fake_kernel::Script& s) {
        s.onSleep = [&, released, caller](std::uint64_t) {
            if (std::this_thread::get_id() == caller)
                return;
            inPause = true;
            released.wait();
            inPause = false;
        };
    });
    auto* engine = new CDMemoryFree;
    engine->MinimalKeepModeThread(3);
    ASSERT_TRUE(WaitFor([&] { return inPause.load(); }));
    EXPECT_EQ(CDMemoryFree::FreeMemoryThreadContent(engine), 0u);
    EXPECT_EQ(CDMemoryFree::MinimalKeepThreadContent(engine), 0u) << "not armed by a starter: returns at once";
    std::thread releaser([&] {
        std::this_thread::sleep_for(100ms);
        letGo.set_value();
    });
    delete engine;
    EXPECT_FALSE(inPause.load()) << "a worker outlived its object";
    releaser.join();
    EXPECT_TRUE(WaitFor([&] { return fake_kernel::WorkersOn(engine) == 0; }));
}

// Found by the sequence tester: a copy made while the source's worker ran
// reported that run's progress, and the source's loop flag, for ever.
TEST_F(WorkerTest, ACopyTakesNoneOfTheSourcesRunOrLoop)
{
    std::atomic<bool> inRun{false};
    std::promise<void> letGo;
    std::shared_future<void> released = letGo.get_future().share();
    fake_kernel::Edit([&](fake_kernel::Script& s) {
        s.onAlloc = [&, released] {
            if (fake_kernel::Snapshot().allocated.size() == 2 && !inRun.exchange(true))
                released.wait();
        };
    });
    CDMemoryFree source;
    source.MinimalKeepThread(24576, 101);
    ASSERT_TRUE(WaitFor([&] { return inRun.load(); }));
    ASSERT_LT(source.getProgressPercent(), 100u);
    CDMemoryFree copy(source);
    CDMemoryFree assigned;
    assigned = source;
    letGo.set_value();
    source.MinimalKeepThreadStop();
    fake_kernel::JoinThreads();
    for (CDMemoryFree* idle : {&copy, &assigned}) {
        EXPECT_EQ(idle->getProgressPercent(), 100u);
        EXPECT_EQ(idle->getMinimalKeepIsInProgress(), 0);
    }
}
