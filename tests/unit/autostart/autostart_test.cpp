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
static const char16_t kRunKey[] = u"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
// Not plain text, whatever its bytes spell.
static const DWORD kRegBinary = 3;

using ::testing::NotNull;

static std::u16string Quoted(const std::u16string &path)
{
    return u"\"" + path + u"\"";
}

// Another copy's value of 300 characters, more than the program reads.
static const std::u16string kLongOther = Quoted(u"D:\\" + std::u16string(281, u'x') + u"\\Ombrivale.exe");

// Both builds share the 64-bit view; older i686 copies wrote the 32-bit one.
// The per-user key is one key for both builds.
static const REGSAM kShared = KEY_WOW64_64KEY;
static const REGSAM kOlder = KEY_WOW64_32KEY;

using Value = std::optional<std::u16string>;

// What one Run key answers: the open, and the value's data as stored.
struct RunView {
    LSTATUS open;
    Value stored;
    DWORD oddBytes = 0;  // a size that ends inside a character
    DWORD type = REG_SZ;
};
static const RunView kNoKey = {ERROR_FILE_NOT_FOUND};
static const RunView kNoValue = {ERROR_SUCCESS};
// Not read once an earlier key names this program.
static const RunView kNotRead = {-1};

class Autostart : public Win32Test {
protected:
    void ExpectRead(HKEY root, REGSAM view, const RunView &answer)
    {
        if (answer.open == kNotRead.open)
            return;
        EXPECT_CALL(win, RegOpenKeyExW(root, WideEq(kRunKey), 0, KEY_QUERY_VALUE | view, _))
            .WillOnce(DoAll(SetArgPointee<4>(key), Return(answer.open)));
        if (answer.open != ERROR_SUCCESS)
            return;
        // The longest path, its two quotes and the zero, in bytes.
        EXPECT_CALL(win, RegQueryValueExW(key, WideEq(u"Ombrivale"), IsNull(), NotNull(), _, Pointee(524u)))
            .WillOnce(Invoke([answer](HKEY, LPCWSTR, LPDWORD, LPDWORD type, LPBYTE data, LPDWORD size) {
                if (!answer.stored)
                    return (LSTATUS)ERROR_FILE_NOT_FOUND;
                DWORD bytes = (DWORD)(answer.stored->size() * sizeof(char16_t)) + answer.oddBytes;
                return FakeRegistryQuery(answer.stored->data(), bytes, answer.type, type, data, size);
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
        {"equal", {ERROR_SUCCESS, exact}, kNotRead, kNotRead, 1},
        {"quoted", {ERROR_SUCCESS, quoted}, kNotRead, kNotRead, 1},
        {"other case", {ERROR_SUCCESS, u"c:\\tools\\ombrivale.exe"}, kNoKey, kNoKey, 0},
        {"quoted, other case", {ERROR_SUCCESS, Quoted(u"c:\\tools\\ombrivale.exe")}, kNoKey, kNoKey, 0},
        {"with an argument", {ERROR_SUCCESS, Quoted(kPath) + u" /min"}, kNoKey, kNoKey, 0},
        {"one quote", {ERROR_SUCCESS, u"\"" + Text(kPath)}, kNoKey, kNoKey, 0},
        {"missing", kNoValue, kNoKey, kNoKey, 0},
        {"longer than the buffer", {ERROR_SUCCESS, kLongOther + u'\0'}, kNoKey, kNoKey, 0},
        {"not text", {ERROR_SUCCESS, quoted, 0, kRegBinary}, kNoKey, kNoKey, 0},
        // Stored without its zero: the rest of the buffer must not be read.
        {"unterminated", {ERROR_SUCCESS, Text(kPath)}, kNotRead, kNotRead, 1},
        {"no key", {ERROR_ACCESS_DENIED}, kNoKey, kNoKey, 0},
        // An older i686 copy's value still counts.
        {"older copy's view", kNoValue, {ERROR_SUCCESS, exact}, kNotRead, 1},
        {"older copy's other path", kNoKey, {ERROR_SUCCESS, u"C:\\Old\\Ombrivale.exe"}, kNoKey, 0},
        // The per-user key, where a copy without an administrator's rights writes.
        {"user's quoted", kNoKey, kNoKey, {ERROR_SUCCESS, quoted}, 1},
        {"user's bare", kNoKey, kNoKey, {ERROR_SUCCESS, exact}, 1},
        {"user's other path", kNoKey, kNoKey, {ERROR_SUCCESS, Quoted(u"D:\\Old\\Ombrivale.exe")}, 0},
        // Characters outside every ANSI code page are compared as they are.
        {"other scripts", {ERROR_SUCCESS, Quoted(kOtherScriptsPath)}, kNotRead, kNotRead, 1, kOtherScriptsPath},
        {"best-fit letters", {ERROR_SUCCESS, u"D:\\??-Lodz\\Ombrivale.exe"}, kNoKey, kNoKey, 0, kOtherScriptsPath},
        // A byte count that ends inside a character leaves that half out.
        {"odd size", {ERROR_SUCCESS, Text(kPath), 1}, kNotRead, kNotRead, 1},
        // A path Windows cut was left empty: nothing can name it, not even
        // an empty value.
        {"no path", kNotRead, kNotRead, kNotRead, 0, u""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        lstrcpyW(appState.modulePath, c.path);
        appState.autostartEnabled = !c.expected;
        InSequence order;
        ExpectRead(HKEY_LOCAL_MACHINE, kShared, c.shared);
        ExpectRead(HKEY_LOCAL_MACHINE, kOlder, c.older);
        ExpectRead(HKEY_CURRENT_USER, 0, c.user);
        ReadAutostartState();
        EXPECT_EQ(appState.autostartEnabled, c.expected);
        ::testing::Mock::VerifyAndClearExpectations(&win);
    }
}

// The three places a value of ours may be, as a registry the fake answers
// from, so that a row says what they hold before and after a toggle.
enum Place { kMachine, kOlderView, kUser, kPlaces };
static const struct { HKEY root; REGSAM view; } kKeyAt[kPlaces] = {
    {HKEY_LOCAL_MACHINE, kShared}, {HKEY_LOCAL_MACHINE, kOlder}, {HKEY_CURRENT_USER, 0}};
struct RunKeys {
    Value values[kPlaces];  // the data without its zero
    bool olderViewExists = true;
    LSTATUS refuseChange = ERROR_SUCCESS;  // what every set or delete answers, when not success
    bool userKeyExists = true;
    Place grantsSetValueOnly = kPlaces;  // a key whose ACL lets values change and nothing else
};

class AutostartToggle : public Autostart {
protected:
    // The keys a row says are missing or restricted, as the fake's rules.
    static void SetRules(const RunKeys &keys)
    {
        if (!keys.olderViewExists)
            FakeRegistryRemoveKey(HKEY_LOCAL_MACHINE, kRunKey, kOlder);
        if (!keys.userKeyExists)
            FakeRegistryRemoveKey(HKEY_CURRENT_USER, kRunKey, 0);
        if (keys.grantsSetValueOnly != kPlaces) {
            const auto &at = kKeyAt[keys.grantsSetValueOnly];
            FakeRegistryGrantOnly(at.root, kRunKey, at.view, KEY_SET_VALUE);
        }
    }

    HKEY Open(HKEY root, REGSAM access)
    {
        Place place = root == HKEY_CURRENT_USER ? kUser : (access & kOlder) ? kOlderView : kMachine;
        writable[place] = (access & KEY_SET_VALUE) != 0;
        return FakeHandle<HKEY>(0x40 + place);
    }

    void AnswerFrom(RunKeys &keys)
    {
        SetRules(keys);
        EXPECT_CALL(win, RegOpenKeyExW(_, WideEq(kRunKey), 0, _, _))
            .WillRepeatedly(Invoke([this](HKEY root, LPCWSTR, DWORD, REGSAM access, PHKEY opened) {
                *opened = Open(root, access);
                return (LSTATUS)ERROR_SUCCESS;
            }));
        // Only the per-user key is created where it is missing, and only to
        // write a value.
        EXPECT_CALL(win, RegCreateKeyExW(HKEY_CURRENT_USER, WideEq(kRunKey), 0, IsNull(), 0, KEY_SET_VALUE, IsNull(), _, _))
            .WillRepeatedly(Invoke([this](HKEY root, LPCWSTR, DWORD, LPWSTR, DWORD, REGSAM access, LPSECURITY_ATTRIBUTES,
                                          PHKEY opened, LPDWORD) {
                *opened = Open(root, access);
                return (LSTATUS)ERROR_SUCCESS;
            }));
        EXPECT_CALL(win, RegQueryValueExW(_, WideEq(u"Ombrivale"), IsNull(), NotNull(), _, _))
            .WillRepeatedly(Invoke([&keys](HKEY key, LPCWSTR, LPDWORD, LPDWORD type, LPBYTE data, LPDWORD size) {
                const Value &value = keys.values[PlaceOf(key)];
                if (!value)
                    return (LSTATUS)ERROR_FILE_NOT_FOUND;
                std::u16string stored = *value + u'\0';
                return FakeRegistryQuery(stored.data(), (DWORD)stored.size() * 2, REG_SZ, type, data, size);
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
    const Value longOther = kLongOther;
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
        bool toldPathTooLong = false;
    } cases[] = {
        // An administrator's elevated copy writes the shared per-machine value
        // and removes every other value of ours, whatever path it names.
        {"elevated enables", true, 0, {}, quoted, none, none, 1},
        {"elevated enables over others", true, 0, {{other, bare, other}}, quoted, none, none, 1},
        {"elevated disables", true, 1, {{quoted, bare, quoted}}, none, none, none, 0},
        {"elevated disables, no 32-bit key", true, 1, {{quoted, none, none}, false}, none, none, none, 0},
        {"elevated, write refused", true, 0, {{}, true, ERROR_ACCESS_DENIED}, none, none, none, 0, true},
        {"elevated, delete refused", true, 1, {{quoted, none, none}, true, ERROR_ACCESS_DENIED}, quoted, none, none, 1, true},
        // A key whose ACL lets values change and grants nothing more takes a
        // change that asks for no more.
        {"machine's key grants setting values only", true, 0, {{}, true, ERROR_SUCCESS, true, kMachine}, quoted, none, none, 1},
        // Without an administrator's rights: the per-user key, with no message.
        {"enables per user", false, 0, {}, none, none, quoted, 1},
        {"replaces the user's other path", false, 0, {{none, none, other}}, none, none, quoted, 1},
        {"replaces the user's bare path", false, 0, {{none, none, bare}}, none, none, quoted, 1},
        {"user's key grants setting values only", false, 0, {{}, true, ERROR_SUCCESS, true, kUser}, none, none, quoted, 1},
        {"user's key grants setting values only, disables", false, 1, {{none, none, quoted}, true, ERROR_SUCCESS, true, kUser},
         none, none, none, 0},
        // A new profile, or one a cleaning tool emptied, has no Run key.
        {"no per-user key", false, 0, {{}, true, ERROR_SUCCESS, false}, none, none, quoted, 1},
        // A per-machine value it may not remove already starts this program:
        // a second, per-user value would start a second copy.
        {"machine's value is this program", false, 0, {{quoted, none, none}}, quoted, none, none, 1},
        {"older copy's value is this program", false, 0, {{none, bare, none}}, none, bare, none, 1},
        // Another path there would start that copy instead: only an
        // administrator can change it, and the user is told so.
        {"machine's other path", false, 0, {{other, none, none}}, other, none, none, 0, true},
        // Longer than the buffer that reads it, it is a value all the same.
        {"machine's long other path", false, 0, {{longOther, none, none}}, longOther, none, none, 0, true},
        {"disables per user", false, 1, {{none, none, quoted}}, none, none, none, 0},
        {"machine's value stays", false, 1, {{quoted, none, quoted}}, quoted, none, none, 1, true},
        {"older view's other path stays", false, 1, {{none, other, none}}, none, other, none, 1, true},
        {"machine's long other path stays", false, 1, {{longOther, none, quoted}}, longOther, none, none, 1, true},
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
        // A path Windows cut was left empty: it would start nothing, and the
        // user learns why nothing is written.
        {"path cut", false, 0, {}, none, none, none, 0, false, u"", kNotAsked, 0, true},
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
        EXPECT_CALL(win, MessageBoxW(nullptr,
                                     WideEq(u"本程序的完整路径超过了 Windows 允许的 260 个字符，无法设置开机启动。\r\n"
                                            u"请把本程序移到路径较短的文件夹中，重新运行后再试。"),
                                     WideEq(u"Ombrivale"), MB_OK | MB_ICONWARNING))
            .Times(c.toldPathTooLong ? 1 : 0);
        ToggleAutostart();
        EXPECT_EQ(appState.autostartEnabled, c.after);
        EXPECT_EQ(keys.values[kMachine], c.machine) << "shared per-machine value";
        EXPECT_EQ(keys.values[kOlderView], c.older) << "older i686 copies' value";
        EXPECT_EQ(keys.values[kUser], c.user) << "per-user value";
        ::testing::Mock::VerifyAndClearExpectations(&win);
    }
}
