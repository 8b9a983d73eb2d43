#include "screen_grab.h"

#include "../app/app_state.h"

RECT VirtualScreen()
{
    RECT screen;
    screen.left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    screen.top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    screen.right = screen.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    screen.bottom = screen.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
    return screen;
}

void GrabScreen(const RECT &rect)
{
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    HDC screen = GetDC(NULL);
    HDC memory = CreateCompatibleDC(NULL);
    HBITMAP picture = CreateCompatibleBitmap(screen, width, height);
    appState.captureBitmap = picture;
    SelectObject(memory, picture);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    DeleteDC(memory);
    ReleaseDC(NULL, screen);
}
