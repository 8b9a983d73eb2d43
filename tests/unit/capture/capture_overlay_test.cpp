// The overlay: opening, painting, dragging, releasing and cancelling.
#include "capture/screen_grab.h"
#include "capture_fixture.h"

using CaptureOverlay = CaptureTest;

// A virtual screen with a monitor left of and above the primary one.
static const RECT kTwoMonitors = {-1024, -200, 1280, 800};

static auto RectIs(LONG left, LONG top, LONG right, LONG bottom)
{
    return Pointee(AllOf(Field(&RECT::left, left), Field(&RECT::top, top), Field(&RECT::right, right),
                         Field(&RECT::bottom, bottom)));
}

TEST_F(CaptureOverlay, GrabScreenCopiesTheRectangleFromItsScreenPlaceAndKeepsOnlyThePicture)
{
    // Right and bottom are exclusive; a place left of the primary screen is negative.
    {
        InSequence order;
        ExpectGrab(11, 21, 98, 198, region);
        ExpectGrab(-1024, -200, 2304, 1000, frozen);
    }
    GrabScreen(RECT{11, 21, 109, 219});
    GrabScreen(kTwoMonitors);
    EXPECT_EQ(appState.captureBitmap, frozen);
    for (HBITMAP picture : {region, frozen})  // pictures belong to the caller
        LedgerRelease(picture);

    // A picture the memory DC refuses would stay empty: it goes, and none is handed on.
    EXPECT_CALL(win, GetDC(nullptr)).WillOnce(Return(screen));
    EXPECT_CALL(win, CreateCompatibleDC(screen)).WillOnce(Return(memory));
    EXPECT_CALL(win, CreateCompatibleBitmap(screen, 98, 198)).WillOnce(Return(region));
    EXPECT_CALL(win, SelectObject(memory, (HGDIOBJ)region)).WillOnce(Return(nullptr));
    EXPECT_CALL(win, DeleteObject((HGDIOBJ)region)).WillOnce(Return(TRUE));
    EXPECT_CALL(win, DeleteDC(memory)).WillOnce(Return(TRUE));
    EXPECT_CALL(win, ReleaseDC(nullptr, screen)).WillOnce(Return(1));
    GrabScreen(RECT{11, 21, 109, 219});
    EXPECT_EQ(appState.captureBitmap, nullptr);
}

TEST_F(CaptureOverlay, OpenMakesTopmostWindowOverTheWholeVirtualScreenFrozenFromItsOrigin)
{
    appState.captureBitmap = FakeHandle<HBITMAP>(0x99);  // a picture the clipboard owns: never touched
    appState.dragAnchor = {5, 6};
    appState.dragCorner = {7, 8};
    appState.dragging = 1;  // the last overlay ended by a cancel mid-drag
    {
        InSequence order;
        EXPECT_CALL(win, LoadCursorA(nullptr, IDC_CROSS)).WillOnce(Return(FakeHandle<HCURSOR>(7)));
        EXPECT_CALL(win, SetCursor(FakeHandle<HCURSOR>(7)));
        ExpectVirtualScreen(kTwoMonitors);
        EXPECT_CALL(win, SetWindowPos(overlay, HWND_TOPMOST, -1024, -200, 2304, 1000, 0u)).WillOnce(Return(TRUE));
        ExpectGrab(-1024, -200, 2304, 1000, frozen);
    }
    EXPECT_EQ(CaptureOverlayProc(overlay, WM_INITDIALOG, 0, 0), TRUE);
    EXPECT_EQ(appState.captureActive, 1u);
    EXPECT_EQ(appState.captureBitmap, frozen);
    EXPECT_EQ(appState.dragging, 0u) << "a drag carried over into the new overlay";
    EXPECT_EQ(appState.dragAnchor.x + appState.dragAnchor.y + appState.dragCorner.x + appState.dragCorner.y, 0u);
    // A monitor of another scale keeps the overlay where it is.
    EXPECT_EQ(CaptureOverlayProc(overlay, WM_DPICHANGED, 0x00900090, 0), TRUE);
    // Nothing is erased before the paint puts the picture on every pixel, and
    // the sender is told so: a dialog's answer is its DWLP_MSGRESULT.
    EXPECT_CALL(win, SetWindowLongPtrA(overlay, DWLP_MSGRESULT, TRUE));
    EXPECT_EQ(CaptureOverlayProc(overlay, WM_ERASEBKGND, 0x30, 0), TRUE);
    LedgerRelease(frozen);

    // A virtual screen too large for one bitmap: the error sound, and no overlay.
    ::testing::Mock::VerifyAndClearExpectations(&win);
    AllowCursor();
    ExpectVirtualScreen(kTwoMonitors);
    EXPECT_CALL(win, SetWindowPos(overlay, HWND_TOPMOST, -1024, -200, 2304, 1000, 0u)).WillOnce(Return(TRUE));
    ExpectGrab(-1024, -200, 2304, 1000, nullptr);
    EXPECT_CALL(win, MessageBeep(MB_ICONHAND));
    EXPECT_CALL(win, EndDialog(overlay, 1));
    EXPECT_EQ(CaptureOverlayProc(overlay, WM_INITDIALOG, 0, 0), TRUE);
    EXPECT_EQ(appState.captureActive, 0u) << "no overlay, so another screenshot can open";
}

