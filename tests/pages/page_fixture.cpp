#include "page_fixture.h"

#include <commctrl.h>
#include <cstring>

#include "engine_standin.h"

namespace {

std::vector<TimerCall> timerCalls;
decltype(&::SetTimer) realSetTimer = nullptr;
decltype(&::KillTimer) realKillTimer = nullptr;

UINT_PTR WINAPI RecordSetTimer(HWND window, UINT_PTR id, UINT periodMs, TIMERPROC procedure)
{
    UINT_PTR result = realSetTimer(window, id, periodMs, procedure);
    timerCalls.push_back({false, window, id, periodMs, result});
    return result;
}

BOOL WINAPI RecordKillTimer(HWND window, UINT_PTR id)
{
    BOOL result = realKillTimer(window, id);
    timerCalls.push_back({true, window, id, 0, static_cast<UINT_PTR>(result)});
    return result;
}

// The import-table slot through which this program calls dll!function.
void** ImportSlot(HMODULE module, const char* dll, const char* function)
{
    auto* base = reinterpret_cast<BYTE*>(module);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    auto* descriptor = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
    for (; descriptor->Name; ++descriptor) {
        if (lstrcmpiA(reinterpret_cast<char*>(base + descriptor->Name), dll) != 0)
            continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + descriptor->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + descriptor->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<char*>(byName->Name), function) == 0)
                return reinterpret_cast<void**>(&slots->u1.Function);
        }
    }
    return nullptr;
}

template <typename Function>
Function Redirect(const char* function, Function replacement)
{
    void** slot = ImportSlot(::GetModuleHandle(nullptr), "user32.dll", function);
    if (!slot)
        return nullptr;
    DWORD oldProtection = 0;
    ::VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &oldProtection);
    auto original = reinterpret_cast<Function>(*slot);
    *slot = reinterpret_cast<void*>(replacement);
    ::VirtualProtect(slot, sizeof *slot, oldProtection, &oldProtection);
    return original;
}

class PagesEnvironment : public ::testing::Environment {
    void SetUp() override
    {
        AfxInitCommonControls();
        TimerLog::Install();
    }
};
const auto* environment = ::testing::AddGlobalTestEnvironment(new PagesEnvironment);

std::map<HWND, MessageCounter*> counters;

} // namespace

void TimerLog::Install()
{
    if (realSetTimer)
        return;
    // A function the program never calls is not imported: its calls then
    // simply never show in the log, and the tests expecting them fail.
    realSetTimer = Redirect("SetTimer", &RecordSetTimer);
    realKillTimer = Redirect("KillTimer", &RecordKillTimer);
}

void TimerLog::Clear()
{
    timerCalls.clear();
}

std::vector<TimerCall> TimerLog::CallsFor(HWND window)
{
    std::vector<TimerCall> calls;
    for (const TimerCall& call : timerCalls)
        if (call.window == window)
            calls.push_back(call);
    return calls;
}

void PageTest::SetUp()
{
    StandInReset();
    TimerLog::Clear();
    host.Attach(::CreateWindowExA(0, "STATIC", "host", WS_POPUP, 0, 0, 600, 400, nullptr, nullptr,
                                  ::GetModuleHandle(nullptr), nullptr));
    ASSERT_NE(host.m_hWnd, nullptr);
}

void PageTest::TearDown()
{
    ::DestroyWindow(host.Detach());
}

std::string ControlText(HWND page, int id)
{
    char text[256] = {};
    ::GetDlgItemTextA(page, id, text, sizeof text);
    return text;
}

bool HasVisibleStyle(HWND window)
{
    return (::GetWindowLongPtr(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

bool IsChecked(HWND page, int id)
{
    return ::IsDlgButtonChecked(page, id) == BST_CHECKED;
}

HICON ButtonIcon(HWND page, int id)
{
    return reinterpret_cast<HICON>(::SendDlgItemMessage(page, id, BM_GETIMAGE, IMAGE_ICON, 0));
}

HICON ProgramIcon(int id)
{
    return ::LoadIcon(::GetModuleHandle(nullptr), MAKEINTRESOURCE(id));
}

void Tick(HWND page, UINT_PTR timerId)
{
    ::SendMessage(page, WM_TIMER, timerId, 0);
}

void Click(HWND page, int id)
{
    ::SendDlgItemMessage(page, id, BM_CLICK, 0, 0);
}

void DragSlider(HWND page, int id, int position)
{
    HWND slider = ::GetDlgItem(page, id);
    ::SendMessage(slider, TBM_SETPOS, TRUE, position);
    ::SendMessage(page, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position), reinterpret_cast<LPARAM>(slider));
}

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
