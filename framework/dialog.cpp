#include "dialog.h"

#include "win_app.h"

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd)
{
}

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    if (m_hWnd)
        return FALSE;
    m_nIDTemplate = nIDTemplate;
    m_pParentWnd = pParentWnd;
    m_bModal = false;
    HWND hWnd = ::CreateDialogParam(AfxGetInstanceHandle(), MAKEINTRESOURCE(nIDTemplate),
                                    pParentWnd ? pParentWnd->m_hWnd : nullptr, DialogProc,
                                    reinterpret_cast<LPARAM>(this));
    if (!hWnd)
        return FALSE;
    m_ownsWindow = true;
    return TRUE;
}

INT_PTR CDialog::DoModal()
{
    if (m_hWnd)
        return -1;
    CWnd* ownerWnd = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    HWND owner = ownerWnd ? ::GetAncestor(ownerWnd->m_hWnd, GA_ROOT) : nullptr;
    m_bModal = true;
    INT_PTR result = ::DialogBoxParam(AfxGetInstanceHandle(), MAKEINTRESOURCE(m_nIDTemplate), owner,
                                      DialogProc, reinterpret_cast<LPARAM>(this));
    m_bModal = false;
    return result;
}

void CDialog::EndDialog(int nResult)
{
    ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (m_bModal && UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    if (m_bModal)
        EndDialog(IDCANCEL);
}

LRESULT CDialog::DefWindowProc(UINT, WPARAM, LPARAM)
{
    // Dispatch has marked the message as passed on; DialogProc then returns
    // FALSE and the dialog manager does its own work.
    return 0;
}

namespace {

bool IsColourQuery(UINT message)
{
    return message == WM_CTLCOLORDLG || message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN;
}

// The program's dialog colours, once the application has set them.
INT_PTR AnswerColourQuery(WPARAM wParam)
{
    CWinApp* app = AfxGetApp();
    if (!app || !app->GetDialogBrush())
        return FALSE;
    HDC dc = reinterpret_cast<HDC>(wParam);
    ::SetTextColor(dc, app->GetDialogTextColor());
    ::SetBkColor(dc, app->GetDialogBkColor());
    return reinterpret_cast<INT_PTR>(app->GetDialogBrush());
}

} // namespace

INT_PTR CDialog::Answer(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    bool passedOn = false;
    if (Dispatch(message, wParam, lParam, result, passedOn) && !passedOn) {
        // These results go back directly, not through DWLP_MSGRESULT.
        if (IsColourQuery(message) || message == WM_QUERYDRAGICON)
            return static_cast<INT_PTR>(result);
        ::SetWindowLongPtr(hWnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
    if (IsColourQuery(message))
        return AnswerColourQuery(wParam);
    return FALSE;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<CDialog*>(lParam);
        dialog->BindProcedureData(hWnd);
        try {
            dialog->m_pixels.FitToDpi(hWnd);
            return dialog->OnInitDialog();
        } catch (...) {
            return TRUE;
        }
    }
    // Messages before WM_INITDIALOG (WM_SETFONT, ...) and after the object
    // let go get the dialog manager's processing.
    auto* dialog = static_cast<CDialog*>(FromProcedureData(hWnd));
    if (!dialog)
        return FALSE;
    INT_PTR answer = FALSE;
    try {
        answer = dialog->Answer(hWnd, message, wParam, lParam);
    } catch (...) {
        // Exceptions must not unwind through user32.
        answer = FALSE;
    }
    if (message == WM_NCDESTROY && FromProcedureData(hWnd) == dialog) {
        dialog->ReleaseProcedureData();
        dialog->m_hWnd = nullptr;
        dialog->m_ownsWindow = false;
    }
    return answer;
}
