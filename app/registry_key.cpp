#include "registry_key.h"

#include <algorithm>
#include <vector>

#include "wide_text.h"

CRegistryKey& CRegistryKey::operator=(CRegistryKey&& other) noexcept
{
    if (this != &other) {
        Close();
        m_key = other.m_key;
        other.m_key = nullptr;
    }
    return *this;
}

LONG CRegistryKey::Open(HKEY root, const char* subkey, REGSAM access)
{
    Close();
    HKEY key = nullptr;
    const LONG result = RegOpenKeyExA(root, subkey, 0, access, &key);
    if (result == ERROR_SUCCESS)
        m_key = key;
    return result;
}

LONG CRegistryKey::Create(HKEY root, const char* subkey, REGSAM access)
{
    Close();
    HKEY key = nullptr;
    const LONG result = RegCreateKeyExA(root, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                        access, nullptr, &key, nullptr);
    if (result == ERROR_SUCCESS)
        m_key = key;
    return result;
}

void CRegistryKey::Close()
{
    if (m_key) {
        RegCloseKey(m_key);
        m_key = nullptr;
    }
}

DWORD CRegistryKey::QueryNumber(const char* name) const
{
    if (!m_key)
        return 0;
    BYTE data[4] = {};
    DWORD type = 0;
    DWORD size = sizeof data;
    // Shorter data leaves the zeroed tail; data too big for the buffer may
    // have been partly copied, so it counts as not read.
    if (RegQueryValueExA(m_key, name, nullptr, &type, data, &size) != ERROR_SUCCESS)
        return 0;
    return DWORD(data[0]) | DWORD(data[1]) << 8 | DWORD(data[2]) << 16 | DWORD(data[3]) << 24;
}

std::optional<DWORD> CRegistryKey::QueryDword(const char* name) const
{
    DWORD value = 0;
    DWORD type = 0;
    DWORD size = sizeof value;
    if (!m_key || RegQueryValueExA(m_key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS
        || type != REG_DWORD || size != sizeof value)
        return std::nullopt;
    return value;
}

std::string CRegistryKey::QueryText(const char* name, std::size_t bufferSize) const
{
    if (!m_key || bufferSize == 0)
        return {};
    // One spare character past what the registry may fill, so the text always ends.
    std::vector<wchar_t> buffer(bufferSize + 1, L'\0');
    DWORD type = 0;
    DWORD size = DWORD(bufferSize * sizeof(wchar_t));
    if (RegQueryValueExW(m_key, WideFromUtf8(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                         &size)
            != ERROR_SUCCESS
        || type != REG_SZ)
        return {};
    buffer[std::min<std::size_t>(size / sizeof(wchar_t), bufferSize)] = L'\0';
    return Utf8FromWide(buffer.data());
}

bool CRegistryKey::HasValue(const char* name) const
{
    return m_key && RegQueryValueExA(m_key, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

LONG CRegistryKey::SetNumber(const char* name, DWORD value)
{
    return RegSetValueExA(m_key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof value);
}

LONG CRegistryKey::SetText(const char* name, const std::string& text)
{
    const std::wstring wide = WideFromUtf8(text);
    return RegSetValueExW(m_key, WideFromUtf8(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                          DWORD((wide.size() + 1) * sizeof(wchar_t)));
}

LONG CRegistryKey::DeleteValue(const char* name)
{
    return RegDeleteValueA(m_key, name);
}
