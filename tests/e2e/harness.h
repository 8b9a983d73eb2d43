// Helpers for the end-to-end tests: start Ombrivale.exe, wait for what it
// shows, read and press message boxes, and stop it. Every wait is a bounded
// poll that fails the test with a message saying what did not come.
// Texts and paths are UTF-16 and go through the wide calls only: an ANSI
// call would hand the test the program's bytes back unchanged under a code
// page that garbles them for the user, and would lose any character of a
// path that the code page lacks.
#ifndef OMBRIVALE_TESTS_E2E_HARNESS_H
#define OMBRIVALE_TESTS_E2E_HARNESS_H

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "resources/resource_ids.h"

// UTF-8, for messages and for what Linux holds (command lines in /proc).
std::string Utf8(const std::wstring &text);

// A text read from the screen or the registry against what the user must
// read. GoogleTest shows a wide string as hex escapes only; this failure
// shows both texts as they read, and the code units of what was read.
::testing::AssertionResult SameText(const char *readExpression, const char *expectedExpression,
                                    const std::wstring &read, const std::wstring &expected);
#define EXPECT_TEXT_EQ(read, expected) EXPECT_PRED_FORMAT2(SameText, read, expected)

struct Program {
    HANDLE process = NULL;
    DWORD id = 0;
    HWND window = NULL;  // the hidden main window, once it exists
};

// The freshly built Ombrivale.exe, beside the test program.
std::wstring ProgramPath();
// A file built to be planted where a bare name is looked for (calc.exe,
// winmm.dll); it leaves NAME.ran beside itself when it runs or is loaded.
std::wstring PlantedPath(const wchar_t *name);
bool FileExists(const std::wstring &path);
// The same program of the other build: the i686 one beside the x86_64 one.
std::wstring OtherBuildPath();
// Starts "path" arguments with these creation flags; false if it did not start.
bool StartProcess(const std::wstring &path, const std::wstring &arguments, DWORD flags, PROCESS_INFORMATION &created);
// True when this machine can start the program (a 32-bit one needs a kernel
// and a Wine that run 32-bit programs).
bool CanStart(const std::wstring &path);
// Starts the program without waiting for anything.
Program Launch(const std::wstring &path = ProgramPath());
// Starts the program and waits for its main window.
Program StartProgram(const std::wstring &path = ProgramPath());
// The main window of the running copy with that process id, or NULL.
HWND MainWindowOf(DWORD processId);
bool IsRunning(const Program &program);
// A process that process started, by its file name; 0 while there is none.
DWORD ChildProcess(DWORD parent, const wchar_t *file);
// Waits for the process to end; returns its exit code, or STILL_ACTIVE.
DWORD WaitForExit(Program &program, DWORD milliseconds = 10000);
// Ends the program the way its exit command does, or kills it if it hangs.
void StopProgram(Program &program);

// Polls condition every 20 ms for at most the given time.
bool WaitUntil(const std::function<bool()> &condition, DWORD milliseconds = 5000);

// A visible dialog window (message box) of that process, optionally with
// the given caption; NULL when none comes in time.
HWND WaitForDialog(DWORD processId, const wchar_t *caption = nullptr, DWORD milliseconds = 5000);
HWND FindDialog(DWORD processId, const wchar_t *caption = nullptr);
// Top-level windows of a process (0: any) by class and title (nullptr: any).
std::vector<HWND> TopLevelWindows(DWORD processId, const wchar_t *className, const wchar_t *title, bool visibleOnly);
// Every visible dialog of the process.
int CountDialogs(DWORD processId);
// Their titles, each in quotes, to say what came instead of a dialog.
std::wstring DialogTitles(DWORD processId);
// The title of a top-level window.
std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);
// The text of a control of another process, asked of the control itself.
std::wstring ControlText(HWND control);
std::wstring MessageBoxText(HWND box);
// Puts text into a control of another process, as a paste would; Windows'
// SetWindowText cannot change another program's control.
void SetControlText(HWND control, const std::wstring &text);
// Clicks a button of a dialog (IDOK, IDYES, IDNO...) and waits for the box to go.
void PressButton(HWND dialog, int buttonId);

// Waits for the process's box with that caption, checks its message, and
// answers it with the button; false (and a test failure) if no box came.
bool AnswerBox(DWORD processId, const wchar_t *caption, const std::wstring &text, int buttonId);

// Sends a command as the tray menu does.
void SendCommand(const Program &program, WPARAM command);
// True while the shell has a tray icon for (window, 1).
bool TrayIconExists(HWND window);
// A balloon tooltip is on the screen (the shell's, of any program).
bool BalloonVisible();

// This process's temporary folder, with its final backslash.
std::wstring TempFolder();
// A folder name that none of the code pages the tests run under holds
// (Hangul and Polish letters): an ANSI call loses it under every one.
const wchar_t kForeignFolderName[] = L"도구-Łódź";

// The primary monitor's mode every test starts from and leaves.
const DWORD kPrimaryWidth = 1280;
const DWORD kPrimaryHeight = 800;
// The primary's mode now, as the screen metrics show it (a running process
// may keep reading the mode it started in from EnumDisplaySettings, as
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
