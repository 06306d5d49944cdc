#include "app_fixture.h"

#include <commctrl.h>
#include <cstring>

#include "engine_standin.h"

namespace {

std::vector<LoggedCall> calls;
decltype(&::Shell_NotifyIconA) realShellNotifyIcon = nullptr;
decltype(&::SetTimer) realSetTimer = nullptr;
decltype(&::KillTimer) realKillTimer = nullptr;
decltype(&::RegSetValueExA) realRegSetValue = nullptr;

BOOL WINAPI LogShellNotifyIcon(DWORD message, PNOTIFYICONDATAA record)
{
    LoggedCall call;
    call.kind = LoggedCall::Shell;
    call.shellMessage = message;
    std::memcpy(&call.record, record, std::min<size_t>(record->cbSize, sizeof call.record));
    calls.push_back(call);
    return realShellNotifyIcon(message, record);
}

UINT_PTR WINAPI LogSetTimer(HWND window, UINT_PTR id, UINT periodMs, TIMERPROC procedure)
{
    LoggedCall call;
    call.kind = LoggedCall::SetTimer;
    call.window = window;
    call.timerId = id;
    call.periodMs = periodMs;
    calls.push_back(call);
    return realSetTimer(window, id, periodMs, procedure);
}

BOOL WINAPI LogKillTimer(HWND window, UINT_PTR id)
{
    LoggedCall call;
    call.kind = LoggedCall::KillTimer;
    call.window = window;
    call.timerId = id;
    calls.push_back(call);
    return realKillTimer(window, id);
}

LSTATUS WINAPI LogRegSetValue(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size)
{
    LoggedCall call;
    call.kind = LoggedCall::RegSetValue;
    call.valueName = name ? name : "";
    if (type == REG_DWORD && size == 4)
        std::memcpy(&call.number, data, 4);
    calls.push_back(call);
    return realRegSetValue(key, name, reserved, type, data, size);
}

// The import-table slot through which this program calls dll!function.
void** ImportSlot(const char* dll, const char* function)
{
    auto* base = reinterpret_cast<BYTE*>(::GetModuleHandle(nullptr));
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* descriptor = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         descriptor->Name; ++descriptor) {
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
Function Redirect(const char* dll, const char* function, Function replacement)
{
    void** slot = ImportSlot(dll, function);
    if (!slot)
        return nullptr;
    DWORD oldProtection = 0;
    ::VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &oldProtection);
    auto original = reinterpret_cast<Function>(*slot);
    *slot = reinterpret_cast<void*>(replacement);
    ::VirtualProtect(slot, sizeof *slot, oldProtection, &oldProtection);
    return original;
}

class AppEnvironment : public ::testing::Environment {
    void SetUp() override
    {
        AfxInitCommonControls();
        CallLog::Install();
    }
};
const auto* environment = ::testing::AddGlobalTestEnvironment(new AppEnvironment);

void DrainQuitMessage()
{
    MSG msg;
    while (::PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

} // namespace

void CallLog::Install()
{
    if (realShellNotifyIcon)
        return;
    realShellNotifyIcon = Redirect("shell32.dll", "Shell_NotifyIconA", &LogShellNotifyIcon);
    realSetTimer = Redirect("user32.dll", "SetTimer", &LogSetTimer);
    realKillTimer = Redirect("user32.dll", "KillTimer", &LogKillTimer);
    realRegSetValue = Redirect("advapi32.dll", "RegSetValueExA", &LogRegSetValue);
    ASSERT_NE(realShellNotifyIcon, nullptr);
    ASSERT_NE(realSetTimer, nullptr);
    ASSERT_NE(realKillTimer, nullptr);
    ASSERT_NE(realRegSetValue, nullptr);
}

void CallLog::Clear()
{
    calls.clear();
}

std::vector<LoggedCall> CallLog::Calls(LoggedCall::Kind kind)
{
    std::vector<LoggedCall> matching;
    for (const LoggedCall& call : calls)
        if (call.kind == kind)
            matching.push_back(call);
    return matching;
}

std::vector<LoggedCall> CallLog::All()
{
    return calls;
}

void SetPhysicalMemory(DWORD totalMB, DWORD availableMB)
{
    StandInFigures figures = DefaultStandInFigures();
    figures.phyTotalMB = totalMB;
    figures.phyAvaiMB = availableMB;
    StandInSetFigures(figures);
}

void AppTest::SetUp()
{
    RegistrySandbox::SetUp();
    StandInReset();
    CallLog::Clear();
}

void AppTest::TearDown()
{
    if (m_app) {
        DestroyMainWindow();
        m_app.reset();
    }
    DrainQuitMessage();
    RegistrySandbox::TearDown();
}

bool AppTest::StartApp()
{
    m_app = std::make_unique<CQuendrixApp>(Roots());
    m_app->m_hInstance = ::GetModuleHandle(nullptr);
    m_app->m_nCmdShow = SW_SHOWNORMAL;
    return m_app->InitInstance() && m_app->m_pMainWnd;
}

void AppTest::DestroyMainWindow()
{
    if (m_app && m_app->m_pMainWnd)
        m_app->m_pMainWnd->DestroyWindow();
    DrainQuitMessage();
}

CMainFrame* AppTest::Frame() const
{
    return m_app ? static_cast<CMainFrame*>(m_app->m_pMainWnd) : nullptr;
}

CQuendrixView* AppTest::View() const
{
    CMainFrame* frame = Frame();
    return frame ? static_cast<CQuendrixView*>(frame->GetActiveView()) : nullptr;
}

void AppTest::Command(UINT id) const
{
    ::SendMessage(*Frame(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

void AppTest::StatusTick() const
{
    ::SendMessage(*View(), WM_TIMER, CQuendrixView::StatusTimer, 0);
}

namespace {

struct ModalScript {
    std::function<void(HWND)> act;
    ModalRun run;
    DWORD start = 0;
    bool acted = false;
};
ModalScript* currentScript = nullptr;

BOOL CALLBACK FindDialog(HWND window, LPARAM found)
{
    char className[16] = {};
    ::GetClassNameA(window, className, sizeof className);
    if (std::strcmp(className, "#32770") == 0 && ::IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

HWND ThreadDialog()
{
    HWND found = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

void CALLBACK ModalTick(HWND, UINT, UINT_PTR, DWORD)
{
    ModalScript* script = currentScript;
    if (!script)
        return;
    HWND dialog = ThreadDialog();
    if (dialog && !script->acted) {
        script->acted = true;
        script->run.dialogSeen = true;
        script->act(dialog);
    } else if (dialog && ::GetTickCount() - script->start > 4000) {
        script->run.forcedClosed = true;
        ::EndDialog(dialog, -2);
    }
}

} // namespace

ModalRun RunModal(const std::function<void()>& open, const std::function<void(HWND)>& act)
{
    ModalScript script;
    script.act = act;
    script.start = ::GetTickCount();
    currentScript = &script;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 30, ModalTick);
    open();
    ::KillTimer(nullptr, timer);
    currentScript = nullptr;
    return script.run;
}

std::string WindowText(HWND window)
{
    char text[256] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ControlText(HWND dialog, int id)
{
    return WindowText(::GetDlgItem(dialog, id));
}

bool IsChecked(HWND dialog, int id)
{
    return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

void Click(HWND dialog, int id)
{
    ::SendDlgItemMessage(dialog, id, BM_CLICK, 0, 0);
}

void PressEscape(HWND dialog)
{
    HWND focus = ::GetFocus();
    ::PostMessage(focus && ::IsChild(dialog, focus) ? focus : dialog, WM_KEYDOWN, VK_ESCAPE, 0);
}

HICON ProgramIcon(UINT id)
{
    return ::LoadIconA(::GetModuleHandle(nullptr), MAKEINTRESOURCEA(id));
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
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
