// Start with Windows as a user meets it: the menu entry writes and removes
// the per-machine Run value, a value present at start-up is seen, and a copy
// in a "Temp" folder asks first. Wine's HKLM is writable, so the test reads
// and prepares the value itself, in the 64-bit view both builds share unless
// a case names the 32-bit view, where older i686 copies wrote.
#include "harness.h"

static const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
static const wchar_t kTempCopy[] = L"C:\\users\\Public\\Temp\\Ombrivale.exe";
// Where each build in turn is copied, as a user replacing one with the other.
static const wchar_t kSharedCopy[] = L"C:\\users\\Public\\Ombrivale.exe";
// A folder whose name no ANSI code page of the run holds, and no "Temp".
static const std::wstring kForeignFolder = std::wstring(L"C:\\users\\Public\\") + kForeignFolderName;
static const std::wstring kForeignCopy = kForeignFolder + L"\\Ombrivale.exe";

// The value's data as stored, terminating zero included; empty when absent
// or not text.
static std::wstring RunValue(REGSAM view = KEY_WOW64_64KEY)
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS)
        return L"";
    wchar_t data[1024];
    DWORD type = 0;
    DWORD size = sizeof data;
    LSTATUS status = RegQueryValueExW(key, L"Ombrivale", NULL, &type, (LPBYTE)data, &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS && type == REG_SZ ? std::wstring(data, size / sizeof data[0]) : L"";
}

static void SetRunValue(const std::wstring &text, REGSAM view = KEY_WOW64_64KEY)
{
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kRunKey, 0, NULL, 0, KEY_SET_VALUE | view, NULL, &key, NULL),
              ERROR_SUCCESS);
    if (text.empty())
        RegDeleteValueW(key, L"Ombrivale");
    else
        RegSetValueExW(key, L"Ombrivale", 0, REG_SZ, (const BYTE *)text.c_str(),
                       (DWORD)((text.size() + 1) * sizeof text[0]));
    RegCloseKey(key);
}

// The stored form of a path: its characters and one zero.
static std::wstring Stored(const std::wstring &path)
{
    return path + L'\0';
}

class Autostart : public ProgramTest {
protected:
    void SetUp() override { ClearBothViews(); }
    void TearDown() override
    {
        ProgramTest::TearDown();
        ClearBothViews();
        DeleteFileW(kTempCopy);
        DeleteFileW(kSharedCopy);
        DeleteFileW(kForeignCopy.c_str());
        RemoveDirectoryW(kForeignFolder.c_str());
    }

    void ClearBothViews()
    {
        SetRunValue(L"", KEY_WOW64_64KEY);
        SetRunValue(L"", KEY_WOW64_32KEY);
    }

    // Chooses the entry and waits until the program has handled it (the value
    // may read as expected before, when the toggle should leave it as it is).
    void Toggle(const std::wstring &expected)
    {
        EXPECT_NE(SendMessageTimeoutW(program.window, WM_COMMAND, IDM_AUTOSTART, 0, SMTO_NORMAL, 10000, NULL), 0);
        EXPECT_TEXT_EQ(RunValue(), expected);
    }
};

// The value holds the exact path, and the next start reads it as its own:
// the toggle then removes it. The copy in a folder named outside every ANSI
// code page loses its path through any ANSI call.
TEST_F(Autostart, ToggleWritesThePathThenDeletesIt)
{
    CreateDirectoryW(kForeignFolder.c_str(), NULL);
    ASSERT_TRUE(CopyFileW(ProgramPath().c_str(), kForeignCopy.c_str(), FALSE)) << "error " << GetLastError();
    for (const std::wstring &path : {ProgramPath(), kForeignCopy}) {
        SCOPED_TRACE(path);
        program = StartProgram(path);
        Toggle(Stored(path));
        Toggle(L"");
        Toggle(Stored(path));
        EXPECT_EQ(CountDialogs(program.id), 0) << "a copy outside Temp was asked";
        StopProgram(program);
        program = StartProgram(path);
        Toggle(L"");
        StopProgram(program);
    }
}

TEST_F(Autostart, ValueFoundAtStartUpCountsOnlyWhenExact)
{
    // The entry's state shows in what choosing it does: an exact value is
    // removed, anything else is replaced by the exact path.
    std::wstring path = ProgramPath();
    std::wstring lower = path;
    CharLowerW(lower.data());
    const struct { std::wstring present; REGSAM view; std::wstring afterToggle; } cases[] = {
        {path, KEY_WOW64_64KEY, L""},
        {lower, KEY_WOW64_64KEY, Stored(path)},
        {L"\"" + path + L"\"", KEY_WOW64_64KEY, Stored(path)},
        // An older i686 copy's value still counts, and goes with the toggle.
        {path, KEY_WOW64_32KEY, L""},
        {lower, KEY_WOW64_32KEY, Stored(path)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.present + (c.view == KEY_WOW64_32KEY ? L" in the 32-bit view" : L""));
        ClearBothViews();
        SetRunValue(c.present, c.view);
        program = StartProgram();
        Toggle(c.afterToggle);
        EXPECT_TEXT_EQ(RunValue(KEY_WOW64_32KEY), L"") << "the 32-bit view kept a value";
        StopProgram(program);
    }
}

TEST_F(Autostart, CopyInTempAsksAndNoLeavesTheRegistry)
{
    CreateDirectoryW(L"C:\\users\\Public\\Temp", NULL);
    ASSERT_TRUE(CopyFileW(ProgramPath().c_str(), kTempCopy, FALSE)) << "error " << GetLastError();
    program = StartProgram(kTempCopy);
    for (int answer : {IDNO, IDYES}) {
        SendCommand(program, IDM_AUTOSTART);
        HWND box = WaitForDialog(program.id, L"Ombrivale");
        ASSERT_NE(box, (HWND)NULL) << "no question";
        EXPECT_TEXT_EQ(MessageBoxText(box), L"检测到程序正在临时文件夹中运行，不建议执行此操作。\r\n选择否可以取消本次选择。");
        PressButton(box, answer);
        if (answer == IDNO) {
            EXPECT_FALSE(WaitUntil([] { return RunValue() != L""; }, 1000)) << "No wrote the value";
        }
    }
    EXPECT_TRUE(WaitUntil([] { return RunValue() == Stored(kTempCopy); })) << "the value holds \"" << RunValue() << "\"";
}

// A value written by one build reads as checked in the other: the toggle
// then removes it rather than writing a second one.
TEST_F(Autostart, EachBuildSeesTheValueTheOtherWrote)
{
    const std::wstring builds[2] = {ProgramPath(), OtherBuildPath()};
    if (!CanStart(builds[1]))
        GTEST_SKIP() << "the other build cannot run here: " << builds[1];
    for (int first = 0; first < 2; first++) {
        SCOPED_TRACE(builds[first] + L" first");
        for (int turn = 0; turn < 2; turn++) {
            ASSERT_TRUE(CopyFileW(builds[(first + turn) % 2].c_str(), kSharedCopy, FALSE)) << GetLastError();
            program = StartProgram(kSharedCopy);
            Toggle(turn == 0 ? Stored(kSharedCopy) : L"");
            StopProgram(program);
        }
    }
}
