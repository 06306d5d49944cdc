#include "automation_page.h"

#include "resource.h"

namespace {

// A policy frees its run size when less than its threshold is available.
struct Policy {
    DWORD belowMB;
    int runMB;
};
constexpr Policy kFasterPolicy{8, 48};
constexpr Policy kStablyPolicy{32, 64};

} // namespace

CAutomationPage::CAutomationPage(CWnd* pParent)
{
    Create(IDD_AUTOMATION_PAGE, pParent);
}

CAutomationPage::~CAutomationPage()
{
    DestroyWindow();
}

BEGIN_MESSAGE_MAP(CAutomationPage, CDialog)
    ON_WM_TIMER()
END_MESSAGE_MAP()

void CAutomationPage::DoDataExchange(CDataExchange* pDX)
{
    DDX_Radio(pDX, IDC_RADIO_FASTER, m_automationMode);
}

BOOL CAutomationPage::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetTimer(kCheckTimer, kCheckPeriodMs);
    SetTimer(kSelectionTimer, kSelectionPeriodMs);
    m_automationMode = NoAutomation;
    UpdateData(FALSE);
    return TRUE;
}

void CAutomationPage::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == kCheckTimer)
        CheckAutomation();
    else if (nIDEvent == kSelectionTimer)
        UpdateData(TRUE); // a click has no handler: the choice arrives here
    CWnd::OnTimer(nIDEvent);
}

void CAutomationPage::CheckAutomation()
{
    const Policy* policy = nullptr;
    if (m_automationMode == ProgramsRunFaster)
        policy = &kFasterPolicy;
    else if (m_automationMode == ProgramsRunStably)
        policy = &kStablyPolicy;
    // As for the hand-set rule: never a second run beside one still going.
    if (!policy || FreeingRun::AnyInProgress())
        return;
    if (m_memoryStatus.getStatusPhyAvaiMB() < policy->belowMB)
        m_freeingRun.Start(policy->runMB);
}
