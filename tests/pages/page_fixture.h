#pragma once
// What the page tests share: a hidden host window standing in for the
// main view, the timer calls logged, and small helpers that drive a page
// with messages and read it back.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "call_log.h"
#include "dialog_items.h"
#include "framework.h"
#include "message_log.h"
#include "message_pump.h"
#include "same_sequence.h"

// A hidden top-level window that parents the page under test, the stand-in
// engine reset to its default figures, and the timer log emptied.
class PageTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    CWnd host;
};

// Whether object lies within page: the page's own engine object, say.
template <typename Page>
bool IsPartOf(const void* object, const Page& page)
{
    const auto* begin = reinterpret_cast<const char*>(&page);
    const auto* at = static_cast<const char*>(object);
    return at >= begin && at < begin + sizeof(Page);
}

bool HasVisibleStyle(HWND window);
void Tick(HWND page, UINT_PTR timerId);
// Moves a slider in code and lets it report the move, as a drag would.
void DragSlider(HWND page, int id, int position);
