#pragma once
#include <windows.h>
#include <string>

// The whole text of a window.
std::string ReadWindowText(HWND hWnd);

// Sets the text only when it differs from what the window shows now:
// rewriting an unchanged text still costs a redraw.
void WriteWindowTextIfChanged(HWND hWnd, const std::string& text);
