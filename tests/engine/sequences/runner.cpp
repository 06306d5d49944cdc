#include "runner.h"

#include "caller_thread.h"
#include "drevcore.h"
#include "getters.h"
#include "platform.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <random>
#include <sstream>
#include <thread>

namespace sequences {
namespace {

using namespace std::chrono_literals;

// A destructor waits for its workers, which look at the closing flag at
// least every 100 ms of a pause; a millisecond more for its own polls.
constexpr std::uint64_t kDestroyBoundMs = 110;
// The mode watchdog's pause, which a stop does not cut short.
constexpr std::uint64_t kModePauseMs = 20000;
// Hand-overs a call that does not loop may take before it counts as hung.
constexpr int kCallSlices = 200000;
// Real time for the same over free threads. Generous: on a shared machine
// a low-priority run may get no processor for long stretches, and only a
// hang should trip these.
constexpr auto kCallRealBound = 300s;
constexpr auto kDestroyRealBound = 60s;

// One sequence's run: the objects, the caller threads, the checks.
class SequenceRun {
public:
    explicit SequenceRun(const Sequence& sequence)
        : m_sequence(sequence), m_serialised(sequence.serialised && platform::IsFake())
    {
        for (const Step& s : sequence.steps) {
            if ((s.call == Call::MinimalKeep || s.call == Call::MinimalKeepThread) && s.b >= 0)
                m_longestPauseMs = std::max<std::uint64_t>(m_longestPauseMs, static_cast<std::uint32_t>(s.b));
        }
    }

    Outcome Go()
    {
        platform::Begin(m_sequence);
        for (int t = 0; t < kThreads; ++t)
            m_drivers.push_back(std::make_unique<Driver>(m_serialised));
        m_choices.seed(m_sequence.seed);

        static const bool trace = std::getenv("ENGINE_SEQUENCES_TRACE") != nullptr;
        for (std::size_t i = 0; i < m_sequence.steps.size() && !m_failure; ++i) {
            m_step = static_cast<int>(i);
            if (trace)
                std::fprintf(stderr, "%llu ms: %zu. %s\n", static_cast<unsigned long long>(platform::NowMs()), i,
                             Describe(m_sequence.steps[i]).c_str());
            Execute(m_sequence.steps[i]);
            if (!m_failure)
                CheckState();
        }
        m_step = -1;
        // Also after a failure: the threads and objects must be wound up
        // before the next sequence.
        TearDown();
        // Threads stuck for good cannot be shut down: they are left behind.
        if (!m_stuck) {
            for (auto& driver : m_drivers) {
                driver->Quit();
                if (m_serialised) {
                    while (platform::RunSlice(0) == platform::Slice::Ran) {}
                }
            }
            m_drivers.clear();
            platform::End();
            if (platform::IsFake() && platform::LiveBlocks() != 0)
                Fail("blocks still held", std::to_string(platform::LiveBlocks()) + " blocks still held");
        } else {
            for (auto& driver : m_drivers)
                driver.release();
            for (auto& object : m_slots)
                object.release();
        }
        Outcome outcome;
        outcome.failure = m_failure;
        outcome.calls = m_calls;
        outcome.stuck = m_stuck;
        return outcome;
    }

private:
    void Fail(const std::string& kind, const std::string& detail)
    {
        if (m_failure)
            return;
        m_failure = Failure{m_step, kind, detail};
    }

    // Lets the threads run: hand-overs in serialised mode, a moment of real
    // time otherwise.
    void Advance(int slices, std::mt19937_64& choices)
    {
        if (!m_serialised) {
            if (slices > 0)
                std::this_thread::sleep_for(std::chrono::microseconds(20 * slices));
            return;
        }
        for (int i = 0; i < slices; ++i) {
            const platform::Slice slice = platform::RunSlice(choices());
            if (slice == platform::Slice::Stuck) {
                m_stuck = true;
                Fail("thread blocked outside the kernel", "a thread did not come back to the kernel within five minutes");
                return;
            }
            if (slice == platform::Slice::Quiet)
                return;
        }
    }

    // Runs the threads until this caller's call returns.
    bool Finish(Driver& driver)
    {
        if (!m_serialised)
            return driver.WaitIdle(std::chrono::duration_cast<std::chrono::milliseconds>(kCallRealBound));
        for (int i = 0; i < kCallSlices && driver.Busy(); ++i) {
            Advance(1, m_choices);
            if (m_stuck)
                return false;
        }
        return !driver.Busy();
    }

    bool InUse(const void* object) const
    {
        for (const auto& driver : m_drivers) {
            if (driver->Busy() && driver->object == object)
                return true;
        }
        return false;
    }

