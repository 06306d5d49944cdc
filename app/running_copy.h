// One Kolvar per log-on session. The first start holds a mutex named in the
// session's own namespace for as long as it runs; a later start finds that
// copy's main window, asks it to come forward, and ends without making
// anything of its own. A mutex this start may not open (its copy runs
// elevated, this one does not) is held all the same.
#pragma once

#include <windows.h>

#include <string>

#include "product_names.h"

// What a later start sends the running copy's main window, and what the
// copy answers once it has shown that window (0: not set up yet).
UINT ComeForwardMessage();
constexpr LRESULT kCameForwardAnswer = 0x4B6F6C; // "Kol"

class CRunningCopyGuard {
public:
    static constexpr const char* kSessionMutexName = KOLVAR_SESSION_MUTEX;
    // How long a later start waits, all told, for a running copy that is
    // still starting or ending, and for one answer of its window.
    static constexpr DWORD kWaitLimitMs = 5000;
    static constexpr DWORD kAnswerLimitMs = 1000;

    enum class Outcome {
        OnlyCopy,       // this start goes on
        BroughtForward, // the running copy showed its window
        NoAnswer,       // a copy holds the session but did not answer in time
    };

    explicit CRunningCopyGuard(std::string mutexName = kSessionMutexName);
    ~CRunningCopyGuard();
    CRunningCopyGuard(const CRunningCopyGuard&) = delete;
    CRunningCopyGuard& operator=(const CRunningCopyGuard&) = delete;

    // Takes the session for this start, or hands the start to the copy that
    // has it. The mutex of a copy that was killed counts as free.
    Outcome Claim();

private:
    // Sets m_mutex as CreateMutex gives it; true when the mutex exists but
    // this start may not create-open it (m_mutex is then the waitable handle
    // OpenMutex gives, or null).
    bool OpenSessionMutex();

    std::string m_mutexName;
    HANDLE m_mutex = nullptr;
    bool m_owned = false;
};
