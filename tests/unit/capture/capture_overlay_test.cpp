// The overlay: opening, painting, dragging, releasing and cancelling.
#include "capture/screen_grab.h"
#include "capture_fixture.h"

using CaptureOverlay = CaptureTest;

TEST_F(CaptureOverlay, GrabScreenCopiesWholeScreenOrRectangleAndKeepsOnlyThePicture)
{
    {
        InSequence order;
        ExpectScreenSize();
        ExpectGrab(0, 0, 1280, 800, frozen);
    }
    GrabScreen(nullptr);
    EXPECT_EQ(appState.captureBitmap, frozen);

    // Right and bottom are exclusive; an inverted rectangle goes through as it is.
    const RECT rect = {11, 21, 109, 219};
    const RECT inverted = {11, 21, 10, 20};
    {
        InSequence order;
        ExpectGrab(11, 21, 98, 198, region);
        ExpectGrab(11, 21, -1, -1, FakeHandle<HBITMAP>(0x22));
    }
    GrabScreen(&rect);
    GrabScreen(&inverted);
    EXPECT_EQ(appState.captureBitmap, FakeHandle<HBITMAP>(0x22));
    for (uintptr_t picture : {0x20, 0x21, 0x22})  // pictures belong to the caller
        LedgerRelease(FakeHandle<HBITMAP>(picture));
}

TEST_F(CaptureOverlay, OpenMakesTopmostFullScreenWindowOverFrozenScreen)
{
    appState.captureBitmap = FakeHandle<HBITMAP>(0x99);  // a picture the clipboard owns: never touched
    appState.dragAnchor = {5, 6};
    appState.dragCorner = {7, 8};
    {
        InSequence order;
        EXPECT_CALL(win, LoadCursorA(nullptr, IDC_CROSS)).WillOnce(Return(FakeHandle<HCURSOR>(7)));
        EXPECT_CALL(win, SetCursor(FakeHandle<HCURSOR>(7)));
        ExpectScreenSize();
        EXPECT_CALL(win, SetWindowPos(overlay, HWND_TOPMOST, 0, 0, 1280, 800, 0u)).WillOnce(Return(TRUE));
        ExpectScreenSize();
        ExpectGrab(0, 0, 1280, 800, frozen);
    }
    EXPECT_EQ(CaptureOverlayProc(overlay, WM_INITDIALOG, 0, 0), TRUE);
    EXPECT_EQ(appState.captureActive, 1u);
    EXPECT_EQ(appState.captureBitmap, frozen);
    EXPECT_EQ(appState.dragAnchor.x + appState.dragAnchor.y + appState.dragCorner.x + appState.dragCorner.y, 0u);
    LedgerRelease(frozen);
}

