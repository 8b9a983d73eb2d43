#include "capture_helpers.h"

#include "platform/gdiplus_flat.h"

// Decoding calls the program itself does not need.
extern "C" {
GpStatus __stdcall GdipCreateBitmapFromFile(const WCHAR *fileName, GpBitmap **bitmap);
GpStatus __stdcall GdipCreateHBITMAPFromBitmap(GpBitmap *bitmap, HBITMAP *result, DWORD background);
}

static const COLORREF kQuadrants[4] = {RGB(255, 0, 0), RGB(0, 160, 0), RGB(0, 0, 255), RGB(255, 255, 0)};

static LRESULT CALLBACK ColourWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_PAINT)
        return DefWindowProcW(window, message, wParam, lParam);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    for (int i = 0; i < 4; i++) {
        RECT quarter = {i % 2 ? client.right / 2 : 0, i / 2 ? client.bottom / 2 : 0, 0, 0};
        quarter.right = quarter.left + client.right / 2;
        quarter.bottom = quarter.top + client.bottom / 2;
        HBRUSH brush = CreateSolidBrush(kQuadrants[i]);
        FillRect(dc, &quarter, brush);
        DeleteObject(brush);
    }
    EndPaint(window, &paint);
    return 0;
}

HWND ShowColourWindow(RECT place)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = ColourWindowProc;
    windowClass.hInstance = GetModuleHandleW(NULL);
    windowClass.lpszClassName = L"CaptureColours";
    RegisterClassW(&windowClass);
    // Never in front: keys must reach the program, not this test's window,
    // which handles no messages while the test waits.
    HWND window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE, L"CaptureColours", L"", WS_POPUP, place.left, place.top,
                                  place.right - place.left, place.bottom - place.top, NULL, NULL,
                                  windowClass.hInstance, NULL);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);
    PumpMessages(300);
    return window;
}

void PumpMessages(DWORD milliseconds)
{
    DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, NULL, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        if (GetTickCount() - start >= milliseconds)
            return;
        Sleep(10);
    }
}

// Wine starts a Linux program without a process handle to wait on, so the
// shell that runs xdotool leaves a file when it is done, and the test waits
// for that: a test must not go on while its keys and clicks are still coming.
void Xdotool(const std::string &arguments)
{
    static int runs = 0;
    std::string done = "/tmp/ombrivale-xdotool-" + std::to_string(GetCurrentProcessId()) + "-" +
                       std::to_string(++runs);
    std::string shell = "/bin/sh -c \"/usr/bin/xdotool " + arguments + "; : >" + done + "\"";
    std::wstring commandLine(shell.begin(), shell.end());
    std::wstring doneHere = L"Z:" + std::wstring(done.begin(), done.end());
    for (wchar_t &c : doneHere)
        c = c == L'/' ? L'\\' : c;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION created = {};
    ASSERT_TRUE(CreateProcessW(NULL, &commandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &created))
        << "could not run " << shell << ": error " << GetLastError();
    EXPECT_TRUE(WaitUntil([&] { return FileExists(doneHere); }, 10000)) << "xdotool did not end: " << shell;
    DeleteFileW(doneHere.c_str());
}

std::string MoveTo(int x, int y)
{
    // The X root's origin is the virtual screen's top-left corner, which lies
    // left of the primary when a monitor is there.
    return "mousemove " + std::to_string(x - GetSystemMetrics(SM_XVIRTUALSCREEN)) + " " +
           std::to_string(y - GetSystemMetrics(SM_YVIRTUALSCREEN));
}

void DragPointer(int x1, int y1, int x2, int y2)
{
    // Intermediate moves, as a hand would make, each one a repaint.
    Xdotool(MoveTo(x1, y1) + " sleep 0.1 mousedown 1 sleep 0.1 " + MoveTo((x1 + x2) / 2, (y1 + y2) / 2) +
            " sleep 0.1 " + MoveTo(x2, y2) + " sleep 0.2 mouseup 1");
}

struct OverlaySearch {
    DWORD processId;
    HWND except;
    bool overlays;  // captionless dialogs, else the others
    std::vector<HWND> found;
};

static BOOL CALLBACK CollectDialog(HWND window, LPARAM parameter)
{
    OverlaySearch &search = *reinterpret_cast<OverlaySearch *>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.processId || !IsWindowVisible(window) || ClassName(window) != L"#32770" ||
        window == search.except)
        return TRUE;
    bool captionless = (GetWindowLongW(window, GWL_STYLE) & WS_CAPTION) == 0;
    if (captionless == search.overlays)
        search.found.push_back(window);
    return TRUE;
}

