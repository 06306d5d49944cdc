#include "message_filter.h"

namespace {

// Not in the headers for every Windows the program runs on: looked up.
using FilterExFunction = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
using FilterFunction = BOOL(WINAPI*)(UINT, DWORD);
constexpr DWORD kAllowMessage = 1; // MSGFLT_ALLOW, MSGFLT_ADD

template <typename Function>
Function User32Function(const char* name)
{
    HMODULE user32 = ::GetModuleHandleA("user32.dll");
    return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(user32, name))) : nullptr;
}

} // namespace

void LetThroughFromUnelevated(HWND window, UINT message)
{
    static const auto filterEx = User32Function<FilterExFunction>("ChangeWindowMessageFilterEx");
    static const auto filter = User32Function<FilterFunction>("ChangeWindowMessageFilter");
    if (filterEx)
        filterEx(window, message, kAllowMessage, nullptr);
    else if (filter)
        filter(message, kAllowMessage);
}
