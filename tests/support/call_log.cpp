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
decltype(&::RegSetValueExA) realRegSetValueA = nullptr;
decltype(&::RegSetValueExW) realRegSetValueW = nullptr;
decltype(&::RegDeleteValueA) realRegDeleteValueA = nullptr;
decltype(&::RegDeleteValueW) realRegDeleteValueW = nullptr;
decltype(&::RegDeleteKeyA) realRegDeleteKeyA = nullptr;
decltype(&::RegDeleteKeyW) realRegDeleteKeyW = nullptr;
decltype(&::RegDeleteKeyExA) realRegDeleteKeyExA = nullptr;
decltype(&::RegDeleteKeyExW) realRegDeleteKeyExW = nullptr;
decltype(&::RegDeleteTreeA) realRegDeleteTreeA = nullptr;
decltype(&::RegDeleteTreeW) realRegDeleteTreeW = nullptr;

std::string Utf8(const char* text)
{
    return text ? text : "";
}

std::string Utf8(const wchar_t* text)
{
    if (!text)
        return "";
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(bytes > 0 ? bytes : 1), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, &narrow[0], bytes, nullptr, nullptr);
    narrow.resize(narrow.size() - 1);
    return narrow;
}

template <typename Char>
void LogSet(const Char* name, DWORD type, const BYTE* data, DWORD size)
{
    LoggedCall call;
    call.kind = LoggedCall::RegSetValue;
    call.valueName = Utf8(name);
    call.type = type;
    if (type == REG_DWORD && size == 4)
        std::memcpy(&call.number, data, 4);
    if (type == REG_SZ && data && size >= sizeof(Char))
        call.text = Utf8(std::basic_string<Char>(reinterpret_cast<const Char*>(data), size / sizeof(Char)).c_str());
    calls.push_back(call);
}

template <typename Char>
void LogDelete(const Char* name, bool key)
{
    LoggedCall call;
    call.kind = LoggedCall::RegDelete;
    call.valueName = Utf8(name);
    call.key = key;
    calls.push_back(call);
}

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

// One replacement for each shape of registry call, over the variable that
// holds the real function.
template <auto& real, typename Char>
LSTATUS WINAPI LogSetValue(HKEY key, const Char* name, DWORD reserved, DWORD type, const BYTE* data, DWORD size)
{
    LogSet(name, type, data, size);
    return real(key, name, reserved, type, data, size);
}

template <auto& real, bool isKey, typename Char>
LSTATUS WINAPI LogDeleteOf(HKEY key, const Char* name)
{
    LogDelete(name, isKey);
    return real(key, name);
}

template <auto& real, typename Char>
LSTATUS WINAPI LogDeleteKeyEx(HKEY key, const Char* subkey, REGSAM view, DWORD reserved)
{
    LogDelete(subkey, true);
    return real(key, subkey, view, reserved);
}

// Redirects the function when the program imports it; true when it does.
template <typename Function>
bool RedirectIfImported(Function& real, const char* dll, const char* function, Function replacement)
{
    if (!real)
        real = RedirectImport(dll, function, replacement);
    return real != nullptr;
}

template <typename Function>
void Redirect(Function& real, const char* dll, const char* function, Function replacement)
{
    if (!RedirectIfImported(real, dll, function, replacement))
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
        return valueName + " = " + (type == REG_SZ ? "\"" + text + "\"" : std::to_string(number));
    case RegDelete:
        return (key ? "delete key " : "delete value ") + valueName;
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
        case LoggedCall::RegSetValue: {
            const char* dll = "advapi32.dll";
            const bool a = RedirectIfImported(realRegSetValueA, dll, "RegSetValueExA",
                                              &LogSetValue<realRegSetValueA, char>);
            const bool w = RedirectIfImported(realRegSetValueW, dll, "RegSetValueExW",
                                              &LogSetValue<realRegSetValueW, wchar_t>);
            if (!a && !w)
                ADD_FAILURE() << "this program imports neither RegSetValueExA nor RegSetValueExW";
            break;
        }
        case LoggedCall::RegDelete: {
            // Each one tried: || would stop at the first the program imports.
            const char* dll = "advapi32.dll";
            bool any = RedirectIfImported(realRegDeleteValueA, dll, "RegDeleteValueA", &LogDeleteOf<realRegDeleteValueA, false, char>);
            any |= RedirectIfImported(realRegDeleteValueW, dll, "RegDeleteValueW", &LogDeleteOf<realRegDeleteValueW, false, wchar_t>);
            any |= RedirectIfImported(realRegDeleteKeyA, dll, "RegDeleteKeyA", &LogDeleteOf<realRegDeleteKeyA, true, char>);
            any |= RedirectIfImported(realRegDeleteKeyW, dll, "RegDeleteKeyW", &LogDeleteOf<realRegDeleteKeyW, true, wchar_t>);
            any |= RedirectIfImported(realRegDeleteKeyExA, dll, "RegDeleteKeyExA", &LogDeleteKeyEx<realRegDeleteKeyExA, char>);
            any |= RedirectIfImported(realRegDeleteKeyExW, dll, "RegDeleteKeyExW", &LogDeleteKeyEx<realRegDeleteKeyExW, wchar_t>);
            any |= RedirectIfImported(realRegDeleteTreeA, dll, "RegDeleteTreeA", &LogDeleteOf<realRegDeleteTreeA, true, char>);
            any |= RedirectIfImported(realRegDeleteTreeW, dll, "RegDeleteTreeW", &LogDeleteOf<realRegDeleteTreeW, true, wchar_t>);
            if (!any)
                ADD_FAILURE() << "this program imports no registry delete";
            break;
        }
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
