// ReadWindowText: the whole text of a window.
#pragma once
#include <windows.h>
#include <string>

// The whole text of a window.
std::string ReadWindowText(HWND hWnd);
