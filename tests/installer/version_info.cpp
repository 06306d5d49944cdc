// Prints the version resource of each file given as Windows reads it for the
// file's properties: the fixed file and product versions, then the strings
// of its first translation, one "name=value" line each, every file's block
// headed by "[file]". A file without a version resource ends it with 1.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <vector>

namespace {

const wchar_t* const kNames[] = {L"CompanyName", L"ProductName", L"FileDescription",
                                 L"FileVersion", L"ProductVersion", L"LegalCopyright"};

void PrintFixed(const char* name, DWORD high, DWORD low)
{
    std::printf("%s=%u.%u.%u.%u\n", name, unsigned{HIWORD(high)}, unsigned{LOWORD(high)},
                unsigned{HIWORD(low)}, unsigned{LOWORD(low)});
}

bool PrintVersionInfo(const wchar_t* file)
{
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(file, &ignored);
    if (size == 0)
        return false;
    std::vector<BYTE> block(size);
    if (!::GetFileVersionInfoW(file, 0, size, block.data()))
        return false;

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length))
        return false;
    PrintFixed("fixed FileVersion", fixed->dwFileVersionMS, fixed->dwFileVersionLS);
    PrintFixed("fixed ProductVersion", fixed->dwProductVersionMS, fixed->dwProductVersionLS);

    struct Translation {
        WORD language;
        WORD codePage;
    }* translation = nullptr;
    if (!::VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                          reinterpret_cast<void**>(&translation), &length)
        || length < sizeof(Translation))
        return false;
    for (const wchar_t* name : kNames) {
        wchar_t path[64];
        std::swprintf(path, 64, L"\\StringFileInfo\\%04x%04x\\%ls", translation->language,
                      translation->codePage, name);
        wchar_t* value = nullptr;
        if (!::VerQueryValueW(block.data(), path, reinterpret_cast<void**>(&value), &length))
            value = nullptr;
        std::printf("%ls=%ls\n", name, value ? value : L"");
    }
    return true;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    int status = 0;
    for (int i = 1; i < argc; ++i) {
        std::printf("[%ls]\n", argv[i]);
        if (!PrintVersionInfo(argv[i])) {
            std::printf("no version resource (error %lu)\n", ::GetLastError());
            status = 1;
        }
    }
    return status;
}
