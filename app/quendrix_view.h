// The form that fills the main window: the page area with one of the four
// pages, the page buttons, and the status strip (RAM gauge, automation
// label). It owns the tray icon and the status timer that refreshes both,
// carries out every command of the main menu, and brings the Regular Free
// page's values in from the registry at start and out at exit.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "automation_page.h"
#include "form_view.h"
#include "framework.h"
#include "free_memory_page.h"
#include "memory_status_page.h"
#include "regular_free_page.h"
#include "registry_roots.h"
#include "tray_icon.h"

class CQuendrixView : public CFormView {
public:
    // Page-table order: page buttons 1000-1003 and the View commands select them so.
    enum PageIndex {
        MemoryStatusPage,
        FreeMemoryPage,
        AutomationPage,
        RegularFreePage,
        PageCount
    };

    static constexpr UINT_PTR kStatusTimer = 1;
    static constexpr UINT kStatusPeriodMs = 500;
    static constexpr UINT kLowRateStatusPeriodMs = 5000;
    // While the shell refuses the tray icon (busy or not yet up at log-on):
    // another add every 2 s, for 2 minutes at most.
    static constexpr UINT_PTR kTrayRetryTimer = 2;
    static constexpr UINT kTrayRetryPeriodMs = 2000;
    static constexpr int kTrayRetryCount = 60;

    explicit CQuendrixView(SettingsRoots settingsRoots = {});
    ~CQuendrixView() override;

    void DoDataExchange(CDataExchange* pDX) override;
    // Builds the pages and the status strip, shows the Memory Status page,
    // starts the timers, adds the tray icon and restores the saved values;
    // the application decides whether the main window is shown. Runs once:
    // the pages are made only once however often the framework asks.
    void OnInitialUpdate() override;

    // Shows the page at index and hides the other three.
    void ShowPage(int index);
    // The main window is in sight again: the status strip and the shown
    // page catch up with what they skipped while it could not be seen.
    void OnFrameShown() override;
    CAutomationPage* GetAutomationPage() const;
    CRegularFreePage* GetRegularFreePage() const;

    // Timer 1: tray tip and image; RAM gauge and automation label while
    // the main window can be seen.
    void OnTimer(UINT_PTR nIDEvent);
    void OnDestroy();
    // The session ends (wParam TRUE): the process may be ended at any
    // instant once this returns, so the values are saved, the tray icon
    // goes and runs in progress end now. FALSE (cancelled) changes nothing.
    LRESULT OnEndSession(WPARAM wParam, LPARAM lParam);
    // Another start of the program asks this one to come forward: the
    // main window is shown as a click on the tray icon shows it. Answers
    // kCameForwardAnswer, or 0 before the view is set up.
    LRESULT OnComeForward(WPARAM wParam, LPARAM lParam);
    LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    LRESULT OnTaskbarCreated(WPARAM wParam, LPARAM lParam);

    void OnMemoryStatusPage() { ShowPage(MemoryStatusPage); }
    void OnFreeMemoryPage() { ShowPage(FreeMemoryPage); }
    void OnAutomationPage() { ShowPage(AutomationPage); }
    void OnRegularFreePage() { ShowPage(RegularFreePage); }
    void OnPreference();
    void OnHideToTray();
    void OnExit();
    void OnAboutHalvenmark();
    void OnWebSite();

protected:
    DECLARE_MESSAGE_MAP()

private:
    CFreeMemoryPage* GetFreeMemoryPage() const;
    void CreatePages();
    void PlacePagesOnPageArea();
    // The gauge and the label are written only when onScreen; the tray
    // icon always follows the figures.
    void UpdateStatus(bool onScreen);
    // Starts the retries when the shell has not taken the tray icon.
    void KeepTrayIcon();
    void RetryTrayIcon();
    // Reads the update rate and, when remembered, the Regular Free page's values.
    void RestoreView();
    // Writes the Regular Free page's values, whatever "remember" says.
    void SaveView();

    SettingsRoots m_settingsRoots;
    CTrayIcon m_trayIcon;
    std::array<std::unique_ptr<CDialog>, PageCount> m_pages;
    CProgressCtrl m_ramGauge;
    CButton m_regularFreeButton;
    CButton m_automationButton;
    CButton m_freeMemoryButton;
    CButton m_memoryStatusButton;
    CToolTipCtrl m_toolTip;
    std::string m_automationText;
    int m_shownPage = MemoryStatusPage;
    // A status tick passed out of sight: the next show brings the figures up.
    // None passes before the pages exist, so no show catches up before them.
    bool m_statusBehind = false;
    int m_trayRetriesLeft = 0;
};

// The label for an automation mode; other modes (none chosen) keep current.
std::string AutomationLabelFor(int automationMode, const std::string& current);
