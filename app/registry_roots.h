// Where the store's keys live: under the machine root when this user may
// open them there with full access, otherwise under the user's own root.
#pragma once

#include "registry_key.h"

#include <windows.h>

// The two roots, machine first. Tests point them at keys of their own.
struct SettingsRoots {
    HKEY machine = HKEY_LOCAL_MACHINE;
    HKEY user = HKEY_CURRENT_USER;
};

// The first existing key at path, machine then user, that opens with full
// access; closed when there is none. Never creates anything, so reads leave
// the registry as they found it.
CRegistryKey OpenExistingKey(const SettingsRoots& roots, const char* path);

// For writing: the key OpenExistingKey finds, else the key created under the
// machine root, else under the user root; closed when all of that fails.
// Existing keys come first so writes land where the next read looks.
CRegistryKey OpenOrCreateKey(const SettingsRoots& roots, const char* path);
