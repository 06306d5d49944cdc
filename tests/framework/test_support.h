#pragma once
#include <windows.h>
#include <functional>
#include <map>

#include "win_app.h"

class TestApp : public CWinApp {
public:
    BOOL InitInstance() override { return TRUE; }
};

// Dispatches messages until done() holds or the time runs out; answers done().
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 2000);

// A hidden top-level window to parent child dialogs.
HWND CreateHostWindow();

// Counts the messages that reach one control, by subclassing it.
class MessageCounter {
public:
    explicit MessageCounter(HWND control);
    ~MessageCounter();
    int Count(UINT message) const;

private:
    static LRESULT CALLBACK Procedure(HWND, UINT, WPARAM, LPARAM);
    HWND m_control;
    WNDPROC m_original;
    std::map<UINT, int> m_counts;
};
