// What the framework tests share: an application with no start-up of its own.
#pragma once
#include <windows.h>

#include "dialog_items.h"
#include "host_window.h"
#include "message_log.h"
#include "message_pump.h"
#include "win_app.h"

class TestApp : public CWinApp {
public:
    BOOL InitInstance() override { return TRUE; }
};
