#include "capture_overlay.h"

// Not built yet: the overlay handles no message so far.
INT_PTR CALLBACK CaptureOverlayProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}
