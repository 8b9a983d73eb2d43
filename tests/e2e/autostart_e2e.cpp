// Start with Windows as a user meets it: the menu entry writes and removes
// the Run value, a value present at start-up is seen, and a copy in a "Temp"
// folder asks first. Wine runs every program as an administrator, so the
// program writes the per-machine value, in the 64-bit view both builds
// share; the test reads and prepares values itself, there, in the 32-bit
// view where older i686 copies wrote, or in the per-user key, where a copy
// without an administrator's rights writes. Wine keeps to a key's ACL,
// though: a test narrows the per-machine key's to stand for such a copy.
#include "harness.h"

#include <aclapi.h>

static const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
static const wchar_t kTempCopy[] = L"C:\\users\\Public\\Temp\\Ombrivale.exe";
// Where each build in turn is copied, as a user replacing one with the other.
static const wchar_t kSharedCopy[] = L"C:\\users\\Public\\Ombrivale.exe";
// A folder whose name no ANSI code page of the run holds, and no "Temp".
static const std::wstring kForeignFolder = std::wstring(L"C:\\users\\Public\\") + kForeignFolderName;
static const std::wstring kForeignCopy = kForeignFolder + L"\\Ombrivale.exe";
// A folder with a space, where an unquoted Run value would be cut.
static const std::wstring kSpacedFolder = L"C:\\users\\Public\\My Tools";
static const std::wstring kSpacedCopy = kSpacedFolder + L"\\Ombrivale.exe";

// A Run key: the per-machine one in a view, or the per-user one.
struct RunKey {
    HKEY root;
    REGSAM view;
};
static const RunKey kMachine = {HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY};
static const RunKey kMachineOlderI686 = {HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY};
static const RunKey kUser = {HKEY_CURRENT_USER, 0};

// The value's data as stored, terminating zero included; empty when absent
// or not text.
static std::wstring RunValue(const RunKey &run = kMachine)
{
    HKEY key;
    if (RegOpenKeyExW(run.root, kRunKey, 0, KEY_QUERY_VALUE | run.view, &key) != ERROR_SUCCESS)
        return L"";
    wchar_t data[1024];
    DWORD type = 0;
    DWORD size = sizeof data;
    LSTATUS status = RegQueryValueExW(key, L"Ombrivale", NULL, &type, (LPBYTE)data, &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS && type == REG_SZ ? std::wstring(data, size / sizeof data[0]) : L"";
}

static void SetRunValue(const std::wstring &text, const RunKey &run = kMachine)
{
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(run.root, kRunKey, 0, NULL, 0, KEY_SET_VALUE | run.view, NULL, &key, NULL),
              ERROR_SUCCESS);
    if (text.empty())
        RegDeleteValueW(key, L"Ombrivale");
    else
        RegSetValueExW(key, L"Ombrivale", 0, REG_SZ, (const BYTE *)text.c_str(),
                       (DWORD)((text.size() + 1) * sizeof text[0]));
    RegCloseKey(key);
}

// A path in quotes, as the program writes it.
static std::wstring Quoted(const std::wstring &path)
{
    return L"\"" + path + L"\"";
}

// The stored form of a text: its characters and one zero.
static std::wstring Stored(const std::wstring &text)
{
    return text + L'\0';
}

class Autostart : public ProgramTest {
protected:
    void SetUp() override { ClearAllKeys(); }
    void TearDown() override
    {
        ProgramTest::TearDown();
        PutBackAcl();
        ClearAllKeys();
        DeleteFileW(kTempCopy);
        DeleteFileW(kSharedCopy);
        for (const std::wstring &copy : {kForeignCopy, kSpacedCopy})
            DeleteFileW(copy.c_str());
        for (const std::wstring &folder : {kForeignFolder, kSpacedFolder})
            RemoveDirectoryW(folder.c_str());
    }

    void ClearAllKeys()
    {
        for (const RunKey &run : {kMachine, kMachineOlderI686, kUser})
            SetRunValue(L"", run);
    }

