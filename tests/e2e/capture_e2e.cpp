// The region screenshot as a user makes it: real pointer drags over a window
// of known colours, the save dialog, the PNG file and the clipboard.
#include "capture_helpers.h"

static const RECT kColourPlace = {300, 200, 700, 500};
// A drag over all four colours, and the region inside its frame.
static const POINT kFrom = {350, 250};
static const POINT kTo = {650, 430};

// Ctrl+F3 through the system's input queue, as the keyboard gives it.
static void PressHotkey()
{
    keybd_event(VK_CONTROL, 0, 0, 0);
    keybd_event(VK_F3, 0, 0, 0);
    keybd_event(VK_F3, 0, KEYEVENTF_KEYUP, 0);
    keybd_event(VK_CONTROL, 0, KEYEVENTF_KEYUP, 0);
}

class Capture : public ProgramTest {
protected:
    void SetUp() override
    {
        colours = ShowColourWindow(kColourPlace);
        if (OpenClipboard(NULL)) {
            EmptyClipboard();
            CloseClipboard();
        }
        folder = TempFolder() + L"ombrivale_capture\\";
        CreateDirectoryW(folder.c_str(), NULL);
        DeleteFileW((folder + L"shot.png").c_str());
        // A folder deep enough that the saved path is longer than 128 characters.
        deep = folder + std::wstring(120, L'd') + L"\\";
        CreateDirectoryW(deep.c_str(), NULL);
        foreign = folder + kForeignFolderName + L"\\";
        CreateDirectoryW(foreign.c_str(), NULL);
        RemoveNumberedShots();
        program = StartProgram();
    }

    void TearDown() override
    {
        ProgramTest::TearDown();
        DestroyWindow(colours);
        for (const wchar_t *name : {L"shot.png", L"calc.exe", L"calc.exe.ran"})
            DeleteFileW((folder + name).c_str());
        RemoveNumberedShots();
        RemoveDirectoryW(deep.c_str());
        RemoveDirectoryW(foreign.c_str());
        RemoveDirectoryW(folder.c_str());
    }

    void RemoveNumberedShots()
    {
        for (const std::wstring &where : {deep, foreign}) {
            for (const wchar_t *name : {L"shot0.png", L"shot1.png", L"shot2.png", L"shot3.png"})
                DeleteFileW((where + name).c_str());
        }
    }

    HWND OpenOverlay()
    {
        SendCommand(program, IDM_SCREENSHOT);
        HWND overlay = WaitForOverlay(program.id);
        EXPECT_NE(overlay, (HWND)NULL) << "no overlay came";
        Sleep(300);  // its first paint
        return overlay;
    }

    bool OverlayGone() { return WaitUntil([&] { return FindOverlay(program.id) == NULL; }); }

    // A drag over the colours up to the save dialog; returns the dialog.
    HWND DragToSaveDialog()
    {
        if (OpenOverlay() == NULL)
            return NULL;
        DragPointer(kFrom.x, kFrom.y, kTo.x, kTo.y);
        HWND dialog = WaitForSaveDialog(program.id);
        EXPECT_NE(dialog, (HWND)NULL) << "no save dialog after the drag; the program shows" << DialogTitles(program.id);
        return dialog;
    }

    HWND colours = NULL;
    std::wstring folder;
    std::wstring deep;
    // Named in letters that no ANSI code page of the run holds.
    std::wstring foreign;
};

