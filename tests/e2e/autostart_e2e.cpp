// Start with Windows as a user meets it: the menu entry writes and removes
// the per-machine Run value, a value present at start-up is seen, and a copy
// in a "Temp" folder asks first. Wine's HKLM is writable, so the test reads
// and prepares the value itself, in the 64-bit view both builds share unless
// a case names the 32-bit view, where older i686 copies wrote.
#include "harness.h"

static const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
static const char kTempCopy[] = "C:\\users\\Public\\Temp\\Ombrivale.exe";
// Where each build in turn is copied, as a user replacing one with the other.
static const char kSharedCopy[] = "C:\\users\\Public\\Ombrivale.exe";

// The value's data as stored, terminating zero included; empty when absent
// or not text.
static std::string RunValue(REGSAM view = KEY_WOW64_64KEY)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS)
        return "";
    char data[1024];
    DWORD type = 0;
    DWORD size = sizeof data;
    LSTATUS status = RegQueryValueExA(key, "Ombrivale", NULL, &type, (LPBYTE)data, &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS && type == REG_SZ ? std::string(data, size) : "";
}

static void SetRunValue(const std::string &text, REGSAM view = KEY_WOW64_64KEY)
{
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, NULL, 0, KEY_SET_VALUE | view, NULL, &key, NULL),
              ERROR_SUCCESS);
    if (text.empty())
        RegDeleteValueA(key, "Ombrivale");
    else
        RegSetValueExA(key, "Ombrivale", 0, REG_SZ, (const BYTE *)text.c_str(), (DWORD)text.size() + 1);
    RegCloseKey(key);
}

// The stored form of a path: its bytes and one zero.
static std::string Stored(const std::string &path)
{
    return path + '\0';
}

class Autostart : public ProgramTest {
protected:
    void SetUp() override { ClearBothViews(); }
    void TearDown() override
    {
        ProgramTest::TearDown();
        ClearBothViews();
        DeleteFileA(kTempCopy);
        DeleteFileA(kSharedCopy);
    }

    void ClearBothViews()
    {
        SetRunValue("", KEY_WOW64_64KEY);
        SetRunValue("", KEY_WOW64_32KEY);
    }

    // Chooses the entry and waits until the program has handled it (the value
    // may read as expected before, when the toggle should leave it as it is).
    void Toggle(const std::string &expected)
    {
        EXPECT_NE(SendMessageTimeoutA(program.window, WM_COMMAND, IDM_AUTOSTART, 0, SMTO_NORMAL, 10000, NULL), 0);
        EXPECT_EQ(RunValue(), expected);
    }
};

TEST_F(Autostart, ToggleWritesThePathThenDeletesIt)
{
    program = StartProgram();
    Toggle(Stored(ProgramPath()));
    Toggle("");
    EXPECT_EQ(CountDialogs(program.id), 0) << "a copy outside Temp was asked";
}

TEST_F(Autostart, ValueFoundAtStartUpCountsOnlyWhenExact)
{
    // The entry's state shows in what choosing it does: an exact value is
    // removed, anything else is replaced by the exact path.
    std::string path = ProgramPath();
    std::string lower = path;
    for (char &c : lower)
        c = (char)tolower((unsigned char)c);
    const struct { std::string present; REGSAM view; std::string afterToggle; } cases[] = {
        {path, KEY_WOW64_64KEY, ""},
        {lower, KEY_WOW64_64KEY, Stored(path)},
        {"\"" + path + "\"", KEY_WOW64_64KEY, Stored(path)},
        // An older i686 copy's value still counts, and goes with the toggle.
        {path, KEY_WOW64_32KEY, ""},
        {lower, KEY_WOW64_32KEY, Stored(path)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.present + (c.view == KEY_WOW64_32KEY ? " in the 32-bit view" : ""));
        ClearBothViews();
        SetRunValue(c.present, c.view);
        program = StartProgram();
        Toggle(c.afterToggle);
        EXPECT_EQ(RunValue(KEY_WOW64_32KEY), "") << "the 32-bit view kept a value";
        StopProgram(program);
    }
}

TEST_F(Autostart, CopyInTempAsksAndNoLeavesTheRegistry)
{
    CreateDirectoryA("C:\\users\\Public\\Temp", NULL);
    ASSERT_TRUE(CopyFileA(ProgramPath().c_str(), kTempCopy, FALSE)) << "error " << GetLastError();
    program = StartProgram(kTempCopy);
    for (int answer : {IDNO, IDYES}) {
        SendCommand(program, IDM_AUTOSTART);
        HWND box = WaitForDialog(program.id, "Ombrivale");
        ASSERT_NE(box, (HWND)NULL) << "no question";
        EXPECT_EQ(MessageBoxText(box), "检测到程序正在临时文件夹中运行，不建议执行此操作。\r\n选择否可以取消本次选择。");
        PressButton(box, answer);
        if (answer == IDNO) {
            EXPECT_FALSE(WaitUntil([] { return RunValue() != ""; }, 1000)) << "No wrote the value";
        }
    }
    EXPECT_TRUE(WaitUntil([] { return RunValue() == Stored(kTempCopy); })) << "the value holds \"" << RunValue() << "\"";
}

// A value written by one build reads as checked in the other: the toggle
// then removes it rather than writing a second one.
TEST_F(Autostart, EachBuildSeesTheValueTheOtherWrote)
{
    const std::string builds[2] = {ProgramPath(), OtherBuildPath()};
    if (!CanStart(builds[1]))
        GTEST_SKIP() << "the other build cannot run here: " << builds[1];
    for (int first = 0; first < 2; first++) {
        SCOPED_TRACE(builds[first] + " first");
        for (int turn = 0; turn < 2; turn++) {
            ASSERT_TRUE(CopyFileA(builds[(first + turn) % 2].c_str(), kSharedCopy, FALSE)) << GetLastError();
            program = StartProgram(kSharedCopy);
            Toggle(turn == 0 ? Stored(kSharedCopy) : "");
            StopProgram(program);
        }
    }
}
