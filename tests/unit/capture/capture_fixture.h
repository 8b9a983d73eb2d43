// Shared expectations of the screenshot tests: the screen grab and the
// mouse-message coordinates.
#ifndef OMBRIVALE_TESTS_UNIT_CAPTURE_FIXTURE_H
#define OMBRIVALE_TESTS_UNIT_CAPTURE_FIXTURE_H

#include "capture/capture_overlay.h"
#include "tests/fake/win32_test.h"

inline LPARAM At(DWORD x, DWORD y)
{
    return (LPARAM)((y & 0xFFFF) << 16 | (x & 0xFFFF));
}

class CaptureTest : public Win32Test {
protected:
    const HWND overlay = FakeHandle<HWND>(0x100);
    const HDC screen = FakeHandle<HDC>(0x10);
    const HDC memory = FakeHandle<HDC>(0x11);
    const HBITMAP frozen = FakeHandle<HBITMAP>(0x20);
    const HBITMAP region = FakeHandle<HBITMAP>(0x21);

    // The cross-hair cursor is set on most messages; its order is not the point.
    void AllowCursor()
    {
        EXPECT_CALL(win, LoadCursorA(nullptr, IDC_CROSS)).Times(AnyNumber()).WillRepeatedly(Return(FakeHandle<HCURSOR>(7)));
        EXPECT_CALL(win, SetCursor(FakeHandle<HCURSOR>(7))).Times(AnyNumber());
    }

    void ExpectScreenSize()
    {
        EXPECT_CALL(win, GetSystemMetrics(SM_CXSCREEN)).WillOnce(Return(1280));
        EXPECT_CALL(win, GetSystemMetrics(SM_CYSCREEN)).WillOnce(Return(800));
    }

    // GrabScreen's calls, in order, for a grab of that place into picture.
    void ExpectGrab(int x, int y, int width, int height, HBITMAP picture)
    {
        EXPECT_CALL(win, GetDC(nullptr)).WillOnce(Return(screen));
        EXPECT_CALL(win, CreateCompatibleDC(nullptr)).WillOnce(Return(memory));
        EXPECT_CALL(win, CreateCompatibleBitmap(screen, width, height)).WillOnce(Return(picture));
        EXPECT_CALL(win, SelectObject(memory, (HGDIOBJ)picture));
        EXPECT_CALL(win, BitBlt(memory, 0, 0, width, height, screen, x, y, SRCCOPY));
        EXPECT_CALL(win, DeleteDC(memory)).WillOnce(Return(TRUE));
        EXPECT_CALL(win, ReleaseDC(nullptr, screen)).WillOnce(Return(1));
    }

    // The close message goes through the real dialog procedure, as the
    // platform's SendMessageA would deliver it.
    void ExpectClose(WPARAM wParam, INT_PTR result)
    {
        EXPECT_CALL(win, SendMessageA(overlay, WM_CLOSE, wParam, 0)).WillOnce(Invoke([](HWND w, UINT m, WPARAM p, LPARAM l) {
            return (LRESULT)CaptureOverlayProc(w, m, p, l);
        }));
        EXPECT_CALL(win, EndDialog(overlay, result)).WillOnce(Return(TRUE));
    }

    // An overlay opened on the frozen picture, the frame at anchor and corner.
    void OpenOverlayState(Point32 anchor, Point32 corner, DWORD dragging)
    {
        appState.captureActive = 1;
        appState.captureBitmap = frozen;
        LedgerAcquire(frozen);
        appState.dragAnchor = anchor;
        appState.dragCorner = corner;
        appState.dragging = dragging;
    }
};

#endif
