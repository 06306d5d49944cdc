#include "wnd.h"

#include "data_exchange.h"

CWnd::~CWnd()
{
    if (m_hWnd && m_ownsWindow && ::IsWindow(m_hWnd)) {
        // The object is going away: the window's last messages must not
        // reach it, so unhook before destroying.
        HWND hWnd = m_hWnd;
        ReleaseProcedureData();
        ::DestroyWindow(hWnd);
    }
}

BOOL CWnd::Attach(HWND hWnd)
{
    if (m_hWnd || !hWnd)
        return FALSE;
    m_hWnd = hWnd;
    m_ownsWindow = false;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (m_ownsWindow)
        ReleaseProcedureData();
    m_hWnd = nullptr;
    m_ownsWindow = false;
    return hWnd;
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return !dx.m_bFailed;
}

void CWnd::DoDataExchange(CDataExchange*)
{
    // A window without bindings exchanges nothing.
}

void CWnd::OnDataExchangeFailure(int controlId)
{
    if (HWND control = ::GetDlgItem(m_hWnd, controlId))
        ::SetFocus(control);
}

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd)
        return FALSE;
    return ::DestroyWindow(m_hWnd);
}

HWND CWnd::FindControl(int nID)
{
    const auto known = m_controls.find(nID);
    if (known != m_controls.end()) {
        HWND control = known->second;
        // A remembered handle still names the same child (handles are reused).
        if (::IsWindow(control) && ::GetParent(control) == m_hWnd && ::GetDlgCtrlID(control) == nID)
            return control;
        m_controls.erase(known);
    }
    HWND control = ::GetDlgItem(m_hWnd, nID);
    if (control)
        m_controls[nID] = control;
    return control;
}

CWnd* CWnd::GetDlgItem(int nID)
{
    HWND control = FindControl(nID);
    if (!control)
        return nullptr;
    std::unique_ptr<CWnd>& wrapper = m_dlgItems[nID];
    if (!wrapper)
        wrapper = std::make_unique<CWnd>();
    wrapper->m_hWnd = control;
    return wrapper.get();
}

void CWnd::OnHScroll(UINT, UINT, CWnd*)
{
    Default();
}

void CWnd::OnTimer(UINT_PTR)
{
    Default();
}

void CWnd::OnShowWindow(BOOL, UINT)
{
    Default();
}

void CWnd::OnSize(UINT, int, int)
{
    Default();
}

int CWnd::OnCreate(LPCREATESTRUCT)
{
    return static_cast<int>(Default());
}

void CWnd::OnDestroy()
{
    Default();
}

LRESULT CWnd::Default()
{
    if (!m_currentMessage)
        return 0;
    m_currentMessage->passedOn = true;
    return DefWindowProc(m_currentMessage->message, m_currentMessage->wParam,
                         m_currentMessage->lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefWindowProc(m_hWnd, message, wParam, lParam);
}

bool CWnd::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result, bool& passedOn)
{
    CurrentMessage current{message, wParam, lParam, false};
    CurrentMessage* outer = m_currentMessage;
    m_currentMessage = &current;
    bool handled = RouteMessage(message, wParam, lParam, result);
    m_currentMessage = outer;
    passedOn = current.passedOn;
    return handled;
}

bool CWnd::OnWndMsg(UINT, WPARAM, LPARAM, LRESULT&)
{
    return false;
}

bool CWnd::RouteMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    return OnWndMsg(message, wParam, lParam, result);
}

CWnd* CWnd::FromProcedureData(HWND hWnd)
{
    return reinterpret_cast<CWnd*>(::GetWindowLongPtr(hWnd, GWLP_USERDATA));
}

void CWnd::BindProcedureData(HWND hWnd)
{
    m_hWnd = hWnd;
    ::SetWindowLongPtr(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void CWnd::ReleaseProcedureData()
{
    if (m_hWnd && FromProcedureData(m_hWnd) == this)
        ::SetWindowLongPtr(m_hWnd, GWLP_USERDATA, 0);
}

LRESULT CALLBACK CWnd::WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCT*>(lParam);
        if (auto* wnd = static_cast<CWnd*>(create->lpCreateParams))
            wnd->BindProcedureData(hWnd);
    }
    // Messages before WM_NCCREATE (WM_GETMINMAXINFO) and after the object
    // let go of its window get the default processing.
    CWnd* wnd = FromProcedureData(hWnd);
    if (!wnd)
        return ::DefWindowProc(hWnd, message, wParam, lParam);

    LRESULT result = 0;
    try {
        bool passedOn = false;
        if (!wnd->Dispatch(message, wParam, lParam, result, passedOn))
            result = wnd->DefWindowProc(message, wParam, lParam);
    } catch (...) {
        // Exceptions must not unwind through user32.
        result = ::DefWindowProc(hWnd, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY && FromProcedureData(hWnd) == wnd) {
        wnd->ReleaseProcedureData();
        wnd->m_hWnd = nullptr;
        wnd->m_ownsWindow = false;
    }
    return result;
}
