// The messages that reach one window, in order, with their parameters and
// whether each was posted (taken from the queue) or sent, seen by
// subclassing the window and watching the thread's queue.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>

#include "same_sequence.h"

#include <initializer_list>
#include <set>
#include <string>
#include <vector>

struct LoggedMessage {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    bool posted = false;

    // "WM_SETICON sent 1 0x1234": name, how it came, wParam, lParam in hex.
    std::string Describe() const;
};

class MessageLog {
public:
    // Logs every message, or only the watched ones: controls also send
    // themselves messages of their own (notifications, repaints).
    explicit MessageLog(HWND window, std::initializer_list<UINT> watched = {});
    ~MessageLog();
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;

    int Count(UINT message) const;
    const std::vector<UINT>& Messages() const { return m_messages; }
    const std::vector<LoggedMessage>& Entries() const { return m_entries; }
    void Clear()
    {
        m_messages.clear();
        m_entries.clear();
    }

private:
    static LRESULT CALLBACK Procedure(HWND, UINT, WPARAM, LPARAM);
    HWND m_window;
    WNDPROC m_original;
    std::set<UINT> m_watched;
    std::vector<UINT> m_messages;
    std::vector<LoggedMessage> m_entries;
};

// The message's name where the tests know it ("PBM_SETPOS"), else its number.
std::string MessageName(UINT message);

// Whether the log holds exactly these messages, in order; the failure
// shows both sequences by name (SameSequence).
::testing::AssertionResult SameMessages(const MessageLog& log, const std::vector<UINT>& expected);