TEST_F(CaptureOverlay, PaintComposesCopyAndFrameThenBlitsOnceAndReleasesAll)
{
    OpenOverlayState({10, 20}, {110, 220}, 1);
    const HDC paintDC = FakeHandle<HDC>(0x30);
    const HDC source = FakeHandle<HDC>(0x31);
    const HBITMAP work = FakeHandle<HBITMAP>(0x32);
    const HPEN pen = FakeHandle<HPEN>(0x33);
    {
        InSequence order;
        EXPECT_CALL(win, BeginPaint(overlay, _)).WillOnce(Invoke([&](HWND, LPPAINTSTRUCT paint) {
            paint->hdc = paintDC;
            return paintDC;
        }));
        EXPECT_CALL(win, GetClientRect(overlay, _)).WillOnce(DoAll(SetArgPointee<1>(RECT{0, 0, 1024, 768}), Return(TRUE)));
        EXPECT_CALL(win, CreateCompatibleDC(paintDC)).WillOnce(Return(memory));
        EXPECT_CALL(win, GetObjectA((HANDLE)frozen, (int)sizeof(BITMAP), _)).WillOnce(Invoke([](HANDLE, int, LPVOID out) {
            BITMAP size = {0, 1280, 800, 5120, 1, 32, nullptr};
            memcpy(out, &size, sizeof size);
            return (int)sizeof size;
        }));
        EXPECT_CALL(win, CreateCompatibleBitmap(paintDC, 1280, 800)).WillOnce(Return(work));
        EXPECT_CALL(win, SelectObject(memory, (HGDIOBJ)work));
        EXPECT_CALL(win, CreateCompatibleDC(paintDC)).WillOnce(Return(source));
        EXPECT_CALL(win, SelectObject(source, (HGDIOBJ)frozen));
        EXPECT_CALL(win, BitBlt(memory, 0, 0, 1280, 800, source, 0, 0, SRCCOPY));
        EXPECT_CALL(win, DeleteDC(source));
        EXPECT_CALL(win, CreatePen(PS_DASHDOTDOT, 1, 0x00FF0000u)).WillOnce(Return(pen));
        EXPECT_CALL(win, SelectObject(memory, (HGDIOBJ)pen));
        EXPECT_CALL(win, MoveToEx(memory, 10, 20, nullptr));
        EXPECT_CALL(win, LineTo(memory, 10, 220));
        EXPECT_CALL(win, LineTo(memory, 110, 220));
        EXPECT_CALL(win, LineTo(memory, 110, 20));
        EXPECT_CALL(win, LineTo(memory, 10, 20));
        // The window gets its client area; the copy keeps the picture's own size.
        EXPECT_CALL(win, BitBlt(paintDC, 0, 0, 1024, 768, memory, 0, 0, SRCCOPY));
        EXPECT_CALL(win, DeleteDC(memory));
        EXPECT_CALL(win, DeleteObject((HGDIOBJ)pen));
        EXPECT_CALL(win, DeleteObject((HGDIOBJ)work));
        EXPECT_CALL(win, EndPaint(overlay, _));
    }
    EXPECT_EQ(CaptureOverlayProc(overlay, WM_PAINT, 0, 0), TRUE);
    LedgerRelease(frozen);  // the paint must leave the picture itself alone
}

struct Drag {
    const char *name;
    Point32 anchor, corner;  // state before the messages
    bool press;
    Point32 pressAt;
    bool move;
    Point32 moveTo;
    bool valid;
    int x, y, width, height;  // the region grab
};

