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

#include "dialog_items.h"
#include "framework.h"
#include "message_log.h"
#include "message_pump.h"

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

// The page's control with this id in a wrapper of the given kind; the
// wrapper leaves the control alone when it goes.
template <typename Control>
struct DialogItem : Control {
    DialogItem(HWND dialog, int id) { this->Attach(::GetDlgItem(dialog, id)); }
};

// Whether object lies within page: the page's own engine object, say.
template <typename Page>
bool IsPartOf(const void* object, const Page& page)
{
    const auto* begin = reinterpret_cast<const char*>(&page);
    const auto* at = static_cast<const char*>(object);
    return at >= begin && at < begin + sizeof(Page);
}

bool HasVisibleStyle(HWND window);
HICON ButtonIcon(HWND page, int id);
HICON ProgramIcon(int id);
void Tick(HWND page, UINT_PTR timerId);
// Moves a slider in code and lets it report the move, as a drag would.
void DragSlider(HWND page, int id, int position);
