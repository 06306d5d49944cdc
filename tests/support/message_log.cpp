#include "message_log.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <map>

namespace {

std::map<HWND, MessageLog*> logs;

// The message last taken from this thread's queue, until its window sees it:
// a message that reaches a window otherwise was sent.
HHOOK queueHook = nullptr;
MSG taken{};
bool takenPending = false;

LRESULT CALLBACK WatchQueue(int code, WPARAM removal, LPARAM message)
{
    if (code == HC_ACTION && removal == PM_REMOVE) {
        taken = *reinterpret_cast<const MSG*>(message);
        takenPending = true;
    }
    return ::CallNextHookEx(queueHook, code, removal, message);
}

bool WasPosted(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!takenPending || taken.hwnd != hWnd || taken.message != message || taken.wParam != wParam
        || taken.lParam != lParam)
        return false;
    takenPending = false;
    return true;
}

std::vector<std::string> Names(const std::vector<UINT>& messages)
{
    std::vector<std::string> names;
    for (UINT message : messages)
        names.push_back(MessageName(message));
    return names;
}

} // namespace

MessageLog::MessageLog(HWND window, std::initializer_list<UINT> watched) : m_window(window), m_watched(watched)
{
    if (logs.empty())
        queueHook = ::SetWindowsHookEx(WH_GETMESSAGE, WatchQueue, nullptr, ::GetCurrentThreadId());
    logs[window] = this;
    m_original = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtr(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Procedure)));
}

MessageLog::~MessageLog()
{
    if (::IsWindow(m_window))
        ::SetWindowLongPtr(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_original));
    logs.erase(m_window);
    if (logs.empty() && queueHook) {
        ::UnhookWindowsHookEx(queueHook);
        queueHook = nullptr;
        takenPending = false;
    }
}

int MessageLog::Count(UINT message) const
{
    return static_cast<int>(std::count(m_messages.begin(), m_messages.end(), message));
}

LRESULT CALLBACK MessageLog::Procedure(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    MessageLog* log = logs.at(hWnd);
    const bool posted = WasPosted(hWnd, message, wParam, lParam);
    if (log->m_watched.empty() || log->m_watched.count(message)) {
        log->m_messages.push_back(message);
        log->m_entries.push_back({message, wParam, lParam, posted});
    }
    return ::CallWindowProc(log->m_original, hWnd, message, wParam, lParam);
}

std::string LoggedMessage::Describe() const
{
    char parameters[64];
    std::snprintf(parameters, sizeof parameters, " %llu 0x%llX", static_cast<unsigned long long>(wParam),
                  static_cast<unsigned long long>(lParam));
    return MessageName(message) + (posted ? " posted" : " sent") + parameters;
}

std::string MessageName(UINT message)
{
    // Formatted by hand: several names a line.
    // clang-format off
#define NAME(m) {m, #m}
    static const std::map<UINT, const char*> names = {
        NAME(WM_SETTEXT), NAME(WM_GETTEXT), NAME(WM_GETTEXTLENGTH), NAME(WM_SETICON), NAME(WM_GETICON),
        NAME(WM_SHOWWINDOW), NAME(WM_ENABLE), NAME(WM_TIMER), NAME(WM_HSCROLL), NAME(WM_COMMAND),
        NAME(WM_NULL), NAME(WM_CLOSE), NAME(WM_PAINT), NAME(WM_NCPAINT), NAME(WM_ERASEBKGND),
        NAME(WM_WINDOWPOSCHANGING), NAME(WM_WINDOWPOSCHANGED), NAME(WM_STYLECHANGING), NAME(WM_STYLECHANGED),
        NAME(WM_CANCELMODE), NAME(WM_NOTIFY), NAME(WM_CTLCOLORBTN), NAME(WM_CTLCOLORSTATIC),
        NAME(BM_CLICK), NAME(BM_GETCHECK), NAME(BM_SETCHECK), NAME(BM_GETIMAGE), NAME(BM_SETIMAGE),
        NAME(BM_GETSTATE), NAME(BM_SETSTATE),
        NAME(PBM_SETPOS), NAME(PBM_GETPOS), NAME(PBM_SETRANGE32), NAME(PBM_GETRANGE),
        NAME(TBM_SETPOS), NAME(TBM_GETPOS), NAME(TBM_SETRANGEMIN), NAME(TBM_SETRANGEMAX),
        NAME(TBM_GETRANGEMIN), NAME(TBM_GETRANGEMAX), NAME(TBM_SETTICFREQ),
        NAME(UDM_SETPOS32), NAME(UDM_GETPOS32), NAME(UDM_SETRANGE32), NAME(UDM_GETRANGE32), NAME(UDM_GETPOS),
        NAME(LVM_SETITEMTEXTA), NAME(LVM_GETITEMTEXTA), NAME(LVM_SETCOLUMNWIDTH), NAME(LVM_GETCOLUMNWIDTH),
        NAME(LVM_SETTEXTCOLOR), NAME(LVM_GETTEXTCOLOR),
    };
#undef NAME
    // clang-format on
    const auto known = names.find(message);
    if (known != names.end())
        return known->second;
    char number[16];
    std::snprintf(number, sizeof number, "0x%04X", message);
    return number;
}

::testing::AssertionResult SameMessages(const MessageLog& log, const std::vector<UINT>& expected)
{
    return SameSequence(Names(log.Messages()), Names(expected));
}
