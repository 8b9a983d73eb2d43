#include "fake_gamma.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>

#include "system/gamma_ramp.h"

static int displays = 1;
static int distance = 0x10000;
static LONG startLevel = 257;
static HDC wholeScreen = NULL;
static std::map<HDC, GammaRamp> held;

static GammaRamp LevelRamp(LONG level)
{
    GammaRamp ramp;
    for (int i = 0; i < GAMMA_RAMP_ENTRIES; i++)
        ramp.red[i] = ramp.green[i] = ramp.blue[i] = (WORD)std::min<long>((long)i * level, 0xFFFF);
    return ramp;
}

void FakeGammaReset(int attachedDisplays, int allowedDistance, LONG heldLevel)
{
    displays = attachedDisplays;
    distance = allowedDistance;
    startLevel = heldLevel;
    wholeScreen = NULL;
    held.clear();
}

void FakeGammaWholeScreen(HDC dc)
{
    wholeScreen = dc;
}

static bool NearIdentity(const GammaRamp &ramp)
{
    const WORD *channels[3] = {ramp.red, ramp.green, ramp.blue};
    for (const WORD *channel : channels) {
        for (int i = 0; i < GAMMA_RAMP_ENTRIES; i++) {
            if (std::abs((int)channel[i] - i * 257) > distance)
                return false;
        }
    }
    return true;
}

BOOL FakeGammaSet(HDC dc, const void *ramp, BOOL answer)
{
    if (dc == wholeScreen && displays > 1)
        return FALSE;
    const GammaRamp &wanted = *static_cast<const GammaRamp *>(ramp);
    if (answer && NearIdentity(wanted))
        held[dc] = wanted;
    return answer;
}

void FakeGammaHeld(HDC dc, void *ramp)
{
    auto found = held.find(dc);
    GammaRamp kept = found == held.end() ? LevelRamp(startLevel) : found->second;
    std::memcpy(ramp, &kept, sizeof kept);
}
