#pragma once
#include "framework.h"

// The first page: nine memory and address-space figures in a two-column
// list, re-read only when the refresh button is pressed.
class CMemoryStatusPage : public CDialog {
public:
    // Creates the page's window, hidden, as a child of pParent.
    explicit CMemoryStatusPage(CWnd* pParent);
    ~CMemoryStatusPage() override;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

    DECLARE_MESSAGE_MAP()

private:
    void InitStatusList();
    void UpdateStatusValues();
    void OnRefresh();

    CListCtrl m_statusList;
    CButton m_refreshButton;
    CToolTipCtrl m_toolTip;
};
