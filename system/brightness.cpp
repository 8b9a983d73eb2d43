#include "../platform/scoped_gdi.h"
#include "display.h"
#include "gamma_ramp.h"

// The screen's device context is borrowed only for the one call: a program
// that runs for weeks must not hold one more with every brightness step.
BOOL ApplyBrightness(LONG level)
{
    GammaRamp ramp;
    BuildGammaRamp(level, &ramp);
    ScopedGetDC screen(NULL);
    if (screen.dc == NULL)
        return FALSE;
    // A display without gamma support, or one that finds the ramp too far
    // from the identity, refuses it; the caller then keeps the old level.
    return SetDeviceGammaRamp(screen.dc, &ramp);
}
