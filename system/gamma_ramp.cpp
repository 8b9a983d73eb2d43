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

static const int kEightBitTolerance = 255;

static bool ChannelMatches(const WORD *held, const WORD *wanted)
{
    for (DWORD i = 0; i < GAMMA_RAMP_ENTRIES; ++i) {
        int difference = (int)held[i] - (int)wanted[i];
        if (difference > kEightBitTolerance || difference < -kEightBitTolerance)
            return false;
    }
    return true;
}

bool RampsMatch(const GammaRamp &held, const GammaRamp &wanted)
{
    return ChannelMatches(held.red, wanted.red) && ChannelMatches(held.green, wanted.green) &&
           ChannelMatches(held.blue, wanted.blue);
}