TEST_F(CaptureOverlay, DragsInEveryDirectionGrabTheRegionInsideTheFrame)
{
    const Drag drags[] = {
        {"down right", {0, 0}, {0, 0}, true, {10, 20}, true, {110, 220}, true, 11, 21, 98, 198},
        {"up left", {0, 0}, {0, 0}, true, {110, 220}, true, {10, 20}, true, 11, 21, 98, 198},
        {"down left", {0, 0}, {0, 0}, true, {110, 20}, true, {10, 220}, true, 11, 21, 98, 198},
        {"up right", {0, 0}, {0, 0}, true, {10, 220}, true, {110, 20}, true, 11, 21, 98, 198},
        {"equal x", {0, 0}, {0, 0}, true, {50, 20}, true, {50, 220}, false},
        {"equal y", {0, 0}, {0, 0}, true, {10, 80}, true, {300, 80}, false},
        {"1 px apart", {0, 0}, {0, 0}, true, {10, 20}, true, {11, 220}, true, 11, 21, -1, 198},
        {"2 px apart", {0, 0}, {0, 0}, true, {10, 20}, true, {110, 22}, true, 11, 21, 98, 0},
        {"click, no move", {0, 0}, {0, 0}, true, {200, 150}, false, {}, true, 1, 1, 198, 148},
        {"release only", {30, 40}, {130, 90}, false, {}, false, {}, true, 31, 41, 98, 48},
        {"move without press", {30, 40}, {130, 90}, false, {}, true, {500, 500}, true, 31, 41, 98, 48},
        {"-1 reads 65535", {0, 0}, {0, 0}, true, {0xFFFF, 0xFFFF}, true, {100, 100}, true, 101, 101, 65433, 65433},
    };
    for (const Drag &drag : drags) {
        SCOPED_TRACE(drag.name);
        ::testing::Mock::VerifyAndClearExpectations(&win);
        OpenOverlayState(drag.anchor, drag.corner, 0);
        AllowCursor();
        {
            InSequence order;
            if (drag.press)
                EXPECT_CALL(win, SetCapture(overlay));
            // Only a move while the button is down repaints.
            if (drag.move && drag.press)
                EXPECT_CALL(win, InvalidateRect(overlay, nullptr, FALSE));
            EXPECT_CALL(win, ReleaseCapture());
            if (!drag.valid) {
                EXPECT_CALL(win, MessageBoxA(overlay, ::testing::StrEq("选择区域无效"), nullptr, MB_ICONWARNING));
            } else {
                ExpectGrab(drag.x, drag.y, drag.width, drag.height, region);
                EXPECT_CALL(win, DeleteObject((HGDIOBJ)frozen));
                // Output cancelled and the clipboard busy: the shortest way out.
                EXPECT_CALL(win, GetSaveFileNameA(_)).WillOnce(Return(FALSE));
                EXPECT_CALL(win, OpenClipboard(nullptr)).WillOnce(Return(FALSE));
                EXPECT_CALL(win, DeleteObject((HGDIOBJ)region));
                ExpectClose(1, 1);
            }
        }
        if (drag.press) {
            EXPECT_EQ(CaptureOverlayProc(overlay, WM_LBUTTONDOWN, 0, At(drag.pressAt.x, drag.pressAt.y)), TRUE);
        }
        if (drag.move) {
            EXPECT_EQ(CaptureOverlayProc(overlay, WM_MOUSEMOVE, 0, At(drag.moveTo.x, drag.moveTo.y)), TRUE);
        }
        EXPECT_EQ(CaptureOverlayProc(overlay, WM_LBUTTONUP, 0, 0), TRUE);
        EXPECT_EQ(appState.dragging, 0u);
        EXPECT_EQ(appState.captureActive, drag.valid ? 0u : 1u);
        if (!drag.valid)
            LedgerRelease(frozen);  // the overlay stays open on its picture
    }
}

TEST_F(CaptureOverlay, RightReleaseAndModeChangeCancelAndFreeFrozenPicture)
{
    for (UINT message : {WM_RBUTTONUP, WM_DEVMODECHANGE}) {
        OpenOverlayState({10, 20}, {30, 40}, 1);
        InSequence order;
        EXPECT_CALL(win, SendMessageA(overlay, WM_CLOSE, 1u, 0)).WillOnce(Invoke([&](HWND, UINT, WPARAM, LPARAM) {
            EXPECT_EQ(appState.captureActive, 0u) << "the flag is cleared before the close";
            return (LRESULT)CaptureOverlayProc(overlay, WM_CLOSE, 1, 0);
        }));
        EXPECT_CALL(win, EndDialog(overlay, 1));
        EXPECT_CALL(win, DeleteObject((HGDIOBJ)frozen));
        EXPECT_CALL(win, InvalidateRect(overlay, nullptr, FALSE));
        EXPECT_EQ(CaptureOverlayProc(overlay, message, 0, 0), TRUE);
        EXPECT_EQ(appState.dragging, 1u) << "a cancel leaves the drag flag";
    }
}

TEST_F(CaptureOverlay, CloseFromOutsideGetsTheCancelsCleanUp)
{
    OpenOverlayState({0, 0}, {0, 0}, 0);
    InSequence order;
    EXPECT_CALL(win, DeleteObject((HGDIOBJ)frozen));
    EXPECT_CALL(win, EndDialog(overlay, 0));
    EXPECT_EQ(CaptureOverlayProc(overlay, WM_CLOSE, 0, 0), TRUE);
    EXPECT_EQ(appState.captureActive, 0u);
    // A second close finds nothing left to release.
    EXPECT_CALL(win, EndDialog(overlay, 0));
    CaptureOverlayProc(overlay, WM_CLOSE, 0, 0);
}
