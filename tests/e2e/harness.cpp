#include "harness.h"

#include <shellapi.h>
#include <tlhelp32.h>

#include <iomanip>
#include <sstream>
#include <vector>

std::string Utf8(const std::wstring &text)
{
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), (int)text.size(), NULL, 0, NULL, NULL);
    std::string utf8(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), (int)text.size(), utf8.data(), size, NULL, NULL);
    return utf8;
}

::testing::AssertionResult SameText(const char *readExpression, const char *expectedExpression,
                                    const std::wstring &read, const std::wstring &expected)
{
    if (read == expected)
        return ::testing::AssertionSuccess();
    std::ostringstream units;
    for (wchar_t unit : read)
        units << " " << std::hex << std::uppercase << std::setw(4) << std::setfill('0') << (unsigned)unit;
    return ::testing::AssertionFailure() << readExpression << " reads \"" << Utf8(read) << "\" (UTF-16" << units.str()
                                         << "),\n  not " << expectedExpression << ": \"" << Utf8(expected) << "\"";
}

static std::wstring TestProgramFolder()
{
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(NULL, path, MAX_PATH);
    std::wstring file(path, length);
    return file.substr(0, file.find_last_of(L'\\') + 1);
}

std::wstring PlantedPath(const wchar_t *name)
{
    return TestProgramFolder() + L"planted\\" + name;
}

bool FileExists(const std::wstring &path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring ProgramPath()
{
    return TestProgramFolder() + L"Ombrivale.exe";
}

std::wstring OtherBuildPath()
{
    return TestProgramFolder() + (sizeof(void *) == 8 ? L"..\\win32\\" : L"..\\win64\\") + L"Ombrivale.exe";
}

bool StartProcess(const std::wstring &path, const std::wstring &arguments, DWORD flags, PROCESS_INFORMATION &created)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + path + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    return CreateProcessW(path.c_str(), &commandLine[0], NULL, NULL, FALSE, flags, NULL, NULL, &startup, &created) != FALSE;
}

bool CanStart(const std::wstring &path)
{
    PROCESS_INFORMATION created = {};
    if (!StartProcess(path, L"", CREATE_SUSPENDED, created))
        return false;
    TerminateProcess(created.hProcess, 0);
    CloseHandle(created.hThread);
    CloseHandle(created.hProcess);
    return true;
}

Program Launch(const std::wstring &path)
{
    PROCESS_INFORMATION created = {};
    Program program;
    if (!StartProcess(path, L"", 0, created)) {
        ADD_FAILURE() << "could not start " << path << ": error " << GetLastError();
        return program;
    }
    CloseHandle(created.hThread);
    program.process = created.hProcess;
    program.id = created.dwProcessId;
    return program;
}

Program StartProgram(const std::wstring &path)
{
    Program program = Launch(path);
    // Process id 0 would match any copy's window.
    if (program.process == NULL)
        return program;
    if (!WaitUntil([&] { return (program.window = MainWindowOf(program.id)) != NULL; }, 10000))
        ADD_FAILURE() << "the main window KORVANFOREVER did not appear";
    // The window is found while WM_CREATE still registers the hotkeys; a
    // message answered means creation is over and the loop runs.
    else if (!SendMessageTimeoutW(program.window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, NULL))
        ADD_FAILURE() << "the main window does not answer";
    return program;
}

struct WindowSearch {
    DWORD processId;
    const wchar_t *className;
    const wchar_t *title;
    bool visibleOnly;
    std::vector<HWND> found;
};

static BOOL CALLBACK CollectWindow(HWND window, LPARAM parameter)
{
    WindowSearch &search = *reinterpret_cast<WindowSearch *>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (search.processId != 0 && owner != search.processId)
        return TRUE;
    if (search.visibleOnly && !IsWindowVisible(window))
        return TRUE;
    if (search.className != nullptr && ClassName(window) != search.className)
        return TRUE;
    if (search.title != nullptr && WindowText(window) != search.title)
        return TRUE;
    search.found.push_back(window);
    return TRUE;
}

std::vector<HWND> TopLevelWindows(DWORD processId, const wchar_t *className, const wchar_t *title, bool visibleOnly)
{
    WindowSearch search = {processId, className, title, visibleOnly, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND MainWindowOf(DWORD processId)
{
    std::vector<HWND> windows = TopLevelWindows(processId, L"KORVAN", L"KORVANFOREVER", false);
    return windows.empty() ? NULL : windows.front();
}

bool IsRunning(const Program &program)
{
    return program.process != NULL && WaitForSingleObject(program.process, 0) == WAIT_TIMEOUT;
}

DWORD ChildProcess(DWORD parent, const wchar_t *file)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    DWORD found = 0;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && found == 0; more = Process32NextW(snapshot, &entry)) {
        if (entry.th32ParentProcessID == parent && lstrcmpiW(entry.szExeFile, file) == 0)
            found = entry.th32ProcessID;
    }
    CloseHandle(snapshot);
    return found;
}

DWORD WaitForExit(Program &program, DWORD milliseconds)
{
    DWORD code = STILL_ACTIVE;
    if (program.process != NULL && WaitForSingleObject(program.process, milliseconds) == WAIT_OBJECT_0)
        GetExitCodeProcess(program.process, &code);
    return code;
}

void StopProgram(Program &program)
{
    if (program.process == NULL)
        return;
    if (IsRunning(program)) {
        // Close whatever box it shows, then leave as the exit command does.
        for (HWND box : TopLevelWindows(program.id, L"#32770", nullptr, true))
            PostMessageW(box, WM_CLOSE, 0, 0);
        HWND window = MainWindowOf(program.id);
        if (window != NULL)
            PostMessageW(window, WM_DESTROY, 0, 0);
        if (WaitForSingleObject(program.process, 5000) != WAIT_OBJECT_0)
            TerminateProcess(program.process, 1);
        WaitForSingleObject(program.process, 5000);
    }
    CloseHandle(program.process);
    program = Program();
}

