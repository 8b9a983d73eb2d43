#include "overlay_paint.h"

#include "../app/app_state.h"

static const COLORREF kFrameColour = 0x00FF0000;  // blue: COLORREF is 0x00BBGGRR

// A copy of the picture to draw the frame on, selected into memory. One blit
// into a compatible bitmap gives the same pixels as duplicating the bitmap
// object, at a small fraction of the cost on every pointer move.
static HBITMAP SelectCopyOfPicture(HDC paintDC, HDC memory, HBITMAP picture)
{
    BITMAP size = {};
    GetObjectA(picture, sizeof size, &size);
    HBITMAP work = CreateCompatibleBitmap(paintDC, size.bmWidth, size.bmHeight);
    SelectObject(memory, work);
    HDC source = CreateCompatibleDC(paintDC);
    SelectObject(source, picture);
    BitBlt(memory, 0, 0, size.bmWidth, size.bmHeight, source, 0, 0, SRCCOPY);
    DeleteDC(source);
    return work;
}

static void DrawFrame(HDC dc, Point32 anchor, Point32 corner)
{
    MoveToEx(dc, anchor.x, anchor.y, NULL);
    LineTo(dc, anchor.x, corner.y);
    LineTo(dc, corner.x, corner.y);
    LineTo(dc, corner.x, anchor.y);
    LineTo(dc, anchor.x, anchor.y);
}

void PaintOverlay(HWND overlay)
{
    PAINTSTRUCT paint;
    HDC paintDC = BeginPaint(overlay, &paint);
    RECT client;
    GetClientRect(overlay, &client);
    HDC memory = CreateCompatibleDC(paintDC);
    HBITMAP work = SelectCopyOfPicture(paintDC, memory, appState.captureBitmap);
    HPEN pen = CreatePen(PS_DASHDOTDOT, 1, kFrameColour);
    SelectObject(memory, pen);
    DrawFrame(memory, appState.dragAnchor, appState.dragCorner);
    // A plain copy: the same pixels a MERGECOPY with the paint DC's default
    // white brush would give, without a brush pass over every pixel, which
    // made each repaint several times slower.
    BitBlt(paintDC, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    // Deleting the memory DC first lets go of the pen and the copy it holds.
    DeleteDC(memory);
    DeleteObject(pen);
    DeleteObject(work);
    EndPaint(overlay, &paint);
}
