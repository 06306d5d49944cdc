// Resource ids of the framework tests' own templates.
#pragma once

#define IDR_TEST_FRAME 300
#define IDD_TEST_PAGE 301
#define IDD_TEST_MODAL 302
#define IDD_TEST_FORM 303

#define IDC_RADIO0 1001
#define IDC_RADIO1 1002
#define IDC_CHECK 1003
#define IDC_RADIO_OTHER 1004
#define IDC_LABEL 1005
#define IDC_NUMBER 1006
#define IDC_SPIN_BUDDY 1007
#define IDC_SPIN 1008
#define IDC_PROGRESS 1009
#define IDC_SLIDER 1010
#define IDC_LIST 1011
#define IDC_BUTTON 1012
#define IDC_FIRST 1013
#define IDC_SECOND 1014

#define ID_SHARED_COMMAND 40001
#define ID_BASE_COMMAND 40002
#define ID_FRAME_COMMAND 40003
#define ID_THROWING_COMMAND 40004
