// The pages linked with the real drevcore: the figures they show are the
// platform's own.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "free_memory_page.h"
#include "dialog_items.h"
#include "host_window.h"
#include "memory_status_page.h"
#include "page_text.h"
#include "resource.h"

namespace {

class RealEnginePageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        host.Attach(CreateHostWindow());
        ASSERT_NE(host.m_hWnd, nullptr);
    }
    void TearDown() override { ::DestroyWindow(host.Detach()); }
    CWnd host;
};

TEST_F(RealEnginePageTest, MemoryStatusShowsThePlatformsAddressSpaceAndMemory)
{
    CMemoryStatusPage page(&host);
    SYSTEM_INFO info{};
    ::GetSystemInfo(&info);
    MEMORYSTATUSEX memory{};
    memory.dwLength = sizeof memory;
    ::GlobalMemoryStatusEx(&memory);

    HWND list = ::GetDlgItem(page, IDC_STATUS_LIST);
    ASSERT_EQ(ListRowCount(list), 9);
    EXPECT_EQ(ListCellText(list, 1, 1),
              std::to_string(static_cast<unsigned>(memory.ullTotalPhys >> 20)) + " MBs");
    EXPECT_EQ(ListCellText(list, 6, 1), FormatAddress(info.lpMinimumApplicationAddress));
    EXPECT_EQ(ListCellText(list, 7, 1), FormatAddress(info.lpMaximumApplicationAddress));
    EXPECT_EQ(ListCellText(list, 8, 1), std::to_string(info.dwPageSize) + " bytes");
}

TEST_F(RealEnginePageTest, FreeMemoryRangesCoverTheWholeMachine)
{
    CFreeMemoryPage page(&host);
    MEMORYSTATUSEX memory{};
    memory.dwLength = sizeof memory;
    ::GlobalMemoryStatusEx(&memory);
    const int totalMB = static_cast<int>(memory.ullTotalPhys >> 20);
    EXPECT_EQ(::SendDlgItemMessage(page, IDC_FREE_AMOUNT_SLIDER, TBM_GETRANGEMAX, 0, 0), totalMB);
    EXPECT_EQ(::SendDlgItemMessage(page, IDC_AVAILABLE_GAUGE, PBM_GETRANGE, FALSE, 0), totalMB);
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(page, IDC_FREE_BUTTON))) << "a fresh engine object runs nothing";
}

} // namespace
