#include "frame_wnd.h"

#include "form_view.h"
#include "win_app.h"

namespace {

std::string FirstLineOfString(UINT id)
{
    char text[256] = {};
    ::LoadStringA(AfxGetInstanceHandle(), id, text, sizeof text);
    std::string line(text);
    return line.substr(0, line.find('\n'));
}

// The frame's class under the name the program chose, registered once.
bool RegisterFrameClass(HINSTANCE instance, const char* className, UINT nIDResource, WNDPROC procedure)
{
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (::GetClassInfoExA(instance, className, &windowClass))
        return true;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = ::LoadIcon(instance, MAKEINTRESOURCE(nIDResource));
    windowClass.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className;
    return ::RegisterClassExA(&windowClass) != 0;
}

} // namespace

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_SHOWWINDOW()
    ON_WM_SIZE()
    ON_MESSAGE(WM_SETFOCUS, OnSetFocusMessage)
    ON_MESSAGE(WM_NCDESTROY, OnNcDestroyMessage)
END_MESSAGE_MAP()

BOOL CFrameWnd::LoadFrame(UINT nIDResource, CFormView* pView)
{
    if (m_hWnd)
        return FALSE;
    HINSTANCE instance = AfxGetInstanceHandle();
    m_pView = pView;
    const std::string caption = FirstLineOfString(nIDResource);
    HMENU defaultMenu = ::LoadMenu(instance, MAKEINTRESOURCE(nIDResource));
    CREATESTRUCT cs{};
    cs.hInstance = instance;
    cs.hMenu = defaultMenu;
    cs.style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE;
    cs.x = cs.y = cs.cx = cs.cy = CW_USEDEFAULT;
    cs.lpszName = caption.c_str();
    // The program names the class: a frame of no class is not created.
    if (!PreCreateWindow(cs) || !cs.lpszClass
        || !RegisterFrameClass(instance, cs.lpszClass, nIDResource, WindowProc)) {
        if (defaultMenu)
            ::DestroyMenu(defaultMenu);
        if (cs.hMenu && cs.hMenu != defaultMenu)
            ::DestroyMenu(cs.hMenu);
        m_pView = nullptr;
        return FALSE;
    }
    if (defaultMenu && cs.hMenu != defaultMenu)
        ::DestroyMenu(defaultMenu);
    HWND hWnd = ::CreateWindowEx(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y,
                                 cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, this);
    if (!hWnd) {
        if (cs.hMenu)
            ::DestroyMenu(cs.hMenu);
        m_pView = nullptr;
        return FALSE;
    }
    m_ownsWindow = true;
    return TRUE;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT&)
{
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (m_pView && !m_pView->Create(this))
        return -1;
    return 0;
}

void CFrameWnd::SetTitle(const std::string& title)
{
    SetWindowText(title);
}

void CFrameWnd::RecalcLayout()
{
    if (!m_hWnd || !m_pView || !m_pView->m_hWnd)
        return;
    RECT form;
    m_pView->GetWindowRect(&form);
    const int width = form.right - form.left;
    const int height = form.bottom - form.top;
    m_pView->MoveWindow(0, 0, width, height, TRUE);
    // A menu bar may wrap when the width changes, so correct twice at most.
    for (int pass = 0; pass < 2; ++pass) {
        RECT client, window;
        GetClientRect(&client);
        GetWindowRect(&window);
        const int extraWidth = width - client.right;
        const int extraHeight = height - client.bottom;
        if (extraWidth == 0 && extraHeight == 0)
            break;
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, window.right - window.left + extraWidth,
                       window.bottom - window.top + extraHeight,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

bool CFrameWnd::RouteMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (message == WM_COMMAND && m_pView && m_pView->m_hWnd) {
        bool passedOn = false;
        if (m_pView->Dispatch(message, wParam, lParam, result, passedOn))
            return true;
    }
    return CWnd::RouteMessage(message, wParam, lParam, result);
}

void CFrameWnd::OnShowWindow(BOOL bShow, UINT nStatus)
{
    CWnd::OnShowWindow(bShow, nStatus);
    if (bShow && m_pView && m_pView->m_hWnd)
        m_pView->OnFrameShown();
}

void CFrameWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    const bool wasMinimised = m_minimised;
    m_minimised = nType == SIZE_MINIMIZED;
    if (wasMinimised && !m_minimised && m_pView && m_pView->m_hWnd)
        m_pView->OnFrameShown();
}

LRESULT CFrameWnd::OnSetFocusMessage(WPARAM, LPARAM)
{
    // Keyboard input belongs to the form and its pages.
    if (m_pView && m_pView->m_hWnd)
        ::SetFocus(m_pView->m_hWnd);
    return 0;
}

LRESULT CFrameWnd::OnNcDestroyMessage(WPARAM, LPARAM)
{
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) {
        app->m_pMainWnd = nullptr;
        ::PostQuitMessage(0);
    }
    return Default();
}