// What reaches the window: the picture under the area to repaint with the
// frame drawn on it, in one blit; every DC, pen and bitmap of the paint is
// released, none while still selected, and the picture itself is kept.
TEST_F(CaptureOverlay, PaintComposesOnlyTheAreaToRepaintWithTheFrameInPlaceAndReleasesAll)
{
    OpenOverlayState({100, 200}, {300, 350}, 1);
    const HDC paintDC = FakeHandle<HDC>(0x30);
    const HDC source = FakeHandle<HDC>(0x31);
    const HBITMAP work = FakeHandle<HBITMAP>(0x32);
    const HPEN pen = FakeHandle<HPEN>(0x33);
    const HGDIOBJ stockPen = FakeHandle<HGDIOBJ>(0x1E);
    auto beginPaint = [&](RECT area) {
        EXPECT_CALL(win, BeginPaint(overlay, _)).WillOnce(Invoke([=](HWND, LPPAINTSTRUCT paint) {
            paint->hdc = paintDC;
            paint->rcPaint = area;
            return paintDC;
        }));
    };
    beginPaint(RECT{90, 200, 301, 351});  // the old and the new frame's bounds
    EXPECT_CALL(win, CreateCompatibleDC(paintDC)).WillOnce(Return(memory)).WillOnce(Return(source));
    EXPECT_CALL(win, CreateCompatibleBitmap(paintDC, 211, 151)).WillOnce(Return(work));
    EXPECT_CALL(win, CreatePen(PS_DASHDOTDOT, 1, 0x00FF0000u)).WillOnce(Return(pen));
    // Each selection answers with what it puts out: a stock object, or, when
    // the stock object goes back in, an object of the same kind.
    EXPECT_CALL(win, SelectObject(_, _)).WillRepeatedly(Invoke([&](HDC, HGDIOBJ object) -> HGDIOBJ {
        if (object == (HGDIOBJ)pen)
            return stockPen;
        if (object == stockPen)
            return (HGDIOBJ)pen;
        return object == stockBitmap ? (HGDIOBJ)work : stockBitmap;
    }));
    EXPECT_CALL(win, BitBlt(memory, 0, 0, 211, 151, source, 90, 200, SRCCOPY));
    EXPECT_CALL(win, DeleteDC(_)).Times(2);
    EXPECT_CALL(win, DeleteObject(_)).Times(2);
    {
        // The frame is in the picture before the picture reaches the window.
        InSequence frameThenWindow;
        EXPECT_CALL(win, MoveToEx(memory, 10, 0, nullptr));
        EXPECT_CALL(win, LineTo(memory, 10, 150));
        EXPECT_CALL(win, LineTo(memory, 210, 150));
        EXPECT_CALL(win, LineTo(memory, 210, 0));
        EXPECT_CALL(win, LineTo(memory, 10, 0));
        EXPECT_CALL(win, BitBlt(paintDC, 90, 200, 211, 151, memory, 0, 0, SRCCOPY));
        EXPECT_CALL(win, EndPaint(overlay, _));
    }
    EXPECT_EQ(CaptureOverlayProc(overlay, WM_PAINT, 0, 0), TRUE);

    // No frame before the first press: the picture goes straight onto the
    // window, in one blit and without a working bitmap.
    ::testing::Mock::VerifyAndClearExpectations(&win);
    appState.dragCorner = appState.dragAnchor;
    beginPaint(RECT{90, 200, 301, 351});
    EXPECT_CALL(win, CreateCompatibleDC(paintDC)).WillOnce(Return(source));
    EXPECT_CALL(win, SelectObject(source, (HGDIOBJ)frozen)).WillOnce(Return(stockBitmap));
    EXPECT_CALL(win, BitBlt(paintDC, 90, 200, 211, 151, source, 90, 200, SRCCOPY));
    EXPECT_CALL(win, SelectObject(source, stockBitmap));
    EXPECT_CALL(win, DeleteDC(source));
    EXPECT_CALL(win, EndPaint(overlay, _));
    EXPECT_EQ(CaptureOverlayProc(overlay, WM_PAINT, 0, 0), TRUE);

    // No DC to hold the picture: the working bitmap holds nothing composed,
    // and the window keeps what it had.
    ::testing::Mock::VerifyAndClearExpectations(&win);
    appState.dragCorner = {300, 350};
    beginPaint(RECT{90, 200, 301, 351});
    EXPECT_CALL(win, CreateCompatibleDC(paintDC)).WillOnce(Return(memory)).WillOnce(Return(nullptr));
    EXPECT_CALL(win, CreateCompatibleBitmap(paintDC, 211, 151)).WillOnce(Return(work));
    EXPECT_CALL(win, SelectObject(memory, (HGDIOBJ)work)).WillOnce(Return(stockBitmap));
    EXPECT_CALL(win, SelectObject(memory, stockBitmap)).WillOnce(Return((HGDIOBJ)work));
    EXPECT_CALL(win, DeleteObject((HGDIOBJ)work)).WillOnce(Return(TRUE));
    EXPECT_CALL(win, DeleteDC(memory)).WillOnce(Return(TRUE));
    EXPECT_CALL(win, EndPaint(overlay, _));
    EXPECT_EQ(CaptureOverlayProc(overlay, WM_PAINT, 0, 0), TRUE);
    LedgerRelease(frozen);  // the paint must leave the picture itself alone
}

