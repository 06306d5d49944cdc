#include "runner.h"

#include "drevcore.h"
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

// One caller thread: takes calls one at a time.
class Driver {
public:
    Driver(bool serialised) : m_serialised(serialised)
    {
        if (m_serialised)
            m_id = platform::Enlist();
        m_thread = std::thread([this] { Loop(); });
    }

    ~Driver() { m_thread.join(); }

    void Give(std::function<void()> work)
    {
        {
            std::lock_guard<std::mutex> hold(m_lock);
            m_work = std::move(work);
            m_busy = true;
            m_started = false;
        }
        if (m_serialised)
            platform::Wake(m_id);
        else
            m_changed.notify_all();
    }

    void Quit()
    {
        {
            std::lock_guard<std::mutex> hold(m_lock);
            m_quit = true;
        }
        Give([] {});
    }

    bool Busy() const
    {
        std::lock_guard<std::mutex> hold(m_lock);
        return m_busy;
    }

    // Free threads: waits in real time until the call in hand returns.
    bool WaitIdle(std::chrono::milliseconds bound)
    {
        std::unique_lock<std::mutex> hold(m_lock);
        return m_changed.wait_for(hold, bound, [this] { return !m_busy; });
    }

    void Problem(std::string kind, std::string detail)
    {
        std::lock_guard<std::mutex> hold(m_lock);
        if (m_problemKind.empty()) {
            m_problemKind = std::move(kind);
            m_problemDetail = std::move(detail);
        }
    }

    // Whether the call in hand has begun. Serialised, a loop that has begun
    // has also raised its run flag: it does so before its first kernel call.
    bool Started() const
    {
        std::lock_guard<std::mutex> hold(m_lock);
        return m_started;
    }

    // When the last call returned.
    std::uint64_t EndMs() const
    {
        std::lock_guard<std::mutex> hold(m_lock);
        return m_endMs;
    }

    bool TakeProblem(Failure& failure)
    {
        std::lock_guard<std::mutex> hold(m_lock);
        if (m_problemKind.empty())
            return false;
        failure.kind = m_problemKind;
        failure.detail = m_problemDetail;
        m_problemKind.clear();
        return true;
    }

    // What the thread is doing, as the orchestrator set it when it gave the
    // call; valid while Busy().
    const void* object = nullptr;
    Call call = Call::New;
    std::uint64_t startMs = 0;

private:
    void Loop()
    {
        for (;;) {
            std::function<void()> work;
            bool quit;
            if (m_serialised) {
                platform::ParkIdle(m_id);
                std::lock_guard<std::mutex> hold(m_lock);
                work = std::move(m_work);
                quit = m_quit;
            } else {
                std::unique_lock<std::mutex> hold(m_lock);
                m_changed.wait(hold, [this] { return static_cast<bool>(m_work); });
                work = std::move(m_work);
                m_work = nullptr;
                quit = m_quit;
            }
            if (quit)
                break;
            {
                std::lock_guard<std::mutex> hold(m_lock);
                m_started = true;
            }
            work();
            const std::uint64_t ended = platform::NowMs();
            {
                std::lock_guard<std::mutex> hold(m_lock);
                m_busy = false;
                m_endMs = ended;
            }
            m_changed.notify_all();
        }
        if (m_serialised)
            platform::Leave(m_id);
    }

    const bool m_serialised;
    int m_id = -1;
    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    std::function<void()> m_work;
    bool m_busy = false;
    bool m_started = false;
    bool m_quit = false;
    std::uint64_t m_endMs = 0;
    std::string m_problemKind, m_problemDetail;
    std::thread m_thread;
};

