#include <windows.h>
#include <commctrl.h>

#include <map>
#include <string>
#include <vector>

#include "app_fixture.h"
#include "engine_standin.h"
#include "resource.h"
#include "program_icon.h"

namespace {

BOOL CALLBACK CollectIconButton(HWND child, LPARAM found)
{
    char className[16] = {};
    ::GetClassNameA(child, className, sizeof className);
    if (::lstrcmpiA(className, "Button") == 0 && (::GetWindowLongPtrA(child, GWL_STYLE) & (BS_ICON | BS_BITMAP)))
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(child);
    return TRUE;
}

// Every button of the window and its pages that shows a picture instead of its text.
std::vector<HWND> IconButtonsOf(HWND window)
{
    std::vector<HWND> buttons;
    ::EnumChildWindows(window, CollectIconButton, reinterpret_cast<LPARAM>(&buttons));
    return buttons;
}

// The texts that the thread's tooltip controls hold for each tool window,
// read back through the tooltip messages themselves.
using ToolTexts = std::multimap<HWND, std::string>;

BOOL CALLBACK CollectToolTexts(HWND window, LPARAM found)
{
    char className[32] = {};
    ::GetClassNameA(window, className, sizeof className);
    if (::lstrcmpiA(className, TOOLTIPS_CLASSA) != 0)
        return TRUE;
    const int count = int(::SendMessageA(window, TTM_GETTOOLCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TOOLINFOA tool{};
        tool.cbSize = TTTOOLINFOA_V2_SIZE;
        if (!::SendMessageA(window, TTM_ENUMTOOLSA, WPARAM(i), LPARAM(&tool)) || !(tool.uFlags & TTF_IDISHWND))
            continue;
        HWND toolWindow = reinterpret_cast<HWND>(tool.uId);
        // Notifications go to the window that holds the tool.
        if (tool.hwnd != ::GetParent(toolWindow))
            continue;
        char text[256] = {};
        tool.lpszText = text;
        ::SendMessageA(window, TTM_GETTEXTA, sizeof text, LPARAM(&tool));
        reinterpret_cast<ToolTexts*>(found)->emplace(toolWindow, text);
    }
    return TRUE;
}

ToolTexts ThreadToolTexts()
{
    ToolTexts texts;
    ::EnumThreadWindows(::GetCurrentThreadId(), CollectToolTexts, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

class ViewTest : public AppTest {
protected:
    // Which pages are shown, in page-table order.
    std::vector<bool> ShownPages() const
    {
        std::vector<bool> shown;
        for (int i = 0; i < CQuendrixView::PageCount; ++i)
            shown.push_back(::IsWindowVisible(Page(i)) != FALSE);
        return shown;
    }
    static std::vector<bool> Only(int index)
    {
        std::vector<bool> shown(CQuendrixView::PageCount, false);
        shown[static_cast<size_t>(index)] = true;
        return shown;
    }
    std::string AutomationLabel() const { return ControlText(*View(), IDC_AUTOMATION_LABEL); }
    int GaugePos() const { return int(::SendDlgItemMessage(*View(), IDC_RAM_GAUGE, PBM_GETPOS, 0, 0)); }
    int GaugeMax() const { return int(::SendDlgItemMessage(*View(), IDC_RAM_GAUGE, PBM_GETRANGE, FALSE, 0)); }
    // Chooses an automation radio button the way a click does, then lets the
    // page's selection timer copy it into its mode.
    void ChooseAutomation(int radioId) const
    {
        HWND page = Page(CQuendrixView::AutomationPage);
        for (int id : {IDC_RADIO_FASTER, IDC_RADIO_STABLY, IDC_RADIO_NONE})
            ::CheckDlgButton(page, id, id == radioId ? BST_CHECKED : BST_UNCHECKED);
        ::SendMessage(page, WM_TIMER, CAutomationPage::kSelectionTimer, 0);
    }
};

TEST_F(ViewTest, SetUpPlacesFourPagesOnThePageAreaAboveItAndShowsMemoryStatus)
{
    ASSERT_TRUE(StartApp());
    EXPECT_EQ(ShownPages(), Only(CQuendrixView::MemoryStatusPage));

    HWND area = ::GetDlgItem(*View(), IDC_PAGE_AREA);
    RECT areaRect;
    ::GetWindowRect(area, &areaRect);
    for (int i = 0; i < CQuendrixView::PageCount; ++i) {
        RECT pageRect;
        ::GetWindowRect(Page(i), &pageRect);
        EXPECT_TRUE(::EqualRect(&pageRect, &areaRect)) << "page " << i;
        EXPECT_EQ(::GetParent(Page(i)), View()->m_hWnd);
        // Above the clipping frame in the z-order, or it would hide the page.
        bool pageFirst = false;
        for (HWND child = ::GetWindow(*View(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            if (child == Page(i)) {
                pageFirst = true;
                break;
            }
            if (child == area)
                break;
        }
        EXPECT_TRUE(pageFirst) << "page " << i;
    }
}

TEST_F(ViewTest, PageButtonsCarryTheirIcons)
{
    ASSERT_TRUE(StartApp());
    const std::pair<int, UINT> buttons[] = {{IDC_PAGE_BUTTON_STATUS, IDI_SCREEN},
                                            {IDC_PAGE_BUTTON_FREE, IDI_CHIP},
                                            {IDC_PAGE_BUTTON_AUTOMATION, IDI_STAR},
                                            {IDC_PAGE_BUTTON_REGULAR, IDI_ALARM_CLOCK}};
    for (const auto& [id, icon] : buttons)
        EXPECT_EQ(ButtonIcon(*View(), id), LargeProgramIcon(icon, nullptr)) << "button " << id;
}

// A picture says nothing to a screen reader: the button's text names it,
// and the tooltip shows exactly that name, once.
TEST_F(ViewTest, EveryIconButtonHasANameAndATooltipSayingIt)
{
    ASSERT_TRUE(StartApp());
    const std::vector<HWND> buttons = IconButtonsOf(*View());
    // The four page buttons, Refresh and Free.
    ASSERT_EQ(buttons.size(), 6u);
    const ToolTexts tips = ThreadToolTexts();
    for (HWND button : buttons) {
        const std::string name = WindowText(button);
        EXPECT_FALSE(name.empty()) << "button " << ::GetDlgCtrlID(button);
        std::vector<std::string> shown;
        for (auto [tip, end] = tips.equal_range(button); tip != end; ++tip)
            shown.push_back(tip->second);
        EXPECT_EQ(shown, std::vector<std::string>{name}) << "button " << ::GetDlgCtrlID(button);
    }
}

TEST_F(ViewTest, PageButtonsAndViewCommandsShowOnePageAtATime)
{
    ASSERT_TRUE(StartApp());
    const int buttons[] = {IDC_PAGE_BUTTON_STATUS, IDC_PAGE_BUTTON_FREE, IDC_PAGE_BUTTON_AUTOMATION,
                           IDC_PAGE_BUTTON_REGULAR};
    const UINT commands[] = {ID_VIEW_MEMORY_STATUS, ID_VIEW_FREE_MEMORY, ID_VIEW_AUTOMATION,
                             ID_VIEW_REGULAR_FREE};
    for (int i : {3, 1, 2, 0, 2}) {
        Click(*View(), buttons[i]);
        EXPECT_EQ(ShownPages(), Only(i)) << "button " << buttons[i];
    }
    for (int i : {1, 3, 3, 0, 2}) {
        Command(commands[i]);
        EXPECT_EQ(ShownPages(), Only(i)) << "command " << commands[i];
    }
}

TEST_F(ViewTest, AHiddenPageKeepsItsState)
{
    ASSERT_TRUE(StartApp());
    Command(ID_VIEW_REGULAR_FREE);
    HWND regular = Page(CQuendrixView::RegularFreePage);
    Click(regular, IDC_RADIO_FREE_MEMORY);
    Command(ID_VIEW_FREE_MEMORY);
    Command(ID_VIEW_REGULAR_FREE);
    EXPECT_TRUE(IsChecked(regular, IDC_RADIO_FREE_MEMORY));
}

TEST_F(ViewTest, TheLabelIsEmptyUntilTheFirstTickThenFollowsTheAutomationMode)
{
    ASSERT_TRUE(StartApp());
    EXPECT_EQ(AutomationLabel(), "");
    StatusTick();
    EXPECT_EQ(AutomationLabel(), "Automation : None");
    ChooseAutomation(IDC_RADIO_FASTER);
    StatusTick();
    EXPECT_EQ(AutomationLabel(), "Automation : Programs run faster");
    ChooseAutomation(IDC_RADIO_STABLY);
    StatusTick();
    EXPECT_EQ(AutomationLabel(), "Automation : Programs run stably");
    ChooseAutomation(0); // no button chosen: the label keeps what it says
    ASSERT_EQ(View()->GetAutomationPage()->Mode(), -1);
    StatusTick();
    EXPECT_EQ(AutomationLabel(), "Automation : Programs run stably");
    ChooseAutomation(IDC_RADIO_NONE);
    StatusTick();
    EXPECT_EQ(AutomationLabel(), "Automation : None");
}

TEST_F(ViewTest, TheGaugeUsesTheWholeRangeOfLargeMachines)
{
    StandInSetPhysicalMemory(70000, 66000);
    ASSERT_TRUE(StartApp());
    EXPECT_EQ(GaugeMax(), 70000);
    EXPECT_EQ(GaugePos(), 0); // nothing until the first tick
    StatusTick();
    EXPECT_EQ(GaugePos(), 66000);
}

TEST_F(ViewTest, EachTickRefreshesTheTrayTipAndImageFromTheFigures)
{
    StandInSetPhysicalMemory(100, 29);
    ASSERT_TRUE(StartApp());
    CallLog::Clear();
    StatusTick();
    StandInSetPhysicalMemory(100, 4);
    StatusTick();
    StandInSetPhysicalMemory(100, 5);
    StatusTick();
    StandInSetPhysicalMemory(100, 100);
    StatusTick();
    const auto shell = CallLog::Calls(LoggedCall::Shell);
    ASSERT_EQ(shell.size(), 4u);
    const std::pair<const char*, UINT> expected[] = {{"Available : 28 %", IDI_TRAY_CHIP},
                                                     {"Available : 4 %", IDI_CHIP_LOW},
                                                     {"Available : 5 %", IDI_TRAY_CHIP},
                                                     {"Available : 100 %", IDI_TRAY_CHIP}};
    for (size_t i = 0; i < shell.size(); ++i) {
        EXPECT_EQ(shell[i].shellMessage, DWORD(NIM_MODIFY));
        EXPECT_EQ(shell[i].record.hWnd, View()->m_hWnd);
        EXPECT_STREQ(shell[i].record.szTip, expected[i].first);
        EXPECT_EQ(shell[i].record.hIcon, SmallProgramIcon(expected[i].second, nullptr));
    }
}

TEST_F(ViewTest, AnUnchangedTickWritesNothingToTheScreenOrTheShell)
{
    StandInSetPhysicalMemory(2048, 1000);
    ASSERT_TRUE(StartApp());
    StatusTick();
    CallLog::Clear();
    HWND gauge = ::GetDlgItem(*View(), IDC_RAM_GAUGE);
    HWND label = ::GetDlgItem(*View(), IDC_AUTOMATION_LABEL);
    UINT gaugeWrites = 0, labelWrites = 0;
    // Count the writes by watching what the controls receive.
    struct Watch {
        static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR counter)
        {
            if (m == PBM_SETPOS || m == WM_SETTEXT)
                ++*reinterpret_cast<UINT*>(counter);
            return ::DefSubclassProc(w, m, wp, lp);
        }
    };
    ::SetWindowSubclass(gauge, Watch::Proc, 1, reinterpret_cast<DWORD_PTR>(&gaugeWrites));
    ::SetWindowSubclass(label, Watch::Proc, 1, reinterpret_cast<DWORD_PTR>(&labelWrites));
    const int queriesBefore = StandInAvailableQueries();
    StatusTick();
    StatusTick();
    ::RemoveWindowSubclass(gauge, Watch::Proc, 1);
    ::RemoveWindowSubclass(label, Watch::Proc, 1);
    EXPECT_EQ(gaugeWrites, 0u);
    EXPECT_EQ(labelWrites, 0u);
    EXPECT_TRUE(CallLog::Calls(LoggedCall::Shell).empty());
    EXPECT_GT(StandInAvailableQueries(), queriesBefore) << "the ticks did read the figures";
}

TEST_F(ViewTest, OutOfSightOnlyTheTrayFollowsTheFiguresAndComingBackCatchesUpAtOnce)
{
    StandInSetPhysicalMemory(2048, 1000);
    ASSERT_TRUE(StartApp());
    Command(ID_VIEW_FREE_MEMORY);
    HWND freePage = Page(CQuendrixView::FreeMemoryPage);
    StatusTick();
    const auto tickBoth = [&] {
        StatusTick();
        ::SendMessage(freePage, WM_TIMER, CFreeMemoryPage::kFiguresTimer, 0);
    };

    Command(ID_FILE_HIDE_TO_TRAY);
    CallLog::Clear();
    StandInSetPhysicalMemory(2048, 500);
    tickBoth();
    EXPECT_EQ(GaugePos(), 1000);
    EXPECT_EQ(ControlText(freePage, IDC_AVAILABLE_TEXT), "Available Memory : 1000 MB");
    const auto shell = CallLog::Calls(LoggedCall::Shell);
    ASSERT_EQ(shell.size(), 1u);
    EXPECT_STREQ(shell[0].record.szTip, "Available : 24 %");

    // Shown from the tray icon: caught up before the next tick.
    ::SendMessage(*View(), CTrayIcon::kCallbackMessage, 0, WM_LBUTTONUP);
    EXPECT_EQ(GaugePos(), 500);
    EXPECT_EQ(ControlText(freePage, IDC_AVAILABLE_TEXT), "Available Memory : 500 MB");

    ::ShowWindow(*Frame(), SW_MINIMIZE);
    ASSERT_TRUE(::IsIconic(*Frame()));
    StandInSetPhysicalMemory(2048, 700);
    tickBoth();
    EXPECT_EQ(GaugePos(), 500);
    ::ShowWindow(*Frame(), SW_RESTORE);
    EXPECT_EQ(GaugePos(), 700);
    EXPECT_EQ(ControlText(freePage, IDC_AVAILABLE_TEXT), "Available Memory : 700 MB");
}

TEST_F(ViewTest, TheStatusTimerRunsEveryHalfSecondOnTheView)
{
    ASSERT_TRUE(StartApp());
    const auto timers = CallLog::Calls(LoggedCall::SetTimer);
    auto status = std::find_if(timers.begin(), timers.end(), [&](const LoggedCall& call) {
        return call.window == View()->m_hWnd && call.timerId == CQuendrixView::kStatusTimer;
    });
    ASSERT_NE(status, timers.end());
    EXPECT_EQ(status->periodMs, 500u);
    // And it really fires: the label fills without any tick sent by hand.
    EXPECT_TRUE(PumpUntil([&] { return AutomationLabel() == "Automation : None"; }, 3000));
}

TEST_F(ViewTest, OtherTimerMessagesLeaveTheStatusAlone)
{
    ASSERT_TRUE(StartApp());
    ::SendMessage(*View(), WM_TIMER, 7, 0);
    EXPECT_EQ(AutomationLabel(), "");
    // The same message with the status timer's id does fill it.
    ::SendMessage(*View(), WM_TIMER, CQuendrixView::kStatusTimer, 0);
    EXPECT_EQ(AutomationLabel(), "Automation : None");
}

TEST_F(ViewTest, HelpDialogsAreModalToTheMainWindowAndCloseOnOkAndEscape)
{
    ASSERT_TRUE(StartApp());
    const std::pair<UINT, const char*> dialogs[] = {{ID_HELP_ABOUT, "About"}, {ID_HELP_WEB_SITE, "Web site"}};
    for (const auto& [command, caption] : dialogs) {
        for (bool escape : {false, true}) {
            std::string seenCaption;
            bool frameEnabled = true;
            HWND owner = nullptr;
            auto run = RunModal([&, command = command] { Command(command); },
                                [&](HWND dialog) {
                                    seenCaption = WindowText(dialog);
                                    frameEnabled = ::IsWindowEnabled(*Frame()) != FALSE;
                                    owner = ::GetWindow(dialog, GW_OWNER);
                                    if (escape)
                                        PressEscape(dialog);
                                    else
                                        Click(dialog, IDOK);
                                });
            EXPECT_TRUE(run.dialogSeen) << caption;
            EXPECT_FALSE(run.forcedClosed) << caption << (escape ? " escape" : " ok");
            EXPECT_EQ(seenCaption, caption);
            EXPECT_FALSE(frameEnabled);
            EXPECT_EQ(owner, Frame()->m_hWnd);
            EXPECT_TRUE(::IsWindowEnabled(*Frame()));
            EXPECT_TRUE(::IsWindow(*Frame()));
        }
    }
}

} // namespace