// The rule the paint is held to, as Windows has it: an object still selected
// into a DC cannot be deleted and leaks; put out of the DC, it can go.
using GdiLedger = Win32Test;
TEST_F(GdiLedger, AnObjectDeletedWhileSelectedIsRefusedAndStaysOpen)
{
    const HDC dc = FakeHandle<HDC>(0x60);
    const HBITMAP bitmap = FakeHandle<HBITMAP>(0x61);
    const HGDIOBJ stock = FakeHandle<HGDIOBJ>(0x62);
    EXPECT_CALL(win, CreateCompatibleDC(nullptr)).WillOnce(Return(dc));
    EXPECT_CALL(win, CreateCompatibleBitmap(dc, 1, 1)).WillOnce(Return(bitmap));
    EXPECT_CALL(win, SelectObject(dc, (HGDIOBJ)bitmap)).WillOnce(Return(stock));
    EXPECT_CALL(win, SelectObject(dc, stock)).WillOnce(Return((HGDIOBJ)bitmap));
    EXPECT_CALL(win, DeleteObject((HGDIOBJ)bitmap)).Times(2).WillRepeatedly(Return(TRUE));
    EXPECT_CALL(win, DeleteDC(dc)).WillOnce(Return(TRUE));
    CreateCompatibleDC(nullptr);
    CreateCompatibleBitmap(dc, 1, 1);
    SelectObject(dc, bitmap);
    EXPECT_FALSE(DeleteObject(bitmap));
    EXPECT_EQ(LedgerDeletedWhileSelected(), std::vector<const void *>{bitmap});
    EXPECT_EQ(LedgerOpenHandles().size(), 2u) << "the DC and the bitmap it still holds";
    SelectObject(dc, stock);
    EXPECT_TRUE(DeleteObject(bitmap));
    DeleteDC(dc);
    EXPECT_TRUE(LedgerOpenHandles().empty());
    LedgerReset();  // the refused delete was this test's point, not a fault of the program
}

