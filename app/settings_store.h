// Everything Kolvar keeps from one run to the next: the values of its
// settings key and its entry under the Run key. Nothing else in the program
// touches the registry.
//
// Each call is one open-work-close of the key it needs, reading or writing
// its values in a fixed order. Failures are silent: a key or value that
// cannot be read gives 0 (off), and the program goes on with its defaults.
//
// Both keys live under HKEY_LOCAL_MACHINE when it can be opened with full
// access there; otherwise under the same path in HKEY_CURRENT_USER, so a user
// without administrator rights still keeps settings and start at log-on.
#pragma once

#include "product_names.h"
#include "registry_roots.h"
#include "regular_free_values.h"

#include <cstddef>
#include <cstdint>
#include <string>

// The Regular Free values are stored as "page41-01" (mode), "page41-02"
// (amount), "page41-03" (threshold), "page41-04" (UDM_GETPOS's return value)
// and "page41-05" (the "Apply" toggle: saved, never restored).

// What the view restore reads: the update rate, and the Regular Free values
// only when "Remember settings in each windows" is on.
struct ViewRestore {
    bool lowUpdateRate = false;    // "setting04"
    bool rememberSettings = false; // "setting03"
    RegularFreeValues regularFree; // all 0 unless rememberSettings
};

// The four Preferences check boxes.
struct PreferenceFlags {
    bool runAtStartup = false;     // "setting01"
    bool runMinimized = false;     // "setting02"
    bool rememberSettings = false; // "setting03"
    bool lowUpdateRate = false;    // "setting04"
};

class CSettingsStore {
public:
    static constexpr const char* kSettingsKeyPath = KOLVAR_SETTINGS_KEY;
    static constexpr const char* kRunKeyPath = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
    static constexpr const char* kRunValueName = KOLVAR_PROGRAM_NAME;
    // "path01" is read back through a buffer of this many characters.
    static constexpr std::size_t kPathBufferSize = 255;

    explicit CSettingsStore(SettingsRoots roots = {}) : m_roots(roots) {}

    // Start-up window state: "setting02" ("Run minimized").
    bool ReadRunMinimized() const;

    // View restore: "setting03", "setting04", then, if "setting03" is on,
    // "page41-01" to "page41-04".
    ViewRestore RestoreView() const;

    // View save: "page41-01" to "page41-05".
    void SaveView(const RegularFreeValues& values);

    // Preference load: "setting01" to "setting04".
    PreferenceFlags LoadPreferences() const;

    // Preference save, as the dialog's Save button does it: first the start-up
    // registration or unregistration, then "setting01" to "setting04".
    // "setting01" is stored as what the Run entry really is afterwards, not
    // as asked: 1 only when an entry was written (or could not be removed).
    // Returns the flags as stored, which is what the next load will show (all
    // off when no settings key could be opened or created). programPath is the running program's full
    // path (GetModuleFileNameW), in UTF-8 as every path here.
    PreferenceFlags SavePreferences(const PreferenceFlags& wanted, const std::string& programPath);

    // Start-up registration: reads "path02", "path01"; writes the Run entry
    // as the quoted program path; then, when the path differs from the stored
    // one, writes "path01" (unquoted) and "path02" = 1. The running program's
    // path wins over the stored one, so a moved program registers where it
    // now is; the stored path serves only when programPath is empty.
    // Returns whether the Run entry was written.
    bool RegisterStartup(const std::string& programPath);

    // Start-up unregistration: deletes the Run entry. Returns whether no
    // entry is left that this user can see ("path01"/"path02" stay).
    bool UnregisterStartup();

    // For the 64-bit program, which Windows never virtualises: when this
    // user has no settings key of their own (none under either root), the
    // values that the 32-bit program's writes to the machine key left in the
    // user's VirtualStore copy become the user's key, each only as the type
    // it is stored as; a stored "path01" becomes programPath. And a Run entry
    // of the user's own that names another program which is not a 64-bit
    // one (the 32-bit program, or a file no longer there) is rewritten to
    // programPath. Returns whether the settings were taken over.
    bool TakeOverFrom32BitProgram(const std::string& programPath);

private:
    SettingsRoots m_roots;
};
