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
// True when the ramp read back from a display is closer to the level's ramp
// than to that of the level before, in the high byte of each entry, which
// is all a display may keep. From level 512 up, neighbouring ramps differ by
// less than 255 in every entry, so "within 255 of the wanted one" would take
// the ramp before for the new one. Where the high bytes cannot tell the two
// apart (levels 20000 and 20002), the tie counts as not held.
bool RampHeld(const GammaRamp &held, LONG level, LONG levelBefore);

#endif