    static CDMemoryFree* AsFree(CDSystemInfo* object) { return static_cast<CDMemoryFree*>(object); }

    void Execute(const Step& s)
    {
        std::mt19937_64 choices(s.choices);
        Driver& driver = *m_drivers[s.thread];
        // A caller still in a call that does not loop finishes it first; one
        // in a loop cannot take another call until the loop is stopped.
        if (driver.Busy() && !IsLoop(driver.call) && !Finish(driver) && !m_failure)
            Fail("call did not return", "the thread's previous call never returned");
        if (m_failure)
            return;
        CheckDriver(driver);
        CDSystemInfo* object = m_slots[s.slot].get();
        CDSystemInfo* source = m_slots[s.source].get();
        const bool makes = s.call == Call::New || s.call == Call::Copy;
        const bool ends = makes || s.call == Call::Destroy;
        bool skip = driver.Busy() || (!object && !makes) || (s.call == Call::Copy && !source)
            || (s.call == Call::Assign && !source);
        // Ending an object while another thread is inside one of its members
        // is the caller's fault in C++, whatever the class.
        if (ends && object && InUse(object))
            skip = true;
        if (skip) {
            Advance(s.slices, choices);
            return;
        }
        ++m_calls;

        CDSystemInfo* ended = ends ? m_slots[s.slot].release() : nullptr;
        driver.object = ends ? nullptr : object;
        driver.call = s.call;
        driver.startMs = platform::NowMs();
        Driver* self = &driver;
        const bool serialised = m_serialised;
        CDSystemInfo* made = nullptr;
        CDSystemInfo** madeAt = &made;
        const int slot = s.slot;
        driver.Give([=] {
            // The new object first: it may be a copy of the one it replaces.
            if (makes)
                *madeAt = Make(s, slot, source);
            if (ended)
                Destroy(*self, ended, serialised);
            else if (!makes)
                Perform(*self, s, object, source);
        });
        Advance(s.slices, choices);
        if (ends || s.call == Call::Assign) {
            // The table of objects changes only here, on this thread.
            if (!Finish(driver)) {
                if (!m_failure)
                    Fail("call did not return", "construction, copy, assignment or destruction never returned");
                return;
            }
            if (makes)
                m_slots[s.slot].reset(made);
        }
        CheckDriver(driver);
    }

    static CDSystemInfo* Make(const Step& s, int slot, CDSystemInfo* source)
    {
        if (slot < kFreeSlots)
            return s.call == Call::New ? new CDMemoryFree : new CDMemoryFree(*AsFree(source));
        if (slot == kStatusSlot)
            return s.call == Call::New ? new CDMemoryStatus : new CDMemoryStatus(*static_cast<CDMemoryStatus*>(source));
        return s.call == Call::New ? new CDSystemInfo : new CDSystemInfo(*source);
    }

    static void Destroy(Driver& driver, CDSystemInfo* object, bool serialised)
    {
        const std::uint64_t start = platform::NowMs();
        delete object;
        const std::uint64_t took = platform::NowMs() - start;
        if (serialised ? took > kDestroyBoundMs
                       : !platform::IsFake() && took > static_cast<std::uint64_t>(kDestroyRealBound.count() * 1000)) {
            driver.Problem("destruction too slow", "the destructor took " + std::to_string(took) + " ms");
        }
        // Over free threads a worker may be between its last touch of the
        // object and its end; it has a moment to get there.
        int workers = platform::WorkersOn(object);
        for (int i = 0; !serialised && workers > 0 && i < 1000; ++i) {
            std::this_thread::sleep_for(1ms);
            workers = platform::WorkersOn(object);
        }
        if (workers > 0)
            driver.Problem("worker outlived its object", std::to_string(workers) + " workers still running");
    }

