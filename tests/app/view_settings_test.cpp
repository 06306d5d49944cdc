#include <windows.h>
#include <commctrl.h>

#include "app_fixture.h"
#include "resource.h"

namespace {

class ViewSettingsTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        StandInSetPhysicalMemory(2048, 1500);
    }
    CRegularFreePage& Regular() const { return *View()->GetRegularFreePage(); }
    HWND RegularPage() const { return Regular().m_hWnd; }
    int SliderPos(int id) const { return static_cast<int>(::SendDlgItemMessage(RegularPage(), id, TBM_GETPOS, 0, 0)); }
    void SetSliderPos(int id, int position) const { ::SendDlgItemMessage(RegularPage(), id, TBM_SETPOS, TRUE, position); }
    DWORD SpinAnswer() const { return static_cast<DWORD>(::SendDlgItemMessage(RegularPage(), IDC_INTERVAL_SPIN, UDM_GETPOS, 0, 0)); }
    void SetSpinPos(int position) const { ::SendDlgItemMessage(RegularPage(), IDC_INTERVAL_SPIN, UDM_SETPOS32, 0, position); }
    std::vector<UINT> StatusTimerPeriods() const
    {
        std::vector<UINT> periods;
        for (const LoggedCall& call : CallLog::Calls(LoggedCall::SetTimer))
            if (call.window == View()->m_hWnd && call.timerId == CQuendrixView::kStatusTimer)
                periods.push_back(call.periodMs);
        return periods;
    }
    // The page as it starts without any restore.
    void ExpectPageStartValues() const
    {
        EXPECT_EQ(SliderPos(IDC_REGULAR_AMOUNT_SLIDER), 0);
        EXPECT_EQ(SliderPos(IDC_THRESHOLD_SLIDER), 0);
        EXPECT_EQ(LOWORD(SpinAnswer()), CRegularFreePage::kInitialIntervalSeconds);
    }
};

TEST_F(ViewSettingsTest, LowUpdateRateRestartsTheStatusTimerAtFiveSeconds)
{
    PutSetting("setting04", 1);
    ASSERT_TRUE(StartApp());
    EXPECT_EQ(StatusTimerPeriods(), (std::vector<UINT>{500, 5000}));
}

TEST_F(ViewSettingsTest, OnlyExactlyOneLowersTheRate)
{
    PutSetting("setting04", 2);
    ASSERT_TRUE(StartApp());
    EXPECT_EQ(StatusTimerPeriods(), (std::vector<UINT>{500}));
}

TEST_F(ViewSettingsTest, RememberOffLeavesThePageAsItStartsAndTheApplyUp)
{
    for (DWORD remember : {0u, 2u}) {
        PutSetting("setting03", remember);
        PutSetting("page41-01", 0);
        PutSetting("page41-02", 500);
        PutSetting("page41-03", 300);
        PutSetting("page41-04", 20);
        ASSERT_TRUE(StartApp());
        EXPECT_EQ(Regular().Values().mode, CRegularFreePage::KeepAtLeastMode) << remember;
        ExpectPageStartValues();
        DestroyMainWindow();
        m_app.reset();
    }
}

TEST_F(ViewSettingsTest, RememberOnWithNothingStoredSelectsFreeMemoryAndKeepsTheRest)
{
    PutSetting("setting03", 1);
    ASSERT_TRUE(StartApp());
    EXPECT_EQ(Regular().Values().mode, CRegularFreePage::FreeMemoryMode);
    EXPECT_TRUE(IsChecked(RegularPage(), IDC_RADIO_FREE_MEMORY));
    EXPECT_FALSE(IsChecked(RegularPage(), IDC_RADIO_KEEP_AT_LEAST));
    ExpectPageStartValues();
}

TEST_F(ViewSettingsTest, StoredValuesComeBackOntoTheControlsAndTheirTexts)
{
    PutSetting("setting03", 1);
    PutSetting("page41-01", 0);
    PutSetting("page41-02", 500);
    PutSetting("page41-03", 300);
    PutSetting("page41-04", 65546); // error flag in the high word, 10 s in the low
    PutSetting("page41-05", 1);     // the toggle is never restored
    ASSERT_TRUE(StartApp());
    EXPECT_TRUE(IsChecked(RegularPage(), IDC_RADIO_FREE_MEMORY));
    EXPECT_EQ(SliderPos(IDC_REGULAR_AMOUNT_SLIDER), 500);
    EXPECT_EQ(SliderPos(IDC_THRESHOLD_SLIDER), 300);
    EXPECT_EQ(LOWORD(SpinAnswer()), 10);
    EXPECT_EQ(ControlText(RegularPage(), IDC_INTERVAL_EDIT), "10");
    EXPECT_EQ(ControlText(RegularPage(), IDC_REGULAR_AMOUNT_TEXT), "500 MBs");
    EXPECT_EQ(ControlText(RegularPage(), IDC_THRESHOLD_TEXT), "300 MBs free");
    EXPECT_FALSE(IsChecked(RegularPage(), IDC_APPLY_TOGGLE));
    EXPECT_FALSE(Regular().Values().applied);
}

