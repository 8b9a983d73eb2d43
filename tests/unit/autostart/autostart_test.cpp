// Start with Windows: reading the Run value, and toggling it so the flag
// always matches the registry and every key opened is closed.
#include <cstring>
#include <string>

#include "autostart/autostart.h"
#include "tests/fake/win32_test.h"

static const char kPath[] = "C:\\Tools\\Ombrivale.exe";
static const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class Autostart : public Win32Test {
protected:
    void ExpectOpenToRead(LSTATUS status)
    {
        EXPECT_CALL(win, RegOpenKeyExA(HKEY_LOCAL_MACHINE, StrEq(kRunKey), 0, KEY_QUERY_VALUE, _))
            .WillOnce(DoAll(SetArgPointee<4>(key), Return(status)));
        if (status == ERROR_SUCCESS)
            EXPECT_CALL(win, RegCloseKey(key)).WillOnce(Return(ERROR_SUCCESS));
    }

    HKEY key = FakeHandle<HKEY>(0x30);
};

TEST_F(Autostart, ReadEnablesOnlyForExactlyThisPath)
{
    const struct { const char *name; LSTATUS open; std::string stored; LSTATUS status; DWORD expected; } cases[] = {
        {"equal", ERROR_SUCCESS, std::string(kPath) + '\0', ERROR_SUCCESS, 1},
        {"other case", ERROR_SUCCESS, "c:\\tools\\ombrivale.exe", ERROR_SUCCESS, 0},
        {"quoted", ERROR_SUCCESS, std::string("\"") + kPath + "\"", ERROR_SUCCESS, 0},
        // A failed query counts as not enabled, whatever the buffer holds.
        {"missing", ERROR_SUCCESS, std::string(kPath) + '\0', ERROR_FILE_NOT_FOUND, 0},
        {"over 260 bytes", ERROR_SUCCESS, std::string(kPath) + '\0', ERROR_MORE_DATA, 0},
        // Stored without its zero: the rest of the buffer must not be read.
        {"unterminated", ERROR_SUCCESS, kPath, ERROR_SUCCESS, 1},
        {"no key", ERROR_ACCESS_DENIED, "", 0, 0},
    };
    for (const auto &c : cases) {
        lstrcpyA(appState.modulePath, kPath);
        appState.autostartEnabled = !c.expected;
        ExpectOpenToRead(c.open);
        if (c.open == ERROR_SUCCESS)
            EXPECT_CALL(win, RegQueryValueExA(key, StrEq("Ombrivale"), IsNull(), IsNull(), _, Pointee(260u)))
                .WillOnce(Invoke([&](HKEY, LPCSTR, LPDWORD, LPDWORD, LPBYTE data, LPDWORD size) {
                    std::memset(data, 'X', *size);
                    std::memcpy(data, c.stored.data(), c.stored.size());
                    *size = (DWORD)c.stored.size();
                    return c.status;
                }));
        ReadAutostartState();
        EXPECT_EQ(appState.autostartEnabled, c.expected) << c.name;
        ::testing::Mock::VerifyAndClearExpectations(&win);
    }
}

TEST_F(Autostart, ToggleWritesOrDeletesAndFollowsTheRegistry)
{
    const int kNotAsked = 0;
    const struct {
        const char *path;
        DWORD before;
        int answer;       // to the temporary-folder question
        LSTATUS open;
        LSTATUS change;   // of the write or the delete
        DWORD after;
        bool warned;
    } cases[] = {
        {kPath, 0, kNotAsked, ERROR_SUCCESS, ERROR_SUCCESS, 1, false},
        {kPath, 1, kNotAsked, ERROR_SUCCESS, ERROR_SUCCESS, 0, false},
        {"C:\\Users\\x\\AppData\\Local\\Temp\\a\\prog.exe", 1, kNotAsked, ERROR_SUCCESS, ERROR_SUCCESS, 0, false},
        {"C:\\Users\\x\\AppData\\Local\\Temp\\a\\prog.exe", 0, IDYES, ERROR_SUCCESS, ERROR_SUCCESS, 1, false},
        {"C:\\Users\\x\\AppData\\Local\\Temp\\a\\prog.exe", 0, IDNO, ERROR_SUCCESS, ERROR_SUCCESS, 0, false},
        {"C:\\TEMP\\prog.exe", 0, kNotAsked, ERROR_SUCCESS, ERROR_SUCCESS, 1, false},
        {"C:\\temp\\prog.exe", 0, kNotAsked, ERROR_SUCCESS, ERROR_SUCCESS, 1, false},
        {"C:\\Users\\x\\Templates\\prog.exe", 0, IDYES, ERROR_SUCCESS, ERROR_SUCCESS, 1, false},
        // Failures leave the flag as the registry still is, and say so.
        {kPath, 0, kNotAsked, ERROR_ACCESS_DENIED, 0, 0, true},
        {kPath, 1, kNotAsked, ERROR_ACCESS_DENIED, 0, 1, true},
        {kPath, 0, kNotAsked, ERROR_SUCCESS, ERROR_ACCESS_DENIED, 0, true},
        {kPath, 1, kNotAsked, ERROR_SUCCESS, ERROR_ACCESS_DENIED, 1, true},
        // A value someone else already removed is disabled all the same.
        {kPath, 1, kNotAsked, ERROR_SUCCESS, ERROR_FILE_NOT_FOUND, 0, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.path) + (c.before ? " disable" : " enable"));
        lstrcpyA(appState.modulePath, c.path);
        appState.autostartEnabled = c.before;
        ::testing::InSequence order;
        if (c.answer != kNotAsked)
            EXPECT_CALL(win, MessageBoxA(nullptr,
                                         StrEq("检测到程序正在临时文件夹中运行，不建议执行此操作。\r\n选择否可以取消本次选择。"),
                                         StrEq("Ombrivale"), MB_YESNO | MB_ICONINFORMATION))
                .WillOnce(Return(c.answer));
        if (c.answer != IDNO) {
            EXPECT_CALL(win, RegOpenKeyExA(HKEY_LOCAL_MACHINE, StrEq(kRunKey), 0, KEY_ALL_ACCESS, _))
                .WillOnce(DoAll(SetArgPointee<4>(key), Return(c.open)));
            if (c.open == ERROR_SUCCESS && c.before == 0)
                EXPECT_CALL(win, RegSetValueExA(key, StrEq("Ombrivale"), 0, REG_SZ, _, std::strlen(c.path) + 1))
                    .WillOnce(Invoke([&](HKEY, LPCSTR, DWORD, DWORD, const BYTE *data, DWORD size) {
                        EXPECT_EQ(std::string((const char *)data, size), std::string(c.path) + '\0');
                        return c.change;
                    }));
            if (c.open == ERROR_SUCCESS && c.before == 1)
                EXPECT_CALL(win, RegDeleteValueA(key, StrEq("Ombrivale"))).WillOnce(Return(c.change));
            if (c.open == ERROR_SUCCESS)
                EXPECT_CALL(win, RegCloseKey(key)).WillOnce(Return(ERROR_SUCCESS));
        }
        if (c.warned)
            EXPECT_CALL(win, MessageBoxA(nullptr, StrEq("修改开机启动设置失败，请退出本程序，再以管理员身份运行后重试。"),
                                         StrEq("Ombrivale"), MB_OK | MB_ICONWARNING))
                .WillOnce(Return(IDOK));
        ToggleAutostart();
        EXPECT_EQ(appState.autostartEnabled, c.after);
        ::testing::Mock::VerifyAndClearExpectations(&win);
    }
}
