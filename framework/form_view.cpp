#include "form_view.h"

CFormView::CFormView(UINT nIDTemplate) : CDialog(nIDTemplate)
{
}

BOOL CFormView::Create(CWnd* pParentFrame)
{
    if (!CDialog::Create(m_nIDTemplate, pParentFrame))
        return FALSE;
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(SW_SHOW);
    return TRUE;
}

void CFormView::OnInitialUpdate()
{
    UpdateData(FALSE);
}
