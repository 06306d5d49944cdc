// A registry key handle that closes itself; each member is one registry call.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>

class CRegistryKey {
public:
    CRegistryKey() = default;
    ~CRegistryKey() { Close(); }
    CRegistryKey(CRegistryKey&& other) noexcept : m_key(other.m_key) { other.m_key = nullptr; }
    CRegistryKey& operator=(CRegistryKey&& other) noexcept;
    CRegistryKey(const CRegistryKey&) = delete;
    CRegistryKey& operator=(const CRegistryKey&) = delete;

    // RegOpenKeyExA: opens an existing key only.
    LONG Open(HKEY root, const char* subkey, REGSAM access);
    // RegCreateKeyExA: opens the key, creating it (and its parents) if missing.
    LONG Create(HKEY root, const char* subkey, REGSAM access);
    void Close();
    bool IsOpen() const { return m_key != nullptr; }
    operator HKEY() const { return m_key; }

    // RegQueryValueExA into a zeroed 4-byte buffer; the type is not examined,
    // so data of up to 4 bytes reads as a little-endian number. Anything that
    // does not fully succeed (no key, no value, more than 4 bytes) reads as 0.
    DWORD QueryNumber(const char* name) const;
    // RegQueryValueExA that accepts only REG_DWORD data of 4 bytes: anything
    // else (another type, no value, no key) is no number at all.
    std::optional<DWORD> QueryDword(const char* name) const;
    // RegQueryValueExW of REG_SZ data into a buffer of bufferSize
    // characters, returned as UTF-8. The result always ends at the first
    // zero or at the data's end, never past the buffer; data that does not
    // fit, or is not REG_SZ, reads as "".
    std::string QueryText(const char* name, std::size_t bufferSize) const;
    // RegQueryValueExA with no buffer: does the value exist at all?
    bool HasValue(const char* name) const;

    // RegSetValueExA as REG_DWORD, 4 bytes.
    LONG SetNumber(const char* name, DWORD value);
    // RegSetValueExW of UTF-8 text as REG_SZ, the terminating zero included
    // in the size: every character of a path survives, whatever the code page.
    LONG SetText(const char* name, const std::string& text);
    // RegDeleteValueA.
    LONG DeleteValue(const char* name);

private:
    HKEY m_key = nullptr;
};
