#include "main_frame.h"

#include "form_view.h"
#include "message_filter.h"
#include "resource.h"
#include "running_copy.h"
#include "tray_icon.h"
#include "program_icon.h"
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

LRESULT CMainFrame::SendToView(UINT message, WPARAM wParam, LPARAM lParam)
{
    CFormView* view = GetActiveView();
    return view && view->m_hWnd ? view->SendMessage(message, wParam, lParam) : 0;
}

LRESULT CMainFrame::OnTaskbarCreated(WPARAM wParam, LPARAM lParam)
{
    SendToView(TaskbarCreatedMessage(), wParam, lParam);
    return Default();
}

LRESULT CMainFrame::OnQueryEndSession(WPARAM, LPARAM)
{
    return TRUE;
}

LRESULT CMainFrame::OnEndSession(WPARAM wParam, LPARAM lParam)
{
    SendToView(WM_ENDSESSION, wParam, lParam);
    return 0;
}

LRESULT CMainFrame::OnComeForward(WPARAM wParam, LPARAM lParam)
{
    return SendToView(ComeForwardMessage(), wParam, lParam);
}