static std::vector<HWND> Dialogs(DWORD processId, bool overlays, HWND except = NULL)
{
    OverlaySearch search = {processId, except, overlays, {}};
    EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindOverlay(DWORD processId)
{
    std::vector<HWND> found = Dialogs(processId, true);
    return found.empty() ? NULL : found.front();
}

int CountOverlays(DWORD processId)
{
    return (int)Dialogs(processId, true).size();
}

HWND WaitForOverlay(DWORD processId, DWORD milliseconds)
{
    HWND overlay = NULL;
    WaitUntil([&] { return (overlay = FindOverlay(processId)) != NULL; }, milliseconds);
    return overlay;
}

void PostDrag(HWND overlay, POINT from, POINT to)
{
    PostMessageW(overlay, WM_LBUTTONDOWN, 0, MAKELPARAM(from.x, from.y));
    PostMessageW(overlay, WM_MOUSEMOVE, 0, MAKELPARAM(to.x, to.y));
    PostMessageW(overlay, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
}

bool CancelOverlay(HWND overlay)
{
    PostMessageW(overlay, WM_RBUTTONUP, 0, 0);
    return WaitUntil([&] { return !IsWindow(overlay); });
}

HWND WaitForBoxBeside(DWORD processId, HWND overlay, DWORD milliseconds)
{
    HWND box = NULL;
    WaitUntil([&] {
        std::vector<HWND> found = Dialogs(processId, false, overlay);
        box = found.empty() ? NULL : found.front();
        return box != NULL;
    }, milliseconds);
    return box;
}

HWND WaitForSaveDialog(DWORD processId)
{
    return WaitForDialog(processId, kSaveDialogTitle);
}

// The explorer-style dialog keeps the file name in an edit inside combo box
// cmb13; older layouts have the edit edt1 directly.
HWND FileNameField(HWND dialog)
{
    HWND combo = GetDlgItem(dialog, 0x47C);
    HWND edit = combo != NULL ? FindWindowExW(combo, NULL, L"Edit", NULL) : NULL;
    if (edit == NULL)
        edit = GetDlgItem(dialog, 0x480);
    return edit != NULL ? edit : combo;
}

std::wstring SaveDialogFileName(HWND dialog)
{
    return ControlText(FileNameField(dialog));
}

void ChooseFileAndSave(HWND dialog, const std::wstring &path)
{
    SetControlText(FileNameField(dialog), path);
    PressButton(dialog, IDOK);
}

Pixels BitmapPixels(HBITMAP bitmap)
{
    Pixels pixels;
    BITMAP size = {};
    if (GetObjectW(bitmap, sizeof size, &size) == 0)
        return pixels;
    pixels.width = size.bmWidth;
    pixels.height = size.bmHeight;
    pixels.rgb.resize((size_t)size.bmWidth * size.bmHeight);
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = size.bmWidth;
    format.bmiHeader.biHeight = -size.bmHeight;  // top-down
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    HDC screen = GetDC(NULL);
    GetDIBits(screen, bitmap, 0, size.bmHeight, pixels.rgb.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(NULL, screen);
    for (DWORD &pixel : pixels.rgb)
        pixel &= 0xFFFFFF;
    return pixels;
}

Pixels GrabScreenPixels(RECT rect)
{
    HDC screen = GetDC(NULL);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, rect.right - rect.left, rect.bottom - rect.top);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, rect.right - rect.left, rect.bottom - rect.top, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
    ReleaseDC(NULL, screen);
    Pixels pixels = BitmapPixels(bitmap);
    DeleteObject(bitmap);
    return pixels;
}

Pixels ReadPng(const std::wstring &path)
{
    GdiplusStartupInput input = {1, NULL, FALSE, FALSE};
    ULONG_PTR token = 0;
    Pixels pixels;
    if (GdiplusStartup(&token, &input, NULL) != 0)
        return pixels;
    GpBitmap *image = NULL;
    HBITMAP bitmap = NULL;
    if (GdipCreateBitmapFromFile(path.c_str(), &image) == 0) {
        GdipCreateHBITMAPFromBitmap(image, &bitmap, 0);
        GdipDisposeImage(image);
    }
    if (bitmap != NULL) {
        pixels = BitmapPixels(bitmap);
        DeleteObject(bitmap);
    }
    GdiplusShutdown(token);
    return pixels;
}

DWORD ClipboardBitmapSizeHere()
{
    DWORD size = 0;
    if (!OpenClipboard(NULL))
        return size;
    BITMAP bitmap = {};
    HANDLE data = GetClipboardData(CF_BITMAP);
    if (data != NULL && GetObjectW(data, sizeof bitmap, &bitmap) != 0)
        size = MAKELONG(bitmap.bmHeight, bitmap.bmWidth);
    CloseClipboard();
    return size;
}

// Read by a fresh copy of this program: under Wine 8's WoW64 the i686 test
// program's own OpenClipboard fails (ERROR_INVALID_HANDLE) once the i686
// build has put its bitmap there, while a new process of either bitness
// reads it. Windows has no such limit.
SIZE ClipboardBitmapSize()
{
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(NULL, self, MAX_PATH);
    PROCESS_INFORMATION reader = {};
    DWORD size = 0;
    if (StartProcess(self, kClipboardSizeArgument, 0, reader)) {
        // A reader that does not end in time answers nothing, not its
        // still-running code as a size.
        bool ended = WaitForSingleObject(reader.hProcess, 10000) == WAIT_OBJECT_0;
        if (!ended || !GetExitCodeProcess(reader.hProcess, &size)) {
            TerminateProcess(reader.hProcess, 1);
            size = 0;
        }
        CloseHandle(reader.hThread);
        CloseHandle(reader.hProcess);
    }
    return {HIWORD(size), LOWORD(size)};
}
