#include "registry_sandbox.h"

#include <sddl.h>

void RegistrySandbox::SetUp()
{
    m_path = "Software\\KolvarTests\\" + std::to_string(GetCurrentProcessId());
    RegDeleteTreeA(HKEY_CURRENT_USER, m_path.c_str());
    const std::string machine = m_path + "\\machine", user = m_path + "\\user";
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, machine.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &m_machine, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, user.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &m_user, nullptr),
              ERROR_SUCCESS);
}

void RegistrySandbox::TearDown()
{
    if (m_machine)
        RegCloseKey(m_machine);
    if (m_user)
        RegCloseKey(m_user);
    EXPECT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, m_path.c_str()), ERROR_SUCCESS);
}

void RegistrySandbox::PutRaw(HKEY root, const char* path, const char* name, DWORD type,
                             const void* data, DWORD size)
{
    CRegistryKey key;
    ASSERT_EQ(key.Create(root, path, KEY_ALL_ACCESS), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
}

void RegistrySandbox::PutNumber(HKEY root, const char* path, const char* name, DWORD value)
{
    PutRaw(root, path, name, REG_DWORD, &value, sizeof value);
}

void RegistrySandbox::PutText(HKEY root, const char* path, const char* name, const std::string& text)
{
    PutRaw(root, path, name, REG_SZ, text.c_str(), DWORD(text.size() + 1));
}

std::optional<RawValue> RegistrySandbox::GetRaw(HKEY root, const char* path, const char* name)
{
    CRegistryKey key;
    if (key.Open(root, path, KEY_QUERY_VALUE) != ERROR_SUCCESS)
        return std::nullopt;
    RawValue value;
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.data.resize(size);
    if (RegQueryValueExA(key, name, nullptr, &value.type, value.data.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.data.resize(size);
    return value;
}

std::optional<DWORD> RegistrySandbox::GetNumber(HKEY root, const char* path, const char* name)
{
    const auto raw = GetRaw(root, path, name);
    if (!raw || raw->type != REG_DWORD || raw->data.size() != 4)
        return std::nullopt;
    return DWORD(raw->data[0] | raw->data[1] << 8 | raw->data[2] << 16 | DWORD(raw->data[3]) << 24);
}

std::optional<std::string> RegistrySandbox::GetText(HKEY root, const char* path, const char* name)
{
    const auto raw = GetRaw(root, path, name);
    if (!raw || raw->type != REG_SZ || raw->data.empty() || raw->data.back() != 0)
        return std::nullopt;
    return std::string(raw->data.begin(), raw->data.end() - 1);
}

bool RegistrySandbox::KeyExists(HKEY root, const char* path)
{
    CRegistryKey key;
    return key.Open(root, path, KEY_QUERY_VALUE) == ERROR_SUCCESS;
}

void RegistrySandbox::MakeReadOnly(HKEY root, const char* path)
{
    CRegistryKey key;
    ASSERT_EQ(key.Create(root, path, KEY_ALL_ACCESS), ERROR_SUCCESS);
    // Read and delete only, so the sandbox can still be removed.
    PSECURITY_DESCRIPTOR readOnly = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(A;;KRSD;;;WD)", SDDL_REVISION_1,
                                                                     &readOnly, nullptr));
    EXPECT_EQ(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, readOnly), ERROR_SUCCESS);
    LocalFree(readOnly);
    CRegistryKey probe;
    ASSERT_EQ(probe.Open(root, path, KEY_ALL_ACCESS), ERROR_ACCESS_DENIED);
}
