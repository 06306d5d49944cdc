#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "engine_standin.h"
#include "memory_status_page.h"
#include "page_fixture.h"
#include "page_text.h"
#include "resource.h"
#include "program_icon.h"

namespace {

const char* const kExpectedLabels[] = {
    "Memory Load",
    "Total Physical Memory",
    "Available Physical Memory",
    "Total Paging File Memory",
    "Available Paging File Memory",
    "Total Virtual Memory",
    "Minimum Application Address",
    "Maximum Application Address",
    "Page Size",
};

// "0x" and a pointer's full width of digits: 8 in the shipped program.
std::string Address(const char* lowDigits)
{
    std::string digits = lowDigits;
    return "0x" + std::string(sizeof(void*) * 2 - digits.size(), '0') + digits;
}

class MemoryStatusPageTest : public PageTest {
protected:
    std::unique_ptr<CMemoryStatusPage> MakePage()
    {
        auto page = std::make_unique<CMemoryStatusPage>(&host);
        EXPECT_NE(page->m_hWnd, nullptr);
        return page;
    }
    static std::vector<std::string> Column(CMemoryStatusPage& page, int column)
    {
        std::vector<std::string> cells;
        HWND list = ::GetDlgItem(page, IDC_STATUS_LIST);
        for (int row = 0; row < ListRowCount(list); ++row)
            cells.push_back(ListCellText(list, row, column));
        return cells;
    }
};

TEST_F(MemoryStatusPageTest, ShowsNineRowsInOrderWithTheirFormats)
{
    StandInFigures figures = DefaultStandInFigures();
    figures.memoryLoad = 0;
    figures.phyTotalMB = 511;
    figures.phyAvaiMB = 230;
    figures.pageTotalMB = 1248;
    figures.pageAvaiMB = 1001;
    figures.virtualTotalMB = 4095;
    figures.pageSize = 4096;
    figures.minimumAddress = reinterpret_cast<void*>(0x00010000);
    figures.maximumAddress = reinterpret_cast<void*>(0xFFFEFFFFu);
    StandInSetFigures(figures);
    auto page = MakePage();

    EXPECT_EQ(Column(*page, 0), std::vector<std::string>(std::begin(kExpectedLabels), std::end(kExpectedLabels)));
    std::vector<std::string> expectedValues = {
        "0 %",
        "511 MBs",
        "230 MBs",
        "1248 MBs",
        "1001 MBs",
        "4095 MBs",
        Address("10000"),
        Address("FFFEFFFF"),
        "4096 bytes",
    };
    EXPECT_EQ(Column(*page, 1), expectedValues);
}

TEST_F(MemoryStatusPageTest, ListLooksAsDesigned)
{
    auto page = MakePage();
    HWND list = ::GetDlgItem(*page, IDC_STATUS_LIST);
    char heading[32] = {};
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT;
    column.pszText = heading;
    column.cchTextMax = sizeof heading;
    ::SendMessage(list, LVM_GETCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    EXPECT_STREQ(heading, "Data Type");
    ::SendMessage(list, LVM_GETCOLUMNA, 1, reinterpret_cast<LPARAM>(&column));
    EXPECT_STREQ(heading, "Value");
    EXPECT_EQ(::SendMessage(list, LVM_GETCOLUMNWIDTH, 0, 0), 250);
    EXPECT_EQ(::SendMessage(list, LVM_GETCOLUMNWIDTH, 1, 0), 150);
    EXPECT_EQ(::SendMessage(list, LVM_GETTEXTCOLOR, 0, 0), 0x0064C8);
    EXPECT_EQ(::SendMessage(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), 0x829);
    EXPECT_EQ(ButtonIcon(*page, IDC_REFRESH_BUTTON), LargeProgramIcon(IDI_REFRESH, nullptr));
}

TEST_F(MemoryStatusPageTest, FiguresChangeOnlyOnRefreshAndOnlyInTheValueColumn)
{
    auto page = MakePage();
    ::ShowWindow(*page, SW_SHOW);
    std::vector<std::string> atStart = Column(*page, 1);

    StandInFigures figures = DefaultStandInFigures();
    figures.memoryLoad = 100;
    figures.phyAvaiMB = 17;
    figures.pageSize = 65536;
    StandInSetFigures(figures);
    // No timer re-reads the figures: waiting changes nothing.
    PumpUntil([] { return false; }, 300);
    EXPECT_EQ(Column(*page, 1), atStart);

    Click(*page, IDC_REFRESH_BUTTON);
    std::vector<std::string> values = Column(*page, 1);
    ASSERT_EQ(values.size(), 9u);
    EXPECT_EQ(values[0], "100 %");
    EXPECT_EQ(values[2], "17 MBs");
    EXPECT_EQ(values[8], "65536 bytes");
    EXPECT_EQ(values[1], atStart[1]);
    EXPECT_EQ(Column(*page, 0), std::vector<std::string>(std::begin(kExpectedLabels), std::end(kExpectedLabels)));
    EXPECT_TRUE(HasVisibleStyle(::GetDlgItem(*page, IDC_STATUS_LIST))) << "the list must come back after its blink";
}

TEST(PageTextTest, AddressesAreUpperCaseAndZeroPaddedToThePointerWidth)
{
    EXPECT_EQ(FormatAddress(nullptr), Address("0"));
    EXPECT_EQ(FormatAddress(reinterpret_cast<void*>(0x00010000)), Address("10000"));
    EXPECT_EQ(FormatAddress(reinterpret_cast<void*>(0x7FFEFFFF)), Address("7FFEFFFF"));
    EXPECT_EQ(FormatAddress(reinterpret_cast<void*>(0xABCDEF)), Address("ABCDEF"));
#if defined(_WIN64)
    EXPECT_EQ(FormatAddress(reinterpret_cast<void*>(0x000007FFFFFEFFFFull)), "0x000007FFFFFEFFFF");
#endif
}

TEST(PageTextTest, FormattedTextIsCutOnlyBeyondTheBuffer)
{
    EXPECT_EQ(FormatText("%u MBs free", 4095u), "4095 MBs free");
    EXPECT_EQ(FormatText("%u %s", 0u, "%"), "0 %");
    // Exactly the buffer: the system formatter leaves that unterminated.
    EXPECT_EQ(FormatText("%s", std::string(128, 'y').c_str()), std::string(127, 'y'));
    std::string longText = FormatText("%s", std::string(300, 'x').c_str());
    EXPECT_EQ(longText, std::string(127, 'x'));
}

} // namespace