    static void Perform(Driver& driver, const Step& s, CDSystemInfo* object, CDSystemInfo* source)
    {
        if (s.call == Call::Getter) {
            CallGetter(*object, s.slot == kInfoSlot ? nullptr : static_cast<CDMemoryStatus*>(object), s.a);
            return;
        }
        if (s.call == Call::Assign) {
            if (s.slot < kFreeSlots) {
                CDMemoryFree& target = *AsFree(object);
                if (&(target = *AsFree(source)) != &target)
                    driver.Problem("wrong result", "assignment did not return its target");
            } else if (s.slot == kStatusSlot) {
                auto& target = *static_cast<CDMemoryStatus*>(object);
                if (&(target = *static_cast<CDMemoryStatus*>(source)) != &target)
                    driver.Problem("wrong result", "assignment did not return its target");
            } else if (&(*object = *source) != object) {
                driver.Problem("wrong result", "assignment did not return its target");
            }
            return;
        }
        CDMemoryFree& engine = *AsFree(object);
        long long result = 0;
        long long expected = 0;
        switch (s.call) {
        case Call::FreeMemory: {
            result = engine.FreeMemory(s.a);
            // Whole blocks, never more than the amount rounded up; nothing
            // for a refused amount.
            const long long ceiling = s.a == -1 ? 0x7FFFFC00LL + 1024 : s.a < 0 ? 0
                                                                                : (s.a + 1023LL) / 1024 * 1024;
            if (result < 0 || result % 1024 != 0 || result > ceiling)
                driver.Problem("wrong result", "FreeMemory(" + std::to_string(s.a) + ") returned " + std::to_string(result));
            return;
        }
        case Call::FreeMemoryKB: result = engine.FreeMemoryKB(s.a); break;
        case Call::FreeMemoryMB: result = engine.FreeMemoryMB(s.a); break;
        case Call::FreeMemoryThread: result = engine.FreeMemoryThread(s.a); break;
        case Call::FreeMemoryThreadKB: result = engine.FreeMemoryThreadKB(s.a); break;
        case Call::FreeMemoryThreadMB: result = engine.FreeMemoryThreadMB(s.a); break;
        case Call::FreeMemoryThreadContent: result = CDMemoryFree::FreeMemoryThreadContent(&engine); break;
        case Call::GetProgressPercent:
            result = engine.getProgressPercent();
            expected = std::min(result, 100LL);
            break;
        case Call::MinimalKeep: result = engine.MinimalKeep(s.a, s.b); break;
        case Call::MinimalKeepThread: result = engine.MinimalKeepThread(s.a, s.b); break;
        case Call::MinimalKeepThreadContent: result = CDMemoryFree::MinimalKeepThreadContent(&engine); break;
        case Call::MinimalKeepThreadStop: result = engine.MinimalKeepThreadStop(); break;
        case Call::GetMinimalKeepIsInProgress:
            result = engine.getMinimalKeepIsInProgress();
            expected = result == 1 ? 1 : 0;
            break;
        case Call::MinimalKeepMode: result = engine.MinimalKeepMode(s.a); break;
        case Call::MinimalKeepModeThread: result = engine.MinimalKeepModeThread(s.a); break;
        case Call::MinimalKeepModeThreadContent: result = CDMemoryFree::MinimalKeepModeThreadContent(&engine); break;
        case Call::MinimalKeepModeThreadStop: result = engine.MinimalKeepModeThreadStop(); break;
        case Call::GetReleaseFailures:
            result = engine.getReleaseFailures();
            expected = std::max(result, 0LL);
            break;
        default:
            return;
        }
        if (result != expected)
            driver.Problem("wrong result", Describe(s) + " returned " + std::to_string(result));
    }

    // A finished call: its own findings, and how long it kept its thread.
    void CheckDriver(Driver& driver)
    {
        Failure found;
        if (driver.TakeProblem(found))
            Fail(found.kind, found.detail);
        if (driver.Busy() || driver.object == nullptr || !m_serialised)
            return;
        // Only loops and destruction pause; every other call returns in no
        // virtual time.
        if (!IsLoop(driver.call) && driver.EndMs() != driver.startMs)
            Fail("call blocked", "a call that never pauses held its thread for " + std::to_string(driver.EndMs() - driver.startMs) + " ms");
        driver.object = nullptr;
    }

    // Whether a run or a keep-free loop may be going on on this object.
    bool Active(const CDMemoryFree* engine) const
    {
        if (platform::WorkersOn(engine) > 0)
            return true;
        // Over free threads a caller in any member may be about to start a
        // worker; serialised, it is known to be parked short of that.
        for (const auto& driver : m_drivers) {
            if (driver->Busy() && driver->object == engine && (MayRun(driver->call) || !m_serialised))
                return true;
        }
        return false;
    }

    void CheckState()
    {
        for (const Failure& fault : NewFaults())
            Fail(fault.kind, fault.detail);
        for (int slot = 0; slot < kFreeSlots && !m_failure; ++slot) {
            CDMemoryFree* engine = AsFree(m_slots[slot].get());
            if (!engine)
                continue;
            const bool known = platform::WorkersOn(engine) >= 0;
            const bool active = Active(engine);
            const DWORD progress = engine->getProgressPercent();
            const int inProgress = engine->getMinimalKeepIsInProgress();
            const std::string name = "free" + std::to_string(slot);
            if (progress > 100)
                Fail("progress out of range", name + " reports " + std::to_string(progress));
            else if (known && !active && progress != 100)
                Fail("progress below 100 with no run", name + " reports " + std::to_string(progress));
            else if (known && !active && inProgress != 0)
                Fail("keep-free loop reported with none running", name + " reports in progress " + std::to_string(inProgress));
        }
    }

