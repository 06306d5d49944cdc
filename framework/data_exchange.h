// Data exchange: moving values between a window's controls and its members
// (DDX_Text, DDX_Radio, DDX_Check, DDX_Control...), in either direction.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

class CWnd;

// One run of a window's DoDataExchange: its direction, and whether any
// binding failed. A failure calls the window's OnDataExchangeFailure hook;
// nothing is thrown.
class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    // The control with this id, or nullptr after reporting the failure.
    HWND PrepareCtrl(int nIDC);
    // The radio buttons of the group that starts at this control, in order;
    // empty after reporting the failure when it is no such group.
    const std::vector<HWND>& PrepareRadioGroup(int nIDC);
    void Fail(int nIDC);

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    bool m_bFailed = false;
};

// Attaches the control member to the control with this id, once.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
// A radio group as the zero-based index of its checked button, -1 for none.
// nIDC is the group's first radio button (the one with WS_GROUP); the group
// runs up to the next control with WS_GROUP, counting radio buttons only.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
// A check box's state: 0 cleared, 1 checked, 2 indeterminate.
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value);
// A whole decimal number; other text fails and leaves value unchanged.
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
