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
    const HDC frozenDC = FakeHandle<HDC>(0x12);
    const HBITMAP frozen = FakeHandle<HBITMAP>(0x20);
    const HBITMAP region = FakeHandle<HBITMAP>(0x21);
    const HWND mainWindow = FakeHandle<HWND>(0x50);
    // What a new memory DC holds before a bitmap is selected into it.
    const HGDIOBJ stockBitmap = FakeHandle<HGDIOBJ>(0x1F);

    // The hidden main window of a running program, which owns the clipboard.
    CaptureTest() { appState.trayIcon.hWnd = mainWindow; }

    // The cross-hair cursor is set on most messages; its order is not the point.
    void AllowCursor()
    {
        EXPECT_CALL(win, LoadCursorA(nullptr, IDC_CROSS)).Times(AnyNumber()).WillRepeatedly(Return(FakeHandle<HCURSOR>(7)));
        EXPECT_CALL(win, SetCursor(FakeHandle<HCURSOR>(7))).Times(AnyNumber());
    }

    // The virtual screen's four metrics, in the order they are asked for.
    void ExpectVirtualScreen(const RECT &screen)
    {
        EXPECT_CALL(win, GetSystemMetrics(SM_XVIRTUALSCREEN)).WillOnce(Return(screen.left));
        EXPECT_CALL(win, GetSystemMetrics(SM_YVIRTUALSCREEN)).WillOnce(Return(screen.top));
        EXPECT_CALL(win, GetSystemMetrics(SM_CXVIRTUALSCREEN)).WillOnce(Return(screen.right - screen.left));
        EXPECT_CALL(win, GetSystemMetrics(SM_CYVIRTUALSCREEN)).WillOnce(Return(screen.bottom - screen.top));
    }

    // A copy of that place of source into picture, which is selected only
    // while it is copied into; with no picture made, nothing is copied and
    // the memory DC is still released.
    void ExpectCopy(HDC source, int x, int y, int width, int height, HBITMAP picture)
    {
        EXPECT_CALL(win, CreateCompatibleDC(source)).WillOnce(Return(memory));
        EXPECT_CALL(win, CreateCompatibleBitmap(source, width, height)).WillOnce(Return(picture));
        if (picture != NULL) {
            EXPECT_CALL(win, SelectObject(memory, (HGDIOBJ)picture)).WillOnce(Return(stockBitmap));
            EXPECT_CALL(win, BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY));
            EXPECT_CALL(win, SelectObject(memory, stockBitmap));
        }
        EXPECT_CALL(win, DeleteDC(memory)).WillOnce(Return(TRUE));
    }

    void ExpectGrab(int x, int y, int width, int height, HBITMAP picture)
    {
        EXPECT_CALL(win, GetDC(nullptr)).WillOnce(Return(screen));
        ExpectCopy(screen, x, y, width, height, picture);
        EXPECT_CALL(win, ReleaseDC(nullptr, screen)).WillOnce(Return(1));
    }

    // The region, in the frozen picture's own coordinates, copied from a DC
    // that holds the picture only meanwhile.
    void ExpectCrop(int x, int y, int width, int height, HBITMAP picture)
    {
        EXPECT_CALL(win, CreateCompatibleDC(nullptr)).WillOnce(Return(frozenDC));
        EXPECT_CALL(win, SelectObject(frozenDC, (HGDIOBJ)frozen)).WillOnce(Return(stockBitmap));
        ExpectCopy(frozenDC, x, y, width, height, picture);
        EXPECT_CALL(win, SelectObject(frozenDC, stockBitmap));
        EXPECT_CALL(win, DeleteDC(frozenDC)).WillOnce(Return(TRUE));
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

    // The hidden main window takes the picture onto the clipboard.
    void ExpectClipboardHandOver(HBITMAP picture)
    {
        EXPECT_CALL(win, OpenClipboard(mainWindow)).WillOnce(Return(TRUE));
        EXPECT_CALL(win, EmptyClipboard()).WillOnce(Return(TRUE));
        EXPECT_CALL(win, SetClipboardData(CF_BITMAP, (HANDLE)picture)).WillOnce(Return((HANDLE)picture));
        EXPECT_CALL(win, CloseClipboard()).WillOnce(Return(TRUE));
    }

    // An overlay opened over that virtual screen on the frozen picture, then
    // the frame at anchor and corner; the opening's calls are checked here.
    void OpenOverlayState(Point32 anchor, Point32 corner, DWORD dragging, RECT screen = {0, 0, 1280, 800})
    {
        AllowCursor();
        ExpectVirtualScreen(screen);
        EXPECT_CALL(win, SetWindowPos(overlay, HWND_TOPMOST, _, _, _, _, 0u)).WillOnce(Return(TRUE));
        ExpectGrab(screen.left, screen.top, screen.right - screen.left, screen.bottom - screen.top, frozen);
        CaptureOverlayProc(overlay, WM_INITDIALOG, 0, 0);
        ::testing::Mock::VerifyAndClearExpectations(&win);
        AllowCursor();
        appState.dragAnchor = anchor;
        appState.dragCorner = corner;
        appState.dragging = dragging;
    }
};

#endif
