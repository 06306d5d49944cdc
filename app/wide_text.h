// Paths travel through the program as UTF-8 and cross to Windows through
// its wide-character calls, so a folder name outside the ANSI code page
// keeps every character.
#pragma once

#include <string>

std::wstring WideFromUtf8(const std::string& text);
std::string Utf8FromWide(const std::wstring& text);
