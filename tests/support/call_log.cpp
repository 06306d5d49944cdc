#include "call_log.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "import_redirect.h"

namespace {

std::vector<LoggedCall> calls;
int shellCallsToRefuse = 0;
decltype(&::Shell_NotifyIconA) realShellNotifyIcon = nullptr;
decltype(&::SetTimer) realSetTimer = nullptr;
decltype(&::KillTimer) realKillTimer = nullptr;
decltype(&::RegSetValueExA) realRegSetValue = nullptr;

BOOL WINAPI LogShellNotifyIcon(DWORD message, PNOTIFYICONDATAA record)
{
    LoggedCall call;
    call.kind = LoggedCall::Shell;
    call.shellMessage = message;
    std::memcpy(&call.record, record, std::min<size_t>(record->cbSize, sizeof call.record));
    calls.push_back(call);
    if (shellCallsToRefuse > 0) {
        --shellCallsToRefuse;
        return FALSE;
    }
    return realShellNotifyIcon(message, record);
}

UINT_PTR WINAPI LogSetTimer(HWND window, UINT_PTR id, UINT periodMs, TIMERPROC procedure)
{
    LoggedCall call;
    call.kind = LoggedCall::SetTimer;
    call.window = window;
    call.timerId = id;
    call.periodMs = periodMs;
    call.result = realSetTimer(window, id, periodMs, procedure);
    calls.push_back(call);
    return call.result;
}

BOOL WINAPI LogKillTimer(HWND window, UINT_PTR id)
{
    LoggedCall call;
    call.kind = LoggedCall::KillTimer;
    call.window = window;
    call.timerId = id;
    const BOOL result = realKillTimer(window, id);
    call.result = static_cast<UINT_PTR>(result);
    calls.push_back(call);
    return result;
}

LSTATUS WINAPI LogRegSetValue(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size)
{
    LoggedCall call;
    call.kind = LoggedCall::RegSetValue;
    call.valueName = name ? name : "";
    if (type == REG_DWORD && size == 4)
        std::memcpy(&call.number, data, 4);
    calls.push_back(call);
    return realRegSetValue(key, name, reserved, type, data, size);
}

template <typename Function>
void Redirect(Function& real, const char* dll, const char* function, Function replacement)
{
    if (real)
        return;
    real = RedirectImport(dll, function, replacement);
    if (!real)
        ADD_FAILURE() << "this program does not import " << function;
}

} // namespace

std::string LoggedCall::Describe() const
{
    switch (kind) {
    case SetTimer:
        return "SetTimer " + std::to_string(timerId) + " " + std::to_string(periodMs) + " ms";
    case KillTimer:
        return "KillTimer " + std::to_string(timerId);
    case RegSetValue:
        return valueName + " = " + std::to_string(number);
    case Shell:
        break;
    }
    switch (shellMessage) {
    case NIM_ADD: return "NIM_ADD";
    case NIM_MODIFY: return "NIM_MODIFY";
    case NIM_DELETE: return "NIM_DELETE";
    default: return "Shell_NotifyIcon " + std::to_string(shellMessage);
    }
}

void CallLog::Observe(std::initializer_list<LoggedCall::Kind> kinds)
{
    for (LoggedCall::Kind kind : kinds) {
        switch (kind) {
        case LoggedCall::Shell:
            Redirect(realShellNotifyIcon, "shell32.dll", "Shell_NotifyIconA", &LogShellNotifyIcon);
            break;
        case LoggedCall::SetTimer:
            Redirect(realSetTimer, "user32.dll", "SetTimer", &LogSetTimer);
            break;
        case LoggedCall::KillTimer:
            Redirect(realKillTimer, "user32.dll", "KillTimer", &LogKillTimer);
            break;
        case LoggedCall::RegSetValue:
            Redirect(realRegSetValue, "advapi32.dll", "RegSetValueExA", &LogRegSetValue);
            break;
        }
    }
}

void CallLog::Clear()
{
    calls.clear();
}

void CallLog::RefuseShellCalls(int count)
{
    shellCallsToRefuse = count;
}

std::vector<LoggedCall> CallLog::All()
{
    return calls;
}

std::vector<LoggedCall> CallLog::Calls(LoggedCall::Kind kind)
{
    std::vector<LoggedCall> matching;
    for (const LoggedCall& call : calls)
        if (call.kind == kind)
            matching.push_back(call);
    return matching;
}

std::vector<LoggedCall> CallLog::TimerCallsFor(HWND window)
{
    std::vector<LoggedCall> matching;
    for (const LoggedCall& call : calls)
        if ((call.kind == LoggedCall::SetTimer || call.kind == LoggedCall::KillTimer) && call.window == window)
            matching.push_back(call);
    return matching;
}

std::vector<std::string> Describe(const std::vector<LoggedCall>& calls)
{
    std::vector<std::string> lines;
    for (const LoggedCall& call : calls)
        lines.push_back(call.Describe());
    return lines;
}
