#include "fake_gamma.h"

#include <cstdlib>
#include <cstring>
#include <map>

#include "system/gamma_ramp.h"

static int displays = 1;
static int distance = 0x10000;
static HDC wholeScreen = NULL;
static std::map<HDC, GammaRamp> held;

static GammaRamp Identity()
{
    GammaRamp ramp;
    for (int i = 0; i < GAMMA_RAMP_ENTRIES; i++)
        ramp.red[i] = ramp.green[i] = ramp.blue[i] = (WORD)(i * 257);
    return ramp;
}

void FakeGammaReset(int attachedDisplays, int allowedDistance)
{
    displays = attachedDisplays;
    distance = allowedDistance;
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
    GammaRamp kept = found == held.end() ? Identity() : found->second;
    std::memcpy(ramp, &kept, sizeof kept);
}
