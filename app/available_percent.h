// The available share of RAM that the tray icon shows, in whole percent.
//
// This is the figure of the tray tip and the tray image; the RAM gauge shows
// available MB against total MB and needs no percentage. The program works
// it out from the same two readings it shows, rather than calling the
// engine's getStatusPhyAvaiPercent: that getter is no part of what the
// program calls, and would read the memory twice more at another moment.
// Both compute the double quotient first, then times 100, truncated; the
// engine converts the available MB to single precision first, which changes
// nothing while the available amount is below 2^24 MB (16 TB), where every
// whole number is exact in single precision. There the two agree.
#pragma once

#include <windows.h>

// 29 of 100 gives 28, as the double quotient falls just short; a zero total
// gives 0.
unsigned AvailablePercent(DWORD availableMB, DWORD totalMB);
