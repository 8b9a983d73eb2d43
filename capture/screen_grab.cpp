#include "screen_grab.h"

#include "../app/app_state.h"

void GrabScreen(const RECT *rect)
{
    int x = 0;
    int y = 0;
    int width;
    int height;
    if (rect == NULL) {
        width = GetSystemMetrics(SM_CXSCREEN);
        height = GetSystemMetrics(SM_CYSCREEN);
    } else {
        // Extents go to the platform as they are, even empty or negative ones;
        // unsigned subtraction keeps a wild rectangle from overflowing.
        x = rect->left;
        y = rect->top;
        width = (int)((DWORD)rect->right - (DWORD)rect->left);
        height = (int)((DWORD)rect->bottom - (DWORD)rect->top);
    }
    HDC screen = GetDC(NULL);
    HDC memory = CreateCompatibleDC(NULL);
    HBITMAP picture = CreateCompatibleBitmap(screen, width, height);
    appState.captureBitmap = picture;
    SelectObject(memory, picture);
    BitBlt(memory, 0, 0, width, height, screen, x, y, SRCCOPY);
    DeleteDC(memory);
    ReleaseDC(NULL, screen);
}
