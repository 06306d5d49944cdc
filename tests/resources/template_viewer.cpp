// Shows one dialog template dressed as the program dresses it (white
// background, icons on the icon buttons, the form hosting a page), then
// quits after a few seconds. Usage: kolvar_template_viewer <template> [page]
#include "host_window.h"
#include "resource.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>

namespace {

HINSTANCE ProgramModule() { return GetModuleHandleA(nullptr); }

HBRUSH WhiteBrush() { return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)); }

INT_PTR CALLBACK WhiteDialogProc(HWND, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
        return reinterpret_cast<INT_PTR>(WhiteBrush());
    }
    return FALSE;
}

void SetButtonIcon(HWND dialog, int button, int icon)
{
    SendDlgItemMessageA(dialog, button, BM_SETIMAGE, IMAGE_ICON,
                        reinterpret_cast<LPARAM>(LoadIconA(ProgramModule(), MAKEINTRESOURCEA(icon))));
}

void DressPage(HWND page, int templateId)
{
    switch (templateId) {
    case IDD_MEMORY_STATUS_PAGE: {
        SetButtonIcon(page, IDC_REFRESH_BUTTON, IDI_REFRESH);
        HWND list = GetDlgItem(page, IDC_STATUS_LIST);
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 250;
        column.pszText = const_cast<char*>("Data Type");
        SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
        column.cx = 150;
        column.pszText = const_cast<char*>("Value");
        SendMessageA(list, LVM_INSERTCOLUMNA, 1, reinterpret_cast<LPARAM>(&column));
        SendMessageA(list, LVM_SETTEXTCOLOR, 0, RGB(200, 100, 0));
        SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, 0x829);
        const char* rows[] = {"Memory Load", "Total Physical Memory", "Available Physical Memory"};
        for (int i = 0; i < 3; ++i) {
            LVITEMA item{};
            item.mask = LVIF_TEXT;
            item.iItem = i;
            item.pszText = const_cast<char*>(rows[i]);
            SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        }
        break;
    }
    case IDD_FREE_MEMORY_PAGE:
        SetButtonIcon(page, IDC_FREE_BUTTON, IDI_BOLT);
        SendDlgItemMessageA(page, IDC_AVAILABLE_GAUGE, PBM_SETPOS, 40, 0);
        SendDlgItemMessageA(page, IDC_FORECAST_GAUGE, PBM_SETPOS, 65, 0);
        break;
    case IDD_AUTOMATION_PAGE:
        CheckRadioButton(page, IDC_RADIO_FASTER, IDC_RADIO_NONE, IDC_RADIO_NONE);
        break;
    case IDD_REGULAR_FREE_PAGE:
        SendDlgItemMessageA(page, IDC_INTERVAL_SPIN, UDM_SETRANGE32, 10, 60000);
        SendDlgItemMessageA(page, IDC_INTERVAL_SPIN, UDM_SETPOS32, 0, 100);
        CheckRadioButton(page, IDC_RADIO_FREE_MEMORY, IDC_RADIO_KEEP_AT_LEAST, IDC_RADIO_KEEP_AT_LEAST);
        break;
    }
}

HWND CreatePage(HWND parent, int templateId)
{
    HWND page = CreateDialogParamA(ProgramModule(), MAKEINTRESOURCEA(templateId), parent, WhiteDialogProc, 0);
    DressPage(page, templateId);
    return page;
}

void DressForm(HWND form, int pageId)
{
    SetButtonIcon(form, IDC_PAGE_BUTTON_STATUS, IDI_SCREEN);
    SetButtonIcon(form, IDC_PAGE_BUTTON_FREE, IDI_CHIP);
    SetButtonIcon(form, IDC_PAGE_BUTTON_AUTOMATION, IDI_STAR);
    SetButtonIcon(form, IDC_PAGE_BUTTON_REGULAR, IDI_ALARM_CLOCK);
    SetDlgItemTextA(form, IDC_AUTOMATION_LABEL, "Automation : None");
    SendDlgItemMessageA(form, IDC_RAM_GAUGE, PBM_SETPOS, 55, 0);
    HWND page = CreatePage(form, pageId);
    RECT area;
    GetWindowRect(GetDlgItem(form, IDC_PAGE_AREA), &area);
    MapWindowPoints(HWND_DESKTOP, form, reinterpret_cast<POINT*>(&area), 2);
    SetWindowPos(page, HWND_TOP, area.left, area.top, area.right - area.left, area.bottom - area.top,
                 SWP_SHOWWINDOW);
}

// A stand-in for the main window: caption, system menu, minimise box, menu.
HWND CreateHost(HWND* child, int templateId, int pageId)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = ProgramModule();
    windowClass.hbrBackground = WhiteBrush();
    windowClass.lpszClassName = "KolvarViewerHost";
    RegisterClassA(&windowClass);
    HWND host = CreateWindowExA(0, windowClass.lpszClassName, "Velkor Halvenmark",
                                WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 20, 20, 100, 100, nullptr,
                                LoadMenuA(ProgramModule(), MAKEINTRESOURCEA(IDR_MAIN_MENU)), ProgramModule(), nullptr);
    SendMessageA(host, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(LoadImageA(ProgramModule(), MAKEINTRESOURCEA(IDI_TRAY_CHIP), IMAGE_ICON, 16, 16, 0)));
    *child = CreateDialogParamA(ProgramModule(), MAKEINTRESOURCEA(templateId), host, WhiteDialogProc, 0);
    if (templateId == IDD_QUENDRIX_FORM)
        DressForm(*child, pageId);
    else
        DressPage(*child, templateId);
    RECT size;
    GetWindowRect(*child, &size);
    RECT frame{0, 0, size.right - size.left, size.bottom - size.top};
    AdjustWindowRectEx(&frame, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, TRUE, 0);
    SetWindowPos(host, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    ShowWindow(*child, SW_SHOW);
    return host;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    StartCommonControls();
    const int templateId = __argc > 1 ? std::atoi(__argv[1]) : IDD_QUENDRIX_FORM;
    const int pageId = __argc > 2 ? std::atoi(__argv[2]) : IDD_MEMORY_STATUS_PAGE;

    HWND window = nullptr;
    HWND dialog = nullptr;
    if (templateId >= IDD_QUENDRIX_FORM && templateId <= IDD_REGULAR_FREE_PAGE) {
        window = CreateHost(&dialog, templateId, pageId);
    } else {
        window = dialog = CreateDialogParamA(ProgramModule(), MAKEINTRESOURCEA(templateId), nullptr, WhiteDialogProc, 0);
        SetWindowPos(window, nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    if (!window)
        return 1;
    ShowWindow(window, SW_SHOW);
    SetTimer(nullptr, 0, 4000, nullptr);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER && !message.hwnd)
            break;
        if (!IsDialogMessageA(dialog, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    DestroyWindow(window);
    return 0;
}
