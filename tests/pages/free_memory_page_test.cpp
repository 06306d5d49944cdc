#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "engine_standin.h"
#include "free_memory_page.h"
#include "page_fixture.h"
#include "resource.h"
#include "program_icon.h"

namespace {

class FreeMemoryPageTest : public PageTest {
protected:
    void SetUp() override
    {
        PageTest::SetUp();
        StandInSetPhysicalMemory(2048, 1234);
    }
    // On screen unless told otherwise: the host and the page are shown.
    std::unique_ptr<CFreeMemoryPage> MakePage(bool onScreen = true)
    {
        auto page = std::make_unique<CFreeMemoryPage>(&host);
        EXPECT_NE(page->m_hWnd, nullptr);
        ::ShowWindow(host, onScreen ? SW_SHOWNOACTIVATE : SW_HIDE);
        if (onScreen)
            page->ShowWindow(SW_SHOWNA);
        amountSlider.Attach(::GetDlgItem(*page, IDC_FREE_AMOUNT_SLIDER));
        availableGauge.Attach(::GetDlgItem(*page, IDC_AVAILABLE_GAUGE));
        forecastGauge.Attach(::GetDlgItem(*page, IDC_FORECAST_GAUGE));
        runProgress.Attach(::GetDlgItem(*page, IDC_RUN_PROGRESS));
        freeButton.Attach(::GetDlgItem(*page, IDC_FREE_BUTTON));
        return page;
    }
    // The page's controls, as its own members see them.
    CSliderCtrl amountSlider;
    CProgressCtrl availableGauge;
    CProgressCtrl forecastGauge;
    CProgressCtrl runProgress;
    CButton freeButton;
    static std::string Forecast(unsigned mb)
    {
        return "After freeing, avaiable memory will approximately be : " + std::to_string(mb) + " MB";
    }
    static void ExpectRange(HWND control, UINT getMin, UINT getMax, int low, int high)
    {
        EXPECT_EQ(::SendMessage(control, getMin, 0, 0), low);
        EXPECT_EQ(::SendMessage(control, getMax, 0, 0), high);
    }
    static void ExpectGaugeRange(HWND gauge, int low, int high)
    {
        EXPECT_EQ(::SendMessage(gauge, PBM_GETRANGE, TRUE, 0), low);
        EXPECT_EQ(::SendMessage(gauge, PBM_GETRANGE, FALSE, 0), high);
    }
};

TEST_F(FreeMemoryPageTest, StartsReadyWithTheForecastEqualToTheAvailableMemory)
{
    auto page = MakePage();
    EXPECT_EQ(amountSlider.GetPos(), 0);
    EXPECT_EQ(ControlText(*page, IDC_FREE_AMOUNT_TEXT), "0 MBs");
    EXPECT_EQ(ControlText(*page, IDC_AVAILABLE_TEXT), "Available Memory : 1234 MB");
    EXPECT_EQ(ControlText(*page, IDC_FORECAST_TEXT), Forecast(1234));
    EXPECT_EQ(availableGauge.GetPos(), 1234);
    EXPECT_EQ(forecastGauge.GetPos(), 1234);
    ExpectRange(amountSlider, TBM_GETRANGEMIN, TBM_GETRANGEMAX, 0, 2048);
    EXPECT_EQ(amountSlider.SendMessage(TBM_GETPAGESIZE), 128) << "a click on the track";
    ExpectGaugeRange(availableGauge, 0, 2048);
    ExpectGaugeRange(forecastGauge, 0, 2048);
    ExpectGaugeRange(runProgress, 0, 100);
    EXPECT_TRUE(::IsWindowEnabled(freeButton));
    EXPECT_EQ(ButtonIcon(*page, IDC_FREE_BUTTON), LargeProgramIcon(IDI_BOLT, nullptr));
    EXPECT_FALSE(HasVisibleStyle(runProgress));
}

TEST_F(FreeMemoryPageTest, ForecastAddsTheSliderAndIsCappedAtTheTotal)
{
    auto page = MakePage();
    DragSlider(*page, IDC_FREE_AMOUNT_SLIDER, 100);
    EXPECT_EQ(ControlText(*page, IDC_FREE_AMOUNT_TEXT), "100 MBs");
    EXPECT_EQ(ControlText(*page, IDC_FORECAST_TEXT), Forecast(1234)) << "the forecast waits for the next update";
    Tick(*page, CFreeMemoryPage::kFiguresTimer);
    EXPECT_EQ(ControlText(*page, IDC_FORECAST_TEXT), Forecast(1334));
    EXPECT_EQ(forecastGauge.GetPos(), 1334);

    DragSlider(*page, IDC_FREE_AMOUNT_SLIDER, 814); // exactly the total
    Tick(*page, CFreeMemoryPage::kFiguresTimer);
    EXPECT_EQ(ControlText(*page, IDC_FORECAST_TEXT), Forecast(2048));

    DragSlider(*page, IDC_FREE_AMOUNT_SLIDER, 2048);
    Tick(*page, CFreeMemoryPage::kFiguresTimer);
    EXPECT_EQ(ControlText(*page, IDC_FORECAST_TEXT), Forecast(2048));
    EXPECT_EQ(forecastGauge.GetPos(), 2048);

    // A run that can hold only 1500 MB forecasts and asks for that; one that
    // holds less than is available forecasts the available memory.
    StandInSetRunReachMB(1500);
    Tick(*page, CFreeMemoryPage::kFiguresTimer);
    EXPECT_EQ(ControlText(*page, IDC_FORECAST_TEXT), Forecast(1500));
    Click(*page, IDC_FREE_BUTTON);
    EXPECT_EQ(StandInRunAmountMB(0), 1500);
    StandInSetRunReachMB(1000);
    DragSlider(*page, IDC_FREE_AMOUNT_SLIDER, 2048);
    Tick(*page, CFreeMemoryPage::kFiguresTimer);
    EXPECT_EQ(ControlText(*page, IDC_FORECAST_TEXT), Forecast(1234));
}

TEST_F(FreeMemoryPageTest, OutOfSightOnlyTheFreeButtonFollowsTheRunAndShowingCatchesUpAtOnce)
{
    auto page = MakePage();
    page->ShowWindow(SW_HIDE); // another page is the shown one
    MessageLog availableText(::GetDlgItem(*page, IDC_AVAILABLE_TEXT));
    MessageLog availableGaugeMessages(availableGauge);
    StandInSetPhysicalMemory(2048, 999);
    StandInSetProgress(40);
    Tick(*page, CFreeMemoryPage::kFiguresTimer);
    EXPECT_FALSE(::IsWindowEnabled(freeButton));
    EXPECT_EQ(ButtonIcon(*page, IDC_FREE_BUTTON), LargeProgramIcon(IDI_BOLT, nullptr)) << "images wait to be seen";
    EXPECT_FALSE(HasVisibleStyle(runProgress));
    EXPECT_EQ(availableText.Count(WM_SETTEXT), 0);
    EXPECT_EQ(availableGaugeMessages.Count(PBM_SETPOS), 0);

    StandInSetProgress(100);
    Tick(*page, CFreeMemoryPage::kFiguresTimer);
    EXPECT_TRUE(::IsWindowEnabled(freeButton)) << "the end of the run re-enables Free unseen";

    // Selected again mid-run: all of it at once, before any tick.
    StandInSetProgress(70);
    page->ShowWindow(SW_SHOWNA);
    EXPECT_FALSE(::IsWindowEnabled(freeButton));
    EXPECT_EQ(ButtonIcon(*page, IDC_FREE_BUTTON), LargeProgramIcon(IDI_BOLT_GREY, nullptr));
    EXPECT_TRUE(HasVisibleStyle(runProgress));
    EXPECT_EQ(runProgress.GetPos(), 70);
    EXPECT_EQ(ControlText(*page, IDC_AVAILABLE_TEXT), "Available Memory : 999 MB");
    EXPECT_EQ(availableGauge.GetPos(), 999);

    // A hidden main window hides the page too, though the page keeps its style.
    ::ShowWindow(host, SW_HIDE);
    StandInSetPhysicalMemory(2048, 500);
    StandInSetProgress(100);
    Tick(*page, CFreeMemoryPage::kFiguresTimer);
    EXPECT_TRUE(::IsWindowEnabled(freeButton));
    EXPECT_EQ(ControlText(*page, IDC_AVAILABLE_TEXT), "Available Memory : 999 MB");
    EXPECT_EQ(ButtonIcon(*page, IDC_FREE_BUTTON), LargeProgramIcon(IDI_BOLT_GREY, nullptr));

    ::ShowWindow(host, SW_SHOWNOACTIVATE);
    Tick(*page, CFreeMemoryPage::kFiguresTimer);
    EXPECT_EQ(ButtonIcon(*page, IDC_FREE_BUTTON), LargeProgramIcon(IDI_BOLT, nullptr));
    EXPECT_FALSE(HasVisibleStyle(runProgress));
    EXPECT_EQ(ControlText(*page, IDC_AVAILABLE_TEXT), "Available Memory : 500 MB");
}

TEST_F(FreeMemoryPageTest, FreeStartsOneRunOfTheLastForecastAndResetsTheSlider)
{
    auto page = MakePage();
    DragSlider(*page, IDC_FREE_AMOUNT_SLIDER, 100);
    Tick(*page, CFreeMemoryPage::kFiguresTimer);
    // Moved again within the same 100 ms: the click uses the forecast shown.
    DragSlider(*page, IDC_FREE_AMOUNT_SLIDER, 500);

    Click(*page, IDC_FREE_BUTTON);
    ASSERT_EQ(StandInRunCount(), 1);
    EXPECT_EQ(StandInRunAmountMB(0), 1334);
    EXPECT_TRUE(IsPartOf(StandInRunObject(0), *page)) << "the page's own engine object";
    EXPECT_EQ(amountSlider.GetPos(), 0);
    EXPECT_EQ(ControlText(*page, IDC_FREE_AMOUNT_TEXT), "0 MBs");
    EXPECT_EQ(ControlText(*page, IDC_FORECAST_TEXT), Forecast(1334));
    Tick(*page, CFreeMemoryPage::kFiguresTimer);
    EXPECT_EQ(ControlText(*page, IDC_FORECAST_TEXT), Forecast(1234));
}

TEST_F(FreeMemoryPageTest, FreeWithTheSliderAtZeroAsksForTheAvailableAmount)
{
    auto page = MakePage();
    Click(*page, IDC_FREE_BUTTON);
    ASSERT_EQ(StandInRunCount(), 1);
    EXPECT_EQ(StandInRunAmountMB(0), 1234);
}

TEST_F(FreeMemoryPageTest, LargeMachinesKeepTheirWholeRange)
{
    StandInSetPhysicalMemory(65536, 40000);
    auto page = MakePage();
    ExpectRange(amountSlider, TBM_GETRANGEMIN, TBM_GETRANGEMAX, 0, 65536);
    ExpectGaugeRange(availableGauge, 0, 65536);
    ExpectGaugeRange(forecastGauge, 0, 65536);
    EXPECT_EQ(availableGauge.GetPos(), 40000);
    EXPECT_EQ(ControlText(*page, IDC_AVAILABLE_TEXT), "Available Memory : 40000 MB");

    DragSlider(*page, IDC_FREE_AMOUNT_SLIDER, 33000);
    EXPECT_EQ(ControlText(*page, IDC_FREE_AMOUNT_TEXT), "33000 MBs");
    Tick(*page, CFreeMemoryPage::kFiguresTimer);
    EXPECT_EQ(forecastGauge.GetPos(), 65536);
}

TEST_F(FreeMemoryPageTest, ItsOwnTimerRefreshesTheFiguresEveryTenthOfASecond)
{
    auto page = MakePage();
    EXPECT_TRUE(SameSequence(Describe(CallLog::TimerCallsFor(*page)), {"SetTimer 1 100 ms"}));

    StandInSetPhysicalMemory(2048, 999);
    EXPECT_TRUE(PumpUntil([&] { return ControlText(*page, IDC_AVAILABLE_TEXT) == "Available Memory : 999 MB"; }));
}

TEST_F(FreeMemoryPageTest, AnUnchangedUpdateWritesNothingToTheControls)
{
    auto page = MakePage();
    StandInSetProgress(50);
    Tick(*page, CFreeMemoryPage::kFiguresTimer);

    MessageLog availableText(::GetDlgItem(*page, IDC_AVAILABLE_TEXT));
    MessageLog forecastText(::GetDlgItem(*page, IDC_FORECAST_TEXT));
    MessageLog amountText(::GetDlgItem(*page, IDC_FREE_AMOUNT_TEXT));
    MessageLog availableGaugeMessages(availableGauge);
    MessageLog forecastGaugeMessages(forecastGauge);
    MessageLog runProgressMessages(runProgress);
    MessageLog freeButtonMessages(freeButton);
    for (int tick = 0; tick < 3; ++tick)
        Tick(*page, CFreeMemoryPage::kFiguresTimer);

    for (const MessageLog* text : {&availableText, &forecastText, &amountText})
        EXPECT_EQ(text->Count(WM_SETTEXT), 0);
    for (const MessageLog* gauge : {&availableGaugeMessages, &forecastGaugeMessages, &runProgressMessages})
        EXPECT_EQ(gauge->Count(PBM_SETPOS), 0);
    EXPECT_EQ(runProgressMessages.Count(WM_SHOWWINDOW), 0);
    EXPECT_EQ(freeButtonMessages.Count(BM_SETIMAGE), 0);
    EXPECT_EQ(freeButtonMessages.Count(WM_ENABLE), 0);

    // A change is still written, once.
    StandInSetProgress(60);
    Tick(*page, CFreeMemoryPage::kFiguresTimer);
    EXPECT_EQ(runProgressMessages.Count(PBM_SETPOS), 1);
    EXPECT_EQ(availableText.Count(WM_SETTEXT), 0);
}

} // namespace
