#include <windows.h>

#include "app_fixture.h"
#include "host_window.h"
#include "resource.h"
#include "tray_icon.h"
#include "program_icon.h"

namespace {

TEST(TrayStatus, PercentIsTheTruncatedDoubleQuotientTimesHundred)
{
    EXPECT_EQ(AvailablePercent(29, 100), 28u); // 0.29 * 100 falls just short of 29
    EXPECT_EQ(AvailablePercent(57, 100), 56u);
    EXPECT_EQ(AvailablePercent(30, 100), 30u);
    EXPECT_EQ(AvailablePercent(5, 100), 5u);
    EXPECT_EQ(AvailablePercent(1023, 2048), 49u);
    EXPECT_EQ(AvailablePercent(2048, 2048), 100u);
    EXPECT_EQ(AvailablePercent(70000, 70000), 100u);
    EXPECT_EQ(AvailablePercent(0, 2048), 0u);
}

TEST(TrayStatus, AZeroTotalReadsAsNothingAvailable)
{
    EXPECT_EQ(AvailablePercent(0, 0), 0u);
    EXPECT_EQ(AvailablePercent(12, 0), 0u);
}

TEST(TrayStatus, TipAndImageFollowThePercent)
{
    EXPECT_EQ(TrayStatusFor(29, 100).tip, "Available : 28 %");
    EXPECT_EQ(TrayStatusFor(100, 100).tip, "Available : 100 %");
    EXPECT_EQ(TrayStatusFor(4, 100).iconId, UINT(IDI_CHIP_LOW));
    EXPECT_EQ(TrayStatusFor(5, 100).iconId, UINT(IDI_TRAY_CHIP));
    EXPECT_EQ(TrayStatusFor(0, 0).iconId, UINT(IDI_CHIP_LOW));
    EXPECT_EQ(TrayStatusFor(5, 100).tip, "Available : 5 %");
}

class TrayIconTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CallLog::Clear();
        m_owner = CreateHostWindow();
        ASSERT_NE(m_owner, nullptr);
    }
    void TearDown() override
    {
        m_icon.Remove();
        ::DestroyWindow(m_owner);
    }
    static std::vector<LoggedCall> ShellCalls() { return CallLog::Calls(LoggedCall::Shell); }

    HWND m_owner = nullptr;
    CTrayIcon m_icon;
};

