// Start with Windows: reading the Run value, and toggling it so the flag
// always matches the registry and every key opened is closed.
#include <cstring>
#include <string>

#include "autostart/autostart.h"
#include "tests/fake/win32_test.h"

static const char16_t kPath[] = u"C:\\Tools\\Ombrivale.exe";
// A folder in scripts that no single ANSI code page holds.
static const char16_t kOtherScriptsPath[] = u"D:\\도구-Łódź\\Ombrivale.exe";
static const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// Both builds share the 64-bit view; older i686 copies wrote the 32-bit one.
static const REGSAM kShared = KEY_WOW64_64KEY;
static const REGSAM kOlder = KEY_WOW64_32KEY;

// What one view of the Run key answers: the open, the stored data, the query.
struct RunView {
    LSTATUS open;
    std::u16string stored;
    LSTATUS query;
    DWORD oddBytes = 0;  // a size that ends inside a character
};
static const RunView kNoKey = {ERROR_FILE_NOT_FOUND, u"", 0};
// The older view is not read once the shared one names this program.
static const RunView kNotRead = {-1, u"", 0};
// A toggle case whose 32-bit view opens as the shared one does.
static const LSTATUS kAsShared = -1;

class Autostart : public Win32Test {
protected:
    void ExpectRead(REGSAM view, const RunView &answer)
    {
        EXPECT_CALL(win, RegOpenKeyExA(HKEY_LOCAL_MACHINE, StrEq(kRunKey), 0, KEY_QUERY_VALUE | view, _))
            .WillOnce(DoAll(SetArgPointee<4>(key), Return(answer.open)));
        if (answer.open != ERROR_SUCCESS)
            return;
        EXPECT_CALL(win, RegQueryValueExW(key, WideEq(u"Ombrivale"), IsNull(), IsNull(), _, Pointee(520u)))
            .WillOnce(Invoke([answer](HKEY, LPCWSTR, LPDWORD, LPDWORD, LPBYTE data, LPDWORD size) {
                std::memset(data, 'X', *size);
                DWORD bytes = (DWORD)(answer.stored.size() * sizeof(char16_t)) + answer.oddBytes;
                std::memcpy(data, answer.stored.data(), bytes);
                *size = bytes;
                return answer.query;
            }));
        EXPECT_CALL(win, RegCloseKey(key)).WillOnce(Return(ERROR_SUCCESS));
    }

    // One view opened for the change, its value written or deleted, closed.
    void ExpectChange(REGSAM view, LSTATUS open, bool write, LSTATUS change, const char16_t *path)
    {
        EXPECT_CALL(win, RegOpenKeyExA(HKEY_LOCAL_MACHINE, StrEq(kRunKey), 0, KEY_ALL_ACCESS | view, _))
            .WillOnce(DoAll(SetArgPointee<4>(key), Return(open)));
        if (open != ERROR_SUCCESS)
            return;
        if (write)
            EXPECT_CALL(win, RegSetValueExW(key, WideEq(u"Ombrivale"), 0, REG_SZ, _, (Text(path).size() + 1) * 2))
                .WillOnce(Invoke([=](HKEY, LPCWSTR, DWORD, DWORD, const BYTE *data, DWORD size) {
                    EXPECT_EQ(std::u16string((const char16_t *)data, size / 2), Text(path) + u'\0');
                    return change;
                }));
        else
            EXPECT_CALL(win, RegDeleteValueW(key, WideEq(u"Ombrivale"))).WillOnce(Return(change));
        EXPECT_CALL(win, RegCloseKey(key)).WillOnce(Return(ERROR_SUCCESS));
    }

    HKEY key = FakeHandle<HKEY>(0x30);
};

