#include "main_frame.h"

#include "form_view.h"
#include "resource.h"
#include "tray_icon.h"
#include "program_icon.h"
#include "win_app.h"

static_assert(CMainFrame::FrameStyle == 0x00CA8000, "the main window's style");

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_MESSAGE(TaskbarCreatedMessage(), OnTaskbarCreated)
END_MESSAGE_MAP()

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!CFrameWnd::PreCreateWindow(cs))
        return FALSE;
    cs.lpszClass = WindowClass;
    cs.style = FrameStyle;
    cs.hMenu = ::LoadMenuA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_MAIN_MENU));
    return TRUE;
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    SetTitle(Title);
    SetIcon(SmallProgramIcon(IDI_TRAY_CHIP, m_hWnd), FALSE);
    SetIcon(LargeProgramIcon(IDI_TRAY_CHIP, m_hWnd), TRUE);
    return 0;
}

LRESULT CMainFrame::OnTaskbarCreated(WPARAM wParam, LPARAM lParam)
{
    // Only top-level windows hear the broadcast; the view is a child.
    if (CFormView* view = GetActiveView(); view && view->m_hWnd)
        view->SendMessage(TaskbarCreatedMessage(), wParam, lParam);
    return Default();
}
