// Reading and pressing the controls of a dialog, as a user would.
#pragma once
#include <windows.h>

#include <string>

std::string WindowText(HWND window);
std::string ClassName(HWND window);
std::string ControlText(HWND dialog, int id);
bool IsChecked(HWND dialog, int id);
void Click(HWND dialog, int id);
// A list view's rows and cells.
int ListRowCount(HWND list);
std::string ListCellText(HWND list, int row, int column);
// The icon a button shows.
HICON ButtonIcon(HWND dialog, int id);
