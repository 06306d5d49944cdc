#include "app_fixture.h"

#include <commctrl.h>
#include <cstring>

#include "engine_standin.h"
#include "import_redirect.h"

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
    realShellNotifyIcon = RedirectImport("shell32.dll", "Shell_NotifyIconA", &LogShellNotifyIcon);
    realSetTimer = RedirectImport("user32.dll", "SetTimer", &LogSetTimer);
    realKillTimer = RedirectImport("user32.dll", "KillTimer", &LogKillTimer);
    realRegSetValue = RedirectImport("advapi32.dll", "RegSetValueExA", &LogRegSetValue);
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

void PressEscape(HWND dialog)
{
    HWND focus = ::GetFocus();
    ::PostMessage(focus && ::IsChild(dialog, focus) ? focus : dialog, WM_KEYDOWN, VK_ESCAPE, 0);
}

HICON ProgramIcon(UINT id)
{
    return ::LoadIconA(::GetModuleHandle(nullptr), MAKEINTRESOURCEA(id));
}
