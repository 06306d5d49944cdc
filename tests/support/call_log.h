// The calls this program makes to chosen imported functions, in the order
// made, seen through its own import table: the real functions still run.
#pragma once
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
        RegSetValue, // every value write, A and W
        RegDelete    // every value and key delete, A and W
    } kind = Shell;
    DWORD shellMessage = 0;   // Shell: NIM_ADD, NIM_MODIFY, NIM_DELETE
    NOTIFYICONDATAA record{}; // Shell: the record as passed
    HWND window = nullptr;    // timers
    UINT_PTR timerId = 0;
    UINT periodMs = 0;     // SetTimer
    UINT_PTR result = 0;   // timers: what the real function returned
    std::string valueName; // RegSetValue, RegDelete: the value or key, UTF-8
    DWORD type = REG_NONE; // RegSetValue
    DWORD number = 0;      // RegSetValue of a REG_DWORD
    std::string text;      // RegSetValue of a REG_SZ, UTF-8
    bool key = false;      // RegDelete of a key rather than a value

    // One line, as sequence checks compare it: "SetTimer 1 100 ms",
    // "KillTimer 1", "NIM_DELETE", "page41-01 = 0", "path01 = \"C:\\k.exe\"",
    // "delete value Kolvar", "delete key Halven Mark".
    std::string Describe() const;
};

class CallLog {
public:
    // Starts logging the calls of these kinds, for the rest of the run. A
    // kind none of whose functions the program imports fails the test: its
    // calls could never show.
    static void Observe(std::initializer_list<LoggedCall::Kind> kinds);
    static void Clear();
    // The next count shell calls are logged and return FALSE, as a busy
    // shell does, without reaching the shell.
    static void RefuseShellCalls(int count);
    static std::vector<LoggedCall> All();
    static std::vector<LoggedCall> Calls(LoggedCall::Kind kind);
    // SetTimer and KillTimer calls on one window.
    static std::vector<LoggedCall> TimerCallsFor(HWND window);
};

std::vector<std::string> Describe(const std::vector<LoggedCall>& calls);
