#include <stddef.h>

#include "../state/app_state.h"
#include "display.h"

static const WCHAR kResolutionFailed[] = WIDE("分辨率设置失败，已经恢复默认设置。　");
static const DWORD kBitsPerPixel = 32;

// The mode record in its form without the panning fields. It holds no
// pointers, so the size is the same in every build.
static const WORD kModeRecordSize = offsetof(DEVMODEA, dmPanningWidth);
static_assert(offsetof(DEVMODEA, dmPanningWidth) == 148, "the display expects the 148-byte mode record");

static void DescribeMode(DEVMODEA *mode, DWORD width, DWORD height)
{
    mode->dmSize = kModeRecordSize;
    mode->dmDriverExtra = 0;
    mode->dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    mode->dmBitsPerPel = kBitsPerPixel;
    mode->dmPelsWidth = width;
    mode->dmPelsHeight = height;
}

// Tried for now first, stored only once the display has taken it. Anything
// but plain success (a mode that needs a restart included) goes back to
// the stored mode, so the screen is never left in a state nobody chose.
void SetResolution(DWORD width, DWORD height)
{
    DEVMODEA mode = {};
    DescribeMode(&mode, width, height);
    if (ChangeDisplaySettingsA(&mode, 0) == DISP_CHANGE_SUCCESSFUL) {
        ChangeDisplaySettingsA(&mode, CDS_UPDATEREGISTRY);
        return;
    }
    ChangeDisplaySettingsA(NULL, 0);
    MessageBoxW(NULL, kResolutionFailed, WIDE(PROGRAM_NAME), MB_OK | MB_ICONWARNING);
}
