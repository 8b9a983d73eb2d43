#include "harness.h"

#include <shellapi.h>

#include <vector>

static std::string TestProgramFolder()
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(NULL, path, sizeof path);
    std::string file(path, length);
    return file.substr(0, file.find_last_of('\\') + 1);
}

std::string PlantedPath(const char *name)
{
    return TestProgramFolder() + "planted\\" + name;
}

bool FileExists(const std::string &path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ProgramPath()
{
    return TestProgramFolder() + "Ombrivale.exe";
}

std::string OtherBuildPath()
{
    return TestProgramFolder() + (sizeof(void *) == 8 ? "..\\win32\\" : "..\\win64\\") + "Ombrivale.exe";
}

bool StartProcess(const std::string &path, const std::string &arguments, DWORD flags, PROCESS_INFORMATION &created)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + path + "\"" + (arguments.empty() ? "" : " " + arguments);
    return CreateProcessA(path.c_str(), &commandLine[0], NULL, NULL, FALSE, flags, NULL, NULL, &startup, &created) != FALSE;
}

bool CanStart(const std::string &path)
{
    PROCESS_INFORMATION created = {};
    if (!StartProcess(path, "", CREATE_SUSPENDED, created))
        return false;
    TerminateProcess(created.hProcess, 0);
    CloseHandle(created.hThread);
    CloseHandle(created.hProcess);
    return true;
}

Program Launch(const std::string &path)
{
    PROCESS_INFORMATION created = {};
    Program program;
    if (!StartProcess(path, "", 0, created)) {
        ADD_FAILURE() << "could not start " << path << ": error " << GetLastError();
        return program;
    }
    CloseHandle(created.hThread);
    program.process = created.hProcess;
    program.id = created.dwProcessId;
    return program;
}

Program StartProgram(const std::string &path)
{
    Program program = Launch(path);
    // Process id 0 would match any copy's window.
    if (program.process == NULL)
        return program;
    if (!WaitUntil([&] { return (program.window = MainWindowOf(program.id)) != NULL; }, 10000))
        ADD_FAILURE() << "the main window KORVANFOREVER did not appear";
    // The window is found while WM_CREATE still registers the hotkeys; a
    // message answered means creation is over and the loop runs.
    else if (!SendMessageTimeoutA(program.window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, NULL))
        ADD_FAILURE() << "the main window does not answer";
    return program;
}

struct WindowSearch {
    DWORD processId;
    const char *className;
    const char *title;
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
    char className[256];
    GetClassNameA(window, className, sizeof className);
    if (search.className != nullptr && lstrcmpA(className, search.className) != 0)
        return TRUE;
    if (search.title != nullptr && WindowText(window) != search.title)
        return TRUE;
    search.found.push_back(window);
    return TRUE;
}

std::vector<HWND> TopLevelWindows(DWORD processId, const char *className, const char *title, bool visibleOnly)
{
    WindowSearch search = {processId, className, title, visibleOnly, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND MainWindowOf(DWORD processId)
{
    std::vector<HWND> windows = TopLevelWindows(processId, "KORVAN", "KORVANFOREVER", false);
    return windows.empty() ? NULL : windows.front();
}

bool IsRunning(const Program &program)
{
    return program.process != NULL && WaitForSingleObject(program.process, 0) == WAIT_TIMEOUT;
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
        for (HWND box : TopLevelWindows(program.id, "#32770", nullptr, true))
            PostMessageA(box, WM_CLOSE, 0, 0);
        HWND window = MainWindowOf(program.id);
        if (window != NULL)
            PostMessageA(window, WM_DESTROY, 0, 0);
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

HWND FindDialog(DWORD processId, const char *caption)
{
    std::vector<HWND> dialogs = TopLevelWindows(processId, "#32770", caption, true);
    return dialogs.empty() ? NULL : dialogs.front();
}

HWND WaitForDialog(DWORD processId, const char *caption, DWORD milliseconds)
{
    HWND dialog = NULL;
    WaitUntil([&] { return (dialog = FindDialog(processId, caption)) != NULL; }, milliseconds);
    return dialog;
}

int CountDialogs(DWORD processId)
{
    return (int)TopLevelWindows(processId, "#32770", nullptr, true).size();
}

std::string WindowText(HWND window)
{
    char text[2048];
    int length = GetWindowTextA(window, text, sizeof text);
    return std::string(text, length > 0 ? length : 0);
}

std::string MessageBoxText(HWND box)
{
    // The message of a box is the static control with the identifier 0xFFFF.
    return WindowText(GetDlgItem(box, 0xFFFF));
}

std::string ControlText(HWND control)
{
    char text[2048] = "";
    SendMessageA(control, WM_GETTEXT, sizeof text, (LPARAM)text);
    return text;
}

void PressButton(HWND dialog, int buttonId)
{
    HWND button = GetDlgItem(dialog, buttonId);
    ASSERT_NE(button, (HWND)NULL) << "the dialog has no button " << buttonId;
    PostMessageA(button, BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); })) << "the dialog stayed after button " << buttonId;
}

bool AnswerBox(DWORD processId, const char *caption, const std::string &text, int buttonId)
{
    HWND box = WaitForDialog(processId, caption);
    EXPECT_NE(box, (HWND)NULL) << "no box captioned " << caption << " came with: " << text;
    if (box == NULL)
        return false;
    EXPECT_EQ(MessageBoxText(box), text);
    PressButton(box, buttonId);
    return true;
}

void SendCommand(const Program &program, WPARAM command)
{
    PostMessageA(program.window, WM_COMMAND, command, 0);
}

bool TrayIconExists(HWND window)
{
    // Modifying nothing succeeds only when the shell knows the icon.
    NOTIFYICONDATAA probe = {};
    probe.cbSize = NOTIFYICONDATAA_V2_SIZE;
    probe.hWnd = window;
    probe.uID = 1;
    return Shell_NotifyIconA(NIM_MODIFY, &probe) != FALSE;
}

bool BalloonVisible()
{
    for (HWND tip : TopLevelWindows(0, "tooltips_class32", nullptr, true)) {
        if (GetWindowLongA(tip, GWL_STYLE) & 0x40 /* TTS_BALLOON */)
            return true;
    }
    return false;
}

bool ScreenIs(DWORD width, DWORD height)
{
    return GetSystemMetrics(SM_CXSCREEN) == (int)width && GetSystemMetrics(SM_CYSCREEN) == (int)height;
}

bool StoredModeIs(DWORD width, DWORD height)
{
    DEVMODEA stored = {};
    stored.dmSize = sizeof stored;
    EnumDisplaySettingsA(NULL, ENUM_REGISTRY_SETTINGS, &stored);
    return stored.dmPelsWidth == width && stored.dmPelsHeight == height;
}

void RestoreDisplay()
{
    if (!ScreenIs(kPrimaryWidth, kPrimaryHeight) || !StoredModeIs(kPrimaryWidth, kPrimaryHeight)) {
        DEVMODEA mode = {};
        mode.dmSize = sizeof mode;
        mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
        mode.dmPelsWidth = kPrimaryWidth;
        mode.dmPelsHeight = kPrimaryHeight;
        EXPECT_EQ(ChangeDisplaySettingsA(&mode, CDS_UPDATEREGISTRY), DISP_CHANGE_SUCCESSFUL)
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