bool WaitUntil(const std::function<bool()> &condition, DWORD milliseconds)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount() - start >= milliseconds)
            return false;
        Sleep(20);
    }
}

HWND FindDialog(DWORD processId, const wchar_t *caption)
{
    std::vector<HWND> dialogs = TopLevelWindows(processId, L"#32770", caption, true);
    return dialogs.empty() ? NULL : dialogs.front();
}

HWND WaitForDialog(DWORD processId, const wchar_t *caption, DWORD milliseconds)
{
    HWND dialog = NULL;
    WaitUntil([&] { return (dialog = FindDialog(processId, caption)) != NULL; }, milliseconds);
    return dialog;
}

int CountDialogs(DWORD processId)
{
    return (int)TopLevelWindows(processId, L"#32770", nullptr, true).size();
}

std::wstring WindowText(HWND window)
{
    wchar_t text[2048];
    int length = GetWindowTextW(window, text, (int)std::size(text));
    return std::wstring(text, length > 0 ? length : 0);
}

std::wstring ClassName(HWND window)
{
    wchar_t name[256];
    int length = GetClassNameW(window, name, (int)std::size(name));
    return std::wstring(name, length > 0 ? length : 0);
}

std::wstring ControlText(HWND control)
{
    wchar_t text[2048] = L"";
    LRESULT length = SendMessageW(control, WM_GETTEXT, std::size(text), (LPARAM)text);
    return std::wstring(text, length > 0 ? length : 0);
}

std::wstring MessageBoxText(HWND box)
{
    // The message of a box is the static control with the identifier 0xFFFF.
    return ControlText(GetDlgItem(box, 0xFFFF));
}

void SetControlText(HWND control, const std::wstring &text)
{
    SendMessageW(control, WM_SETTEXT, 0, (LPARAM)text.c_str());
}

void PressButton(HWND dialog, int buttonId)
{
    HWND button = GetDlgItem(dialog, buttonId);
    ASSERT_NE(button, (HWND)NULL) << "the dialog has no button " << buttonId;
    PostMessageW(button, BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); })) << "the dialog stayed after button " << buttonId;
}

std::wstring DialogTitles(DWORD processId)
{
    std::wstring titles;
    for (HWND dialog : TopLevelWindows(processId, L"#32770", nullptr, true))
        titles += L" \"" + WindowText(dialog) + L"\"";
    return titles;
}

bool AnswerBox(DWORD processId, const wchar_t *caption, const std::wstring &text, int buttonId)
{
    HWND box = WaitForDialog(processId, caption);
    EXPECT_NE(box, (HWND)NULL) << "no box captioned \"" << caption << "\" came with: " << text
                               << "\n  the process shows" << DialogTitles(processId);
    if (box == NULL)
        return false;
    EXPECT_TEXT_EQ(MessageBoxText(box), text);
    PressButton(box, buttonId);
    return true;
}

void SendCommand(const Program &program, WPARAM command)
{
    PostMessageW(program.window, WM_COMMAND, command, 0);
}

bool TrayIconExists(HWND window)
{
    // Modifying nothing succeeds only when the shell knows the icon.
    NOTIFYICONDATAW probe = {};
    probe.cbSize = NOTIFYICONDATAW_V2_SIZE;
    probe.hWnd = window;
    probe.uID = 1;
    return Shell_NotifyIconW(NIM_MODIFY, &probe) != FALSE;
}

bool BalloonVisible()
{
    for (HWND tip : TopLevelWindows(0, L"tooltips_class32", nullptr, true)) {
        if (GetWindowLongW(tip, GWL_STYLE) & 0x40 /* TTS_BALLOON */)
            return true;
    }
    return false;
}

std::wstring TempFolder()
{
    wchar_t temp[MAX_PATH];
    DWORD length = GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp, length);
}

bool ScreenIs(DWORD width, DWORD height)
{
    return GetSystemMetrics(SM_CXSCREEN) == (int)width && GetSystemMetrics(SM_CYSCREEN) == (int)height;
}

bool StoredModeIs(DWORD width, DWORD height)
{
    DEVMODEW stored = {};
    stored.dmSize = sizeof stored;
    EnumDisplaySettingsW(NULL, ENUM_REGISTRY_SETTINGS, &stored);
    return stored.dmPelsWidth == width && stored.dmPelsHeight == height;
}

void RestoreDisplay()
{
    if (!ScreenIs(kPrimaryWidth, kPrimaryHeight) || !StoredModeIs(kPrimaryWidth, kPrimaryHeight)) {
        DEVMODEW mode = {};
        mode.dmSize = sizeof mode;
        mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
        mode.dmPelsWidth = kPrimaryWidth;
        mode.dmPelsHeight = kPrimaryHeight;
        EXPECT_EQ(ChangeDisplaySettingsW(&mode, CDS_UPDATEREGISTRY), DISP_CHANGE_SUCCESSFUL)
            << "the primary monitor could not be put back to " << kPrimaryWidth << "x" << kPrimaryHeight;
    }
    WORD ramp[3][256];
    for (int i = 0; i < 256; i++)
        ramp[0][i] = ramp[1][i] = ramp[2][i] = (WORD)(i * 257);
    HDC screen = GetDC(NULL);
    SetDeviceGammaRamp(screen, ramp);
    ReleaseDC(NULL, screen);
}

void ProgramTest::TearDown()
{
    StopProgram(program);
    RestoreDisplay();
}
