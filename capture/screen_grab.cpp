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

// A new bitmap of the rectangle's size holding what source shows there. It is
// made compatible with source: the screen, or a memory DC holding a picture
// of the screen, so it is always a screen-compatible bitmap, which the
// clipboard and GDI+ take as they are. NULL when a step cannot be done.
static HBITMAP CopyRectangle(HDC source, const RECT &rect)
{
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    ScopedMemoryDC memory(source);
    ScopedGdiObject<HBITMAP> picture(CreateCompatibleBitmap(source, width, height));
    if (memory.dc == NULL || picture.object == NULL)
        return NULL;
    {
        ScopedSelection selected(memory.dc, picture.object);
        if (selected.previous == NULL)
            return NULL;
        BitBlt(memory.dc, 0, 0, width, height, source, rect.left, rect.top, SRCCOPY);
    }
    return picture.Release();
}

// The picture becomes captureBitmap only once it holds the screen; a step
// that cannot be done leaves captureBitmap NULL, which the overlay reports.
void GrabScreen(const RECT &rect)
{
    appState.captureBitmap = NULL;
    ScopedGetDC screen(NULL);
    if (screen.dc != NULL)
        appState.captureBitmap = CopyRectangle(screen.dc, rect);
}

HBITMAP CropPicture(HBITMAP picture, const RECT &rect)
{
    ScopedMemoryDC source(NULL);
    if (source.dc == NULL)
        return NULL;
    ScopedSelection selected(source.dc, picture);
    if (selected.previous == NULL)
        return NULL;
    return CopyRectangle(source.dc, rect);
}
