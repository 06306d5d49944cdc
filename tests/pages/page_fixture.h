#pragma once
// What the page tests share: a hidden host window standing in for the
// main view, a log of the real SetTimer/KillTimer calls the program makes,
// and small helpers that drive a page with messages and read it back.
#include <windows.h>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "framework.h"

// One call of user32's SetTimer or KillTimer made by this program, with
// what the real function answered.
struct TimerCall {
    bool kill;
    HWND window;
    UINT_PTR id;
    UINT periodMs; // SetTimer only
    UINT_PTR result;
};

// Every timer call since the last Clear(), seen through the program's own
// import table, so the real timers are still armed and killed.
class TimerLog {
public:
    static void Install();
    static void Clear();
    static std::vector<TimerCall> CallsFor(HWND window);
};

// A hidden top-level window that parents the page under test, and the
// stand-in engine reset to its default figures.
class PageTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    CWnd host;
};

std::string ControlText(HWND page, int id);
bool HasVisibleStyle(HWND window);
bool IsChecked(HWND page, int id);
HICON ButtonIcon(HWND page, int id);
HICON ProgramIcon(int id);
void Tick(HWND page, UINT_PTR timerId);
void Click(HWND page, int id);
// Moves a slider in code and lets it report the move, as a drag would.
void DragSlider(HWND page, int id, int position);
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 2000);

// Counts the messages that reach one control.
class MessageCounter {
public:
    explicit MessageCounter(HWND control);
    ~MessageCounter();
    MessageCounter(const MessageCounter&) = delete;
    MessageCounter& operator=(const MessageCounter&) = delete;
    int Count(UINT message) const;

private:
    static LRESULT CALLBACK Procedure(HWND, UINT, WPARAM, LPARAM);
    HWND m_control;
    WNDPROC m_original;
    std::map<UINT, int> m_counts;
};