std::uint64_t Getter(CDSystemInfo& info, CDMemoryStatus* status, int which)
{
    using InfoGetter = std::uint64_t (*)(CDSystemInfo&);
    using StatusGetter = std::uint64_t (*)(CDMemoryStatus&);
    static const InfoGetter infoGetters[] = {
        [](CDSystemInfo& o) -> std::uint64_t { return o.getInfoProcessorArchitecture(); },
        [](CDSystemInfo& o) -> std::uint64_t { return o.getInfoReserved(); },
        [](CDSystemInfo& o) -> std::uint64_t { return o.getInfoPageSize(); },
        [](CDSystemInfo& o) -> std::uint64_t { return reinterpret_cast<std::uintptr_t>(o.getInfoMinimumApplicationAddressLP()); },
        [](CDSystemInfo& o) -> std::uint64_t { return reinterpret_cast<std::uintptr_t>(o.getInfoMaximumApplicationAddressLP()); },
        [](CDSystemInfo& o) -> std::uint64_t { return o.getInfoActiveProcessorMask(); },
        [](CDSystemInfo& o) -> std::uint64_t { return o.getInfoNumberOfProcessors(); },
        [](CDSystemInfo& o) -> std::uint64_t { return o.getInfoProcessorType(); },
        [](CDSystemInfo& o) -> std::uint64_t { return o.getInfoAllocationGranularity(); },
        [](CDSystemInfo& o) -> std::uint64_t { return o.getInfoProcessorLevel(); },
        [](CDSystemInfo& o) -> std::uint64_t { return o.getInfoProcessorRevision(); },
    };
    static const StatusGetter statusGetters[] = {
        [](CDMemoryStatus& o) -> std::uint64_t { return o.getStatusPhyTotalKB(); },
        [](CDMemoryStatus& o) -> std::uint64_t { return o.getStatusPhyTotalMB(); },
        [](CDMemoryStatus& o) -> std::uint64_t { return o.getStatusPhyAvaiKB(); },
        [](CDMemoryStatus& o) -> std::uint64_t { return o.getStatusPhyAvaiMB(); },
        [](CDMemoryStatus& o) -> std::uint64_t { return o.getStatusPageTotalKB(); },
        [](CDMemoryStatus& o) -> std::uint64_t { return o.getStatusPageTotalMB(); },
        [](CDMemoryStatus& o) -> std::uint64_t { return o.getStatusPageAvaiKB(); },
        [](CDMemoryStatus& o) -> std::uint64_t { return o.getStatusPageAvaiMB(); },
        [](CDMemoryStatus& o) -> std::uint64_t { return o.getStatusVirtualTotalKB(); },
        [](CDMemoryStatus& o) -> std::uint64_t { return o.getStatusVirtualTotalMB(); },
        [](CDMemoryStatus& o) -> std::uint64_t { return o.getStatusMemoryLoad(); },
        [](CDMemoryStatus& o) -> std::uint64_t { return static_cast<std::uint32_t>(o.getStatusPhyAvaiPercent()); },
    };
    constexpr int infoCount = sizeof infoGetters / sizeof infoGetters[0];
    constexpr int statusCount = sizeof statusGetters / sizeof statusGetters[0];
    if (!status)
        return infoGetters[which % infoCount](info);
    which %= infoCount + statusCount;
    return which < infoCount ? infoGetters[which](info) : statusGetters[which - infoCount](*status);
}

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
            Getter(*object, s.slot == kInfoSlot ? nullptr : static_cast<CDMemoryStatus*>(object), s.a);
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
            const long long ceiling = s.a == -1 ? 0x7FFFFC00LL + 1024 : s.a < 0 ? 0 : (s.a + 1023LL) / 1024 * 1024;
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
            Fail("call blocked", "a call that never pauses held its thread for "
                                     + std::to_string(driver.EndMs() - driver.startMs) + " ms");
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
                    Fail("loop outlived its stop", "still running " + std::to_string(platform::NowMs() - stoppedAt)
                                                       + " ms after every loop was stopped");
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

bool FailsAlike(const Sequence& candidate, const Failure& failure, int tries)
{
    for (int i = 0; i < tries && !stuckOnce; ++i) {
        const Outcome outcome = Run(candidate);
        stuckOnce = outcome.stuck;
        if (outcome.failure && outcome.failure->kind == failure.kind)
            return true;
    }
    return false;
}

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

Sequence Shrink(const Sequence& failing, const Failure& failure, int tries)
{
    Sequence best = failing;
    if (stuckOnce)
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
    out << ": " << failure.detail << '\n' << Describe(sequence);
    return out.str();
}

} // namespace sequences
