#include "free_memory_page.h"

#include <algorithm>

#include "page_text.h"
#include "program_icon.h"
#include "resource.h"

namespace {

// The engine's progress of a run: the bar's scale, and "no run" at its end.
constexpr int kCompletePercent = 100;

} // namespace

CFreeMemoryPage::CFreeMemoryPage(CWnd* pParent)
{
    Create(IDD_FREE_MEMORY_PAGE, pParent);
}

CFreeMemoryPage::~CFreeMemoryPage()
{
    DestroyWindow();
}

BEGIN_MESSAGE_MAP(CFreeMemoryPage, CDialog)
    ON_WM_HSCROLL()
    ON_WM_TIMER()
    ON_WM_SHOWWINDOW()
    ON_BN_CLICKED(IDC_FREE_BUTTON, OnFree)
END_MESSAGE_MAP()

void CFreeMemoryPage::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_FREE_BUTTON, m_freeButton);
    DDX_Control(pDX, IDC_FREE_AMOUNT_SLIDER, m_amountSlider);
    DDX_Control(pDX, IDC_RUN_PROGRESS, m_runProgress);
    DDX_Control(pDX, IDC_FORECAST_GAUGE, m_forecastGauge);
    DDX_Control(pDX, IDC_AVAILABLE_GAUGE, m_availableGauge);
    DDX_Text(pDX, IDC_AVAILABLE_TEXT, m_availableText);
    DDX_Text(pDX, IDC_FORECAST_TEXT, m_forecastText);
    DDX_Text(pDX, IDC_FREE_AMOUNT_TEXT, m_amountText);
}

BOOL CFreeMemoryPage::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_freeButton.SetIcon(LargeProgramIcon(IDI_BOLT, m_hWnd));
    m_toolTip.Create(this);
    m_toolTip.AddTool(m_freeButton);
    InitRanges();
    UpdateFigures();
    SetTimer(kFiguresTimer, kFiguresPeriodMs);
    return TRUE;
}

void CFreeMemoryPage::InitRanges()
{
    CDMemoryStatus status;
    // 32-bit ranges: a total above 32767 MB must not wrap.
    m_amountSlider.SetRange(0, static_cast<int>(status.getStatusPhyTotalMB()), FALSE);
    m_amountSlider.SetTicFreq(1);
    m_amountSlider.SetPageSize(kSliderPageMB);
    ShowAmount();
    m_availableGauge.SetRange32(0, static_cast<int>(status.getStatusPhyTotalMB()));
    m_forecastGauge.SetRange32(0, static_cast<int>(status.getStatusPhyTotalMB()));
    m_runProgress.SetRange32(0, kCompletePercent);
    UpdateData(FALSE);
}

void CFreeMemoryPage::UpdateFigures()
{
    CDMemoryStatus status;
    m_availableText = FormatText("Available Memory : %u MB", static_cast<unsigned>(status.getStatusPhyAvaiMB()));
    SetPosIfChanged(m_availableGauge, static_cast<int>(status.getStatusPhyAvaiMB()));

    const DWORD availableMB = status.getStatusPhyAvaiMB();
    DWORD forecast = static_cast<DWORD>(m_amountSlider.GetPos()) + availableMB;
    if (forecast > status.getStatusPhyTotalMB())
        forecast = status.getStatusPhyTotalMB();
    // A run holds no more than its reach (a 32-bit process's address space,
    // the commit left to others): what it cannot hold it cannot free, so
    // the forecast promises no more than that, or what is available anyway.
    forecast = std::min(forecast, std::max(availableMB, m_freeingRun.ReachMB()));
    m_forecastText = FormatText("After freeing, avaiable memory will approximately be : %u MB",
                                static_cast<unsigned>(forecast));
    SetPosIfChanged(m_forecastGauge, static_cast<int>(forecast));

    SetPosIfChanged(m_runProgress, static_cast<int>(m_freeingRun.ProgressPercent()));
    const bool running = m_freeingRun.InProgress();
    SetIconIfChanged(m_freeButton, LargeProgramIcon(running ? IDI_BOLT_GREY : IDI_BOLT, m_hWnd));
    EnableIfChanged(m_freeButton, !running);
    ShowIfChanged(m_runProgress, running);
    UpdateData(FALSE);
}

void CFreeMemoryPage::FollowRun()
{
    EnableIfChanged(m_freeButton, !m_freeingRun.InProgress());
}

void CFreeMemoryPage::ShowAmount()
{
    m_amountText = FormatText("%u MBs", static_cast<unsigned>(m_amountSlider.GetPos()));
    UpdateData(FALSE);
}

void CFreeMemoryPage::OnHScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar)
{
    ShowAmount();
    CWnd::OnHScroll(nSBCode, nPos, pScrollBar);
}

void CFreeMemoryPage::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == kFiguresTimer) {
        if (IsOnScreen(m_hWnd))
            UpdateFigures();
        else
            FollowRun();
    }
    CWnd::OnTimer(nIDEvent);
}

void CFreeMemoryPage::OnShowWindow(BOOL bShow, UINT nStatus)
{
    // Sent before the page appears: no tick passes with stale figures.
    if (bShow)
        UpdateFigures();
    CWnd::OnShowWindow(bShow, nStatus);
}

void CFreeMemoryPage::OnFree()
{
    // The forecast of the last update: what should be available afterwards.
    m_freeingRun.Start(m_forecastGauge.GetPos());
    m_amountSlider.SetPos(0);
    ShowAmount();
}
