#include <memory>
#include <ostream>

#include "automation_page.h"
#include "engine_standin.h"
#include "page_fixture.h"
#include "resource.h"

namespace {

class AutomationPageTest : public PageTest {
protected:
    std::unique_ptr<CAutomationPage> MakePage()
    {
        auto page = std::make_unique<CAutomationPage>(&host);
        EXPECT_NE(page->m_hWnd, nullptr);
        return page;
    }
    static void SetAvailable(DWORD availableMB)
    {
        StandInFigures figures = DefaultStandInFigures();
        figures.phyAvaiMB = availableMB;
        StandInSetFigures(figures);
    }
    // A click, then the selection timer's tick that brings it into the member.
    static void Choose(CAutomationPage& page, int radioId)
    {
        Click(page, radioId);
        Tick(page, CAutomationPage::kSelectionTimer);
    }
};

TEST_F(AutomationPageTest, StartsWithNoneAndBothTimersArmed)
{
    auto page = MakePage();
    EXPECT_EQ(page->Mode(), 2);
    EXPECT_FALSE(IsChecked(*page, IDC_RADIO_FASTER));
    EXPECT_FALSE(IsChecked(*page, IDC_RADIO_STABLY));
    EXPECT_TRUE(IsChecked(*page, IDC_RADIO_NONE));

    const std::vector<LoggedCall> calls = CallLog::TimerCallsFor(*page);
    EXPECT_TRUE(SameSequence(Describe(calls), {"SetTimer 1 60000 ms", "SetTimer 2 100 ms"}));
    for (const LoggedCall& call : calls)
        EXPECT_NE(call.result, 0u) << "timer " << call.timerId << " was refused";
}

TEST_F(AutomationPageTest, NoneNeitherReadsMemoryNorFrees)
{
    auto page = MakePage();
    SetAvailable(0);
    const int queries = StandInAvailableQueries();
    Tick(*page, CAutomationPage::kCheckTimer);
    EXPECT_EQ(StandInRunCount(), 0);
    EXPECT_EQ(StandInAvailableQueries(), queries);
}

struct PolicyCase {
    int radioId;
    DWORD availableMB;
    int expectedRunMB; // 0: no run
};

void PrintTo(const PolicyCase& policy, std::ostream* out)
{
    *out << "radio " << policy.radioId << " with " << policy.availableMB << " MB available";
}

class AutomationPolicyTest : public AutomationPageTest, public ::testing::WithParamInterface<PolicyCase> {};

TEST_P(AutomationPolicyTest, ChecksStrictlyBelowTheThresholdAndFreesThePolicySize)
{
    const PolicyCase& policy = GetParam();
    auto page = MakePage();
    Choose(*page, policy.radioId);
    SetAvailable(policy.availableMB);
    Tick(*page, CAutomationPage::kCheckTimer);
    if (policy.expectedRunMB == 0) {
        EXPECT_EQ(StandInRunCount(), 0);
        return;
    }
    ASSERT_EQ(StandInRunCount(), 1);
    EXPECT_EQ(StandInRunAmountMB(0), policy.expectedRunMB);
    EXPECT_TRUE(IsPartOf(StandInRunObject(0), *page)) << "the page's own engine object";
}

INSTANTIATE_TEST_SUITE_P(AroundEachLimit, AutomationPolicyTest,
                         ::testing::Values(PolicyCase{IDC_RADIO_FASTER, 0, 48},
                                           PolicyCase{IDC_RADIO_FASTER, 7, 48},
                                           PolicyCase{IDC_RADIO_FASTER, 8, 0},
                                           PolicyCase{IDC_RADIO_FASTER, 9, 0},
                                           PolicyCase{IDC_RADIO_FASTER, 31, 0},
                                           PolicyCase{IDC_RADIO_STABLY, 7, 64},
                                           PolicyCase{IDC_RADIO_STABLY, 31, 64},
                                           PolicyCase{IDC_RADIO_STABLY, 32, 0},
                                           PolicyCase{IDC_RADIO_STABLY, 33, 0},
                                           PolicyCase{IDC_RADIO_NONE, 0, 0}));

TEST_F(AutomationPageTest, AChoiceCountsFromTheNextRadioCopyTick)
{
    auto page = MakePage();
    SetAvailable(5);
    Click(*page, IDC_RADIO_STABLY);
    EXPECT_EQ(page->Mode(), 2) << "a click has no handler of its own";
    Tick(*page, CAutomationPage::kCheckTimer);
    EXPECT_EQ(StandInRunCount(), 0);

    // The real 100 ms timer copies the choice.
    EXPECT_TRUE(PumpUntil([&] { return page->Mode() == 1; }));
    Tick(*page, CAutomationPage::kCheckTimer);
    ASSERT_EQ(StandInRunCount(), 1);
    EXPECT_EQ(StandInRunAmountMB(0), 64);
}

TEST_F(AutomationPageTest, EveryCheckBelowTheThresholdStartsAnotherRunUntilNoneIsChosen)
{
    auto page = MakePage();
    SetAvailable(3);
    Choose(*page, IDC_RADIO_FASTER);
    Tick(*page, CAutomationPage::kCheckTimer);
    StandInSetProgress(10); // a run still going: no second one beside it
    Tick(*page, CAutomationPage::kCheckTimer);
    EXPECT_EQ(StandInRunCount(), 1);
    StandInSetProgress(100);
    Tick(*page, CAutomationPage::kCheckTimer);
    EXPECT_EQ(StandInRunCount(), 2);

    Choose(*page, IDC_RADIO_NONE);
    EXPECT_EQ(page->Mode(), 2);
    Tick(*page, CAutomationPage::kCheckTimer);
    EXPECT_EQ(StandInRunCount(), 2);
}

} // namespace
