#include "available_percent.h"

unsigned AvailablePercent(DWORD availableMB, DWORD totalMB)
{
    // A zero total would make the conversion below undefined.
    if (totalMB == 0)
        return 0;
    const double quotient = static_cast<double>(availableMB) / static_cast<double>(totalMB);
    return static_cast<unsigned>(quotient * 100.0);
}