    std::vector<Failure> NewFaults()
    {
        std::vector<Failure> found;
        const std::vector<std::string> faults = platform::Faults();
        for (std::size_t i = m_faultsSeen; i < faults.size(); ++i)
            found.push_back(Failure{m_step, "platform misused", faults[i]});
        m_faultsSeen = faults.size();
        return found;
    }

    // Stops every loop, checks they end within their bounds, then destroys
    // every object.
    void StopAll()
    {
        for (int slot = 0; slot < kFreeSlots; ++slot) {
            if (CDMemoryFree* engine = AsFree(m_slots[slot].get())) {
                engine->MinimalKeepThreadStop();
                engine->MinimalKeepModeThreadStop();
            }
        }
    }

    void TearDown()
    {
        // A loop on a caller's thread raises its run flag when it begins,
        // so a stop must come after that: every call given out begins first.
        auto begun = [this] {
            for (const auto& driver : m_drivers) {
                if (driver->Busy() && !driver->Started())
                    return false;
            }
            return true;
        };
        for (int i = 0; m_serialised && i < kCallSlices && !begun() && !m_stuck; ++i)
            Advance(1, m_choices);
        StopAll();
        const std::uint64_t stoppedAt = platform::NowMs();
        const std::uint64_t boundMs = std::max(kModePauseMs, m_longestPauseMs) + kDestroyBoundMs;
        auto settled = [this] {
            for (const auto& driver : m_drivers) {
                if (driver->Busy())
                    return false;
            }
            for (const auto& object : m_slots) {
                if (platform::WorkersOn(object.get()) > 0)
                    return false;
            }
            return true;
        };
        if (m_serialised) {
            while (!settled()) {
                if (platform::NowMs() - stoppedAt > boundMs) {
                    m_stuck = true;
                    Fail("loop outlived its stop", "still running " + std::to_string(platform::NowMs() - stoppedAt) + " ms after every loop was stopped");
                    return;
                }
                Advance(1, m_choices);
                if (m_stuck)
                    return;
            }
        } else {
            // The real watchdog's pause is real: its object's destructor cuts
            // it short below, so only the callers are waited for here.
            // Free threads give no moment when a loop is known to have
            // begun: the stops are repeated until the callers are done.
            const auto giveUp = std::chrono::steady_clock::now() + kCallRealBound;
            for (auto& driver : m_drivers) {
                while (!driver->WaitIdle(1ms)) {
                    StopAll();
                    if (std::chrono::steady_clock::now() > giveUp) {
                        m_stuck = true;
                        Fail("loop outlived its stop", "a caller's loop did not end after its stop");
                        return;
                    }
                }
            }
        }
        for (auto& driver : m_drivers)
            CheckDriver(*driver);
        CheckState();
        for (auto& object : m_slots) {
            if (!object)
                continue;
            CDSystemInfo* ending = object.release();
            Driver& driver = *m_drivers[0];
            driver.object = nullptr;
            driver.call = Call::Destroy;
            Driver* self = &driver;
            const bool serialised = m_serialised;
            driver.Give([=] { Destroy(*self, ending, serialised); });
            if (!Finish(driver)) {
                m_stuck = true;
                Fail("call did not return", "destruction at the end never returned");
                return;
            }
            CheckDriver(driver);
        }
        for (const Failure& fault : NewFaults())
            Fail(fault.kind, fault.detail);
    }

    const Sequence& m_sequence;
    const bool m_serialised;
    std::uint64_t m_longestPauseMs = 0;
    std::vector<std::unique_ptr<Driver>> m_drivers;
    std::unique_ptr<CDSystemInfo> m_slots[kSlots];
    std::mt19937_64 m_choices;
    std::optional<Failure> m_failure;
    bool m_stuck = false;
    int m_step = -1;
    int m_calls = 0;
    std::size_t m_faultsSeen = 0;
};

// A run that left threads stuck leaves the process unfit for more runs.
bool stuckOnce = false;

} // namespace

Outcome Run(const Sequence& sequence)
{
    Outcome outcome = SequenceRun(sequence).Go();
    stuckOnce = stuckOnce || outcome.stuck;
    return outcome;
}

bool StuckEarlier()
{
    return stuckOnce;
}

} // namespace sequences
