#ifndef OMBRIVALE_CAPTURE_CAPTURE_OVERLAY_H
#define OMBRIVALE_CAPTURE_CAPTURE_OVERLAY_H

#include "../platform/win32.h"

// Every end of the overlay closes it with this result.
static const WPARAM kOverlayEndResult = 1;

// Dialog procedure of the full-screen region selection overlay.
INT_PTR CALLBACK CaptureOverlayProc(HWND overlay, UINT message, WPARAM wParam, LPARAM lParam);

#endif
