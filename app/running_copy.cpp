#include "running_copy.h"

#include "main_frame.h"

namespace {

constexpr DWORD kPollMs = 100;

// Asks every main window of the program on this desktop; true once one of
// them has come forward. A window that hangs costs at most kAnswerLimitMs.
bool AskRunningCopyToComeForward()
{
    for (HWND frame = ::FindWindowExA(nullptr, nullptr, CMainFrame::kWindowClass, nullptr); frame;
         frame = ::FindWindowExA(nullptr, frame, CMainFrame::kWindowClass, nullptr)) {
        DWORD processId = 0;
        ::GetWindowThreadProcessId(frame, &processId);
        // This start is the one the user just made: it may hand the
        // foreground on to the copy it wakes.
        ::AllowSetForegroundWindow(processId);
        DWORD_PTR answer = 0;
        if (::SendMessageTimeoutA(frame, ComeForwardMessage(), 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                                  CRunningCopyGuard::kAnswerLimitMs, &answer)
            && static_cast<LRESULT>(answer) == kCameForwardAnswer)
            return true;
    }
    return false;
}

} // namespace

UINT ComeForwardMessage()
{
    static const UINT message = ::RegisterWindowMessageA("Velkor.Kolvar.ComeForward");
    return message;
}

CRunningCopyGuard::CRunningCopyGuard(std::string mutexName) : m_mutexName(std::move(mutexName))
{
}

CRunningCopyGuard::~CRunningCopyGuard()
{
    if (m_owned)
        ::ReleaseMutex(m_mutex);
    if (m_mutex)
        ::CloseHandle(m_mutex);
}

bool CRunningCopyGuard::OpenSessionMutex()
{
    m_mutex = ::CreateMutexA(nullptr, FALSE, m_mutexName.c_str());
    if (m_mutex || ::GetLastError() != ERROR_ACCESS_DENIED)
        return false;
    // A copy started elevated made the mutex with its own token's security,
    // which refuses this start full access: waiting needs no more than
    // SYNCHRONIZE. Refused even that, the name alone says a copy runs.
    m_mutex = ::OpenMutexA(SYNCHRONIZE, FALSE, m_mutexName.c_str());
    return true;
}

CRunningCopyGuard::Outcome CRunningCopyGuard::Claim()
{
    const DWORD start = ::GetTickCount();
    DWORD waitMs = 0;
    for (;;) {
        if (!m_mutex) {
            const bool heldElsewhere = OpenSessionMutex();
            // No mutex, no way to tell: the start goes on as it always did.
            if (!m_mutex && !heldElsewhere)
                return Outcome::OnlyCopy;
        }
        if (m_mutex) {
            // The wait also notices at once a copy that is ending.
            const DWORD wait = ::WaitForSingleObject(m_mutex, waitMs);
            if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) {
                m_owned = true;
                return Outcome::OnlyCopy;
            }
        } else {
            // Nothing to wait on: the next try sees whether the name is gone.
            ::Sleep(waitMs);
        }
        if (AskRunningCopyToComeForward())
            return Outcome::BroughtForward;
        if (::GetTickCount() - start >= kWaitLimitMs)
            return Outcome::NoAnswer;
        waitMs = kPollMs;
    }
}
