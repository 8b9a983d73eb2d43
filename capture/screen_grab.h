#ifndef OMBRIVALE_CAPTURE_SCREEN_GRAB_H
#define OMBRIVALE_CAPTURE_SCREEN_GRAB_H

#include "../platform/win32.h"

// Copies the whole primary screen (NULL) or a rectangle of it into a new
// bitmap, which replaces the handle in captureBitmap.
void GrabScreen(const RECT *rect);

#endif
