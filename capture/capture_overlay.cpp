#include "capture_overlay.h"

#include "../app/app_state.h"
#include "capture_output.h"
#include "overlay_paint.h"
#include "screen_grab.h"
#include "selection.h"

static const char kInvalidSelection[] = "选择区域无效";

// 1 while the output step runs: it ends the overlay itself and owns the
// picture, so a close meanwhile must not clean up behind its back.
static DWORD outputRunning;

static void ShowCrossCursor()
{
    SetCursor(LoadCursorA(NULL, IDC_CROSS));
}

static BOOL OnOpen(HWND overlay)
{
    appState.captureActive = 1;
    ShowCrossCursor();
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    SetWindowPos(overlay, HWND_TOPMOST, 0, 0, width, height, 0);
    appState.dragAnchor = Point32{0, 0};
    appState.dragCorner = Point32{0, 0};
    // Not shown yet, so this is the desktop as it was when the command came.
    GrabScreen(NULL);
    return TRUE;
}

static BOOL OnMouseMove(HWND overlay, LPARAM lParam)
{
    ShowCrossCursor();
    if (appState.dragging == 1) {
        appState.dragCorner = PointFromLParam(lParam);
        InvalidateRect(overlay, NULL, FALSE);
    }
    return TRUE;
}

static BOOL OnLeftButtonDown(HWND overlay, LPARAM lParam)
{
    ShowCrossCursor();
    SetCapture(overlay);
    appState.dragAnchor = PointFromLParam(lParam);
    appState.dragging = 1;
    return TRUE;
}

static BOOL OnLeftButtonUp(HWND overlay)
{
    appState.dragging = 0;
    ReleaseCapture();
    if (!SelectionHasArea(appState.dragAnchor, appState.dragCorner)) {
        MessageBoxA(overlay, kInvalidSelection, NULL, MB_ICONWARNING);
        return TRUE;
    }
    // The live screen shows the frozen picture and the frame; the region
    // inside the frame is taken from it, then the frozen picture goes.
    RECT region = RegionInsideFrame(appState.dragAnchor, appState.dragCorner);
    HBITMAP frozen = appState.captureBitmap;
    GrabScreen(&region);
    DeleteObject(frozen);
    outputRunning = 1;
    OutputCapture(overlay);
    outputRunning = 0;
    return TRUE;
}

static BOOL OnCancel(HWND overlay)
{
    appState.captureActive = 0;
    SendMessageA(overlay, WM_CLOSE, kOverlayEndResult, 0);
    DeleteObject(appState.captureBitmap);
    InvalidateRect(overlay, NULL, FALSE);
    return TRUE;
}

static BOOL OnClose(HWND overlay, WPARAM wParam)
{
    // Our own ends have cleared the flag or are inside the output step by
    // now. Anything else (the keyboard's close command, another program)
    // gets the cancel's clean-up, or no screenshot could ever open again and
    // the frozen picture would leak.
    if (appState.captureActive == 1 && outputRunning == 0) {
        appState.captureActive = 0;
        DeleteObject(appState.captureBitmap);
    }
    EndDialog(overlay, wParam);
    return TRUE;
}

INT_PTR CALLBACK CaptureOverlayProc(HWND overlay, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        return OnOpen(overlay);
    if (message == WM_PAINT) {
        PaintOverlay(overlay);
        return TRUE;
    }
    if (message == WM_MOUSEMOVE)
        return OnMouseMove(overlay, lParam);
    if (message == WM_LBUTTONDOWN)
        return OnLeftButtonDown(overlay, lParam);
    if (message == WM_LBUTTONUP)
        return OnLeftButtonUp(overlay);
    if (message == WM_RBUTTONUP || message == WM_DEVMODECHANGE)
        return OnCancel(overlay);
    if (message == WM_CLOSE)
        return OnClose(overlay, wParam);
    return FALSE;
}
