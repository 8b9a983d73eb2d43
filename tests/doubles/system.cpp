#include "fake_routines.h"
#include "system/display.h"
#include "system/power.h"

BOOL PerformPowerAction(PowerAction action)
{
    return ActiveRoutines().PerformPowerAction(action);
}

void ForcedShutdown(ForcedPowerAction action)
{
    ActiveRoutines().ForcedShutdown(action);
}

BOOL TurnDisplayOff(HWND window)
{
    return ActiveRoutines().TurnDisplayOff(window);
}

BOOL ApplyBrightness(LONG level)
{
    return ActiveRoutines().ApplyBrightness(level);
}

void SetResolution(DWORD width, DWORD height)
{
    ActiveRoutines().SetResolution(width, height);
}

void RefreshIconMetrics()
{
    ActiveRoutines().RefreshIconMetrics();
}
