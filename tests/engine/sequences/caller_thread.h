// A caller thread of a sequence run.
#pragma once

#include "platform.h"
#include "runner.h"
#include "sequence.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace sequences {

// One caller thread of a sequence: takes calls one at a time, serialised
// by the fake kernel or free.
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

} // namespace sequences