// Drags over the colours, on the primary, across both monitors and wholly
// on the monitor left of the primary, each saved as a PNG of the region
// inside the frame, into a folder deeper than 128 characters or into one
// named in Hangul and Polish letters.
TEST_F(Capture, OverlayCoversScreenTopmostAndSavesRegionAsPng)
{
    const struct {
        const char *where;
        RECT colours;
        POINT from, to;
        const std::wstring &into;
    } drags[] = {
        {"primary", kColourPlace, kFrom, kTo, deep},
        {"across both monitors", {-300, 200, 300, 500}, {-250, 250}, {250, 430}, deep},
        {"left monitor", {-900, 200, -500, 500}, {-850, 250}, {-550, 430}, deep},
        {"primary, into the foreign folder", kColourPlace, kFrom, kTo, foreign},
    };
    for (int number = 0; number < (int)std::size(drags); number++) {
        const auto &drag = drags[number];
        SCOPED_TRACE(drag.where);
        DestroyWindow(colours);
        colours = ShowColourWindow(drag.colours);
        RECT inside = {drag.from.x + 1, drag.from.y + 1, drag.to.x - 1, drag.to.y - 1};
        Pixels shown = GrabScreenPixels(inside);
        ASSERT_EQ(shown.At(0, 0), 0xFF0000u) << "the colour window is not on the screen";
        ASSERT_EQ(shown.At(shown.width - 1, shown.height - 1), 0xFFFF00u);
        HWND overlay = OpenOverlay();
        ASSERT_NE(overlay, (HWND)NULL);
        RECT place;
        GetWindowRect(overlay, &place);
        EXPECT_EQ(place.left, GetSystemMetrics(SM_XVIRTUALSCREEN));
        EXPECT_EQ(place.top, GetSystemMetrics(SM_YVIRTUALSCREEN));
        EXPECT_EQ(place.right - place.left, GetSystemMetrics(SM_CXVIRTUALSCREEN));
        EXPECT_EQ(place.bottom - place.top, GetSystemMetrics(SM_CYVIRTUALSCREEN));
        EXPECT_TRUE(GetWindowLongW(overlay, GWL_EXSTYLE) & WS_EX_TOPMOST) << "the overlay is not topmost";
        // Another program's window comes up over the overlay, inside the
        // region and over a green quarter, with its own red corner: it is on
        // the live screen, but not in what the user framed.
        HWND intruder = ShowColourWindow({drag.to.x - 60, drag.from.y + 20, drag.to.x + 20, drag.from.y + 100});
        POINT red = {drag.to.x - 55, drag.from.y + 25};
        ASSERT_EQ(GrabScreenPixels({red.x, red.y, red.x + 1, red.y + 1}).At(0, 0), 0xFF0000u)
            << "the window over the overlay is not on the screen";

        DragPointer(drag.from.x, drag.from.y, drag.to.x, drag.to.y);
        HWND dialog = WaitForSaveDialog(program.id);
        ASSERT_NE(dialog, (HWND)NULL) << "no save dialog after the drag; the program shows" << DialogTitles(program.id);
        EXPECT_TEXT_EQ(SaveDialogFileName(dialog), L"截图0" + std::to_wstring(number) + L".png");
        std::wstring shot = drag.into + L"shot" + std::to_wstring(number);
        if (drag.into == deep) {
            ASSERT_GT((shot + L".png").size(), 128u);
        }
        ChooseFileAndSave(dialog, shot);  // ".png" is added
        ASSERT_TRUE(OverlayGone()) << "the overlay stayed after the save";
        DestroyWindow(intruder);

        Pixels saved = ReadPng(shot + L".png");
        ASSERT_EQ(saved.width, drag.to.x - drag.from.x - 2) << "no readable " << shot << ".png";
        ASSERT_EQ(saved.height, drag.to.y - drag.from.y - 2);
        int differing = 0;
        for (size_t i = 0; i < saved.rgb.size(); i++)
            differing += saved.rgb[i] != shown.rgb[i];
        EXPECT_EQ(differing, 0) << "pixels differ from the screen; top-left " << std::hex << saved.At(0, 0) << " vs "
                                << shown.At(0, 0);
    }
}

// A calc.exe planted in the folder the program was started from and then
// saved into: a bare tool name would be looked for there first. (Wine's save
// dialog leaves the current directory alone, so here the start folder is
// what shows a bare name being found.)
TEST_F(Capture, CalcPlantedInTheStartAndSavedIntoFolderNeverRuns)
{
    ASSERT_TRUE(CopyFileW(PlantedPath(L"calc.exe").c_str(), (folder + L"calc.exe").c_str(), FALSE));
    StopProgram(program);
    wchar_t testFolder[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, testFolder);
    SetCurrentDirectoryW(folder.c_str());
    program = StartProgram();
    SetCurrentDirectoryW(testFolder);
    HWND dialog = DragToSaveDialog();
    ASSERT_NE(dialog, (HWND)NULL);
    ChooseFileAndSave(dialog, folder + L"shot.png");
    ASSERT_TRUE(OverlayGone());
    ASSERT_TRUE(FileExists(folder + L"shot.png")) << "the shot was not saved into the folder";
    SendCommand(program, IDM_TOOL_CALC);
    EXPECT_FALSE(WaitUntil([&] { return FileExists(folder + L"calc.exe.ran"); }, 3000)) << "the planted calc.exe ran";
}

