#pragma once
// Reading and pressing the controls of a dialog, as a user would.
#include <windows.h>

#include <string>

std::string ControlText(HWND dialog, int id);
bool IsChecked(HWND dialog, int id);
void Click(HWND dialog, int id);
