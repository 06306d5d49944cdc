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
        StandInSetPhysicalMemory(512, 300);
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
    static std::vector<LoggedCall> RuleTimerCalls(CRegularFreePage& page)
    {
        std::vector<LoggedCall> calls;
        for (const LoggedCall& call : CallLog::TimerCallsFor(page))
            if (call.timerId == CRegularFreePage::kRuleTimer)
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
    EXPECT_EQ(amountSlider.SendMessage(TBM_GETRANGEMAX), 512);
    EXPECT_EQ(thresholdSlider.SendMessage(TBM_GETRANGEMAX), 512);
    for (const CSliderCtrl* slider : {&amountSlider, &thresholdSlider})
        EXPECT_EQ(slider->SendMessage(TBM_GETPAGESIZE), 128) << "a click on the track";
    EXPECT_EQ(ControlText(*page, IDC_REGULAR_AMOUNT_TEXT), "0 MBs");
    EXPECT_EQ(ControlText(*page, IDC_THRESHOLD_TEXT), "0 MBs free");
    EXPECT_EQ(ControlText(*page, IDC_INTERVAL_EDIT), "100");
    int lower = 0, upper = 0;
    intervalSpin.SendMessage(UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
    EXPECT_EQ(lower, 10);
    EXPECT_EQ(upper, 60000);
    EXPECT_TRUE(RuleTimerCalls(*page).empty()) << "the rule must wait for Apply";
}

TEST_F(RegularFreePageTest, LargeMachinesKeepTheirWholeSliderRange)
{
    StandInSetPhysicalMemory(40000, 300);
    auto page = MakePage();
    EXPECT_EQ(amountSlider.SendMessage(TBM_GETRANGEMAX), 40000);
    EXPECT_EQ(thresholdSlider.SendMessage(TBM_GETRANGEMAX), 40000);
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
    Tick(*page, CRegularFreePage::kRuleTimer);
    ASSERT_EQ(StandInRunCount(), 1);
    EXPECT_EQ(StandInRunAmountMB(0), 300) << "N = 0 still frees the available amount";
    EXPECT_TRUE(IsPartOf(StandInRunObject(0), *page)) << "the page's own engine object";

    DragSlider(*page, IDC_REGULAR_AMOUNT_SLIDER, 200);
    StandInSetPhysicalMemory(512, 100);
    Tick(*page, CRegularFreePage::kRuleTimer);
    ASSERT_EQ(StandInRunCount(), 2);
    EXPECT_EQ(StandInRunAmountMB(1), 300);
}

TEST_F(RegularFreePageTest, ATickWhileARunIsGoingStartsNoSecondOneAndTheNextTickTriesAgain)
{
    auto page = MakePage();
    ApplyMode(*page, IDC_RADIO_FREE_MEMORY);
    StandInSetProgress(40);
    Tick(*page, CRegularFreePage::kRuleTimer);
    EXPECT_EQ(StandInRunCount(), 0);
    StandInSetProgress(100);
    Tick(*page, CRegularFreePage::kRuleTimer);
    EXPECT_EQ(StandInRunCount(), 1);
}

TEST_F(RegularFreePageTest, KeepAtLeastFreesTheThresholdOnlyStrictlyBelowIt)
{
    auto page = MakePage();
    ApplyMode(*page, IDC_RADIO_KEEP_AT_LEAST);
    StandInSetPhysicalMemory(512, 0);
    Tick(*page, CRegularFreePage::kRuleTimer);
    EXPECT_EQ(StandInRunCount(), 0) << "T = 0 never runs";

    StandInSetPhysicalMemory(512, 300);
    DragSlider(*page, IDC_THRESHOLD_SLIDER, 300);
    Tick(*page, CRegularFreePage::kRuleTimer);
    EXPECT_EQ(StandInRunCount(), 0) << "A equal to T does not run";

    DragSlider(*page, IDC_THRESHOLD_SLIDER, 301);
    Tick(*page, CRegularFreePage::kRuleTimer);
    ASSERT_EQ(StandInRunCount(), 1);
    EXPECT_EQ(StandInRunAmountMB(0), 301);
}

TEST_F(RegularFreePageTest, ApplyDownArmsTheRuleAtTheIntervalAndUpKillsIt)
{
    auto page = MakePage();
    intervalSpin.SetPos32(15);
    Click(*page, IDC_APPLY_TOGGLE);
    EXPECT_TRUE(IsChecked(*page, IDC_APPLY_TOGGLE));
    EXPECT_TRUE(SameSequence(Describe(RuleTimerCalls(*page)), {"SetTimer 1 15000 ms"}));

    // A new interval waits for the next Apply.
    intervalSpin.SetPos32(20);
    Click(*page, IDC_APPLY_TOGGLE);
    EXPECT_FALSE(page->Values().applied);
    Click(*page, IDC_APPLY_TOGGLE);
    const std::vector<LoggedCall> calls = RuleTimerCalls(*page);
    EXPECT_TRUE(SameSequence(Describe(calls), {"SetTimer 1 15000 ms", "KillTimer 1", "SetTimer 1 20000 ms"}));
    for (const LoggedCall& call : calls)
        EXPECT_NE(call.result, 0u) << call.Describe() << " was refused or found no timer";
}

TEST_F(RegularFreePageTest, ATypedIntervalOutsideTheRangeCannotMakeARunawayTimer)
{
    auto page = MakePage();
    for (const char* typed : {"0", "3", "99999999"}) {
        ::SetDlgItemTextA(*page, IDC_INTERVAL_EDIT, typed);
        Click(*page, IDC_APPLY_TOGGLE); // down
        std::vector<LoggedCall> calls = RuleTimerCalls(*page);
        ASSERT_FALSE(calls.empty());
        EXPECT_GE(calls.back().periodMs, 10000u) << typed;
        EXPECT_LE(calls.back().periodMs, 60000000u) << typed;
        Click(*page, IDC_APPLY_TOGGLE); // up
    }

    // What the spin cannot take leaves the last valid interval, in the box
    // too.
    intervalSpin.SetPos32(45);
    ::SetDlgItemTextA(*page, IDC_INTERVAL_EDIT, "5");
    Click(*page, IDC_APPLY_TOGGLE);
    EXPECT_EQ(RuleTimerCalls(*page).back().periodMs, 45000u);
    EXPECT_EQ(ControlText(*page, IDC_INTERVAL_EDIT), "45");
}

TEST_F(RegularFreePageTest, WhatTheViewRestoresShowsAndWhatItSavesIsRead)
{
    auto page = MakePage();
    RegularFreeValues restored;
    restored.mode = CRegularFreePage::FreeMemoryMode;
    restored.freeAmountMB = 64;
    restored.keepAtLeastMB = 128;
    restored.intervalPosResult = 30;
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
    EXPECT_EQ(saved.intervalPosResult, 30u);
}

} // namespace
