#ifndef OMBRIVALE_SYSTEM_DISPLAY_H
#define OMBRIVALE_SYSTEM_DISPLAY_H

#include "../platform/win32.h"

// True when the display took the ramp.
BOOL ApplyBrightness(LONG level);
void SetResolution(DWORD width, DWORD height);
void RefreshIconMetrics();

#endif
