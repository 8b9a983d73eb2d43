#include "../platform/scoped_gdi.h"
#include "../state/app_state.h"
#include "display.h"
#include "gamma_ramp.h"

// The ramp of the new level; the display keeps that of the level before
// when it refuses it.
struct BrightnessStep {
    GammaRamp ramp;
    LONG level;
    LONG levelBefore;
};

// Windows answers TRUE for a ramp its checks reject (one far from the
// identity, above all a dark one) and keeps the old ramp; only reading it
// back tells whether the display holds it.
static bool SetAndHeld(HDC dc, const BrightnessStep &step)
{
    GammaRamp held;
    return SetDeviceGammaRamp(dc, (LPVOID)&step.ramp) && GetDeviceGammaRamp(dc, &held) &&
           RampHeld(held, step.level, step.levelBefore);
}

// Each display attached to the desktop, through a DC of its own; true when
// at least one holds the ramp.
static bool SetOnEachDisplay(const BrightnessStep &step)
{
    bool held = false;
    DISPLAY_DEVICEA device;
    device.cb = sizeof device;
    for (DWORD index = 0; EnumDisplayDevicesA(NULL, index, &device, 0); index++) {
        if (!(device.StateFlags & DISPLAY_DEVICE_ATTACHED_TO_DESKTOP))
            continue;
        HDC display = CreateDCA("DISPLAY", device.DeviceName, NULL, NULL);
        if (display == NULL)
            continue;
        held = SetAndHeld(display, step) || held;
        DeleteDC(display);
    }
    return held;
}

// The screen's device context is borrowed only for the one call: a program
// that runs for weeks must not hold one more with every brightness step.
// Each display gets the ramp on its own as well: since Windows 10 1903 the
// whole-screen DC refuses every ramp while the desktop spans several
// displays, and before that it reached the primary display alone.
// The level before is the one the program holds until this one takes.
BOOL ApplyBrightness(LONG level)
{
    BrightnessStep step;
    BuildGammaRamp(level, &step.ramp);
    step.level = level;
    step.levelBefore = appState.brightnessLevel;
    bool held;
    {
        ScopedGetDC screen(NULL);
        held = screen.dc != NULL && SetAndHeld(screen.dc, step);
    }
    return SetOnEachDisplay(step) || held;
}
