// Control writes that are skipped when the control already shows the value.
#pragma once
#include <windows.h>

#include <string>

#include "button.h"
#include "progress_ctrl.h"

// Writes for the periodic refreshes: each reads the control first and writes
// only when the control would show something else. An unchanged write still
// costs a redraw (and under Wine a round trip to its server), ten times a
// second. Comparing with the control itself, not with a remembered value,
// still puts back what the user changed. Data exchange writes through the
// same rule (UpdateData(FALSE)).

void SetWindowTextIfChanged(HWND window, const std::string& text);
void SetCheckIfChanged(HWND button, int nCheck);
void SetIconIfChanged(CButton& button, HICON hIcon);
void SetPosIfChanged(CProgressCtrl& bar, int nPos);
// Judged by the window's own style: a control of a hidden page is itself
// still "shown".
void ShowIfChanged(HWND window, bool show);
void EnableIfChanged(HWND window, bool enable);
