#pragma once
// The calls this program makes to chosen imported functions, in the order
// made, seen through its own import table: the real functions still run.
#include <windows.h>
#include <shellapi.h>

#include <initializer_list>
#include <string>
#include <vector>

struct LoggedCall {
    enum Kind {
        Shell,
        SetTimer,
        KillTimer,
        RegSetValue
    } kind = Shell;
    DWORD shellMessage = 0;   // Shell: NIM_ADD, NIM_MODIFY, NIM_DELETE
    NOTIFYICONDATAA record{}; // Shell: the record as passed
    HWND window = nullptr;    // timers
    UINT_PTR timerId = 0;
    UINT periodMs = 0;     // SetTimer
    UINT_PTR result = 0;   // timers: what the real function answered
    std::string valueName; // RegSetValue
    DWORD number = 0;      // RegSetValue of a REG_DWORD

    // One line, as sequence checks compare it: "SetTimer 1 100 ms",
    // "KillTimer 1", "NIM_DELETE", "page41-01 = 0".
    std::string Describe() const;
};

class CallLog {
public:
    // Starts logging the calls of these kinds, for the rest of the run. A
    // function the program does not import fails the test: its calls could
    // never show.
    static void Observe(std::initializer_list<LoggedCall::Kind> kinds);
    static void Clear();
    // The next count shell calls are logged and answered FALSE, as a busy
    // shell answers, without reaching the shell.
    static void RefuseShellCalls(int count);
    static std::vector<LoggedCall> All();
    static std::vector<LoggedCall> Calls(LoggedCall::Kind kind);
    // SetTimer and KillTimer calls on one window.
    static std::vector<LoggedCall> TimerCallsFor(HWND window);
};

std::vector<std::string> Describe(const std::vector<LoggedCall>& calls);
