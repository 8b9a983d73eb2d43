#ifndef OMBRIVALE_CAPTURE_CAPTURE_OVERLAY_H
#define OMBRIVALE_CAPTURE_CAPTURE_OVERLAY_H

#include "../platform/win32.h"

// Dialog procedure of the full-screen region selection overlay.
INT_PTR CALLBACK CaptureOverlayProc(HWND overlay, UINT message, WPARAM wParam, LPARAM lParam);

#endif
