// Resource ids of Kolvar, shared by kolvar.rc and the program's code.
// Plain #defines only: the resource compiler reads this file too.
#ifndef KOLVAR_RESOURCE_H
#define KOLVAR_RESOURCE_H
// Formatted by hand: the ids stand in columns.
// clang-format off

// Dialog templates
#define IDD_ABOUTBOX            100  // the framework's About box (command ID_APP_ABOUT)
#define IDD_QUENDRIX_FORM       101  // main form: page area, page buttons, status strip
#define IDD_MEMORY_STATUS_PAGE  102
#define IDD_FREE_MEMORY_PAGE    103
#define IDD_AUTOMATION_PAGE     104
#define IDD_REGULAR_FREE_PAGE   105
#define IDD_PREFERENCE          106
#define IDD_ABOUT_HALVENMARK    107
#define IDD_WEB_SITE            108

// Document template: default menu, icon and string all share this id.
#define IDR_MAINFRAME           128
// The menu the main window really carries.
#define IDR_MAIN_MENU           141

// Strings
#define IDS_APP_TITLE           57344  // the framework's application name

// Commands of menu IDR_MAIN_MENU
#define ID_FILE_HIDE_TO_TRAY    32771
#define ID_FILE_EXIT            32775
#define ID_TOOLS_PREFERENCE     32776
#define ID_VIEW_FREE_MEMORY     32778
#define ID_VIEW_AUTOMATION      32779
#define ID_VIEW_REGULAR_FREE    32780
#define ID_HELP_ABOUT           32781
#define ID_VIEW_MEMORY_STATUS   32785
#define ID_HELP_WEB_SITE        32786

// The framework's standard commands, offered only by menu IDR_MAINFRAME
#define ID_FILE_NEW             57600
#define ID_FILE_OPEN            57601
#define ID_FILE_SAVE            57603
#define ID_APP_ABOUT            57664
#define ID_APP_EXIT             57665

// Icons
#define IDI_APP_CHIP            IDR_MAINFRAME  // application icon, a memory chip
#define IDI_CHIP                131  // Free Memory page emblem and button
#define IDI_REGULAR_FREE        133  // Regular Free page emblem
#define IDI_SCREEN              135  // Memory Status page emblem and button
#define IDI_REFRESH             137
#define IDI_BOLT                138  // Free button, ready
#define IDI_STAR                140  // Automation Wizard page emblem and button
#define IDI_BOLT_GREY           141  // Free button, during a run
#define IDI_TRAY_CHIP           142  // window and tray icon
#define IDI_ALARM_CLOCK         154  // Regular Free page button
#define IDI_CHIP_LOW            155  // tray icon below 5 % available

// 8 x 8 bitmaps
#define IDB_ARROW_MARK          159
#define IDB_BULLET_BLUE         165
#define IDB_BULLET_HEADING      168
#define IDB_BULLET_TIME         171
#define IDB_BULLET_SLIDER       172
#define IDB_BULLET_APPLY        173
#define IDB_STAR_MARK           180

// Controls of IDD_QUENDRIX_FORM
#define IDC_PAGE_BUTTON_STATUS      1000
#define IDC_PAGE_BUTTON_FREE        1001
#define IDC_PAGE_BUTTON_AUTOMATION  1002
#define IDC_PAGE_BUTTON_REGULAR     1003
#define IDC_RAM_GAUGE               1004
#define IDC_PAGE_AREA               1009
#define IDC_AUTOMATION_LABEL        1015

// Controls of IDD_MEMORY_STATUS_PAGE
#define IDC_REFRESH_BUTTON          1000
#define IDC_STATUS_LIST             1005

// Controls of IDD_FREE_MEMORY_PAGE
#define IDC_FREE_BUTTON             1000
#define IDC_AVAILABLE_GAUGE         1004
#define IDC_FORECAST_GAUGE          1005
#define IDC_FREE_AMOUNT_SLIDER      1006
#define IDC_RUN_PROGRESS            1008
#define IDC_AVAILABLE_TEXT          1012
#define IDC_FORECAST_TEXT           1013
#define IDC_FREE_AMOUNT_TEXT        1014

// Controls of IDD_AUTOMATION_PAGE
#define IDC_RADIO_FASTER            1007  // first of the mode group
#define IDC_RADIO_STABLY            1008
#define IDC_RADIO_NONE              1009

// Controls of IDD_REGULAR_FREE_PAGE
#define IDC_REGULAR_AMOUNT_SLIDER   1006
#define IDC_RADIO_FREE_MEMORY       1007  // first of the mode group
#define IDC_RADIO_KEEP_AT_LEAST     1008
#define IDC_THRESHOLD_SLIDER        1009
#define IDC_APPLY_TOGGLE            1010
#define IDC_INTERVAL_EDIT           1011
#define IDC_REGULAR_AMOUNT_TEXT     1012
#define IDC_THRESHOLD_TEXT          1013
#define IDC_INTERVAL_SPIN           1016

// Controls of IDD_PREFERENCE
#define IDC_SAVE_BUTTON             1000
#define IDC_CANCEL_BUTTON           1001
#define IDC_DEFAULT_BUTTON          1002
#define IDC_CHECK_RUN_AT_STARTUP    1010
#define IDC_CHECK_RUN_MINIMIZED     1011
#define IDC_CHECK_REMEMBER_SETTINGS 1012
#define IDC_CHECK_LOW_UPDATE_RATE   1015

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// clang-format on
#endif
