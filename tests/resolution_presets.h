// The six resolution presets as a user picks them, for the unit and the
// end-to-end tests alike.
#ifndef OMBRIVALE_TESTS_RESOLUTION_PRESETS_H
#define OMBRIVALE_TESTS_RESOLUTION_PRESETS_H

#include "resources/resource_ids.h"

struct ResolutionPreset {
    unsigned command;
    unsigned long width, height;
};

static const ResolutionPreset kResolutionPresets[] = {
    {IDM_RES_1024X768, 1024, 768}, {IDM_RES_1280X800, 1280, 800}, {IDM_RES_1440X900, 1440, 900},
    {IDM_RES_1680X1050, 1680, 1050}, {IDM_RES_1366X768, 1366, 768}, {IDM_RES_800X600, 800, 600},
};

#endif
