#pragma once
#include <string>

#include "drevcore.h"
#include "framework.h"

// The fourth page: a hand-set rule run at a hand-set interval. "Free
// memory :" frees about N MB beyond what is available at every tick;
// "Keep at least :" frees T MB whenever less than T MB is available. The
// "Apply" toggle arms the rule (down) and stops it (up).
class CRegularFreePage : public CDialog {
public:
    enum RegularFreeMode { FreeMemoryMode = 0, KeepAtLeastMode = 1, NoneSelected = -1 };

    // Creates the page's window, hidden, as a child of pParent. The rule
    // does not run until "Apply" is pressed.
    explicit CRegularFreePage(CWnd* pParent);
    ~CRegularFreePage() override;

    CDMemoryStatus m_memoryStatus;
    CDMemoryFree m_memoryFree;
    // The controls and members the main view saves and restores.
    CSpinButtonCtrl m_intervalSpin;
    CEdit m_intervalEdit;
    CSliderCtrl m_thresholdSlider;
    CSliderCtrl m_amountSlider;
    int m_applyState = 0;
    std::string m_amountText;
    std::string m_thresholdText;
    int m_regularFreeMode = NoneSelected;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

    void InitRegularFreeControls();
    void OnHScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar);
    void OnTimer(UINT_PTR nIDEvent);
    void OnApply();

    static constexpr UINT_PTR ruleTimer = 1;
    static constexpr int minIntervalSeconds = 10;
    static constexpr int maxIntervalSeconds = 60000;
    static constexpr int initialIntervalSeconds = 100;

    DECLARE_MESSAGE_MAP()
};