TEST_F(Autostart, ReadEnablesOnlyForExactlyThisPath)
{
    const std::u16string exact = Text(kPath) + u'\0';
    const struct { const char *name; RunView shared; RunView older; DWORD expected; const char16_t *path = kPath; } cases[] = {
        {"equal", {ERROR_SUCCESS, exact, ERROR_SUCCESS}, kNotRead, 1},
        {"other case", {ERROR_SUCCESS, u"c:\\tools\\ombrivale.exe", ERROR_SUCCESS}, kNoKey, 0},
        {"quoted", {ERROR_SUCCESS, u"\"" + Text(kPath) + u"\"", ERROR_SUCCESS}, kNoKey, 0},
        // A failed query counts as not enabled, whatever the buffer holds.
        {"missing", {ERROR_SUCCESS, exact, ERROR_FILE_NOT_FOUND}, kNoKey, 0},
        {"longer than the buffer", {ERROR_SUCCESS, exact, ERROR_MORE_DATA}, kNoKey, 0},
        // Stored without its zero: the rest of the buffer must not be read.
        {"unterminated", {ERROR_SUCCESS, kPath, ERROR_SUCCESS}, kNotRead, 1},
        {"no key", {ERROR_ACCESS_DENIED, u"", 0}, kNoKey, 0},
        // An older i686 copy's value still counts.
        {"older copy's view", {ERROR_SUCCESS, exact, ERROR_FILE_NOT_FOUND}, {ERROR_SUCCESS, exact, ERROR_SUCCESS}, 1},
        {"older copy's other path", kNoKey, {ERROR_SUCCESS, u"C:\\Old\\Ombrivale.exe", ERROR_SUCCESS}, 0},
        // Characters outside every ANSI code page are compared as they are.
        {"other scripts", {ERROR_SUCCESS, Text(kOtherScriptsPath) + u'\0', ERROR_SUCCESS}, kNotRead, 1, kOtherScriptsPath},
        {"best-fit letters", {ERROR_SUCCESS, u"D:\\??-Lodz\\Ombrivale.exe", ERROR_SUCCESS}, kNoKey, 0, kOtherScriptsPath},
        // A byte count that ends inside a character leaves that half out.
        {"odd size", {ERROR_SUCCESS, kPath, ERROR_SUCCESS, 1}, kNotRead, 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        lstrcpyW(appState.modulePath, c.path);
        appState.autostartEnabled = !c.expected;
        InSequence order;
        ExpectRead(kShared, c.shared);
        if (c.older.open != kNotRead.open)
            ExpectRead(kOlder, c.older);
        ReadAutostartState();
        EXPECT_EQ(appState.autostartEnabled, c.expected);
        ::testing::Mock::VerifyAndClearExpectations(&win);
    }
}

TEST_F(Autostart, ToggleWritesOrDeletesAndFollowsTheRegistry)
{
    const int kNotAsked = 0;
    const struct {
        const char16_t *path;
        DWORD before;
        int answer;       // to the temporary-folder question
        LSTATUS open;
        LSTATUS change;   // of the write or the delete
        DWORD after;
        bool warned;
        LSTATUS older = ERROR_FILE_NOT_FOUND;  // the delete in the 32-bit view
        LSTATUS olderOpen = kAsShared;         // the open of the 32-bit view
    } cases[] = {
        {kPath, 0, kNotAsked, ERROR_SUCCESS, ERROR_SUCCESS, 1, false},
        {kPath, 1, kNotAsked, ERROR_SUCCESS, ERROR_SUCCESS, 0, false},
        {u"C:\\Users\\x\\AppData\\Local\\Temp\\a\\prog.exe", 1, kNotAsked, ERROR_SUCCESS, ERROR_SUCCESS, 0, false},
        {u"C:\\Users\\x\\AppData\\Local\\Temp\\a\\prog.exe", 0, IDYES, ERROR_SUCCESS, ERROR_SUCCESS, 1, false},
        {u"C:\\Users\\x\\AppData\\Local\\Temp\\a\\prog.exe", 0, IDNO, ERROR_SUCCESS, ERROR_SUCCESS, 0, false},
        {u"C:\\TEMP\\prog.exe", 0, kNotAsked, ERROR_SUCCESS, ERROR_SUCCESS, 1, false},
        {u"C:\\temp\\prog.exe", 0, kNotAsked, ERROR_SUCCESS, ERROR_SUCCESS, 1, false},
        {u"C:\\Users\\x\\Templates\\prog.exe", 0, IDYES, ERROR_SUCCESS, ERROR_SUCCESS, 1, false},
        // Failures leave the flag as the registry still is, and say so.
        {kPath, 0, kNotAsked, ERROR_ACCESS_DENIED, 0, 0, true},
        {kPath, 1, kNotAsked, ERROR_ACCESS_DENIED, 0, 1, true},
        {kPath, 0, kNotAsked, ERROR_SUCCESS, ERROR_ACCESS_DENIED, 0, true},
        {kPath, 1, kNotAsked, ERROR_SUCCESS, ERROR_ACCESS_DENIED, 1, true},
        // A value someone else already removed is disabled all the same.
        {kPath, 1, kNotAsked, ERROR_SUCCESS, ERROR_FILE_NOT_FOUND, 0, false},
        // An older i686 copy's value goes, whatever path it names, before ours is written.
        {kPath, 0, kNotAsked, ERROR_SUCCESS, ERROR_SUCCESS, 1, false, ERROR_SUCCESS},
        {kPath, 1, kNotAsked, ERROR_SUCCESS, ERROR_SUCCESS, 0, false, ERROR_SUCCESS},
        {kPath, 0, kNotAsked, ERROR_SUCCESS, 0, 0, true, ERROR_ACCESS_DENIED},
        // A 32-bit view without the Run key holds nothing to delete.
        {kPath, 0, kNotAsked, ERROR_SUCCESS, ERROR_SUCCESS, 1, false, 0, ERROR_FILE_NOT_FOUND},
        {kPath, 1, kNotAsked, ERROR_SUCCESS, ERROR_SUCCESS, 0, false, 0, ERROR_FILE_NOT_FOUND},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::u16string(c.path)) + (c.before ? " disable" : " enable"));
        lstrcpyW(appState.modulePath, c.path);
        appState.autostartEnabled = c.before;
        ::testing::InSequence order;
        if (c.answer != kNotAsked)
            EXPECT_CALL(win, MessageBoxW(nullptr,
                                         WideEq(u"检测到程序正在临时文件夹中运行，不建议执行此操作。\r\n选择否可以取消本次选择。"),
                                         WideEq(u"Ombrivale"), MB_YESNO | MB_ICONINFORMATION))
                .WillOnce(Return(c.answer));
        if (c.answer != IDNO) {
            // The older view's value goes first, then the shared view changes.
            LSTATUS olderOpen = c.olderOpen == kAsShared ? c.open : c.olderOpen;
            ExpectChange(kOlder, olderOpen, false, c.older, c.path);
            bool olderGone = olderOpen == ERROR_FILE_NOT_FOUND ||
                             (olderOpen == ERROR_SUCCESS && (c.older == ERROR_SUCCESS || c.older == ERROR_FILE_NOT_FOUND));
            if (olderGone)
                ExpectChange(kShared, c.open, c.before == 0, c.change, c.path);
        }
        if (c.warned)
            EXPECT_CALL(win, MessageBoxW(nullptr, WideEq(u"修改开机启动设置失败，请退出本程序，再以管理员身份运行后重试。"),
                                         WideEq(u"Ombrivale"), MB_OK | MB_ICONWARNING))
                .WillOnce(Return(IDOK));
        ToggleAutostart();
        EXPECT_EQ(appState.autostartEnabled, c.after);
        ::testing::Mock::VerifyAndClearExpectations(&win);
    }
}
