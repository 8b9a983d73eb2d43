#include "overlay_paint.h"

#include "../app/app_state.h"

static const COLORREF kFrameColour = 0x00FF0000;  // blue: COLORREF is 0x00BBGGRR

// The part of the picture under the area to repaint, copied into a working
// bitmap of that size selected into memory; the frame is drawn on the copy,
// never on the picture. A drag repaints only the old and the new frame's
// bounds, so the cost follows the frame, not the screen.
static HBITMAP SelectCopyOfPicture(HDC paintDC, HDC memory, HBITMAP picture, const RECT &area)
{
    int width = area.right - area.left;
    int height = area.bottom - area.top;
    HBITMAP work = CreateCompatibleBitmap(paintDC, width, height);
    SelectObject(memory, work);
    HDC source = CreateCompatibleDC(paintDC);
    SelectObject(source, picture);
    BitBlt(memory, 0, 0, width, height, source, area.left, area.top, SRCCOPY);
    DeleteDC(source);
    return work;
}

// The frame in the copy's coordinates: the lines start where they start on
// the whole screen, so the dash pattern falls on the same pixels.
static void DrawFrame(HDC dc, Point32 anchor, Point32 corner, const RECT &area)
{
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

void PaintOverlay(HWND overlay)
{
    PAINTSTRUCT paint;
    HDC paintDC = BeginPaint(overlay, &paint);
    const RECT &area = paint.rcPaint;
    HDC memory = CreateCompatibleDC(paintDC);
    HBITMAP work = SelectCopyOfPicture(paintDC, memory, appState.captureBitmap, area);
    HPEN pen = CreatePen(PS_DASHDOTDOT, 1, kFrameColour);
    SelectObject(memory, pen);
    DrawFrame(memory, appState.dragAnchor, appState.dragCorner, area);
    // A plain copy: the same pixels a MERGECOPY with the paint DC's default
    // white brush would give, without a brush pass over every pixel.
    BitBlt(paintDC, area.left, area.top, area.right - area.left, area.bottom - area.top, memory, 0, 0, SRCCOPY);
    // Deleting the memory DC first lets go of the pen and the copy it holds.
    DeleteDC(memory);
    DeleteObject(pen);
    DeleteObject(work);
    EndPaint(overlay, &paint);
}
