#include "gamma_ramp.h"

static const DWORD kBrightestEntry = 0xFFFF;

// The product wraps at 32 bits and is read as unsigned, so an absurdly
// large level can land on a small value again; that is how the ramp has
// always behaved for positive levels. A level below zero is darker than
// black, not brighter than white: its products count as 0, whatever their
// 32-bit pattern, so the whole ramp stays black below zero.
static WORD GammaEntry(DWORD index, LONG level)
{
    if (level < 0)
        return 0;
    DWORD product = index * (DWORD)level;
    return (WORD)(product > kBrightestEntry ? kBrightestEntry : product);
}

void BuildGammaRamp(LONG level, GammaRamp *ramp)
{
    for (DWORD i = 0; i < GAMMA_RAMP_ENTRIES; ++i) {
        WORD entry = GammaEntry(i, level);
        ramp->red[i] = entry;
        ramp->green[i] = entry;
        ramp->blue[i] = entry;
    }
}

// In the high byte of each entry: a display may keep no more. A driver
// with fewer bits uses the most significant ones, without rounding (see
// DrvIcmSetDeviceGammaRamp), and reads the rest back as it likes.
static DWORD HighByteDistance(WORD held, WORD wanted)
{
    int difference = (held >> 8) - (wanted >> 8);
    return difference < 0 ? -difference : difference;
}

static DWORD DistanceFromLevel(const GammaRamp &held, LONG level)
{
    DWORD distance = 0;
    for (DWORD i = 0; i < GAMMA_RAMP_ENTRIES; ++i) {
        WORD entry = GammaEntry(i, level);
        distance += HighByteDistance(held.red[i], entry) + HighByteDistance(held.green[i], entry) +
                    HighByteDistance(held.blue[i], entry);
    }
    return distance;
}

bool RampHeld(const GammaRamp &held, LONG level, LONG levelBefore)
{
    return DistanceFromLevel(held, level) < DistanceFromLevel(held, levelBefore);
}
