#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "engine_standin.h"
#include "free_memory_page.h"
#include "page_fixture.h"
#include "resource.h"

namespace {

class FreeMemoryPageTest : public PageTest {
protected:
    void SetUp() override
    {
        PageTest::SetUp();
        SetMemory(2048, 1234);
    }
    static void SetMemory(DWORD totalMB, DWORD availableMB)
    {
        StandInFigures figures = DefaultStandInFigures();
        figures.phyTotalMB = totalMB;
        figures.phyAvaiMB = availableMB;
        StandInSetFigures(figures);
    }
    std::unique_ptr<CFreeMemoryPage> MakePage()
    {
        auto page = std::make_unique<CFreeMemoryPage>(&host);
        EXPECT_NE(page->m_hWnd, nullptr);
        return page;
    }
    static std::string Forecast(unsigned mb)
    {
        return "After freeing, avaiable memory will approximately be : " + std::to_string(mb) + " MB";
    }
    static void ExpectRange(HWND control, UINT getMin, UINT getMax, int low, int high)
    {
        EXPECT_EQ(::SendMessage(control, getMin, 0, 0), low);
        EXPECT_EQ(::SendMessage(control, getMax, 0, 0), high);
    }
    static void ExpectGaugeRange(CProgressCtrl& gauge, int low, int high)
    {
        int lower = -1, upper = -1;
        gauge.GetRange(lower, upper);
        EXPECT_EQ(lower, low);
        EXPECT_EQ(upper, high);
    }
};

TEST_F(FreeMemoryPageTest, StartsReadyWithTheForecastEqualToTheAvailableMemory)
{
    auto page = MakePage();
    EXPECT_EQ(page->m_amountSlider.GetPos(), 0);
    EXPECT_EQ(ControlText(*page, IDC_FREE_AMOUNT_TEXT), "0 MBs");
    EXPECT_EQ(ControlText(*page, IDC_AVAILABLE_TEXT), "Available Memory : 1234 MB");
    EXPECT_EQ(ControlText(*page, IDC_FORECAST_TEXT), Forecast(1234));
    EXPECT_EQ(page->m_availableGauge.GetPos(), 1234);
    EXPECT_EQ(page->m_forecastGauge.GetPos(), 1234);
    ExpectRange(page->m_amountSlider, TBM_GETRANGEMIN, TBM_GETRANGEMAX, 0, 2048);
    ExpectGaugeRange(page->m_availableGauge, 0, 2048);
    ExpectGaugeRange(page->m_forecastGauge, 0, 2048);
    ExpectGaugeRange(page->m_runProgress, 0, 100);
    EXPECT_TRUE(page->m_freeButton.IsWindowEnabled());
    EXPECT_EQ(ButtonIcon(*page, IDC_FREE_BUTTON), ProgramIcon(IDI_BOLT));
    EXPECT_FALSE(HasVisibleStyle(page->m_runProgress));
}

TEST_F(FreeMemoryPageTest, ForecastAddsTheSliderAndIsCappedAtTheTotal)
{
    auto page = MakePage();
    DragSlider(*page, IDC_FREE_AMOUNT_SLIDER, 100);
    EXPECT_EQ(ControlText(*page, IDC_FREE_AMOUNT_TEXT), "100 MBs");
    EXPECT_EQ(ControlText(*page, IDC_FORECAST_TEXT), Forecast(1234)) << "the forecast waits for the next update";
    Tick(*page, CFreeMemoryPage::figuresTimer);
    EXPECT_EQ(ControlText(*page, IDC_FORECAST_TEXT), Forecast(1334));
    EXPECT_EQ(page->m_forecastGauge.GetPos(), 1334);

    DragSlider(*page, IDC_FREE_AMOUNT_SLIDER, 814); // exactly the total
    Tick(*page, CFreeMemoryPage::figuresTimer);
    EXPECT_EQ(ControlText(*page, IDC_FORECAST_TEXT), Forecast(2048));

    DragSlider(*page, IDC_FREE_AMOUNT_SLIDER, 2048);
    Tick(*page, CFreeMemoryPage::figuresTimer);
    EXPECT_EQ(ControlText(*page, IDC_FORECAST_TEXT), Forecast(2048));
    EXPECT_EQ(page->m_forecastGauge.GetPos(), 2048);
}

TEST_F(FreeMemoryPageTest, FreeButtonFollowsTheRunProgressEvenWhileThePageIsHidden)
{
    auto page = MakePage(); // the host and the page stay hidden
    StandInSetProgress(40);
    Tick(*page, CFreeMemoryPage::figuresTimer);
    EXPECT_FALSE(page->m_freeButton.IsWindowEnabled());
    EXPECT_EQ(ButtonIcon(*page, IDC_FREE_BUTTON), ProgramIcon(IDI_BOLT_GREY));
    EXPECT_TRUE(HasVisibleStyle(page->m_runProgress));
    EXPECT_EQ(page->m_runProgress.GetPos(), 40);

    StandInSetProgress(99);
    Tick(*page, CFreeMemoryPage::figuresTimer);
    EXPECT_FALSE(page->m_freeButton.IsWindowEnabled());
    EXPECT_EQ(page->m_runProgress.GetPos(), 99);

    StandInSetProgress(100);
    Tick(*page, CFreeMemoryPage::figuresTimer);
    EXPECT_TRUE(page->m_freeButton.IsWindowEnabled());
    EXPECT_EQ(ButtonIcon(*page, IDC_FREE_BUTTON), ProgramIcon(IDI_BOLT));
    EXPECT_FALSE(HasVisibleStyle(page->m_runProgress));
}

TEST_F(FreeMemoryPageTest, FreeStartsOneRunOfTheLastForecastAndResetsTheSlider)
{
    auto page = MakePage();
    DragSlider(*page, IDC_FREE_AMOUNT_SLIDER, 100);
    Tick(*page, CFreeMemoryPage::figuresTimer);
    // Moved again within the same 100 ms: the click uses the forecast shown.
    DragSlider(*page, IDC_FREE_AMOUNT_SLIDER, 500);

    Click(*page, IDC_FREE_BUTTON);
    ASSERT_EQ(StandInRunCount(), 1);
    EXPECT_EQ(StandInRunAmountMB(0), 1334);
    EXPECT_EQ(StandInRunObject(0), &page->m_memoryFree);
    EXPECT_EQ(page->m_amountSlider.GetPos(), 0);
    EXPECT_EQ(ControlText(*page, IDC_FREE_AMOUNT_TEXT), "0 MBs");
    EXPECT_EQ(ControlText(*page, IDC_FORECAST_TEXT), Forecast(1334));
    Tick(*page, CFreeMemoryPage::figuresTimer);
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
    SetMemory(65536, 40000);
    auto page = MakePage();
    ExpectRange(page->m_amountSlider, TBM_GETRANGEMIN, TBM_GETRANGEMAX, 0, 65536);
    ExpectGaugeRange(page->m_availableGauge, 0, 65536);
    ExpectGaugeRange(page->m_forecastGauge, 0, 65536);
    EXPECT_EQ(page->m_availableGauge.GetPos(), 40000);
    EXPECT_EQ(ControlText(*page, IDC_AVAILABLE_TEXT), "Available Memory : 40000 MB");

    DragSlider(*page, IDC_FREE_AMOUNT_SLIDER, 33000);
    EXPECT_EQ(ControlText(*page, IDC_FREE_AMOUNT_TEXT), "33000 MBs");
    Tick(*page, CFreeMemoryPage::figuresTimer);
    EXPECT_EQ(page->m_forecastGauge.GetPos(), 65536);
}

TEST_F(FreeMemoryPageTest, ItsOwnTimerRefreshesTheFiguresEveryTenthOfASecond)
{
    auto page = MakePage();
    std::vector<TimerCall> calls = TimerLog::CallsFor(*page);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_FALSE(calls[0].kill);
    EXPECT_EQ(calls[0].id, CFreeMemoryPage::figuresTimer);
    EXPECT_EQ(calls[0].periodMs, 100u);

    SetMemory(2048, 999);
    EXPECT_TRUE(PumpUntil([&] { return ControlText(*page, IDC_AVAILABLE_TEXT) == "Available Memory : 999 MB"; }));
}

TEST_F(FreeMemoryPageTest, AnUnchangedUpdateWritesNothingToTheControls)
{
    auto page = MakePage();
    StandInSetProgress(50);
    Tick(*page, CFreeMemoryPage::figuresTimer);

    MessageCounter availableText(::GetDlgItem(*page, IDC_AVAILABLE_TEXT));
    MessageCounter forecastText(::GetDlgItem(*page, IDC_FORECAST_TEXT));
    MessageCounter amountText(::GetDlgItem(*page, IDC_FREE_AMOUNT_TEXT));
    MessageCounter availableGauge(page->m_availableGauge);
    MessageCounter forecastGauge(page->m_forecastGauge);
    MessageCounter runProgress(page->m_runProgress);
    MessageCounter freeButton(page->m_freeButton);
    for (int tick = 0; tick < 3; ++tick)
        Tick(*page, CFreeMemoryPage::figuresTimer);

    for (const MessageCounter* text : {&availableText, &forecastText, &amountText})
        EXPECT_EQ(text->Count(WM_SETTEXT), 0);
    for (const MessageCounter* gauge : {&availableGauge, &forecastGauge, &runProgress})
        EXPECT_EQ(gauge->Count(PBM_SETPOS), 0);
    EXPECT_EQ(runProgress.Count(WM_SHOWWINDOW), 0);
    EXPECT_EQ(freeButton.Count(BM_SETIMAGE), 0);
    EXPECT_EQ(freeButton.Count(WM_ENABLE), 0);

    // A change is still written, once.
    StandInSetProgress(60);
    Tick(*page, CFreeMemoryPage::figuresTimer);
    EXPECT_EQ(runProgress.Count(PBM_SETPOS), 1);
    EXPECT_EQ(availableText.Count(WM_SETTEXT), 0);
}

} // namespace
