// Helpers for the end-to-end tests: start Ombrivale.exe, wait for what it
// shows, read and press message boxes, and stop it. Every wait is a bounded
// poll that fails the test with a message saying what did not come.
#ifndef OMBRIVALE_TESTS_E2E_HARNESS_H
#define OMBRIVALE_TESTS_E2E_HARNESS_H

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "resources/resource_ids.h"

struct Program {
    HANDLE process = NULL;
    DWORD id = 0;
    HWND window = NULL;  // the hidden main window, once it exists
};

// The freshly built Ombrivale.exe, beside the test program.
std::string ProgramPath();
// A file built to be planted where a bare name is looked for (calc.exe,
// winmm.dll); it leaves NAME.ran beside itself when it runs or is loaded.
std::string PlantedPath(const char *name);
bool FileExists(const std::string &path);
// The same program of the other build: the i686 one beside the x86_64 one.
std::string OtherBuildPath();
// Starts "path" arguments with these creation flags; false if it did not start.
bool StartProcess(const std::string &path, const std::string &arguments, DWORD flags, PROCESS_INFORMATION &created);
// True when this machine can start the program (a 32-bit one needs a kernel
// and a Wine that run 32-bit programs).
bool CanStart(const std::string &path);
// Starts the program without waiting for anything.
Program Launch(const std::string &path = ProgramPath());
// Starts the program and waits for its main window.
Program StartProgram(const std::string &path = ProgramPath());
// The main window of the running copy with that process id, or NULL.
HWND MainWindowOf(DWORD processId);
bool IsRunning(const Program &program);
// Waits for the process to end; returns its exit code, or STILL_ACTIVE.
DWORD WaitForExit(Program &program, DWORD milliseconds = 10000);
// Ends the program the way its exit command does, or kills it if it hangs.
void StopProgram(Program &program);

// Polls condition every 20 ms for at most the given time.
bool WaitUntil(const std::function<bool()> &condition, DWORD milliseconds = 5000);

// A visible dialog window (message box) of that process, optionally with
// the given caption; NULL when none comes in time.
HWND WaitForDialog(DWORD processId, const char *caption = nullptr, DWORD milliseconds = 5000);
HWND FindDialog(DWORD processId, const char *caption = nullptr);
// Top-level windows of a process (0: any) by class and title (nullptr: any).
std::vector<HWND> TopLevelWindows(DWORD processId, const char *className, const char *title, bool visibleOnly);
// Every visible dialog of the process.
int CountDialogs(DWORD processId);
std::string WindowText(HWND window);
std::string MessageBoxText(HWND box);
// The text of a control of another process, asked of the control itself.
std::string ControlText(HWND control);
// Clicks a button of a dialog (IDOK, IDYES, IDNO...) and waits for the box to go.
void PressButton(HWND dialog, int buttonId);

// Waits for the process's box with that caption, checks its message, and
// answers it with the button; false (and a test failure) if no box came.
bool AnswerBox(DWORD processId, const char *caption, const std::string &text, int buttonId);

// Sends a command as the tray menu does.
void SendCommand(const Program &program, WPARAM command);
// True while the shell has a tray icon for (window, 1).
bool TrayIconExists(HWND window);
// A balloon tooltip is on the screen (the shell's, of any program).
bool BalloonVisible();

// The primary monitor's mode every test starts from and leaves.
const DWORD kPrimaryWidth = 1280;
const DWORD kPrimaryHeight = 800;
// The primary's mode now, as the screen metrics show it (a running process
// may keep reading the mode it started in from EnumDisplaySettingsA, as
// under Wine), and as stored for the next start.
bool ScreenIs(DWORD width, DWORD height);
bool StoredModeIs(DWORD width, DWORD height);
// Puts the primary back in its mode, in the registry too, and the identity
// gamma ramp on the screen: both outlive a process in the X server.
void RestoreDisplay();

// A test that starts the program; it never leaves a copy running, and it
// starts and ends with the display as RestoreDisplay leaves it.
class ProgramTest : public ::testing::Test {
protected:
    ProgramTest() { RestoreDisplay(); }
    void TearDown() override;
    Program program;
};

#endif
