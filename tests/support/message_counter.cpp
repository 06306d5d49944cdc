#include "message_counter.h"

namespace {

std::map<HWND, MessageCounter*> counters;

} // namespace

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
