#include "tray_menu_helpers.h"

#include <algorithm>
#include <cstdlib>

std::vector<HWND> MenuWindows(DWORD processId)
{
    return TopLevelWindows(processId, L"#32768", nullptr, true);
}

HWND OpenTrayMenu(const Program &program, LPARAM mouseMessage, POINT at, DWORD milliseconds)
{
    SetCursorPos(at.x, at.y);
    PostMessageW(program.window, WM_TRAYICON, 1, mouseMessage);
    HWND menu = NULL;
    WaitUntil(
        [&] {
            std::vector<HWND> menus = MenuWindows(program.id);
            menu = menus.empty() ? NULL : menus.front();
            return menu != NULL;
        },
        milliseconds);
    return menu;
}

bool WaitForMenusClosed(DWORD processId, DWORD milliseconds)
{
    return WaitUntil([&] { return MenuWindows(processId).empty(); }, milliseconds);
}

void PressKey(WORD key)
{
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = inputs[1].ki.wVk = key;
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof inputs[0]);
    Sleep(50);  // the menu loop handles one key at a time
}

void ClickAt(POINT at)
{
    SetCursorPos(at.x, at.y);
    Sleep(50);
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof inputs[0]);
}

std::vector<COLORREF> WindowPixels(HWND window, RECT &rect)
{
    if (!GetWindowRect(window, &rect))
        return {};
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    std::vector<COLORREF> pixels(width * height);
    HDC screen = GetDC(NULL);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    GetDIBits(memory, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(NULL, screen);
    return pixels;
}

bool FindHighlightedRow(HWND menu, POINT &middle)
{
    // One rectangle for the picture and its reading: the menu may move or close.
    RECT rect;
    std::vector<COLORREF> pixels = WindowPixels(menu, rect);
    if (pixels.empty())
        return false;
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    // GetDIBits gives 0x00RRGGBB; the system colours are 0x00BBGGRR.
    COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    COLORREF wanted = RGB(GetBValue(highlight), GetGValue(highlight), GetRValue(highlight));
    int first = -1, last = -1;
    for (int y = 0; y < height; y++) {
        if (pixels[y * width + width / 2] == wanted) {
            if (first < 0)
                first = y;
            last = y;
        }
    }
    if (first < 0)
        return false;
    middle = {rect.left + width / 2, rect.top + (first + last) / 2};
    return true;
}

// The bytes of a file; /proc's files report no size, so read to the end.
static std::string ReadWholeFile(const std::wstring &path)
{
    std::string bytes;
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char chunk[4096];
    DWORD read = 0;
    while (ReadFile(file, chunk, sizeof chunk, &read, NULL) && read > 0)
        bytes.append(chunk, read);
    CloseHandle(file);
    return bytes;
}

// Wine rewrites a process's argv to its Windows command line, in the UTF-8
// of the Unix locale, which starts with the executable's path, quoted or not.
static bool CommandLineRuns(const std::string &commandLine, const std::wstring &executablePath)
{
    std::string path = Utf8(executablePath);
    size_t start = commandLine.compare(0, 1, "\"") == 0 ? 1 : 0;
    if (commandLine.size() < start + path.size())
        return false;
    std::wstring ran(executablePath.size() + 1, L'\0');
    int length = MultiByteToWideChar(CP_UTF8, 0, commandLine.data() + start, (int)path.size(), ran.data(),
                                     (int)ran.size());
    return CompareStringOrdinal(ran.c_str(), length, executablePath.c_str(), (int)executablePath.size(), TRUE) ==
           CSTR_EQUAL;
}

DWORD UnixProcessOf(const std::wstring &executablePath)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(L"Z:\\proc\\*", &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    DWORD newest = 0;
    do {
        DWORD pid = wcstoul(found.cFileName, nullptr, 10);
        if (pid == 0)
            continue;
        std::string commandLine = ReadWholeFile(std::wstring(L"Z:\\proc\\") + found.cFileName + L"\\cmdline");
        if (CommandLineRuns(commandLine, executablePath) && pid > newest)
            newest = pid;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return newest;
}

long ResidentKilobytes(DWORD unixPid)
{
    std::string status = ReadWholeFile(L"Z:\\proc\\" + std::to_wstring(unixPid) + L"\\status");
    size_t at = status.find("VmRSS:");
    return at == std::string::npos ? -1 : strtol(status.c_str() + at + 6, nullptr, 10);
}

std::vector<COLORREF> SubmenuPixels(const Program &program, int position, POINT at, int &width)
{
    std::vector<COLORREF> pixels;
    HWND popup = OpenTrayMenu(program, WM_RBUTTONDOWN, at);
    if (popup == NULL) {
        ADD_FAILURE() << "the menu did not open";
        return pixels;
    }
    for (int step = 0; step <= position; step++)
        PressKey(VK_DOWN);
    PressKey(VK_RIGHT);
    HWND submenu = NULL;
    WaitUntil([&] {
        for (HWND menu : MenuWindows(program.id))
            submenu = menu != popup ? menu : submenu;
        return submenu != NULL;
    });
    POINT firstItem;
    if (submenu != NULL && WaitUntil([&] { return FindHighlightedRow(submenu, firstItem); })) {
        RECT rect = {};
        pixels = WindowPixels(submenu, rect);
        width = rect.right - rect.left;
    } else {
        ADD_FAILURE() << "the submenu did not open with its first item selected";
    }
    PressKey(VK_ESCAPE);
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitForMenusClosed(program.id)) << "the menu stayed open";
    return pixels;
}

bool MoveHighlight(HWND menu, WORD key, POINT &at)
{
    POINT before = {-1, -1};
    FindHighlightedRow(menu, before);
    PressKey(key);
    return WaitUntil([&] { return FindHighlightedRow(menu, at) && (at.x != before.x || at.y != before.y); });
}

int FirstDifferentRow(const std::vector<COLORREF> &a, const std::vector<COLORREF> &b, int width)
{
    auto [at, other] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    return at == a.end() && other == b.end() ? -1 : int(at - a.begin()) / width;
}