TEST_F(CaptureOverlay, MovesAndPressesInvalidateOnlyTheOldAndTheNewFrame)
{
    OpenOverlayState({10, 20}, {110, 220}, 1);
    {
        InSequence order;
        EXPECT_CALL(win, InvalidateRect(overlay, RectIs(10, 20, 111, 221), FALSE));
        EXPECT_CALL(win, InvalidateRect(overlay, RectIs(10, 20, 51, 301), FALSE));
        // A press erases the last frame and starts a new one at one point.
        EXPECT_CALL(win, SetCapture(overlay));
        EXPECT_CALL(win, InvalidateRect(overlay, RectIs(10, 20, 51, 301), FALSE));
    }
    CaptureOverlayProc(overlay, WM_MOUSEMOVE, 0, At(50, 300));
    CaptureOverlayProc(overlay, WM_LBUTTONDOWN, 0, At(400, 500));
    EXPECT_EQ(appState.dragAnchor.x + appState.dragCorner.x, 800u);
    EXPECT_EQ(appState.dragAnchor.y + appState.dragCorner.y, 1000u);
    LedgerRelease(frozen);
}

struct Drag {
    const char *name;
    Point32 anchor, corner;  // state before the messages
    bool press;
    Point32 pressAt;
    bool move;
    Point32 moveTo;
    bool valid;
    int x, y, width, height;  // the region, in the frozen picture's coordinates
    RECT screen = {0, 0, 1280, 800};
    bool refused = false;  // the platform makes no picture of the region
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
        {"1 px apart: nothing inside", {0, 0}, {0, 0}, true, {10, 20}, true, {11, 220}, false},
        {"2 px apart: nothing inside", {0, 0}, {0, 0}, true, {10, 20}, true, {110, 22}, false},
        {"3 px apart: one pixel", {0, 0}, {0, 0}, true, {10, 20}, true, {13, 23}, true, 11, 21, 1, 1},
        {"click after a drag", {30, 40}, {130, 90}, true, {200, 150}, false, {}, false},
        {"release only", {30, 40}, {130, 90}, false, {}, false, {}, true, 31, 41, 98, 48},
        {"move without press", {30, 40}, {130, 90}, false, {}, true, {500, 500}, true, 31, 41, 98, 48},
        {"-1 clamps to 0", {0, 0}, {0, 0}, true, {0xFFFF, 0xFFFF}, true, {100, 100}, true, 1, 1, 98, 98},
        {"past right and bottom", {0, 0}, {0, 0}, true, {100, 100}, true, {2000, 900}, true, 101, 101, 1177, 697},
        {"second monitor left and above", {0, 0}, {0, 0}, true, {10, 20}, true, {110, 220}, true, 11, 21, 98, 198, kTwoMonitors},
        {"no picture made", {0, 0}, {0, 0}, true, {10, 20}, true, {110, 220}, false, 11, 21, 98, 198, {0, 0, 1280, 800}, true},
    };
    for (const Drag &drag : drags) {
        SCOPED_TRACE(drag.name);
        OpenOverlayState(drag.anchor, drag.corner, 0, drag.screen);
        {
            InSequence order;
            if (drag.press)
                EXPECT_CALL(win, SetCapture(overlay));
            // A press erases the last frame; a move while the button is down repaints.
            EXPECT_CALL(win, InvalidateRect(overlay, _, FALSE)).Times((drag.press ? 1 : 0) + (drag.move && drag.press ? 2 : 0));
            EXPECT_CALL(win, ReleaseCapture());
            if (drag.x != 0)
                ExpectCrop(drag.x, drag.y, drag.width, drag.height, drag.refused ? nullptr : region);
            if (!drag.valid) {
                EXPECT_CALL(win, MessageBoxW(overlay, WideEq(u"选择区域无效"), nullptr, MB_ICONWARNING));
            } else {
                EXPECT_CALL(win, DeleteObject((HGDIOBJ)frozen));
                EXPECT_CALL(win, GetSaveFileNameW(_)).WillOnce(Return(FALSE));
                ExpectClipboardHandOver(region);
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
        if (!drag.valid) {
            EXPECT_EQ(appState.captureBitmap, frozen) << "the overlay stays open on its picture";
            LedgerRelease(frozen);
        }
        ::testing::Mock::VerifyAndClearExpectations(&win);
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
