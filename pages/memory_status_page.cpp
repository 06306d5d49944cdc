#include "memory_status_page.h"

#include <algorithm>

#include "drevcore.h"
#include "page_text.h"
#include "program_icon.h"
#include "resource.h"

namespace {

std::string MegabytesText(DWORD megabytes)
{
    return FormatText("%u MBs", static_cast<unsigned>(megabytes));
}

// One row of the table: its label and how its value is read and written.
struct StatusRow {
    const char* label;
    std::string (*value)(CDMemoryStatus&, CDSystemInfo&);
};

const StatusRow kStatusRows[] = {
    {"Memory Load", [](CDMemoryStatus& s, CDSystemInfo&) {
         return FormatText("%u %s", static_cast<unsigned>(s.getStatusMemoryLoad()), "%");
     }},
    {"Total Physical Memory", [](CDMemoryStatus& s, CDSystemInfo&) { return MegabytesText(s.getStatusPhyTotalMB()); }},
    {"Available Physical Memory", [](CDMemoryStatus& s, CDSystemInfo&) { return MegabytesText(s.getStatusPhyAvaiMB()); }},
    {"Total Paging File Memory", [](CDMemoryStatus& s, CDSystemInfo&) { return MegabytesText(s.getStatusPageTotalMB()); }},
    {"Available Paging File Memory", [](CDMemoryStatus& s, CDSystemInfo&) { return MegabytesText(s.getStatusPageAvaiMB()); }},
    {"Total Virtual Memory", [](CDMemoryStatus& s, CDSystemInfo&) { return MegabytesText(s.getStatusVirtualTotalMB()); }},
    {"Minimum Application Address", [](CDMemoryStatus&, CDSystemInfo& i) {
         return FormatAddress(i.getInfoMinimumApplicationAddressLP());
     }},
    {"Maximum Application Address", [](CDMemoryStatus&, CDSystemInfo& i) {
         return FormatAddress(i.getInfoMaximumApplicationAddressLP());
     }},
    {"Page Size", [](CDMemoryStatus&, CDSystemInfo& i) {
         return FormatText("%u bytes", static_cast<unsigned>(i.getInfoPageSize()));
     }},
};

// Any index past the end appends, so the rows keep their insertion order.
constexpr int kAppendIndex = 20;
// The space a report list leaves around a cell's text, at 96 DPI.
constexpr int kCellMarginsPx = 12;

} // namespace

CMemoryStatusPage::CMemoryStatusPage(CWnd* pParent)
{
    Create(IDD_MEMORY_STATUS_PAGE, pParent);
}

CMemoryStatusPage::~CMemoryStatusPage()
{
    DestroyWindow();
}

BEGIN_MESSAGE_MAP(CMemoryStatusPage, CDialog)
    ON_BN_CLICKED(IDC_REFRESH_BUTTON, OnRefresh)
END_MESSAGE_MAP()

void CMemoryStatusPage::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_STATUS_LIST, m_statusList);
    DDX_Control(pDX, IDC_REFRESH_BUTTON, m_refreshButton);
}

BOOL CMemoryStatusPage::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_refreshButton.SetIcon(LargeProgramIcon(IDI_REFRESH, m_hWnd));
    m_toolTip.Create(this);
    m_toolTip.AddTool(m_refreshButton);
    InitStatusList();
    return TRUE;
}

void CMemoryStatusPage::InitStatusList()
{
    m_statusList.InsertColumn(0, "Data Type", LVCFMT_LEFT);
    m_statusList.InsertColumn(1, "Value", LVCFMT_LEFT);
    // The 96-DPI widths scaled. The dialog font steps between fixed sizes and
    // so grows less than the DPI: where the list came out narrower than the
    // scaled columns, the labels take what their widest needs and the values
    // the rest, instead of the values running past the list.
    const UINT dpi = WindowDpi(m_hWnd);
    int labelWidth = ScaleForDpi(250, dpi);
    int valueWidth = ScaleForDpi(150, dpi);
    RECT client{};
    m_statusList.GetClientRect(&client);
    if (client.right > 0 && labelWidth + valueWidth > client.right) {
        int widestLabel = 0;
        for (const StatusRow& row : kStatusRows)
            widestLabel = std::max(widestLabel, m_statusList.GetStringWidth(row.label));
        labelWidth = widestLabel + ScaleForDpi(kCellMarginsPx, dpi);
        valueWidth = client.right - labelWidth;
    }
    m_statusList.SetColumnWidth(0, labelWidth);
    m_statusList.SetColumnWidth(1, valueWidth);
    m_statusList.SetTextColor(RGB(200, 100, 0));
    m_statusList.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_TRACKSELECT | LVS_EX_FULLROWSELECT
                                  | LVS_EX_UNDERLINEHOT);
    m_statusList.DeleteAllItems();
    for (const StatusRow& row : kStatusRows)
        m_statusList.InsertItem(kAppendIndex, row.label);
    UpdateStatusValues();
}

void CMemoryStatusPage::UpdateStatusValues()
{
    CDMemoryStatus status;
    CDSystemInfo info;
    // Each figure is queried when its row is written, in row order.
    int index = 0;
    for (const StatusRow& row : kStatusRows)
        m_statusList.SetItemText(index++, 1, row.value(status, info));
}

void CMemoryStatusPage::OnRefresh()
{
    // The blink is the user's only sign that the figures were read again.
    m_statusList.ShowWindow(SW_HIDE);
    UpdateStatusValues();
    ::Sleep(50);
    m_statusList.ShowWindow(SW_SHOW);
}