    // Lets everyone, administrators included, have only these rights on the
    // shared per-machine key, until PutBackAcl.
    void GrantOnly(DWORD rights)
    {
        ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunKey, 0, READ_CONTROL | WRITE_DAC | KEY_WOW64_64KEY, &aclKey),
                  ERROR_SUCCESS);
        ASSERT_EQ(GetSecurityInfo(aclKey, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, NULL, NULL, &savedAcl, NULL,
                                  &savedSecurity),
                  ERROR_SUCCESS);
        SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
        PSID everyone = NULL;
        ASSERT_TRUE(AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone));
        EXPLICIT_ACCESSW grant = {};
        grant.grfAccessPermissions = rights;
        grant.grfAccessMode = SET_ACCESS;
        grant.Trustee.TrusteeForm = TRUSTEE_IS_SID;
        grant.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
        grant.Trustee.ptstrName = (LPWSTR)everyone;
        PACL acl = NULL;
        EXPECT_EQ(SetEntriesInAclW(1, &grant, NULL, &acl), ERROR_SUCCESS);
        EXPECT_EQ(SetSecurityInfo(aclKey, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                                  NULL, NULL, acl, NULL),
                  ERROR_SUCCESS);
        LocalFree(acl);
        FreeSid(everyone);
    }

    // Through the key opened before the ACL was narrowed, which may still
    // change it.
    void PutBackAcl()
    {
        if (aclKey == NULL)
            return;
        SECURITY_DESCRIPTOR_CONTROL control = 0;
        DWORD revision;
        GetSecurityDescriptorControl(savedSecurity, &control, &revision);
        DWORD inheritance = control & SE_DACL_PROTECTED ? PROTECTED_DACL_SECURITY_INFORMATION
                                                         : UNPROTECTED_DACL_SECURITY_INFORMATION;
        EXPECT_EQ(SetSecurityInfo(aclKey, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION | inheritance, NULL, NULL, savedAcl, NULL),
                  ERROR_SUCCESS);
        LocalFree(savedSecurity);
        RegCloseKey(aclKey);
        aclKey = NULL;
    }

    HKEY aclKey = NULL;
    PACL savedAcl = NULL;
    PSECURITY_DESCRIPTOR savedSecurity = NULL;

    // Chooses the entry and waits until the program has handled it (the value
    // may read as expected before, when the toggle should leave it as it is).
    void Toggle(const std::wstring &expected)
    {
        EXPECT_NE(SendMessageTimeoutW(program.window, WM_COMMAND, IDM_AUTOSTART, 0, SMTO_NORMAL, 10000, NULL), 0);
        EXPECT_TEXT_EQ(RunValue(), expected);
    }
};

// The value holds the exact path in quotes, and the next start reads it as
// its own: the toggle then removes it. The copy in a folder named outside
// every ANSI code page loses its path through any ANSI call; the one in a
// folder with a space would not start at logon from an unquoted value.
TEST_F(Autostart, ToggleWritesThePathThenDeletesIt)
{
    for (const std::wstring &folder : {kForeignFolder, kSpacedFolder})
        CreateDirectoryW(folder.c_str(), NULL);
    for (const std::wstring &copy : {kForeignCopy, kSpacedCopy})
        ASSERT_TRUE(CopyFileW(ProgramPath().c_str(), copy.c_str(), FALSE)) << "error " << GetLastError();
    for (const std::wstring &path : {ProgramPath(), kForeignCopy, kSpacedCopy}) {
        SCOPED_TRACE(path);
        program = StartProgram(path);
        Toggle(Stored(Quoted(path)));
        Toggle(L"");
        Toggle(Stored(Quoted(path)));
        EXPECT_EQ(CountDialogs(program.id), 0) << "a copy outside Temp was asked";
        StopProgram(program);
        program = StartProgram(path);
        Toggle(L"");
        StopProgram(program);
    }
}

