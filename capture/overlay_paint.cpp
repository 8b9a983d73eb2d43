#include "overlay_paint.h"

#include "../platform/scoped_gdi.h"
#include "../state/app_state.h"

static const COLORREF kFrameColour = 0x00FF0000;  // blue: COLORREF is 0x00BBGGRR

// The part of the picture under the area to repaint, copied to (x, y) of
// target: the working bitmap, where the frame is drawn on the copy and never
// on the picture, or the window itself when there is no frame. A drag
// repaints only the old and the new frame's bounds, so the cost follows the
// frame, not the screen.
static bool CopyPicture(HDC paintDC, HDC target, int x, int y, const RECT &area)
{
    HBITMAP picture = appState.captureBitmap;
    ScopedMemoryDC source(paintDC);
    if (source.dc == NULL || picture == NULL)
        return false;
    ScopedSelection selected(source.dc, picture);
    if (selected.previous == NULL)
        return false;
    BitBlt(target, x, y, area.right - area.left, area.bottom - area.top, source.dc, area.left, area.top, SRCCOPY);
    return true;
}

// The frame in the copy's coordinates: the lines start where they start on
// the whole screen, so the dash pattern falls on the same pixels.
static void DrawFrame(HDC dc, Point32 anchor, Point32 corner, const RECT &area)
{
    ScopedGdiObject<HPEN> pen(CreatePen(PS_DASHDOTDOT, 1, kFrameColour));
    if (pen.object == NULL)
        return;
    ScopedSelection selected(dc, pen.object);
    int left = (int)anchor.x - area.left;
    int top = (int)anchor.y - area.top;
    int right = (int)corner.x - area.left;
    int bottom = (int)corner.y - area.top;
    MoveToEx(dc, left, top, NULL);
    LineTo(dc, left, bottom);
    LineTo(dc, right, bottom);
    LineTo(dc, right, top);
    LineTo(dc, left, top);
}

// The picture and frame composed in memory and shown in one blit, so the
// frame never flickers.
static void ComposeArea(HDC paintDC, const RECT &area)
{
    // Before the first press there is no frame (a zero-size one draws no
    // pixel): the picture goes straight onto the window. The first paint
    // covers the whole screen, so this spares a full-screen bitmap and blit.
    if (appState.dragAnchor.x == appState.dragCorner.x && appState.dragAnchor.y == appState.dragCorner.y) {
        CopyPicture(paintDC, paintDC, area.left, area.top, area);
        return;
    }
    int width = area.right - area.left;
    int height = area.bottom - area.top;
    ScopedMemoryDC work(paintDC);
    ScopedGdiObject<HBITMAP> canvas(CreateCompatibleBitmap(paintDC, width, height));
    if (work.dc == NULL || canvas.object == NULL)
        return;
    ScopedSelection selected(work.dc, canvas.object);
    // What was not composed is not shown: the window keeps what it had.
    if (selected.previous == NULL || !CopyPicture(paintDC, work.dc, 0, 0, area))
        return;
    DrawFrame(work.dc, appState.dragAnchor, appState.dragCorner, area);
    // A plain copy: the same pixels a MERGECOPY with the paint DC's default
    // white brush would give, without a brush pass over every pixel.
    BitBlt(paintDC, area.left, area.top, width, height, work.dc, 0, 0, SRCCOPY);
}

void PaintOverlay(HWND overlay)
{
    PAINTSTRUCT paint;
    HDC paintDC = BeginPaint(overlay, &paint);
    if (paintDC != NULL)
        ComposeArea(paintDC, paint.rcPaint);
    EndPaint(overlay, &paint);
}