TEST_F(ViewSettingsTest, OnlyTheLowSixteenBitsOfTheIntervalAreApplied)
{
    PutSetting("setting03", 1);
    PutSetting("page41-04", 0x00070064);
    ASSERT_TRUE(StartApp());
    EXPECT_EQ(LOWORD(SpinAnswer()), 100);
    EXPECT_EQ(HIWORD(SpinAnswer()), 0);
}

TEST_F(ViewSettingsTest, UnknownModesZeroAndNegativeAmountsAreIgnored)
{
    PutSetting("setting03", 1);
    PutSetting("page41-01", 7);
    PutSetting("page41-02", 0);
    PutSetting("page41-03", DWORD(-5));
    PutSetting("page41-04", DWORD(-20));
    ASSERT_TRUE(StartApp());
    EXPECT_EQ(Regular().Values().mode, CRegularFreePage::KeepAtLeastMode);
    ExpectPageStartValues();
}

TEST_F(ViewSettingsTest, AnAmountAboveTheSliderRangeEndsAtItsMaximum)
{
    PutSetting("setting03", 1);
    PutSetting("page41-02", 9000);
    PutSetting("page41-03", 4096);
    ASSERT_TRUE(StartApp());
    EXPECT_EQ(SliderPos(IDC_REGULAR_AMOUNT_SLIDER), 2048);
    EXPECT_EQ(SliderPos(IDC_THRESHOLD_SLIDER), 2048);
    EXPECT_EQ(ControlText(RegularPage(), IDC_REGULAR_AMOUNT_TEXT), "2048 MBs");
}

TEST_F(ViewSettingsTest, ExitWritesTheFiveValuesInOrderWhateverRememberSays)
{
    PutSetting("setting03", 0);
    ASSERT_TRUE(StartApp());
    HWND page = RegularPage();
    Click(page, IDC_RADIO_FREE_MEMORY);
    SetSliderPos(IDC_REGULAR_AMOUNT_SLIDER, 640);
    SetSliderPos(IDC_THRESHOLD_SLIDER, 128);
    SetSpinPos(45);
    Click(page, IDC_APPLY_TOGGLE);
    CallLog::Clear();

    Command(ID_FILE_EXIT);
    std::vector<std::pair<std::string, DWORD>> writes;
    for (const LoggedCall& call : CallLog::Calls(LoggedCall::RegSetValue))
        writes.emplace_back(call.valueName, call.number);
    const std::vector<std::pair<std::string, DWORD>> expected = {
        {"page41-01", 0}, {"page41-02", 640}, {"page41-03", 128}, {"page41-04", 45}, {"page41-05", 1}};
    EXPECT_EQ(writes, expected);
    EXPECT_EQ(Setting("page41-02"), DWORD(640));
}

TEST_F(ViewSettingsTest, AnIntervalTextThatIsNoPositionIsSavedAsTheLastValidInterval)
{
    PutSetting("setting03", 0);
    ASSERT_TRUE(StartApp());
    ::SetDlgItemTextA(RegularPage(), IDC_INTERVAL_EDIT, "soon");
    Command(ID_FILE_EXIT);
    EXPECT_EQ(Setting("page41-04"), std::optional<DWORD>(100)) << "the start value, without the spin's error flag";
}

TEST_F(ViewSettingsTest, WhatOneRunSavesTheNextRestores)
{
    PutSetting("setting03", 1);
    ASSERT_TRUE(StartApp());
    Click(RegularPage(), IDC_RADIO_FREE_MEMORY);
    SetSliderPos(IDC_REGULAR_AMOUNT_SLIDER, 256);
    SetSliderPos(IDC_THRESHOLD_SLIDER, 1024);
    SetSpinPos(600);
    DestroyMainWindow();
    m_app.reset();

    ASSERT_TRUE(StartApp());
    EXPECT_EQ(Regular().Values().mode, CRegularFreePage::FreeMemoryMode);
    EXPECT_EQ(SliderPos(IDC_REGULAR_AMOUNT_SLIDER), 256);
    EXPECT_EQ(SliderPos(IDC_THRESHOLD_SLIDER), 1024);
    EXPECT_EQ(LOWORD(SpinAnswer()), 600);
    EXPECT_EQ(ControlText(RegularPage(), IDC_THRESHOLD_TEXT), "1024 MBs free");
}

} // namespace
