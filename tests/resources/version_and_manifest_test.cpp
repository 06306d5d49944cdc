// The version resource follows the project's version, and the manifest
// brings in the version 6 common controls.
#include <gtest/gtest.h>
#include <windows.h>

#include <cctype>
#include <string>
#include <vector>

namespace {

std::vector<char> VersionBlock()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    DWORD ignored = 0;
    std::vector<char> block(GetFileVersionInfoSizeA(path, &ignored));
    if (block.empty() || !GetFileVersionInfoA(path, 0, static_cast<DWORD>(block.size()), block.data()))
        block.clear();
    return block;
}

std::string VersionString(std::vector<char>& block, const char* name)
{
    char* value = nullptr;
    UINT length = 0;
    std::string key = std::string("\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueA(block.data(), key.c_str(), reinterpret_cast<void**>(&value), &length) || !value)
        return {};
    return value;
}

TEST(VersionInfo, CarriesTheProjectVersionAndNames)
{
    std::vector<char> block = VersionBlock();
    ASSERT_FALSE(block.empty());
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    const std::string numbers = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." + std::to_string(HIWORD(fixed->dwFileVersionLS));
    EXPECT_EQ(KOLVAR_EXPECTED_VERSION, numbers);
    EXPECT_EQ(fixed->dwFileVersionMS, fixed->dwProductVersionMS);
    EXPECT_EQ(fixed->dwFileVersionLS, fixed->dwProductVersionLS);
    EXPECT_EQ(static_cast<DWORD>(VFT_APP), fixed->dwFileType);

    EXPECT_EQ(KOLVAR_EXPECTED_VERSION, VersionString(block, "FileVersion"));
    EXPECT_EQ(KOLVAR_EXPECTED_VERSION, VersionString(block, "ProductVersion"));
    EXPECT_EQ("Kolvar", VersionString(block, "ProductName"));
    EXPECT_EQ("Velkor", VersionString(block, "CompanyName"));
    EXPECT_FALSE(VersionString(block, "FileDescription").empty());
    EXPECT_NE(std::string::npos, VersionString(block, "LegalCopyright").find("Velkor"));
}

// Version 6 lives in the side-by-side store; only the manifest brings it in.
TEST(Manifest, LoadsVersion6CommonControls)
{
    HMODULE controls = GetModuleHandleA("comctl32.dll");
    ASSERT_NE(nullptr, controls);
    char path[MAX_PATH] = {};
    GetModuleFileNameA(controls, path, MAX_PATH);
    std::string lower(path);
    for (char& c : lower)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    EXPECT_NE(std::string::npos, lower.find("winsxs")) << path;
    EXPECT_NE(std::string::npos, lower.find("common-controls")) << path;
    EXPECT_NE(std::string::npos, lower.find("_6.0.")) << path;
}

} // namespace
