#pragma once
#include <string>

// printf-style formatting into a string; the pages' texts are short.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

// "0x" and the address in upper-case hexadecimal, zero-padded to the full
// width of a pointer (8 digits in the 32-bit program), whatever %p would
// print on this runtime.
std::string FormatAddress(const void* address);
