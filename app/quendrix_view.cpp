#include "quendrix_view.h"

#include "drevcore.h"
#include "preference_dlg.h"
#include "program_icon.h"
#include "resource.h"

std::string AutomationLabelFor(int automationMode, const std::string& current)
{
    switch (automationMode) {
    case CAutomationPage::ProgramsRunFaster:
        return "Automation : Programs run faster";
    case CAutomationPage::ProgramsRunStably:
        return "Automation : Programs run stably";
    case CAutomationPage::NoAutomation:
        return "Automation : None";
    default:
        return current;
    }
}

CQuendrixView::CQuendrixView(SettingsRoots settingsRoots)
    : CFormView(IDD_QUENDRIX_FORM), m_settingsRoots(settingsRoots)
{
}

CQuendrixView::~CQuendrixView() = default;

BEGIN_MESSAGE_MAP(CQuendrixView, CFormView)
    ON_WM_TIMER()
    ON_WM_DESTROY()
    ON_MESSAGE(CTrayIcon::kCallbackMessage, OnTrayNotify)
    ON_BN_CLICKED(IDC_PAGE_BUTTON_STATUS, OnMemoryStatusPage)
    ON_BN_CLICKED(IDC_PAGE_BUTTON_FREE, OnFreeMemoryPage)
    ON_BN_CLICKED(IDC_PAGE_BUTTON_AUTOMATION, OnAutomationPage)
    ON_BN_CLICKED(IDC_PAGE_BUTTON_REGULAR, OnRegularFreePage)
    ON_COMMAND(ID_VIEW_MEMORY_STATUS, OnMemoryStatusPage)
    ON_COMMAND(ID_VIEW_FREE_MEMORY, OnFreeMemoryPage)
    ON_COMMAND(ID_VIEW_AUTOMATION, OnAutomationPage)
    ON_COMMAND(ID_VIEW_REGULAR_FREE, OnRegularFreePage)
    ON_COMMAND(ID_TOOLS_PREFERENCE, OnPreference)
    ON_COMMAND(ID_FILE_HIDE_TO_TRAY, OnHideToTray)
    ON_COMMAND(ID_FILE_EXIT, OnExit)
    ON_COMMAND(ID_HELP_ABOUT, OnAboutHalvenmark)
    ON_COMMAND(ID_HELP_WEB_SITE, OnWebSite)
END_MESSAGE_MAP()

void CQuendrixView::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_RAM_GAUGE, m_ramGauge);
    DDX_Control(pDX, IDC_PAGE_BUTTON_REGULAR, m_regularFreeButton);
    DDX_Control(pDX, IDC_PAGE_BUTTON_AUTOMATION, m_automationButton);
    DDX_Control(pDX, IDC_PAGE_BUTTON_FREE, m_freeMemoryButton);
    DDX_Control(pDX, IDC_PAGE_BUTTON_STATUS, m_memoryStatusButton);
    DDX_Text(pDX, IDC_AUTOMATION_LABEL, m_automationText);
}

void CQuendrixView::OnInitialUpdate()
{
    // A second set of pages would run two automations and save twice.
    if (m_pages[MemoryStatusPage])
        return;
    CFormView::OnInitialUpdate();

    m_memoryStatusButton.SetIcon(LargeProgramIcon(IDI_SCREEN, m_hWnd));
    m_freeMemoryButton.SetIcon(LargeProgramIcon(IDI_CHIP, m_hWnd));
    m_automationButton.SetIcon(LargeProgramIcon(IDI_STAR, m_hWnd));
    m_regularFreeButton.SetIcon(LargeProgramIcon(IDI_ALARM_CLOCK, m_hWnd));
    m_toolTip.Create(this);
    for (HWND button : {m_memoryStatusButton.m_hWnd, m_freeMemoryButton.m_hWnd, m_automationButton.m_hWnd,
                        m_regularFreeButton.m_hWnd})
        m_toolTip.AddTool(button);

    CreatePages();
    PlacePagesOnPageArea();
    m_pages[MemoryStatusPage]->ShowWindow(SW_SHOWNORMAL);

    // 32-bit range: a machine with 64 GB or more must not wrap the gauge.
    CDMemoryStatus status;
    m_ramGauge.SetRange32(0, static_cast<int>(status.getStatusPhyTotalMB()));

    SetTimer(kStatusTimer, kStatusPeriodMs);
    // Set again in the same instant as the status timer, the pages' timers
    // expire together with it: one wake-up of the program instead of one
    // for each, which is most of what an idle program costs.
    GetFreeMemoryPage()->RestartTimer();
    GetAutomationPage()->RestartTimers();
    m_trayIcon.Add(m_hWnd);
    RestoreView();
}

