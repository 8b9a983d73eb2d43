#include "display.h"
#include "gamma_ramp.h"

// The screen's device context is borrowed only for the one call: a program
// that runs for weeks must not hold one more with every brightness step.
void ApplyBrightness(LONG level)
{
    GammaRamp ramp;
    BuildGammaRamp(level, &ramp);
    HDC screen = GetDC(NULL);
    if (screen == NULL)
        return;
    // A display without gamma support refuses the ramp; the level stays
    // changed and the next step computes from it.
    SetDeviceGammaRamp(screen, &ramp);
    ReleaseDC(NULL, screen);
}
