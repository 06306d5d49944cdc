// What the application tests share: the shell, timer and registry writes
// logged, a started application over a private registry corner and the
// engine stand-in, and a way to act inside a modal dialog.
#pragma once
#include <windows.h>
#include <shellapi.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "call_log.h"
#include "dialog_items.h"
#include "engine_standin.h"
#include "same_sequence.h"
#include "main_frame.h"
#include "message_pump.h"
#include "quendrix_app.h"
#include "quendrix_view.h"
#include "registry_sandbox.h"

// A test with its own registry roots and, once StartApp ran, the whole
// program: application, main frame, view and pages.
class AppTest : public RegistrySandbox {
protected:
    void SetUp() override;
    void TearDown() override;

    // InitInstance as the program's start runs it; false when it failed.
    bool StartApp();
    // Closes the main window as "Exit" does (the view saves on the way).
    void DestroyMainWindow();

    void PutSetting(const char* name, DWORD value) { PutNumber(m_machine, kSettings, name, value); }
    std::optional<DWORD> Setting(const char* name) const { return GetNumber(m_machine, kSettings, name); }

    CMainFrame* Frame() const;
    CQuendrixView* View() const;
    // The window of the page at this index of the view's page table, found
    // among the view's children by a control only that page holds.
    HWND Page(int index) const;
    void Command(UINT id) const;
    void StatusTick() const;

    std::unique_ptr<CQuendrixApp> m_app;
};

// Opens a modal dialog with open() and, once the dialog stands, runs act on
// it inside its modal loop. A dialog that act leaves open is ended after a
// few seconds so that no test hangs; the result says whether that happened.
struct ModalRun {
    bool dialogSeen = false;
    bool forcedClosed = false;
};
ModalRun RunModal(const std::function<void()>& open, const std::function<void(HWND dialog)>& act);

// Escape as the keyboard gives it, through the dialog's modal loop.
void PressEscape(HWND dialog);
