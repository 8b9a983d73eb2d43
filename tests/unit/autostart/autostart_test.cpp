// Start with Windows: reading the Run value, and toggling it so the flag
// always matches the registry, one value of ours exists at a time, and every
// key opened is closed.
#include <cstring>
#include <map>
#include <optional>
#include <string>

#include "autostart/autostart.h"
#include "tests/fake/win32_test.h"

static const char16_t kPath[] = u"C:\\Tools\\Ombrivale.exe";
// A folder in scripts that no single ANSI code page holds.
static const char16_t kOtherScriptsPath[] = u"D:\\도구-Łódź\\Ombrivale.exe";
static const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

static std::u16string Quoted(const std::u16string &path)
{
    return u"\"" + path + u"\"";
}

// Both builds share the 64-bit view; older i686 copies wrote the 32-bit one.
// The per-user key is one key for both builds.
static const REGSAM kShared = KEY_WOW64_64KEY;
static const REGSAM kOlder = KEY_WOW64_32KEY;

// What one Run key answers: the open, the stored data, the query.
struct RunView {
    LSTATUS open;
    std::u16string stored;
    LSTATUS query;
    DWORD oddBytes = 0;  // a size that ends inside a character
};
static const RunView kNoKey = {ERROR_FILE_NOT_FOUND, u"", 0};
// Not read once an earlier key names this program.
static const RunView kNotRead = {-1, u"", 0};

class Autostart : public Win32Test {
protected:
    void ExpectRead(HKEY root, REGSAM view, const RunView &answer)
    {
        EXPECT_CALL(win, RegOpenKeyExA(root, StrEq(kRunKey), 0, KEY_QUERY_VALUE | view, _))
            .WillOnce(DoAll(SetArgPointee<4>(key), Return(answer.open)));
        if (answer.open != ERROR_SUCCESS)
            return;
        // The longest path, its two quotes and the zero, in bytes.
        EXPECT_CALL(win, RegQueryValueExW(key, WideEq(u"Ombrivale"), IsNull(), IsNull(), _, Pointee(524u)))
            .WillOnce(Invoke([answer](HKEY, LPCWSTR, LPDWORD, LPDWORD, LPBYTE data, LPDWORD size) {
                std::memset(data, 'X', *size);
                DWORD bytes = (DWORD)(answer.stored.size() * sizeof(char16_t)) + answer.oddBytes;
                std::memcpy(data, answer.stored.data(), bytes);
                *size = bytes;
                return answer.query;
            }));
        EXPECT_CALL(win, RegCloseKey(key)).WillOnce(Return(ERROR_SUCCESS));
    }

    HKEY key = FakeHandle<HKEY>(0x30);
};

