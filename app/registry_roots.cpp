#include "registry_roots.h"

CRegistryKey OpenExistingKey(const SettingsRoots& roots, const char* path)
{
    CRegistryKey key;
    if (key.Open(roots.machine, path, KEY_ALL_ACCESS) != ERROR_SUCCESS)
        key.Open(roots.user, path, KEY_ALL_ACCESS);
    return key;
}

CRegistryKey OpenOrCreateKey(const SettingsRoots& roots, const char* path)
{
    CRegistryKey key = OpenExistingKey(roots, path);
    if (!key.IsOpen() && key.Create(roots.machine, path, KEY_ALL_ACCESS) != ERROR_SUCCESS)
        key.Create(roots.user, path, KEY_ALL_ACCESS);
    return key;
}
