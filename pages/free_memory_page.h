#pragma once
#include <string>

#include "drevcore.h"
#include "framework.h"
#include "freeing_run.h"

// The second page: frees a chosen amount of RAM on demand. Ten times a
// second it shows the available memory, the forecast after freeing and the
// progress of a run; the Free button is disabled while a run lasts. Out of
// sight it only follows the run, for the button, and shows the rest again
// as soon as it can be seen.
class CFreeMemoryPage : public CDialog {
public:
    static constexpr UINT_PTR kFiguresTimer = 1;
    static constexpr UINT kFiguresPeriodMs = 100;
    // A click on the slider's track: finer than a drag on a large machine
    // (a pixel of the track is some 240 MB of 24 GB), a useful amount in a
    // few clicks on any. The arrow keys keep their 1 MB.
    static constexpr int kSliderPageMB = 128;

    // Creates the page's window, hidden, as a child of pParent; kFiguresTimer
    // starts with it.
    explicit CFreeMemoryPage(CWnd* pParent);
    ~CFreeMemoryPage() override;

    // Shows every figure as it is now; the view calls it when the main
    // window comes back into sight with this page shown.
    void Refresh() { UpdateFigures(); }
    // Starts kFiguresTimer again from now, with the same period: the view lines
    // the pages' timers up with its own so that they wake the program once.
    void RestartTimer() { SetTimer(kFiguresTimer, kFiguresPeriodMs); }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

    DECLARE_MESSAGE_MAP()

private:
    void InitRanges();
    void UpdateFigures();
    // Out of sight: only the button's state follows the run.
    void FollowRun();
    // The amount text from the slider, written with the other texts.
    void ShowAmount();
    void OnHScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar);
    void OnTimer(UINT_PTR nIDEvent);
    void OnShowWindow(BOOL bShow, UINT nStatus);
    void OnFree();

    // Declared first: destroyed last, after the window is gone, so the
    // engine's wait for a run in progress comes after the last timer tick.
    FreeingRun m_freeingRun;
    CButton m_freeButton;
    CSliderCtrl m_amountSlider;
    CProgressCtrl m_runProgress;
    CProgressCtrl m_forecastGauge;
    CProgressCtrl m_availableGauge;
    std::string m_availableText;
    std::string m_forecastText;
    std::string m_amountText;
    CToolTipCtrl m_toolTip;
};