TEST_F(Autostart, ReadEnablesOnlyForThisPathBareOrQuoted)
{
    const std::u16string exact = Text(kPath) + u'\0';
    const std::u16string quoted = Quoted(kPath) + u'\0';
    const struct {
        const char *name;
        RunView shared, older, user;
        DWORD expected;
        const char16_t *path = kPath;
    } cases[] = {
        {"equal", {ERROR_SUCCESS, exact, ERROR_SUCCESS}, kNotRead, kNotRead, 1},
        {"quoted", {ERROR_SUCCESS, quoted, ERROR_SUCCESS}, kNotRead, kNotRead, 1},
        {"other case", {ERROR_SUCCESS, u"c:\\tools\\ombrivale.exe", ERROR_SUCCESS}, kNoKey, kNoKey, 0},
        {"quoted, other case", {ERROR_SUCCESS, Quoted(u"c:\\tools\\ombrivale.exe"), ERROR_SUCCESS}, kNoKey, kNoKey, 0},
        {"with an argument", {ERROR_SUCCESS, Quoted(kPath) + u" /min", ERROR_SUCCESS}, kNoKey, kNoKey, 0},
        {"one quote", {ERROR_SUCCESS, u"\"" + Text(kPath), ERROR_SUCCESS}, kNoKey, kNoKey, 0},
        // A failed query counts as not enabled, whatever the buffer holds.
        {"missing", {ERROR_SUCCESS, exact, ERROR_FILE_NOT_FOUND}, kNoKey, kNoKey, 0},
        {"longer than the buffer", {ERROR_SUCCESS, exact, ERROR_MORE_DATA}, kNoKey, kNoKey, 0},
        // Stored without its zero: the rest of the buffer must not be read.
        {"unterminated", {ERROR_SUCCESS, kPath, ERROR_SUCCESS}, kNotRead, kNotRead, 1},
        {"no key", {ERROR_ACCESS_DENIED, u"", 0}, kNoKey, kNoKey, 0},
        // An older i686 copy's value still counts.
        {"older copy's view", {ERROR_SUCCESS, exact, ERROR_FILE_NOT_FOUND}, {ERROR_SUCCESS, exact, ERROR_SUCCESS}, kNotRead, 1},
        {"older copy's other path", kNoKey, {ERROR_SUCCESS, u"C:\\Old\\Ombrivale.exe", ERROR_SUCCESS}, kNoKey, 0},
        // The per-user key, where a copy without an administrator's rights writes.
        {"user's quoted", kNoKey, kNoKey, {ERROR_SUCCESS, quoted, ERROR_SUCCESS}, 1},
        {"user's bare", kNoKey, kNoKey, {ERROR_SUCCESS, exact, ERROR_SUCCESS}, 1},
        {"user's other path", kNoKey, kNoKey, {ERROR_SUCCESS, Quoted(u"D:\\Old\\Ombrivale.exe"), ERROR_SUCCESS}, 0},
        // Characters outside every ANSI code page are compared as they are.
        {"other scripts", {ERROR_SUCCESS, Quoted(kOtherScriptsPath), ERROR_SUCCESS}, kNotRead, kNotRead, 1, kOtherScriptsPath},
        {"best-fit letters", {ERROR_SUCCESS, u"D:\\??-Lodz\\Ombrivale.exe", ERROR_SUCCESS}, kNoKey, kNoKey, 0, kOtherScriptsPath},
        // A byte count that ends inside a character leaves that half out.
        {"odd size", {ERROR_SUCCESS, kPath, ERROR_SUCCESS, 1}, kNotRead, kNotRead, 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        lstrcpyW(appState.modulePath, c.path);
        appState.autostartEnabled = !c.expected;
        InSequence order;
        ExpectRead(HKEY_LOCAL_MACHINE, kShared, c.shared);
        if (c.older.open != kNotRead.open)
            ExpectRead(HKEY_LOCAL_MACHINE, kOlder, c.older);
        if (c.user.open != kNotRead.open)
            ExpectRead(HKEY_CURRENT_USER, 0, c.user);
        ReadAutostartState();
        EXPECT_EQ(appState.autostartEnabled, c.expected);
        ::testing::Mock::VerifyAndClearExpectations(&win);
    }
}

// The three places a value of ours may be, as a registry the fake answers
// from, so that a row says what they hold before and after a toggle.
enum Place { kMachine, kOlderView, kUser, kPlaces };
using Value = std::optional<std::u16string>;  // the data without its zero
struct RunKeys {
    Value values[kPlaces];
    bool olderViewExists = true;
    LSTATUS refuseChange = ERROR_SUCCESS;  // what every set or delete answers, when not success
};

class AutostartToggle : public Autostart {
protected:
    void AnswerFrom(RunKeys &keys)
    {
        EXPECT_CALL(win, RegOpenKeyExA(_, StrEq(kRunKey), 0, _, _))
            .WillRepeatedly(Invoke([this, &keys](HKEY root, LPCSTR, DWORD, REGSAM access, PHKEY opened) {
                Place place = root == HKEY_CURRENT_USER ? kUser : (access & kOlder) ? kOlderView : kMachine;
                if (place == kOlderView && !keys.olderViewExists)
                    return (LSTATUS)ERROR_FILE_NOT_FOUND;
                writable[place] = (access & KEY_ALL_ACCESS) == KEY_ALL_ACCESS;
                *opened = FakeHandle<HKEY>(0x40 + place);
                return (LSTATUS)ERROR_SUCCESS;
            }));
        EXPECT_CALL(win, RegQueryValueExW(_, WideEq(u"Ombrivale"), IsNull(), IsNull(), _, _))
            .WillRepeatedly(Invoke([&keys](HKEY key, LPCWSTR, LPDWORD, LPDWORD, LPBYTE data, LPDWORD size) {
                const Value &value = keys.values[PlaceOf(key)];
                if (!value)
                    return (LSTATUS)ERROR_FILE_NOT_FOUND;
                std::u16string stored = *value + u'\0';
                if (stored.size() * 2 > *size)
                    return (LSTATUS)ERROR_MORE_DATA;
                *size = (DWORD)stored.size() * 2;
                std::memcpy(data, stored.data(), *size);
                return (LSTATUS)ERROR_SUCCESS;
            }));
        EXPECT_CALL(win, RegSetValueExW(_, WideEq(u"Ombrivale"), 0, REG_SZ, _, _))
            .WillRepeatedly(Invoke([this, &keys](HKEY key, LPCWSTR, DWORD, DWORD, const BYTE *data, DWORD size) {
                EXPECT_TRUE(writable[PlaceOf(key)]) << "written through a key opened to read";
                std::u16string text((const char16_t *)data, size / 2);
                EXPECT_EQ(text.back(), u'\0') << "stored with its zero";
                if (keys.refuseChange == ERROR_SUCCESS)
                    keys.values[PlaceOf(key)] = text.substr(0, text.size() - 1);
                return keys.refuseChange;
            }));
        EXPECT_CALL(win, RegDeleteValueW(_, WideEq(u"Ombrivale")))
            .WillRepeatedly(Invoke([this, &keys](HKEY key, LPCWSTR) {
                EXPECT_TRUE(writable[PlaceOf(key)]) << "deleted through a key opened to read";
                Value &value = keys.values[PlaceOf(key)];
                if (keys.refuseChange != ERROR_SUCCESS)
                    return keys.refuseChange;
                LSTATUS status = value ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
                value.reset();
                return status;
            }));
        EXPECT_CALL(win, RegCloseKey(_)).WillRepeatedly(Return(ERROR_SUCCESS));
    }

    static Place PlaceOf(HKEY key) { return (Place)((uintptr_t)key - 0x40); }
    bool writable[kPlaces] = {};
};

TEST_F(AutostartToggle, WritesOneQuotedValueWhereItMayAndFollowsTheRegistry)
{
    const int kNotAsked = -1;
    const Value none, bare = Text(kPath), quoted = Quoted(kPath), other = Quoted(u"D:\\Old\\Ombrivale.exe");
    const std::u16string temp = u"C:\\Users\\x\\AppData\\Local\\Temp\\a\\prog.exe";
    const struct {
        const char *name;
        bool elevated;
        DWORD before;
        RunKeys keys;
        Value machine, older, user;  // what the keys hold after the toggle
        DWORD after;
        bool warned = false;
        std::u16string path = kPath;
        int answer = kNotAsked;  // to the temporary-folder question
        DWORD leaving = 0;
    } cases[] = {
        // An administrator's elevated copy writes the shared per-machine value
        // and removes every other value of ours, whatever path it names.
        {"elevated enables", true, 0, {}, quoted, none, none, 1},
        {"elevated enables over others", true, 0, {{other, bare, other}}, quoted, none, none, 1},
        {"elevated disables", true, 1, {{quoted, bare, quoted}}, none, none, none, 0},
        {"elevated disables, no 32-bit key", true, 1, {{quoted, none, none}, false}, none, none, none, 0},
        {"elevated, write refused", true, 0, {{}, true, ERROR_ACCESS_DENIED}, none, none, none, 0, true},
        {"elevated, delete refused", true, 1, {{quoted, none, none}, true, ERROR_ACCESS_DENIED}, quoted, none, none, 1, true},
        // Without an administrator's rights: the per-user key, with no message.
        {"enables per user", false, 0, {}, none, none, quoted, 1},
        {"replaces the user's other path", false, 0, {{none, none, other}}, none, none, quoted, 1},
        {"replaces the user's bare path", false, 0, {{none, none, bare}}, none, none, quoted, 1},
        // A per-machine value it may not remove already starts this program:
        // a second, per-user value would start a second copy.
        {"machine's value is this program", false, 0, {{quoted, none, none}}, quoted, none, none, 1},
        {"older copy's value is this program", false, 0, {{none, bare, none}}, none, bare, none, 1},
        // Another path there would start that copy instead: only an
        // administrator can change it, and the user is told so.
        {"machine's other path", false, 0, {{other, none, none}}, other, none, none, 0, true},
        {"disables per user", false, 1, {{none, none, quoted}}, none, none, none, 0},
        {"machine's value stays", false, 1, {{quoted, none, quoted}}, quoted, none, none, 1, true},
        {"older view's other path stays", false, 1, {{none, other, none}}, none, other, none, 1, true},
        {"user's value refused", false, 1, {{none, none, quoted}, true, ERROR_ACCESS_DENIED}, none, none, quoted, 1, true},
        // The temporary folder asks before enabling, and only then; of the
        // answers given, only No cancels. A box that returned 0 was never
        // seen, and once the program is leaving nothing is written.
        {"temp, yes", false, 0, {}, none, none, Quoted(temp), 1, false, temp, IDYES},
        {"temp, no", false, 0, {}, none, none, none, 0, false, temp, IDNO},
        {"temp, unanswered", false, 0, {}, none, none, none, 0, false, temp, 0},
        {"temp, yes while leaving", false, 0, {}, none, none, none, 0, false, temp, IDYES, 1},
        {"temp disables unasked", false, 1, {{none, none, Quoted(temp)}}, none, none, none, 0, false, temp},
        {"TEMP is not Temp", false, 0, {}, none, none, Quoted(u"C:\\TEMP\\prog.exe"), 1, false, u"C:\\TEMP\\prog.exe"},
        {"Templates is", false, 0, {}, none, none, Quoted(u"C:\\Templates\\prog.exe"), 1, false, u"C:\\Templates\\prog.exe", IDYES},
        {"other scripts", false, 0, {}, none, none, Quoted(kOtherScriptsPath), 1, false, kOtherScriptsPath},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        FakeRegistryReset();
        if (c.elevated)
            FakeRegistryRunElevated();
        RunKeys keys = c.keys;
        lstrcpyW(appState.modulePath, c.path.c_str());
        appState.autostartEnabled = c.before;
        appState.leaving = c.leaving;
        AnswerFrom(keys);
        if (c.answer != kNotAsked)
            EXPECT_CALL(win, MessageBoxW(nullptr,
                                         WideEq(u"检测到程序正在临时文件夹中运行，不建议执行此操作。\r\n选择否可以取消本次选择。"),
                                         WideEq(u"Ombrivale"), MB_YESNO | MB_ICONINFORMATION))
                .WillOnce(Return(c.answer));
        EXPECT_CALL(win, MessageBoxW(nullptr, WideEq(u"修改开机启动设置失败，请退出本程序，再以管理员身份运行后重试。"),
                                     WideEq(u"Ombrivale"), MB_OK | MB_ICONWARNING))
            .Times(c.warned ? 1 : 0);
        ToggleAutostart();
        EXPECT_EQ(appState.autostartEnabled, c.after);
        EXPECT_EQ(keys.values[kMachine], c.machine) << "shared per-machine value";
        EXPECT_EQ(keys.values[kOlderView], c.older) << "older i686 copies' value";
        EXPECT_EQ(keys.values[kUser], c.user) << "per-user value";
        ::testing::Mock::VerifyAndClearExpectations(&win);
    }
}
