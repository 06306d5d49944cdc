#include "data_exchange.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "if_changed.h"
#include "window_text.h"
#include "wnd.h"

// Members go to the controls through the ...IfChanged writes: a periodic
// UpdateData(FALSE) redraws only the controls whose members changed.

namespace {
std::vector<HWND> WalkRadioGroup(HWND first);
}

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd)
{
}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    HWND control = m_pDlgWnd->FindControl(nIDC);
    if (!control)
        Fail(nIDC);
    return control;
}

void CDataExchange::Fail(int nIDC)
{
    m_bFailed = true;
    m_pDlgWnd->OnDataExchangeFailure(nIDC);
}

const std::vector<HWND>& CDataExchange::PrepareRadioGroup(int nIDC)
{
    static const std::vector<HWND> none;
    HWND first = PrepareCtrl(nIDC);
    if (!first)
        return none;
    std::vector<HWND>& group = m_pDlgWnd->m_radioGroups[nIDC];
    if (!group.empty() && group.front() == first
        && std::all_of(group.begin(), group.end(), [](HWND button) { return ::IsWindow(button); }))
        return group;
    group = WalkRadioGroup(first);
    if (group.empty())
        Fail(nIDC);
    return group;
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

// The radio buttons from first (which must start a group and be a radio
// button) up to the next control that starts a group.
std::vector<HWND> WalkRadioGroup(HWND first)
{
    std::vector<HWND> group;
    if (!StartsGroup(first) || !IsRadioButton(first))
        return group;
    for (HWND control = first; control;) {
        if (IsRadioButton(control))
            group.push_back(control);
        control = ::GetWindow(control, GW_HWNDNEXT);
        if (control && StartsGroup(control))
            break;
    }
    return group;
}

} // namespace

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    const std::vector<HWND>& group = pDX->PrepareRadioGroup(nIDC);
    if (group.empty())
        return;
    if (pDX->m_bSaveAndValidate)
        value = -1;
    for (size_t index = 0; index < group.size(); ++index) {
        if (pDX->m_bSaveAndValidate) {
            if (::SendMessage(group[index], BM_GETCHECK, 0, 0) == BST_CHECKED)
                value = static_cast<int>(index);
        } else {
            SetCheckIfChanged(group[index], static_cast<int>(index) == value ? BST_CHECKED : BST_UNCHECKED);
        }
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
        SetCheckIfChanged(control, value);
}

void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value)
{
    HWND control = pDX->PrepareCtrl(nIDC);
    if (!control)
        return;
    if (pDX->m_bSaveAndValidate)
        value = ReadWindowText(control);
    else
        SetWindowTextIfChanged(control, value);
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value)
{
    HWND control = pDX->PrepareCtrl(nIDC);
    if (!control)
        return;
    if (!pDX->m_bSaveAndValidate) {
        SetWindowTextIfChanged(control, std::to_string(value));
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
