#ifndef OMBRIVALE_CAPTURE_OVERLAY_PAINT_H
#define OMBRIVALE_CAPTURE_OVERLAY_PAINT_H

#include "../platform/win32.h"

// Shows the picture in captureBitmap with the selection frame over it,
// composed off the screen and put on the window with one blit.
void PaintOverlay(HWND overlay);

#endif
