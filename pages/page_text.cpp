#include "page_text.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>

std::string FormatText(const char* format, ...)
{
    char buffer[128];
    va_list args;
    va_start(args, format);
    int length = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (length < 0)
        return std::string();
    return std::string(buffer, static_cast<size_t>(length) < sizeof buffer ? static_cast<size_t>(length)
                                                                             : sizeof buffer - 1);
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
