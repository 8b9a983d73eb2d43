#ifndef OMBRIVALE_CAPTURE_SCREEN_GRAB_H
#define OMBRIVALE_CAPTURE_SCREEN_GRAB_H

#include "../platform/win32.h"

// The bounding rectangle of every monitor, in screen coordinates. On one
// monitor it is the primary screen, from (0, 0).
RECT VirtualScreen();
// Copies a rectangle of the screen (screen coordinates) into a new bitmap,
// which replaces the handle in captureBitmap.
void GrabScreen(const RECT &rect);
// A new bitmap of the rectangle of picture (in the picture's own
// coordinates); the picture is left as it is. NULL when it cannot be made.
HBITMAP CropPicture(HBITMAP picture, const RECT &rect);

#endif