TEST_F(Capture, CancelledSaveLeavesBitmapOnClipboardAndKeepsNumber)
{
    HWND dialog = DragToSaveDialog();
    ASSERT_NE(dialog, (HWND)NULL);
    ChooseFileAndSave(dialog, folder + L"shot.png");
    ASSERT_TRUE(OverlayGone());

    dialog = DragToSaveDialog();
    ASSERT_NE(dialog, (HWND)NULL);
    EXPECT_TEXT_EQ(SaveDialogFileName(dialog), L"截图01.png") << "the number did not grow after a save";
    // Changed printer settings, broadcast while the dialog is open, and a
    // stray right release must leave the output alone.
    HWND overlay = FindOverlay(program.id);
    ASSERT_NE(overlay, (HWND)NULL);
    DWORD_PTR answer = 0;
    EXPECT_NE(SendMessageTimeoutW(overlay, WM_DEVMODECHANGE, 0, (LPARAM)L"Printer", SMTO_ABORTIFHUNG, 5000, &answer), 0)
        << "the overlay did not answer the mode change";
    PostMessageW(overlay, WM_RBUTTONUP, 0, 0);
    SendCommand(program, IDM_SCREENSHOT);
    EXPECT_FALSE(WaitUntil([&] { return CountOverlays(program.id) > 1; }, 1000)) << "the output was cancelled under the dialog";
    ASSERT_TRUE(IsWindow(dialog)) << "the save dialog went with the mode change";
    PressButton(dialog, IDCANCEL);
    ASSERT_TRUE(OverlayGone()) << "the overlay stayed after the cancel";
    SIZE size = ClipboardBitmapSize();
    EXPECT_EQ(size.cx, kTo.x - kFrom.x - 2);
    EXPECT_EQ(size.cy, kTo.y - kFrom.y - 2);

    dialog = DragToSaveDialog();
    ASSERT_NE(dialog, (HWND)NULL);
    EXPECT_TEXT_EQ(SaveDialogFileName(dialog), L"截图01.png") << "a cancel changed the number";
    PressButton(dialog, IDCANCEL);
    EXPECT_TRUE(OverlayGone());
}

TEST_F(Capture, ZeroAreaDragAndClickWarnOverOverlayAndRightClickCancels)
{
    HWND overlay = OpenOverlay();
    ASSERT_NE(overlay, (HWND)NULL);
    DragPointer(400, 250, 400, 400);
    HWND box = WaitForBoxBeside(program.id, overlay);
    ASSERT_NE(box, (HWND)NULL) << "no warning for a selection without area";
    EXPECT_TEXT_EQ(MessageBoxText(box), L"选择区域无效");
    EXPECT_EQ(GetWindow(box, GW_OWNER), overlay) << "the warning is not owned by the overlay";
    PressButton(box, IDOK);
    EXPECT_FALSE(WaitUntil([&] { return !IsWindowVisible(overlay); }, 1000)) << "the warning ended the overlay";

    // A click is a selection without area, never one from the last corner.
    Xdotool(MoveTo(500, 300) + " click 1");
    box = WaitForBoxBeside(program.id, overlay);
    ASSERT_NE(box, (HWND)NULL) << "no warning for a click without a drag";
    EXPECT_TEXT_EQ(MessageBoxText(box), L"选择区域无效");
    PressButton(box, IDOK);

    Xdotool(MoveTo(500, 300) + " click 3");
    EXPECT_TRUE(OverlayGone()) << "a right click did not cancel";
    EXPECT_NE(OpenOverlay(), (HWND)NULL) << "no screenshot after a cancel";
    Xdotool("click 3");
    EXPECT_TRUE(OverlayGone());
}

TEST_F(Capture, KeyboardCloseLetsTheNextScreenshotOpen)
{
    HWND overlay = OpenOverlay();
    ASSERT_NE(overlay, (HWND)NULL);
    // The keys go to the focused window, which the overlay need not be yet.
    SetForegroundWindow(overlay);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == overlay; })) << "the overlay never got the focus";
    Xdotool("key alt+F4");
    ASSERT_TRUE(OverlayGone()) << "Alt+F4 did not close the overlay";
    EXPECT_NE(OpenOverlay(), (HWND)NULL) << "the overlay closed from outside blocked the next screenshot";
    Xdotool(MoveTo(500, 300) + " click 3");
    EXPECT_TRUE(OverlayGone());
}

TEST_F(Capture, ScreenshotWhileOverlayOrSaveDialogOpenOpensNothing)
{
    PressHotkey();
    ASSERT_NE(WaitForOverlay(program.id), (HWND)NULL) << "the hotkey opened no overlay";
    SendCommand(program, IDM_SCREENSHOT);
    PressHotkey();
    EXPECT_FALSE(WaitUntil([&] { return CountOverlays(program.id) > 1; }, 1500)) << "a second overlay opened";

    DragPointer(kFrom.x, kFrom.y, kTo.x, kTo.y);
    HWND dialog = WaitForSaveDialog(program.id);
    ASSERT_NE(dialog, (HWND)NULL);
    SendCommand(program, IDM_SCREENSHOT);
    EXPECT_FALSE(WaitUntil([&] { return CountOverlays(program.id) > 1; }, 1500)) << "an overlay opened over the save";
    PressButton(dialog, IDCANCEL);
    EXPECT_TRUE(OverlayGone());
}
