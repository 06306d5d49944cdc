#include "data_exchange.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "window_text.h"
#include "wnd.h"

// Writing to a control only when its state differs from the member keeps a
// periodic UpdateData(FALSE) from redrawing unchanged controls; comparing
// with the control itself (not with a cache) still puts back a state the
// user changed.

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd)
{
}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    HWND control = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
    if (!control)
        Fail(nIDC);
    return control;
}

void CDataExchange::Fail(int nIDC)
{
    m_bFailed = true;
    m_pDlgWnd->OnDataExchangeFailure(nIDC);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd)
        return;
    if (HWND control = pDX->PrepareCtrl(nIDC))
        rControl.Attach(control);
}

namespace {

bool IsRadioButton(HWND control)
{
    char className[16] = {};
    ::GetClassNameA(control, className, sizeof className);
    if (lstrcmpiA(className, "Button") != 0)
        return false;
    LONG type = ::GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

bool StartsGroup(HWND control)
{
    return (::GetWindowLongA(control, GWL_STYLE) & WS_GROUP) != 0;
}

void SetCheckIfChanged(HWND button, WPARAM state)
{
    if (static_cast<WPARAM>(::SendMessage(button, BM_GETCHECK, 0, 0)) != state)
        ::SendMessage(button, BM_SETCHECK, state, 0);
}

} // namespace

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    HWND first = pDX->PrepareCtrl(nIDC);
    if (!first)
        return;
    if (!StartsGroup(first) || !IsRadioButton(first)) {
        pDX->Fail(nIDC);
        return;
    }
    if (pDX->m_bSaveAndValidate)
        value = -1;
    int index = 0;
    for (HWND control = first; control;) {
        if (IsRadioButton(control)) {
            if (pDX->m_bSaveAndValidate) {
                if (::SendMessage(control, BM_GETCHECK, 0, 0) == BST_CHECKED)
                    value = index;
            } else {
                SetCheckIfChanged(control, index == value ? BST_CHECKED : BST_UNCHECKED);
            }
            ++index;
        }
        control = ::GetWindow(control, GW_HWNDNEXT);
        if (control && StartsGroup(control))
            break;
    }
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    HWND control = pDX->PrepareCtrl(nIDC);
    if (!control)
        return;
    if (pDX->m_bSaveAndValidate)
        value = static_cast<int>(::SendMessage(control, BM_GETCHECK, 0, 0));
    else
        SetCheckIfChanged(control, static_cast<WPARAM>(value));
}

void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value)
{
    HWND control = pDX->PrepareCtrl(nIDC);
    if (!control)
        return;
    if (pDX->m_bSaveAndValidate)
        value = ReadWindowText(control);
    else
        WriteWindowTextIfChanged(control, value);
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value)
{
    HWND control = pDX->PrepareCtrl(nIDC);
    if (!control)
        return;
    if (!pDX->m_bSaveAndValidate) {
        WriteWindowTextIfChanged(control, std::to_string(value));
        return;
    }
    std::string text = ReadWindowText(control);
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    long number = std::strtol(begin, &end, 10);
    while (end && (*end == ' ' || *end == '\t'))
        ++end;
    bool whole = end != begin && *end == '\0';
    if (!whole || errno == ERANGE || number < INT_MIN || number > INT_MAX) {
        pDX->Fail(nIDC);
        return;
    }
    value = static_cast<int>(number);
}
