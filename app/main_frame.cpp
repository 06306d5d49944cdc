#include "main_frame.h"

#include "freeing_run.h"
#include "message_filter.h"
#include "program_icon.h"
#include "quendrix_view.h"
#include "resource.h"
#include "running_copy.h"
#include "tray_icon.h"
#include "win_app.h"

static_assert(CMainFrame::kFrameStyle == 0x00CA8000, "the main window's style");

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_MESSAGE(TaskbarCreatedMessage(), OnTaskbarCreated)
    ON_MESSAGE(WM_QUERYENDSESSION, OnQueryEndSession)
    ON_MESSAGE(WM_ENDSESSION, OnEndSession)
    ON_MESSAGE(ComeForwardMessage(), OnComeForward)
END_MESSAGE_MAP()

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!CFrameWnd::PreCreateWindow(cs))
        return FALSE;
    cs.lpszClass = kWindowClass;
    cs.style = kFrameStyle;
    cs.hMenu = ::LoadMenuA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_MAIN_MENU));
    return TRUE;
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    SetTitle(kTitle);
    SetIcon(SmallProgramIcon(IDI_TRAY_CHIP, m_hWnd), FALSE);
    SetIcon(LargeProgramIcon(IDI_TRAY_CHIP, m_hWnd), TRUE);
    // Run elevated, the window would not hear the shell's restart or a
    // later start of the program, both of which run unelevated.
    LetThroughFromUnelevated(m_hWnd, TaskbarCreatedMessage());
    LetThroughFromUnelevated(m_hWnd, ComeForwardMessage());
    return 0;
}

CQuendrixView* CMainFrame::View() const
{
    CFormView* view = GetActiveView();
    return view && view->m_hWnd ? static_cast<CQuendrixView*>(view) : nullptr;
}

LRESULT CMainFrame::OnTaskbarCreated(WPARAM, LPARAM)
{
    if (CQuendrixView* view = View())
        view->TrayIcon().Restore();
    return Default();
}

LRESULT CMainFrame::OnQueryEndSession(WPARAM, LPARAM)
{
    return TRUE;
}

LRESULT CMainFrame::OnEndSession(WPARAM wParam, LPARAM lParam)
{
    if (!wParam)
        return 0;
    const bool programCloses = (lParam & ENDSESSION_CLOSEAPP) != 0;
    if (CQuendrixView* view = View())
        view->OnSessionEnd(programCloses);
    FreeingRun::EndAll();
    // Nothing else ends the process after a close request: the window goes
    // now, which ends the message loop.
    if (programCloses)
        DestroyWindow();
    return 0;
}

LRESULT CMainFrame::OnComeForward(WPARAM, LPARAM)
{
    // Still setting up: the caller asks again.
    const CQuendrixView* view = View();
    if (!view || !view->GetRegularFreePage())
        return 0;
    ShowWindow(SW_SHOWNORMAL);
    ::SetForegroundWindow(m_hWnd);
    return kCameForwardAnswer;
}
