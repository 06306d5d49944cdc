// The product's names, each in one place: the program and its files, the
// title, the tray tip and settings key, the maker, and the names by which
// Windows and other programs find a running copy. Plain #defines, so that
// the resource script, the version resources, the code and the installer
// (installer/product_names.nsh) all read them.
#ifndef KOLVAR_PRODUCT_NAMES_H
#define KOLVAR_PRODUCT_NAMES_H

#define KOLVAR_PROGRAM_NAME "Kolvar"
#define KOLVAR_TITLE "Velkor Halvenmark"
#define KOLVAR_SHORT_NAME "Halven Mark"
#define KOLVAR_MAKER "Velkor"
// By this class other programs (the installer among them) find the window.
#define KOLVAR_WINDOW_CLASS "KolvarFrame"
// "Local\": each log-on session (another user's included) has its own.
#define KOLVAR_SESSION_MUTEX "Local\\Velkor.Kolvar"
#define KOLVAR_SETTINGS_KEY "SOFTWARE\\Velkor\\Halven Mark"
#define KOLVAR_COPYRIGHT "Copyright (C) 2025 Velkor"

#endif
