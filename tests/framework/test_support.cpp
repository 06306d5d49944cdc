#include "test_support.h"

#include <gtest/gtest.h>

namespace {

// Every test needs the common control classes before its dialogs.
class CommonControlsEnvironment : public ::testing::Environment {
    void SetUp() override { AfxInitCommonControls(); }
};
const auto* environment = ::testing::AddGlobalTestEnvironment(new CommonControlsEnvironment);

std::map<HWND, MessageCounter*> counters;

} // namespace

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    DWORD start = ::GetTickCount();
    while (!done() && ::GetTickCount() - start < timeoutMs) {
        MSG msg;
        while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessage(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return done();
}

HWND CreateHostWindow()
{
    return ::CreateWindowExA(0, "STATIC", "host", WS_POPUP, 0, 0, 600, 400, nullptr, nullptr,
                             ::GetModuleHandle(nullptr), nullptr);
}

MessageCounter::MessageCounter(HWND control) : m_control(control)
{
    counters[control] = this;
    m_original = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtr(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Procedure)));
}

MessageCounter::~MessageCounter()
{
    if (::IsWindow(m_control))
        ::SetWindowLongPtr(m_control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_original));
    counters.erase(m_control);
}

int MessageCounter::Count(UINT message) const
{
    auto found = m_counts.find(message);
    return found == m_counts.end() ? 0 : found->second;
}

LRESULT CALLBACK MessageCounter::Procedure(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    MessageCounter* counter = counters.at(hWnd);
    ++counter->m_counts[message];
    return ::CallWindowProc(counter->m_original, hWnd, message, wParam, lParam);
}