TEST_F(Autostart, ValueFoundAtStartUpCountsOnlyWhenExact)
{
    // The entry's state shows in what choosing it does: a value naming this
    // program, quoted or bare as earlier versions wrote it, is removed;
    // anything else is replaced by the quoted path.
    std::wstring path = ProgramPath();
    std::wstring lower = path;
    CharLowerW(lower.data());
    const struct { std::wstring present; RunKey key; std::wstring afterToggle; const wchar_t *where; } cases[] = {
        {path, kMachine, L"", L""},
        {Quoted(path), kMachine, L"", L""},
        {lower, kMachine, Stored(Quoted(path)), L""},
        {Quoted(path) + L" /min", kMachine, Stored(Quoted(path)), L""},
        // An older i686 copy's value still counts, and goes with the toggle.
        {path, kMachineOlderI686, L"", L" in the 32-bit view"},
        {lower, kMachineOlderI686, Stored(Quoted(path)), L" in the 32-bit view"},
        // A copy without an administrator's rights wrote the per-user key.
        {Quoted(path), kUser, L"", L" per user"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.present + c.where);
        ClearAllKeys();
        SetRunValue(c.present, c.key);
        program = StartProgram();
        Toggle(c.afterToggle);
        EXPECT_TEXT_EQ(RunValue(kMachineOlderI686), L"") << "the 32-bit view kept a value";
        EXPECT_TEXT_EQ(RunValue(kUser), L"") << "the per-user key kept a value";
        StopProgram(program);
    }
}

// A copy that may only read the per-machine key, as one without an
// administrator's rights: a value there that names another copy, even one
// longer than the program reads, would start that copy at logon, and a
// per-user value a second one, so nothing is written and the user is told;
// with no value there, the per-user one is written, into a Run key the
// profile did not have yet. A key that lets values change and grants
// nothing more, as policies leave it, takes the per-machine value.
TEST_F(Autostart, EachKeyTakesWhatItsRightsAllow)
{
    const std::wstring longOther = Quoted(L"D:\\" + std::wstring(281, L'x') + L"\\Ombrivale.exe");
    const std::wstring quoted = Stored(Quoted(ProgramPath()));
    const struct {
        const char *name;
        DWORD rights;
        std::wstring machine;
        bool userKey;
        std::wstring machineAfter, userAfter;
        bool refused;
    } cases[] = {
        {"read only, no per-user key", KEY_QUERY_VALUE, L"", false, L"", quoted, false},
        {"read only, another copy's long value", KEY_QUERY_VALUE, longOther, true, Stored(longOther), L"", true},
        {"setting values only", KEY_QUERY_VALUE | KEY_SET_VALUE, L"", true, quoted, L"", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ClearAllKeys();
        SetRunValue(c.machine);
        if (!c.userKey) {
            ASSERT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, kRunKey), ERROR_SUCCESS);
        }
        GrantOnly(c.rights);
        program = StartProgram();
        if (c.refused) {
            SendCommand(program, IDM_AUTOSTART);
            AnswerBox(program.id, L"Ombrivale", L"修改开机启动设置失败，请退出本程序，再以管理员身份运行后重试。", IDOK);
        } else {
            EXPECT_NE(SendMessageTimeoutW(program.window, WM_COMMAND, IDM_AUTOSTART, 0, SMTO_NORMAL, 10000, NULL), 0)
                << "a box came: " << Utf8(DialogTitles(program.id));
        }
        EXPECT_TEXT_EQ(RunValue(), c.machineAfter);
        EXPECT_TEXT_EQ(RunValue(kUser), c.userAfter);
        StopProgram(program);
        PutBackAcl();
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
    EXPECT_TRUE(WaitUntil([] { return RunValue() == Stored(Quoted(kTempCopy)); })) << "the value holds \"" << RunValue() << "\"";
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
            Toggle(turn == 0 ? Stored(Quoted(kSharedCopy)) : L"");
            StopProgram(program);
        }
    }
}
