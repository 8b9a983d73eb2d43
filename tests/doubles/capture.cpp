#include "capture/capture_overlay.h"

// Only its address matters to the callers under test.
INT_PTR CALLBACK CaptureOverlayProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}
