#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "engine_standin.h"
#include "page_fixture.h"
#include "regular_free_page.h"
#include "resource.h"

namespace {

class RegularFreePageTest : public PageTest {
protected:
    void SetUp() override
    {
        PageTest::SetUp();
        SetMemory(512, 300);
    }
    static void SetMemory(DWORD totalMB, DWORD availableMB)
    {
        StandInFigures figures = DefaultStandInFigures();
        figures.phyTotalMB = totalMB;
        figures.phyAvaiMB = availableMB;
        StandInSetFigures(figures);
    }
    std::unique_ptr<CRegularFreePage> MakePage()
    {
        auto page = std::make_unique<CRegularFreePage>(&host);
        EXPECT_NE(page->m_hWnd, nullptr);
        amountSlider.Attach(::GetDlgItem(*page, IDC_REGULAR_AMOUNT_SLIDER));
        thresholdSlider.Attach(::GetDlgItem(*page, IDC_THRESHOLD_SLIDER));
        intervalSpin.Attach(::GetDlgItem(*page, IDC_INTERVAL_SPIN));
        return page;
    }
    // The page's controls, as its own members see them.
    CSliderCtrl amountSlider;
    CSliderCtrl thresholdSlider;
    CSpinButtonCtrl intervalSpin;
    // Chooses a mode and presses "Apply" down, which reads the choice.
    static void ApplyMode(CRegularFreePage& page, int radioId)
    {
        Click(page, radioId);
        Click(page, IDC_APPLY_TOGGLE);
        ASSERT_TRUE(page.Values().applied);
    }
    static std::vector<TimerCall> RuleTimerCalls(CRegularFreePage& page)
    {
        std::vector<TimerCall> calls;
        for (const TimerCall& call : TimerLog::CallsFor(page))
            if (call.id == CRegularFreePage::ruleTimer)
                calls.push_back(call);
        return calls;
    }
};

TEST_F(RegularFreePageTest, StartsKeepingAtLeastZeroWithTheRuleDisarmed)
{
    auto page = MakePage();
    EXPECT_EQ(page->Values().mode, 1);
    EXPECT_TRUE(IsChecked(*page, IDC_RADIO_KEEP_AT_LEAST));
    EXPECT_FALSE(IsChecked(*page, IDC_RADIO_FREE_MEMORY));
    EXPECT_FALSE(IsChecked(*page, IDC_APPLY_TOGGLE));
    EXPECT_FALSE(page->Values().applied);
    EXPECT_EQ(amountSlider.GetPos(), 0);
    EXPECT_EQ(thresholdSlider.GetPos(), 0);
    EXPECT_EQ(amountSlider.GetRangeMax(), 512);
    EXPECT_EQ(thresholdSlider.GetRangeMax(), 512);
    EXPECT_EQ(ControlText(*page, IDC_REGULAR_AMOUNT_TEXT), "0 MBs");
    EXPECT_EQ(ControlText(*page, IDC_THRESHOLD_TEXT), "0 MBs free");
    EXPECT_EQ(ControlText(*page, IDC_INTERVAL_EDIT), "100");
    int lower = 0, upper = 0;
    intervalSpin.GetRange32(lower, upper);
    EXPECT_EQ(lower, 10);
    EXPECT_EQ(upper, 60000);
    EXPECT_TRUE(RuleTimerCalls(*page).empty()) << "the rule must wait for Apply";
}

TEST_F(RegularFreePageTest, LargeMachinesKeepTheirWholeSliderRange)
{
    SetMemory(40000, 300);
    auto page = MakePage();
    EXPECT_EQ(amountSlider.GetRangeMax(), 40000);
    EXPECT_EQ(thresholdSlider.GetRangeMax(), 40000);
    DragSlider(*page, IDC_THRESHOLD_SLIDER, 39000);
    EXPECT_EQ(ControlText(*page, IDC_THRESHOLD_TEXT), "39000 MBs free");
}

TEST_F(RegularFreePageTest, EitherSliderRewritesBothTexts)
{
    auto page = MakePage();
    DragSlider(*page, IDC_REGULAR_AMOUNT_SLIDER, 256);
    EXPECT_EQ(ControlText(*page, IDC_REGULAR_AMOUNT_TEXT), "256 MBs");
    EXPECT_EQ(ControlText(*page, IDC_THRESHOLD_TEXT), "0 MBs free");
    // Moved in code, reported by the other slider: both texts follow.
    amountSlider.SetPos(128);
    DragSlider(*page, IDC_THRESHOLD_SLIDER, 64);
    EXPECT_EQ(ControlText(*page, IDC_REGULAR_AMOUNT_TEXT), "128 MBs");
    EXPECT_EQ(ControlText(*page, IDC_THRESHOLD_TEXT), "64 MBs free");
}

TEST_F(RegularFreePageTest, ASliderMovePutsTheRadioButtonsBackToTheHeldMode)
{
    auto page = MakePage();
    Click(*page, IDC_RADIO_FREE_MEMORY);
    EXPECT_TRUE(IsChecked(*page, IDC_RADIO_FREE_MEMORY));
    DragSlider(*page, IDC_REGULAR_AMOUNT_SLIDER, 10);
    EXPECT_TRUE(IsChecked(*page, IDC_RADIO_KEEP_AT_LEAST));
    EXPECT_FALSE(IsChecked(*page, IDC_RADIO_FREE_MEMORY));
    EXPECT_EQ(page->Values().mode, 1);
}

TEST_F(RegularFreePageTest, FreeMemoryModeAsksForTheAvailableAmountPlusN)
{
    auto page = MakePage();
    ApplyMode(*page, IDC_RADIO_FREE_MEMORY);
    EXPECT_EQ(page->Values().mode, 0);
    Tick(*page, CRegularFreePage::ruleTimer);
    ASSERT_EQ(StandInRunCount(), 1);
    EXPECT_EQ(StandInRunAmountMB(0), 300) << "N = 0 still frees the available amount";
    EXPECT_TRUE(IsPartOf(StandInRunObject(0), *page)) << "the page's own engine object";

    DragSlider(*page, IDC_REGULAR_AMOUNT_SLIDER, 200);
    SetMemory(512, 100);
    Tick(*page, CRegularFreePage::ruleTimer);
    ASSERT_EQ(StandInRunCount(), 2);
    EXPECT_EQ(StandInRunAmountMB(1), 300);
}

TEST_F(RegularFreePageTest, KeepAtLeastFreesTheThresholdOnlyStrictlyBelowIt)
{
    auto page = MakePage();
    ApplyMode(*page, IDC_RADIO_KEEP_AT_LEAST);
    SetMemory(512, 0);
    Tick(*page, CRegularFreePage::ruleTimer);
    EXPECT_EQ(StandInRunCount(), 0) << "T = 0 never runs";

    SetMemory(512, 300);
    DragSlider(*page, IDC_THRESHOLD_SLIDER, 300);
    Tick(*page, CRegularFreePage::ruleTimer);
    EXPECT_EQ(StandInRunCount(), 0) << "A equal to T does not run";

    DragSlider(*page, IDC_THRESHOLD_SLIDER, 301);
    Tick(*page, CRegularFreePage::ruleTimer);
    ASSERT_EQ(StandInRunCount(), 1);
    EXPECT_EQ(StandInRunAmountMB(0), 301);
}

TEST_F(RegularFreePageTest, ApplyDownArmsTheRuleAtTheIntervalAndUpKillsIt)
{
    auto page = MakePage();
    intervalSpin.SetPos32(15);
    Click(*page, IDC_APPLY_TOGGLE);
    EXPECT_TRUE(IsChecked(*page, IDC_APPLY_TOGGLE));
    std::vector<TimerCall> calls = RuleTimerCalls(*page);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_FALSE(calls[0].kill);
    EXPECT_EQ(calls[0].periodMs, 15000u);
    EXPECT_NE(calls[0].result, 0u);

    // A new interval waits for the next Apply.
    intervalSpin.SetPos32(20);
    EXPECT_EQ(RuleTimerCalls(*page).size(), 1u);

    Click(*page, IDC_APPLY_TOGGLE);
    EXPECT_FALSE(page->Values().applied);
    calls = RuleTimerCalls(*page);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_TRUE(calls[1].kill);
    EXPECT_NE(calls[1].result, 0u) << "the timer was not running";

    Click(*page, IDC_APPLY_TOGGLE);
    calls = RuleTimerCalls(*page);
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[2].periodMs, 20000u);
}

