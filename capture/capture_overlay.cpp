#include "capture_overlay.h"

#include "../state/app_state.h"
#include "capture_output.h"
#include "overlay_paint.h"
#include "screen_grab.h"
#include "selection.h"

static const WCHAR kInvalidSelection[] = WIDE("选择区域无效");

// 1 while the output step runs: it ends the overlay itself and owns the
// picture, so a close, a cancel or a second release meanwhile (the overlay
// still gets sent messages under the save dialog) must leave both alone.
static DWORD outputRunning;

// The virtual screen the overlay covers, in screen coordinates: client
// coordinates plus its top-left corner are screen coordinates.
static RECT overlayScreen;

static void ShowCrossCursor()
{
    SetCursor(LoadCursorA(NULL, IDC_CROSS));
}

static SIZE ClientSize()
{
    SIZE size = {overlayScreen.right - overlayScreen.left, overlayScreen.bottom - overlayScreen.top};
    return size;
}

// Only the pixels under the frame change when it moves; repainting just
// those keeps a drag's cost independent of the screen's size.
static void InvalidateFrame(HWND overlay)
{
    RECT bounds = FrameBounds(appState.dragAnchor, appState.dragCorner);
    InvalidateRect(overlay, &bounds, FALSE);
}

static BOOL OnOpen(HWND overlay)
{
    appState.captureActive = 1;
    ShowCrossCursor();
    overlayScreen = VirtualScreen();
    SIZE size = ClientSize();
    SetWindowPos(overlay, HWND_TOPMOST, overlayScreen.left, overlayScreen.top, size.cx, size.cy, 0);
    // A drag cut short by the last overlay's end must not carry over.
    appState.dragging = 0;
    appState.dragAnchor = Point32{0, 0};
    appState.dragCorner = Point32{0, 0};
    // Not shown yet, so this is the desktop as it was when the command came.
    GrabScreen(overlayScreen);
    // Without it (a virtual screen too large for one bitmap) there is
    // nothing to frame: the error sound, and no overlay.
    if (appState.captureBitmap == NULL) {
        appState.captureActive = 0;
        MessageBeep(MB_ICONHAND);
        EndDialog(overlay, kOverlayEndResult);
    }
    return TRUE;
}

static BOOL OnMouseMove(HWND overlay, LPARAM lParam)
{
    ShowCrossCursor();
    if (appState.dragging == 1) {
        InvalidateFrame(overlay);
        appState.dragCorner = PointFromLParam(lParam, ClientSize());
        InvalidateFrame(overlay);
    }
    return TRUE;
}

static BOOL OnLeftButtonDown(HWND overlay, LPARAM lParam)
{
    ShowCrossCursor();
    SetCapture(overlay);
    InvalidateFrame(overlay);  // the last frame goes; a click alone has none
    appState.dragAnchor = PointFromLParam(lParam, ClientSize());
    appState.dragCorner = appState.dragAnchor;
    appState.dragging = 1;
    return TRUE;
}

static BOOL WarnInvalidSelection(HWND overlay)
{
    MessageBoxW(overlay, kInvalidSelection, NULL, MB_ICONWARNING);
    return TRUE;
}

static BOOL OnLeftButtonUp(HWND overlay)
{
    if (outputRunning == 1)
        return TRUE;
    appState.dragging = 0;
    ReleaseCapture();
    RECT region = RegionInsideFrame(appState.dragAnchor, appState.dragCorner);
    if (!RegionHasPixels(region))
        return WarnInvalidSelection(overlay);
    // From the frozen picture, which holds exactly what the user framed: the
    // live screen may meanwhile show a window that came up over the overlay,
    // or, through DWM, a frame line from an older composed frame.
    HBITMAP framed = CropPicture(appState.captureBitmap, region);
    if (framed == NULL)
        return WarnInvalidSelection(overlay);
    DeleteObject(appState.captureBitmap);
    appState.captureBitmap = framed;
    outputRunning = 1;
    OutputCapture(overlay);
    outputRunning = 0;
    return TRUE;
}

static BOOL OnCancel(HWND overlay)
{
    if (outputRunning == 1)
        return TRUE;
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
    // The paint covers every pixel with the frozen picture: an erase first
    // would fill the whole screen with the dialog colour for nothing, and
    // could show as a grey flash before the picture. A dialog procedure's
    // TRUE only says the message was handled; the sender reads the answer,
    // "erased", from DWLP_MSGRESULT.
    if (message == WM_ERASEBKGND) {
        SetWindowLongPtrA(overlay, DWLP_MSGRESULT, TRUE);
        return TRUE;
    }
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
    // Handled by doing nothing: the overlay keeps covering the whole virtual
    // screen when it moves to a monitor of another scale.
    if (message == WM_DPICHANGED)
        return TRUE;
    return FALSE;
}
