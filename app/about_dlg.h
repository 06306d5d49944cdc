// The framework's About box (template 100), opened by the application's
// About command. Its OK button has the standard id, so OK and Escape close it.
#pragma once

#include "dialog.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();
};
