#include "screen_grab.h"

#include "../platform/scoped_gdi.h"
#include "../state/app_state.h"

RECT VirtualScreen()
{
    RECT screen;
    screen.left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    screen.top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    screen.right = screen.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    screen.bottom = screen.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
    return screen;
}

// The picture becomes captureBitmap only once it holds the screen; a step
// that cannot be done leaves captureBitmap NULL, which the overlay reports.
void GrabScreen(const RECT &rect)
{
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    appState.captureBitmap = NULL;
    ScopedGetDC screen(NULL);
    if (screen.dc == NULL)
        return;
    ScopedMemoryDC memory(NULL);
    ScopedGdiObject<HBITMAP> picture(CreateCompatibleBitmap(screen.dc, width, height));
    if (memory.dc == NULL || picture.object == NULL)
        return;
    {
        ScopedSelection selected(memory.dc, picture.object);
        if (selected.previous == NULL)
            return;
        BitBlt(memory.dc, 0, 0, width, height, screen.dc, rect.left, rect.top, SRCCOPY);
    }
    appState.captureBitmap = picture.Release();
}
