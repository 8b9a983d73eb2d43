#include "power.h"

// Not built yet: power and session actions do nothing so far.
BOOL PerformPowerAction(PowerAction)
{
    return FALSE;
}

void ForcedShutdown(ForcedPowerAction)
{
}
