#include "page_text.h"

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>

std::string FormatText(const char* format, ...)
{
    // The system library's formatter: the texts need only whole numbers and
    // strings, and the C++ library's own one brings in floating-point
    // formatting, about a tenth of the program. It returns -1 when the text
    // does not fit and then leaves the buffer unterminated.
    char buffer[128] = {};
    va_list args;
    va_start(args, format);
    const int length = ::_vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (length < 0)
        return std::string(buffer, std::find(buffer, buffer + sizeof buffer - 1, '\0'));
    return std::string(buffer, std::min(static_cast<size_t>(length), sizeof buffer - 1));
}

std::string FormatAddress(const void* address)
{
    static const char digits[] = "0123456789ABCDEF";
    const int width = static_cast<int>(sizeof address * 2);
    std::uintptr_t value = reinterpret_cast<std::uintptr_t>(address);
    std::string text(2 + width, '0');
    text[1] = 'x';
    for (int i = width - 1; i >= 0; --i) {
        text[2 + i] = digits[value & 0xF];
        value >>= 4;
    }
    return text;
}
