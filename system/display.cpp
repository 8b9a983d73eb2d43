#include "display.h"

// Not built yet: the display adjustments do nothing so far.
void ApplyBrightness(LONG)
{
}

void SetResolution(DWORD, DWORD)
{
}

void RefreshIconMetrics()
{
}
