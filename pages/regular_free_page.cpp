#include "regular_free_page.h"

#include <algorithm>

#include "page_text.h"
#include "resource.h"

CRegularFreePage::CRegularFreePage(CWnd* pParent)
{
    Create(IDD_REGULAR_FREE_PAGE, pParent);
}

CRegularFreePage::~CRegularFreePage()
{
    DestroyWindow();
}

BEGIN_MESSAGE_MAP(CRegularFreePage, CDialog)
    ON_WM_TIMER()
    ON_WM_HSCROLL()
    ON_BN_CLICKED(IDC_APPLY_TOGGLE, OnApply)
END_MESSAGE_MAP()

void CRegularFreePage::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_INTERVAL_SPIN, m_intervalSpin);
    DDX_Control(pDX, IDC_INTERVAL_EDIT, m_intervalEdit);
    DDX_Control(pDX, IDC_THRESHOLD_SLIDER, m_thresholdSlider);
    DDX_Control(pDX, IDC_REGULAR_AMOUNT_SLIDER, m_amountSlider);
    DDX_Check(pDX, IDC_APPLY_TOGGLE, m_applyState);
    DDX_Text(pDX, IDC_REGULAR_AMOUNT_TEXT, m_amountText);
    DDX_Text(pDX, IDC_THRESHOLD_TEXT, m_thresholdText);
    DDX_Radio(pDX, IDC_RADIO_FREE_MEMORY, m_regularFreeMode);
}

BOOL CRegularFreePage::OnInitDialog()
{
    CDialog::OnInitDialog();
    InitRegularFreeControls();
    return TRUE;
}

void CRegularFreePage::InitRegularFreeControls()
{
    CDMemoryStatus status;
    // 32-bit ranges: a total above 32767 MB must not wrap.
    m_amountSlider.SetRange(0, static_cast<int>(status.getStatusPhyTotalMB()), FALSE);
    m_thresholdSlider.SetRange(0, static_cast<int>(status.getStatusPhyTotalMB()), FALSE);
    m_amountSlider.SetTicFreq(1);
    m_thresholdSlider.SetTicFreq(1);
    m_amountSlider.SetPageSize(kSliderPageMB);
    m_thresholdSlider.SetPageSize(kSliderPageMB);
    ShowAmounts();
    m_intervalSpin.SetRange32(kMinIntervalSeconds, kMaxIntervalSeconds);
    m_intervalSpin.SetPos32(kInitialIntervalSeconds);
    m_regularFreeMode = KeepAtLeastMode;
    UpdateData(FALSE);
}

RegularFreeValues CRegularFreePage::Values()
{
    UpdateData(TRUE);
    RegularFreeValues values;
    values.mode = m_regularFreeMode;
    values.freeAmountMB = m_amountSlider.GetPos();
    values.keepAtLeastMB = m_thresholdSlider.GetPos();
    ShowValidInterval();
    values.intervalPosResult = m_intervalSpin.GetPos();
    values.applied = m_applyState == BST_CHECKED;
    return values;
}

void CRegularFreePage::Restore(const RegularFreeValues& values)
{
    if (values.mode == FreeMemoryMode || values.mode == KeepAtLeastMode)
        m_regularFreeMode = values.mode;
    if (values.freeAmountMB > 0)
        m_amountSlider.SetPos(values.freeAmountMB);
    if (values.keepAtLeastMB > 0)
        m_thresholdSlider.SetPos(values.keepAtLeastMB);
    if (static_cast<std::int32_t>(values.intervalPosResult) > 0)
        m_intervalSpin.SetPos32(LOWORD(values.intervalPosResult));
    UpdateData(FALSE);
    ShowAmounts();
}

void CRegularFreePage::ShowAmounts()
{
    m_amountText = FormatText("%u MBs", static_cast<unsigned>(m_amountSlider.GetPos()));
    m_thresholdText = FormatText("%u MBs free", static_cast<unsigned>(m_thresholdSlider.GetPos()));
    // This also puts the radio buttons and the toggle back to the members:
    // a choice counts only once "Apply" has read it.
    UpdateData(FALSE);
}

void CRegularFreePage::OnHScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar)
{
    ShowAmounts();
    CWnd::OnHScroll(nSBCode, nPos, pScrollBar);
}

void CRegularFreePage::OnTimer(UINT_PTR nIDEvent)
{
    // A run still going (this rule's or another page's) would be doubled
    // by a second one beside it; the next tick tries again.
    if (nIDEvent == kRuleTimer && !FreeingRun::AnyInProgress()) {
        if (m_regularFreeMode == FreeMemoryMode) {
            const int amount = m_amountSlider.GetPos();
            m_freeingRun.Start(static_cast<int>(m_memoryStatus.getStatusPhyAvaiMB()) + amount);
        } else if (m_regularFreeMode == KeepAtLeastMode) {
            const DWORD threshold = static_cast<DWORD>(m_thresholdSlider.GetPos());
            if (m_memoryStatus.getStatusPhyAvaiMB() < threshold)
                m_freeingRun.Start(m_thresholdSlider.GetPos());
        }
    }
    CWnd::OnTimer(nIDEvent);
}

void CRegularFreePage::OnApply()
{
    // Down arms the rule with the mode and interval shown now; up stops it.
    // A changed interval or mode therefore needs the toggle up, then down.
    UpdateData(TRUE);
    if (m_applyState != BST_CHECKED) {
        KillTimer(kRuleTimer);
        return;
    }
    // A typed interval outside the spin's range must not make a runaway
    // timer: the period stays within 10 s to 60000 s.
    const int seconds = std::clamp(ShowValidInterval(), kMinIntervalSeconds, kMaxIntervalSeconds);
    SetTimer(kRuleTimer, static_cast<UINT>(seconds) * 1000u);
}

int CRegularFreePage::ShowValidInterval()
{
    // A text the spin cannot take (not a number, or outside its range)
    // leaves the spin at its last valid position: the box shows that again,
    // so that what runs, what is stored and what is shown agree.
    BOOL invalid = FALSE;
    const int seconds = m_intervalSpin.GetPos32(&invalid);
    if (invalid)
        m_intervalSpin.SetPos32(seconds);
    return seconds;
}
