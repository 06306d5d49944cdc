// A private corner of HKEY_CURRENT_USER for one test: two keys that stand in
// for the machine and user roots, removed again when the test ends.
#pragma once

#include "product_names.h"
#include "registry_key.h"
#include "registry_roots.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

struct RawValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

class RegistrySandbox : public ::testing::Test {
public:
    // Writes or reads a value exactly as given, at path under root.
    static void PutRaw(HKEY root, const char* path, const char* name, DWORD type,
                       const void* data, DWORD size);
    static void PutNumber(HKEY root, const char* path, const char* name, DWORD value);
    static void PutText(HKEY root, const char* path, const char* name, const std::string& text);
    static std::optional<RawValue> GetRaw(HKEY root, const char* path, const char* name);
    // A REG_DWORD of 4 bytes, or nothing when the value is absent or not that.
    static std::optional<DWORD> GetNumber(HKEY root, const char* path, const char* name);
    static std::optional<std::string> GetText(HKEY root, const char* path, const char* name);
    static bool KeyExists(HKEY root, const char* path);

    // Leaves the key at path under root readable but not writable.
    static void MakeReadOnly(HKEY root, const char* path);

protected:
    void SetUp() override;
    void TearDown() override;

    SettingsRoots Roots() const { return {m_machine, m_user}; }

    HKEY m_machine = nullptr;
    HKEY m_user = nullptr;

private:
    std::string m_path;
};

inline const char* const kSettings = KOLVAR_SETTINGS_KEY;
inline const char* const kRun = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