void CQuendrixView::CreatePages()
{
    m_pages[MemoryStatusPage] = std::make_unique<CMemoryStatusPage>(this);
    m_pages[FreeMemoryPage] = std::make_unique<CFreeMemoryPage>(this);
    m_pages[AutomationPage] = std::make_unique<CAutomationPage>(this);
    m_pages[RegularFreePage] = std::make_unique<CRegularFreePage>(this);
}

void CQuendrixView::PlacePagesOnPageArea()
{
    CWnd* pageArea = GetDlgItem(IDC_PAGE_AREA);
    if (!pageArea)
        return;
    RECT area;
    pageArea->GetWindowRect(&area);
    ScreenToClient(&area);
    // On top of the z-order: the page area's frame and the grey rectangle
    // clip their siblings, and a page beneath them would not be drawn.
    for (const auto& page : m_pages)
        ::SetWindowPos(page->m_hWnd, HWND_TOP, area.left, area.top, area.right - area.left,
                       area.bottom - area.top, SWP_NOACTIVATE);
}

void CQuendrixView::ShowPage(int index)
{
    m_shownPage = index;
    for (int i = 0; i < PageCount; ++i) {
        if (CDialog* page = m_pages[static_cast<size_t>(i)].get())
            page->ShowWindow(i == index ? SW_SHOWNORMAL : SW_HIDE);
    }
}

CFreeMemoryPage* CQuendrixView::GetFreeMemoryPage() const
{
    return static_cast<CFreeMemoryPage*>(m_pages[FreeMemoryPage].get());
}

CAutomationPage* CQuendrixView::GetAutomationPage() const
{
    return static_cast<CAutomationPage*>(m_pages[AutomationPage].get());
}

CRegularFreePage* CQuendrixView::GetRegularFreePage() const
{
    return static_cast<CRegularFreePage*>(m_pages[RegularFreePage].get());
}

void CQuendrixView::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == kStatusTimer) {
        const bool onScreen = IsOnScreen(m_hWnd);
        UpdateStatus(onScreen);
        m_statusBehind = !onScreen;
    } else {
        m_trayIcon.OnTimer(nIDEvent);
    }
    CWnd::OnTimer(nIDEvent);
}

void CQuendrixView::OnFrameShown()
{
    if (m_statusBehind) {
        UpdateStatus(true);
        m_statusBehind = false;
    }
    if (m_shownPage == FreeMemoryPage)
        GetFreeMemoryPage()->Refresh();
}

void CQuendrixView::UpdateStatus(bool onScreen)
{
    CDMemoryStatus status;
    if (onScreen) {
        SetPosIfChanged(m_ramGauge, static_cast<int>(status.getStatusPhyAvaiMB()));
        if (const CAutomationPage* automation = GetAutomationPage())
            m_automationText = AutomationLabelFor(automation->Mode(), m_automationText);
        UpdateData(FALSE);
    }
    m_trayIcon.Refresh(TrayStatusFor(status.getStatusPhyAvaiMB(), status.getStatusPhyTotalMB()));
}

void CQuendrixView::ShowFrame(int nCmdShow)
{
    if (CWnd* frame = GetParentFrame())
        frame->ShowWindow(nCmdShow);
}

void CQuendrixView::OnDestroy()
{
    CFormView::OnDestroy();
    m_trayIcon.Remove();
    if (m_saveAtDestroy)
        SaveView();
}

void CQuendrixView::OnSessionEnd(bool programCloses)
{
    // The values first: they are what a user would lose if the system ends
    // the process before the session-end handler is done.
    SaveView();
    m_trayIcon.Remove();
    m_saveAtDestroy = !programCloses;
}

LRESULT CQuendrixView::OnTrayNotify(WPARAM, LPARAM lParam)
{
    if (static_cast<UINT>(lParam) == WM_LBUTTONUP)
        ShowFrame(SW_SHOWNORMAL);
    return 0;
}

void CQuendrixView::OnPreference()
{
    CPreferenceDlg dialog(nullptr, m_settingsRoots);
    dialog.DoModal();
}

void CQuendrixView::OnHideToTray()
{
    ShowFrame(SW_HIDE);
}

void CQuendrixView::OnExit()
{
    if (CWnd* frame = GetParentFrame())
        frame->DestroyWindow();
}

void CQuendrixView::OnAboutHalvenmark()
{
    CDialog dialog(IDD_ABOUT_HALVENMARK, this);
    dialog.DoModal();
}

void CQuendrixView::OnWebSite()
{
    CDialog dialog(IDD_WEB_SITE, this);
    dialog.DoModal();
}
