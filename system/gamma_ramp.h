// The gamma ramp for a brightness level, as plain arithmetic.
#ifndef OMBRIVALE_SYSTEM_GAMMA_RAMP_H
#define OMBRIVALE_SYSTEM_GAMMA_RAMP_H

#include "../platform/win32.h"

#define GAMMA_RAMP_ENTRIES 256

// Red, then green, then blue: the layout SetDeviceGammaRamp takes.
struct GammaRamp {
    WORD red[GAMMA_RAMP_ENTRIES];
    WORD green[GAMMA_RAMP_ENTRIES];
    WORD blue[GAMMA_RAMP_ENTRIES];
};

// Entry i is i x level, clamped to 0xFFFF; the same on all three channels.
void BuildGammaRamp(LONG level, GammaRamp *ramp);
// True when a ramp read back from a display is the one set: a display may
// keep only the high 8 bits of each entry, so entries match within 255.
bool RampsMatch(const GammaRamp &held, const GammaRamp &wanted);

#endif
