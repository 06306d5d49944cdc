#pragma once
#include <string>

#include "drevcore.h"
#include "framework.h"
#include "freeing_run.h"
#include "regular_free_values.h"

// The fourth page: a hand-set rule run at a hand-set interval. "Free
// memory :" frees about N MB beyond what is available at every tick;
// "Keep at least :" frees T MB whenever less than T MB is available. The
// "Apply" toggle arms the rule (down) and stops it (up).
class CRegularFreePage : public CDialog {
public:
    enum RegularFreeMode {
        FreeMemoryMode = 0,
        KeepAtLeastMode = 1,
        NoneSelected = -1
    };

    static constexpr UINT_PTR kRuleTimer = 1;
    static constexpr int kMinIntervalSeconds = 10;
    static constexpr int kMaxIntervalSeconds = 60000;
    static constexpr int kInitialIntervalSeconds = 100;
    // A click on a slider's track, as on the Free Memory page.
    static constexpr int kSliderPageMB = 128;

    // Creates the page's window, hidden, as a child of pParent. The rule
    // does not run until "Apply" is pressed.
    explicit CRegularFreePage(CWnd* pParent);
    ~CRegularFreePage() override;

    // Reads the controls into the page, then returns what they show now.
    RegularFreeValues Values();
    // Shows the values of an earlier run: a mode other than the two is
    // ignored, as are amounts and intervals of zero and below (never kept);
    // only the interval's low word is a position. The rule stays disarmed:
    // the "Apply" toggle is never restored.
    void Restore(const RegularFreeValues& values);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

    DECLARE_MESSAGE_MAP()

private:
    void InitRegularFreeControls();
    // Both amount texts from the sliders, written with the other members.
    void ShowAmounts();
    void OnHScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar);
    void OnTimer(UINT_PTR nIDEvent);
    void OnApply();
    // The spin's position, the last valid interval, shown in the box again
    // if the box holds a text the spin could not take.
    int ShowValidInterval();

    CDMemoryStatus m_memoryStatus;
    FreeingRun m_freeingRun;
    CSpinButtonCtrl m_intervalSpin;
    CEdit m_intervalEdit;
    CSliderCtrl m_thresholdSlider;
    CSliderCtrl m_amountSlider;
    int m_applyState = 0;
    std::string m_amountText;
    std::string m_thresholdText;
    int m_regularFreeMode = NoneSelected;
};
