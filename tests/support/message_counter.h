#pragma once
#include <windows.h>

#include <map>

// Counts the messages that reach one control, by subclassing it.
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
