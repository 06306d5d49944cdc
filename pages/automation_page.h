#pragma once
#include "drevcore.h"
#include "framework.h"
#include "freeing_run.h"

// The third page: two ready-made policies for freeing memory automatically.
// Once a minute the selected policy compares the available memory with its
// threshold and, below it, starts a freeing run of its size.
class CAutomationPage : public CDialog {
public:
    enum AutomationMode {
        ProgramsRunFaster = 0,
        ProgramsRunStably = 1,
        NoAutomation = 2,
        NoneSelected = -1
    };

    static constexpr UINT_PTR kCheckTimer = 1;
    static constexpr UINT kCheckPeriodMs = 60000;
    static constexpr UINT_PTR kSelectionTimer = 2;
    static constexpr UINT kSelectionPeriodMs = 100;

    // Creates the page's window, hidden, as a child of pParent; both timers
    // start with it.
    explicit CAutomationPage(CWnd* pParent);
    ~CAutomationPage() override;

    // The selected policy as of the selection timer's last tick: an AutomationMode.
    int Mode() const { return m_automationMode; }
    // Starts both timers again from now, with the same periods: the view
    // lines the pages' timers up with its own so that they wake the program
    // once.
    void RestartTimers()
    {
        SetTimer(kCheckTimer, kCheckPeriodMs);
        SetTimer(kSelectionTimer, kSelectionPeriodMs);
    }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

    DECLARE_MESSAGE_MAP()

private:
    void OnTimer(UINT_PTR nIDEvent);
    void CheckAutomation();

    CDMemoryStatus m_memoryStatus;
    FreeingRun m_freeingRun;
    int m_automationMode = NoneSelected;
};