TEST_F(TrayIconTest, AddsTheFirstFormRecordWithTheChipAndTheProductName)
{
    m_icon.Add(m_owner);
    const auto shell = ShellCalls();
    ASSERT_EQ(shell.size(), 1u);
    EXPECT_EQ(shell[0].shellMessage, DWORD(NIM_ADD));
    const NOTIFYICONDATAA& record = shell[0].record;
    EXPECT_EQ(record.cbSize, DWORD(NOTIFYICONDATAA_V1_SIZE));
    if (sizeof(void*) == 4) {
        EXPECT_EQ(record.cbSize, 88u);
    }
    EXPECT_EQ(record.hWnd, m_owner);
    EXPECT_EQ(record.uID, 0u);
    EXPECT_EQ(record.uFlags, UINT(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(record.uCallbackMessage, 0x0405u);
    EXPECT_EQ(record.hIcon, SmallProgramIcon(IDI_TRAY_CHIP, nullptr));
    EXPECT_STREQ(record.szTip, "Halven Mark");
}

TEST_F(TrayIconTest, RefreshModifiesOnlyWhenTipOrImageChanges)
{
    m_icon.Add(m_owner);
    m_icon.Refresh(TrayStatusFor(29, 100));
    m_icon.Refresh(TrayStatusFor(29, 100));             // same tip and image: nothing
    m_icon.Refresh(TrayStatusFor(30, 100));             // tip only
    m_icon.Refresh({"Available : 30 %", IDI_CHIP_LOW}); // image only
    const auto shell = ShellCalls();
    ASSERT_EQ(shell.size(), 4u);
    EXPECT_EQ(shell[1].shellMessage, DWORD(NIM_MODIFY));
    EXPECT_STREQ(shell[1].record.szTip, "Available : 28 %");
    EXPECT_EQ(shell[1].record.uFlags, UINT(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_STREQ(shell[2].record.szTip, "Available : 30 %");
    EXPECT_EQ(shell[2].record.hIcon, SmallProgramIcon(IDI_TRAY_CHIP, nullptr));
    EXPECT_EQ(shell[3].record.hIcon, SmallProgramIcon(IDI_CHIP_LOW, nullptr));
}

TEST_F(TrayIconTest, TheTipNeverOverrunsItsSixtyFourCharacters)
{
    m_icon.Add(m_owner);
    m_icon.Refresh({std::string(200, 'x'), IDI_TRAY_CHIP});
    const auto shell = ShellCalls();
    ASSERT_EQ(shell.size(), 2u);
    EXPECT_EQ(std::string(shell[1].record.szTip), std::string(63, 'x'));
}

TEST_F(TrayIconTest, RemovedIconIsNeitherRefreshedNorRemovedTwice)
{
    m_icon.Refresh(TrayStatusFor(29, 100)); // never added
    m_icon.Add(m_owner);
    m_icon.Remove();
    m_icon.Refresh(TrayStatusFor(29, 100));
    m_icon.Remove();
    const auto shell = ShellCalls();
    ASSERT_EQ(shell.size(), 2u);
    EXPECT_EQ(shell[0].shellMessage, DWORD(NIM_ADD));
    EXPECT_EQ(shell[1].shellMessage, DWORD(NIM_DELETE));
    EXPECT_EQ(shell[1].record.hWnd, m_owner);
}

TEST_F(TrayIconTest, RestoreAddsAgainWhatTheIconShowedLast)
{
    m_icon.Add(m_owner);
    m_icon.Refresh(TrayStatusFor(3, 100));
    m_icon.Restore();
    const auto shell = ShellCalls();
    // The shell here did not restart: it refuses the add of an icon it has,
    // and a modify with the same record follows.
    ASSERT_GE(shell.size(), 3u);
    EXPECT_LE(shell.size(), 4u);
    EXPECT_EQ(shell[2].shellMessage, DWORD(NIM_ADD));
    EXPECT_STREQ(shell[2].record.szTip, "Available : 3 %");
    EXPECT_EQ(shell[2].record.hIcon, SmallProgramIcon(IDI_CHIP_LOW, nullptr));
}

} // namespace

namespace {

class TrayRetryTest : public AppTest {
protected:
    std::vector<std::string> RetryTimerCalls() const
    {
        std::vector<std::string> lines;
        for (const LoggedCall& call : CallLog::TimerCallsFor(*View()))
            if (call.timerId == CTrayIcon::kRetryTimer)
                lines.push_back(call.Describe());
        return lines;
    }
    void RetryTick() const { ::SendMessage(*View(), WM_TIMER, CTrayIcon::kRetryTimer, 0); }
};

TEST_F(TrayRetryTest, AnAddTheShellRefusesIsTriedAgainEveryTwoSecondsUntilItIsTaken)
{
    CallLog::RefuseShellCalls(2); // the add at start and the first retry's add
    ASSERT_TRUE(StartApp());
    EXPECT_EQ(RetryTimerCalls(), std::vector<std::string>{"SetTimer 2 2000 ms"});
    RetryTick();
    EXPECT_EQ(RetryTimerCalls().size(), 1u) << "still refused: the retries go on";
    RetryTick();
    EXPECT_EQ(RetryTimerCalls(), (std::vector<std::string>{"SetTimer 2 2000 ms", "KillTimer 2"}));
    const auto shell = CallLog::Calls(LoggedCall::Shell);
    ASSERT_FALSE(shell.empty());
    EXPECT_EQ(shell.back().Describe(), "NIM_ADD");
    EXPECT_EQ(shell.back().record.hWnd, View()->m_hWnd);
}

TEST_F(TrayRetryTest, TheRetriesEndAfterTwoMinutes)
{
    CallLog::RefuseShellCalls(1000);
    ASSERT_TRUE(StartApp());
    for (int tick = 1; tick < CTrayIcon::kRetryCount; ++tick)
        RetryTick();
    EXPECT_EQ(RetryTimerCalls().size(), 1u);
    RetryTick();
    EXPECT_EQ(RetryTimerCalls().back(), "KillTimer 2");
    EXPECT_EQ(CTrayIcon::kRetryCount * CTrayIcon::kRetryPeriodMs, 120000u);
}

TEST_F(TrayRetryTest, ARefreshTheShellRefusesAddsTheIconAgain)
{
    StandInSetPhysicalMemory(100, 50);
    ASSERT_TRUE(StartApp());
    CallLog::Clear();
    CallLog::RefuseShellCalls(1);
    StandInSetPhysicalMemory(100, 30);
    StatusTick();
    const auto shell = CallLog::Calls(LoggedCall::Shell);
    ASSERT_GE(shell.size(), 2u);
    EXPECT_EQ(shell[0].Describe(), "NIM_MODIFY");
    EXPECT_EQ(shell[1].Describe(), "NIM_ADD");
    EXPECT_STREQ(shell[1].record.szTip, "Available : 30 %");
}

} // namespace
