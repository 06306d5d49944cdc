// The form that fills the main window: the page area with one of the four
// pages, the page buttons, and the status strip (RAM gauge, automation
// label). Its status timer refreshes the strip and the tray icon, whose
// clicks it hears; it carries out every command of the main menu, and brings
// the Regular Free page's values in from the registry at start and out at
// exit.
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
    static_assert(kStatusTimer != CTrayIcon::kRetryTimer, "the view's window holds both timers");

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
    CTrayIcon& TrayIcon() { return m_trayIcon; }
    // The session ends: the process may be ended at any instant after, so
    // the values are saved and the tray icon goes now. When the program
    // closes itself next, its window's destruction saves nothing more.
    void OnSessionEnd(bool programCloses);

    // kStatusTimer: tray tip and image; RAM gauge and automation label
    // while the main window can be seen. The tray icon's kRetryTimer is its own.
    void OnTimer(UINT_PTR nIDEvent);
    void OnDestroy();
    // A left click on the tray icon shows the main window.
    LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);

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
    // Shows or hides the frame the view fills, which is the main window.
    void ShowFrame(int nCmdShow);
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
    bool m_saveAtDestroy = true;
};

// The label for an automation mode; other modes (none chosen) keep current.
std::string AutomationLabelFor(int automationMode, const std::string& current);