TEST_F(RegularFreePageTest, ATypedIntervalOutsideTheRangeCannotMakeARunawayTimer)
{
    auto page = MakePage();
    for (const char* typed : {"0", "3", "99999999"}) {
        ::SetDlgItemTextA(*page, IDC_INTERVAL_EDIT, typed);
        Click(*page, IDC_APPLY_TOGGLE); // down
        std::vector<TimerCall> calls = RuleTimerCalls(*page);
        ASSERT_FALSE(calls.empty());
        EXPECT_GE(calls.back().periodMs, 10000u) << typed;
        EXPECT_LE(calls.back().periodMs, 60000000u) << typed;
        Click(*page, IDC_APPLY_TOGGLE); // up
    }
}

TEST_F(RegularFreePageTest, WhatTheViewRestoresShowsAndWhatItSavesIsRead)
{
    auto page = MakePage();
    RegularFreeValues restored;
    restored.mode = CRegularFreePage::FreeMemoryMode;
    restored.freeAmountMB = 64;
    restored.keepAtLeastMB = 128;
    restored.intervalAnswer = 30;
    restored.applied = true;
    page->Restore(restored);
    EXPECT_TRUE(IsChecked(*page, IDC_RADIO_FREE_MEMORY));
    EXPECT_EQ(ControlText(*page, IDC_REGULAR_AMOUNT_TEXT), "64 MBs");
    EXPECT_EQ(ControlText(*page, IDC_THRESHOLD_TEXT), "128 MBs free");
    EXPECT_EQ(ControlText(*page, IDC_INTERVAL_EDIT), "30");
    EXPECT_FALSE(IsChecked(*page, IDC_APPLY_TOGGLE)) << "the toggle is never restored";
    EXPECT_TRUE(RuleTimerCalls(*page).empty()) << "a restore does not arm the rule";

    Click(*page, IDC_APPLY_TOGGLE);
    Click(*page, IDC_RADIO_KEEP_AT_LEAST);
    const RegularFreeValues saved = page->Values();
    EXPECT_TRUE(saved.applied);
    EXPECT_EQ(saved.mode, CRegularFreePage::KeepAtLeastMode);
    EXPECT_EQ(saved.freeAmountMB, 64);
    EXPECT_EQ(saved.keepAtLeastMB, 128);
    EXPECT_EQ(saved.intervalAnswer, 30u);
}

} // namespace
