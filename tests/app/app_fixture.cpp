#include "app_fixture.h"

#include <commctrl.h>

#include "engine_standin.h"
#include "host_window.h"
#include "resource.h"

namespace {

class AppEnvironment : public ::testing::Environment {
    void SetUp() override
    {
        StartCommonControls();
        CallLog::Observe({LoggedCall::Shell, LoggedCall::SetTimer, LoggedCall::KillTimer, LoggedCall::RegSetValue,
                          LoggedCall::RegDelete});
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

void AppTest::SetUp()
{
    RegistrySandbox::SetUp();
    StandInReset();
    CallLog::Clear();
    CallLog::RefuseShellCalls(0);
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
    // A name of this test program's own: test programs run side by side.
    m_app = std::make_unique<CQuendrixApp>(Roots(), "Local\\KolvarTest." + std::to_string(::GetCurrentProcessId()));
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

HWND AppTest::Page(int index) const
{
    struct Mark {
        int id;
        const char* className;
    };
    static const Mark marks[CQuendrixView::PageCount] = {{IDC_STATUS_LIST, WC_LISTVIEWA},
                                                         {IDC_RUN_PROGRESS, PROGRESS_CLASSA},
                                                         {IDC_RADIO_NONE, "Button"},
                                                         {IDC_INTERVAL_SPIN, UPDOWN_CLASSA}};
    const Mark& mark = marks[index];
    for (HWND child = ::GetWindow(*View(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        HWND control = ::GetDlgItem(child, mark.id);
        if (ClassName(child) == "#32770" && control && ClassName(control) == mark.className)
            return child;
    }
    return nullptr;
}

void AppTest::Command(UINT id) const
{
    ::SendMessage(*Frame(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

void AppTest::StatusTick() const
{
    ::SendMessage(*View(), WM_TIMER, CQuendrixView::kStatusTimer, 0);
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
    if (ClassName(window) == "#32770" && ::IsWindowVisible(window)) {
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

void PressEscape(HWND dialog)
{
    HWND focus = ::GetFocus();
    ::PostMessage(focus && ::IsChild(dialog, focus) ? focus : dialog, WM_KEYDOWN, VK_ESCAPE, 0);
}
