// The ten hotkeys: the user's choice read from the registry, the names of
// combinations, the registration of a set and its warning, saving, and the
// hotkey submenu's entries.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "hotkeys/hotkey_set.h"
#include "resources/resource_ids.h"
#include "tests/fake/win32_test.h"
#include "hotkeys_test.h"

namespace {

const HKEY kKey = FakeHandle<HKEY>(0x300);
const HMENU kSubmenu = FakeHandle<HMENU>(0x23);
const char16_t kKeyPath[] = u"Software\\Ombrivale\\Hotkeys";

const DWORD kCtrlAltS = Combination(MOD_ALT | MOD_CONTROL, 'S');
const int kMute = 2, kToggle = 6, kExit = 7, kScreenshot = 9;

// The standard ten in registration order: value name, and the submenu's
// text and position as the menu has always had them.
const struct {
    int command;
    DWORD combination;
    const char16_t *valueName;
    const char16_t *caption;
    UINT position;
} kStandard[] = {
    {IDM_VOLUME_UP, Combination(MOD_CONTROL, VK_RIGHT), u"VolumeUp", u"加大音量\tCtrl+→", 0},
    {IDM_VOLUME_DOWN, Combination(MOD_CONTROL, VK_LEFT), u"VolumeDown", u"减小音量\tCtrl+←", 1},
    {IDM_MUTE, Combination(MOD_CONTROL, VK_END), u"Mute", u"静音\tCtrl+End", 2},
    {IDM_BRIGHTNESS_UP, Combination(MOD_CONTROL, VK_UP), u"BrightnessUp", u"加大亮度\tCtrl+↑", 4},
    {IDM_BRIGHTNESS_DOWN, Combination(MOD_CONTROL, VK_DOWN), u"BrightnessDown", u"减小亮度\tCtrl+↓", 5},
    {IDM_BRIGHTNESS_DEFAULT, Combination(MOD_CONTROL, VK_HOME), u"BrightnessDefault", u"默认亮度\tCtrl+Home", 6},
    {IDM_TOGGLE_TRAY_ICON, Combination(MOD_CONTROL, VK_F12), u"ToggleTrayIcon", u"隐藏/显示程序\tCtrl+F12", 11},
    {IDM_EXIT, Combination(MOD_SHIFT, VK_END), u"Exit", u"退出程序\tShift+End", 12},
    {IDM_MONITOR_OFF, Combination(MOD_SHIFT, VK_INSERT), u"MonitorOff", u"关闭显示器\tShift+Insert", 8},
    {IDM_SCREENSHOT, Combination(MOD_CONTROL, VK_F3), u"Screenshot", u"屏幕截图\tCtrl+F3", 9},
};

// The standard set with some combinations changed: {index, combination}.
std::vector<DWORD> StandardWith(std::initializer_list<std::pair<int, DWORD>> changes)
{
    std::vector<DWORD> set;
    for (const auto &standard : kStandard)
        set.push_back(standard.combination);
    for (const auto &change : changes)
        set[change.first] = change.second;
    return set;
}

std::u16string Name(DWORD combination)
{
    WCHAR text[HOTKEY_NAME_LENGTH];
    NameCombination(combination, text, HOTKEY_NAME_LENGTH);
    return text;
}

class Hotkeys : public Win32Test {
protected:
    // Registrations answer as Windows would (the fake refuses what is held);
    // the log holds "-id" for each unregistration and "+id" for each
    // registration, in order.
    std::vector<std::string> calls;

    void LogRegistrations()
    {
        EXPECT_CALL(win, UnregisterHotKey(kWindow, _)).WillRepeatedly(Invoke([this](HWND, int id) {
            calls.push_back("-" + std::to_string(id));
            return TRUE;
        }));
        EXPECT_CALL(win, RegisterHotKey(kWindow, _, _, _)).WillRepeatedly(Invoke([this](HWND, int id, UINT, UINT) {
            calls.push_back("+" + std::to_string(id));
            return TRUE;
        }));
    }

    // All ten let go of before the first registration.
    void ExpectAllLetGoFirst()
    {
        std::vector<std::string> first;
        for (const auto &standard : kStandard)
            first.push_back("-" + std::to_string(standard.command));
        ASSERT_GE(calls.size(), first.size());
        EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + first.size()), first);
    }

    static void HoldElsewhere(const std::vector<DWORD> &combinations)
    {
        int id = 1;
        for (DWORD combination : combinations)
            FakeHotkeyRegister(TRUE, kOtherProgram, id++, HOTKEY_MODIFIERS(combination), HOTKEY_KEY(combination));
    }

    static bool HeldByProgram(DWORD combination)
    {
        return FakeHotkeyHeld(kWindow, HOTKEY_MODIFIERS(combination), HOTKEY_KEY(combination));
    }
};

// What Windows' rules say of hotkeys, which the tests below rely on.
TEST_F(Hotkeys, FakeRefusesAHeldCombinationAndKeepsBothCombinationsOfAReRegisteredIdentifier)
{
    EXPECT_TRUE(FakeHotkeyRegister(TRUE, kWindow, 7, MOD_SHIFT, VK_END));
    EXPECT_TRUE(FakeHotkeyRegister(TRUE, kWindow, 7, MOD_CONTROL | MOD_ALT, 'Q'));
    EXPECT_TRUE(HeldByProgram(Combination(MOD_SHIFT, VK_END))) << "the first combination stays beside the second";
    EXPECT_TRUE(HeldByProgram(kCtrlAltQ));
    EXPECT_FALSE(FakeHotkeyRegister(TRUE, kOtherProgram, 1, MOD_SHIFT, VK_END)) << "refused to another program";
    EXPECT_FALSE(FakeHotkeyRegister(TRUE, kWindow, 7, MOD_SHIFT, VK_END)) << "and to its holder";
    FakeHotkeyUnregister(kWindow, 7);
    EXPECT_FALSE(HeldByProgram(Combination(MOD_SHIFT, VK_END)));
    EXPECT_TRUE(FakeHotkeyRegister(TRUE, kOtherProgram, 1, MOD_SHIFT, VK_END));
}

TEST_F(Hotkeys, ReadingKeepsUsableValuesAndTurnsEveryOtherIntoTheStandard)
{
    const DWORD standard = kStandard[kExit].combination;
    auto dword = [](DWORD value) {
        std::vector<BYTE> bytes(4);
        std::memcpy(bytes.data(), &value, 4);
        return bytes;
    };
    const struct {
        const char *what;
        LSTATUS status;  // of the query, when the value is there
        DWORD type;
        std::vector<BYTE> data;
        DWORD expected;
    } rows[] = {
        {"absent", ERROR_FILE_NOT_FOUND, 0, {}, standard},
        {"0: turned off", 0, REG_DWORD, dword(0), 0},
        {"Ctrl+Alt+Q", 0, REG_DWORD, dword(0x00510003), kCtrlAltQ},
        {"all three modifiers, the highest key", 0, REG_DWORD, dword(0x00FE0007), 0x00FE0007},
        {"Alt and key 1", 0, REG_DWORD, dword(0x00010001), 0x00010001},
        {"a text", 0, REG_SZ, {'1', 0, 0, 0}, standard},
        {"four binary bytes", 0, REG_BINARY, dword(kCtrlAltQ), standard},
        {"big-endian DWORD", 0, REG_DWORD_BIG_ENDIAN, dword(kCtrlAltQ), standard},
        {"a QWORD", 0, REG_QWORD, {3, 0, 0x51, 0, 0, 0, 0, 0}, standard},
        {"a DWORD of 3 bytes", 0, REG_DWORD, {3, 0, 0x51}, standard},
        {"a DWORD of 8 bytes", 0, REG_DWORD, {3, 0, 0x51, 0, 0, 0, 0, 0}, standard},
        {"no modifier", 0, REG_DWORD, dword(0x00510000), standard},
        {"the Windows key", 0, REG_DWORD, dword(0x0051000A), standard},
        {"MOD_NOREPEAT", 0, REG_DWORD, dword(0x00514002), standard},
        {"key 0", 0, REG_DWORD, dword(0x00000002), standard},
        {"key 0xFF", 0, REG_DWORD, dword(0x00FF0002), standard},
        {"key above a byte", 0, REG_DWORD, dword(0x01510002), standard},
        {"access refused", ERROR_ACCESS_DENIED, REG_DWORD, dword(kCtrlAltQ), standard},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        InSequence order;
        EXPECT_CALL(win, RegOpenKeyExW(HKEY_CURRENT_USER, WideEq(kKeyPath), 0, KEY_QUERY_VALUE, _))
            .WillOnce(DoAll(SetArgPointee<4>(kKey), Return(ERROR_SUCCESS)));
        for (const auto &standard : kStandard) {
            // As Windows answers: the type and size even when the data does not fit.
            EXPECT_CALL(win, RegQueryValueExW(kKey, WideEq(standard.valueName), nullptr, _, _, Pointee(4u)))
                .WillOnce(Invoke([&](HKEY, LPCWSTR name, LPDWORD, LPDWORD type, LPBYTE data, LPDWORD size) -> LSTATUS {
                    if (std::u16string(name) != u"Exit" || row.status != 0)
                        return std::u16string(name) != u"Exit" ? ERROR_FILE_NOT_FOUND : row.status;
                    *type = row.type;
                    bool fits = row.data.size() <= *size;
                    if (fits)
                        std::memcpy(data, row.data.data(), row.data.size());
                    *size = (DWORD)row.data.size();
                    return fits ? ERROR_SUCCESS : ERROR_MORE_DATA;
                }));
        }
        EXPECT_CALL(win, RegCloseKey(kKey)).WillOnce(Return(ERROR_SUCCESS));
        LoadHotkeySettings();
        EXPECT_EQ(std::vector<DWORD>(appState.hotkeys, appState.hotkeys + HOTKEY_COUNT), StandardWith({{kExit, row.expected}}));
        testing::Mock::VerifyAndClearExpectations(&win);
    }

    // No key, or one the user may not read: the standard set, and nothing to close.
    for (LSTATUS status : {ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED}) {
        appState.hotkeys[kExit] = 0;
        EXPECT_CALL(win, RegOpenKeyExW(HKEY_CURRENT_USER, WideEq(kKeyPath), 0, KEY_QUERY_VALUE, _)).WillOnce(Return(status));
        LoadHotkeySettings();
        EXPECT_EQ(std::vector<DWORD>(appState.hotkeys, appState.hotkeys + HOTKEY_COUNT), StandardWith({}));
    }
}

TEST_F(Hotkeys, CombinationsAreNamedCtrlAltShiftThenTheKey)
{
    for (const auto &standard : kStandard)
        EXPECT_EQ(Name(standard.combination), std::u16string(standard.caption).substr(std::u16string(standard.caption).find(u'\t') + 1));
    const struct {
        DWORD combination;
        const char16_t *name;
    } fixed[] = {
        {0, u""},
        {kCtrlAltQ, u"Ctrl+Alt+Q"},
        {Combination(MOD_SHIFT | MOD_ALT | MOD_CONTROL, VK_F24), u"Ctrl+Alt+Shift+F24"},
        {Combination(MOD_ALT | MOD_SHIFT, VK_F1), u"Alt+Shift+F1"},
        {Combination(MOD_CONTROL, VK_F1 + 9), u"Ctrl+F10"},
        {Combination(MOD_ALT, '0'), u"Alt+0"},
        {Combination(MOD_ALT, '9'), u"Alt+9"},
        {Combination(MOD_CONTROL, 'A'), u"Ctrl+A"},
        {Combination(MOD_CONTROL, 'Z'), u"Ctrl+Z"},
        {Combination(MOD_SHIFT, VK_DELETE), u"Shift+Delete"},
        {Combination(MOD_CONTROL, VK_PRIOR), u"Ctrl+PageUp"},
        {Combination(MOD_CONTROL, VK_NEXT), u"Ctrl+PageDown"},
    };
    for (const auto &row : fixed)
        EXPECT_EQ(Name(row.combination), row.name);

    // Any other key as the layout names it; keys that share a scan code with
    // a twin carry the extended bit (bit 24) to be told apart.
    const struct {
        UINT key;
        UINT scan;
        LONG lParam;
        const char16_t *layoutName;
        const char16_t *name;
    } named[] = {
        {VK_OEM_1, 0x27, 0x00270000, u"ö", u"Ctrl+ö"},
        {VK_NUMPAD4, 0x4B, 0x004B0000, u"Num 4", u"Ctrl+Num 4"},
        {VK_DIVIDE, 0x35, 0x01350000, u"Num /", u"Ctrl+Num /"},
        {VK_APPS, 0x5D, 0x015D0000, u"Application", u"Ctrl+Application"},
        {VK_NUMLOCK, 0x45, 0x01450000, u"Num Lock", u"Ctrl+Num Lock"},
        {0xAD, 0x20, 0x01200000, u"Mute", u"Ctrl+Mute"},
        {0xE2, 0x56, 0x00560000, nullptr, u"Ctrl+0xE2"},  // no name in this layout
    };
    for (const auto &row : named) {
        SCOPED_TRACE(row.key);
        EXPECT_CALL(win, MapVirtualKeyW(row.key, MAPVK_VK_TO_VSC)).WillOnce(Return(row.scan));
        EXPECT_CALL(win, GetKeyNameTextW(row.lParam, _, HOTKEY_NAME_LENGTH - 5))
            .WillOnce(Invoke([&row](LONG, LPWSTR name, int) {
                if (row.layoutName == nullptr)
                    return 0;
                lstrcpyW(name, row.layoutName);
                return lstrlenW(name);
            }));
        EXPECT_EQ(Name(Combination(MOD_CONTROL, row.key)), row.name);
    }

    // Cut at the buffer's end, always ended.
    WCHAR text[6];
    EXPECT_EQ(NameCombination(kCtrlAltQ, text, 6), 5);
    EXPECT_EQ(Text(text), u"Ctrl+");
}

TEST_F(Hotkeys, RegistrationLetsGoOfEachIdentifierFirstAndNamesWhatWasRefused)
{
    const DWORD ctrlEnd = kStandard[kMute].combination, shiftEnd = kStandard[kExit].combination;
    const struct {
        const char *what;
        std::vector<DWORD> set;
        std::vector<DWORD> heldElsewhere;
        bool registeredBefore;  // the window holds the standard set already
        bool undo;
        int refused;
        std::u16string failures;
        unsigned held;  // bit i: the window holds set[i] afterwards
    } rows[] = {
        {"the standard set, all free", StandardWith({}), {}, false, false, 0, u"", 0x3FF},
        {"the third of ten refused", StandardWith({}), {ctrlEnd}, false, false, 1, u"\r\n静音（Ctrl+End）", 0x3FB},
        {"the third of ten refused, undone", StandardWith({}), {ctrlEnd}, false, true, 1, u"\r\n静音（Ctrl+End）", 0},
        {"one off, whose combination is held: no failure", StandardWith({{kMute, 0}}), {ctrlEnd}, false, true, 0, u"", 0x3FB},
        {"named by the combinations refused", StandardWith({{kScreenshot, kCtrlAltS}}), {kCtrlAltS, shiftEnd}, false, false, 2,
         u"\r\n退出程序（Shift+End）\r\n屏幕截图（Ctrl+Alt+S）", 0x17F},
        {"moved, over the standard set in force", StandardWith({{kExit, kCtrlAltQ}}), {}, true, false, 0, u"", 0x3FF},
        {"two swapped", StandardWith({{kExit, ctrlEnd}, {kMute, shiftEnd}}), {}, true, false, 0, u"", 0x3FF},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        FakeHotkeysReset();
        calls.clear();
        HoldElsewhere(row.heldElsewhere);
        for (int i = 0; row.registeredBefore && i < HOTKEY_COUNT; i++)
            FakeHotkeyRegister(TRUE, kWindow, kStandard[i].command, HOTKEY_MODIFIERS(kStandard[i].combination), HOTKEY_KEY(kStandard[i].combination));
        LogRegistrations();
        WCHAR failures[HOTKEY_FAILURES_LENGTH] = u"";
        EXPECT_EQ(RegisterHotkeySet(kWindow, row.set.data(), row.undo, failures), row.refused);
        EXPECT_EQ(Text(failures), row.failures);
        ExpectAllLetGoFirst();
        for (int i = 0; i < HOTKEY_COUNT; i++) {
            if (row.set[i] != 0) {
                EXPECT_EQ(HeldByProgram(row.set[i]), ((row.held >> i) & 1) != 0) << "hotkey " << i;
            }
            if (std::count(row.set.begin(), row.set.end(), kStandard[i].combination) == 0) {
                EXPECT_FALSE(HeldByProgram(kStandard[i].combination)) << "hotkey " << i << " still holds its old combination";
            }
        }
        testing::Mock::VerifyAndClearExpectations(&win);
    }

    // The dialog lets go of all ten while it is open.
    FakeHotkeysReset();
    calls.clear();
    for (const auto &standard : kStandard)
        FakeHotkeyRegister(TRUE, kWindow, standard.command, HOTKEY_MODIFIERS(standard.combination), HOTKEY_KEY(standard.combination));
    LogRegistrations();
    UnregisterHotkeySet(kWindow);
    EXPECT_EQ(calls.size(), 10u);
    for (const auto &standard : kStandard)
        EXPECT_FALSE(HeldByProgram(standard.combination));
}

// The start-up warning names each combination in force that another program
// holds, in the order of registration; with the standard set it reads as ever.
TEST_F(Hotkeys, StartupWarningNamesTheCombinationsInForceThatWereRefused)
{
    const std::u16string heading = u"注册热键失败，部分功能你将无法正常使用。\r\n\r\n以下热键未能注册（可改用托盘菜单）：";
    std::vector<DWORD> allTen;
    for (const auto &standard : kStandard)
        allTen.push_back(standard.combination);
    const struct {
        std::vector<DWORD> set;
        std::vector<DWORD> heldElsewhere;
        std::u16string names;  // empty: no warning
    } rows[] = {
        {StandardWith({}), {}, u""},
        {StandardWith({}), {kStandard[kExit].combination}, u"\r\n退出程序（Shift+End）"},
        {StandardWith({}), {kStandard[kExit].combination, kStandard[kScreenshot].combination},
         u"\r\n退出程序（Shift+End）\r\n屏幕截图（Ctrl+F3）"},
        {StandardWith({}), allTen,
         u"\r\n加大音量（Ctrl+→）\r\n减小音量（Ctrl+←）\r\n静音（Ctrl+End）\r\n加大亮度（Ctrl+↑）\r\n减小亮度（Ctrl+↓）"
         u"\r\n默认亮度（Ctrl+Home）\r\n隐藏/显示程序（Ctrl+F12）\r\n退出程序（Shift+End）\r\n关闭显示器（Shift+Insert）"
         u"\r\n屏幕截图（Ctrl+F3）"},
        {StandardWith({{kScreenshot, kCtrlAltS}}), {kCtrlAltS}, u"\r\n屏幕截图（Ctrl+Alt+S）"},
        {StandardWith({{kScreenshot, kCtrlAltS}}), {kStandard[kScreenshot].combination}, u""},
        {StandardWith({{kToggle, 0}, {kExit, 0}}), {kStandard[kToggle].combination, kStandard[kExit].combination}, u""},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.names));
        FakeHotkeysReset();
        calls.clear();
        HoldElsewhere(row.heldElsewhere);
        std::copy(row.set.begin(), row.set.end(), appState.hotkeys);
        LogRegistrations();
        if (!row.names.empty())
            EXPECT_CALL(win, MessageBoxW(nullptr, WideEq(heading + row.names), WideEq(u"Ombrivale"), MB_ICONWARNING));
        RegisterHotkeysInForce(kWindow);
        ExpectAllLetGoFirst();
        testing::Mock::VerifyAndClearExpectations(&win);
    }
}

// The standard set writes nothing: its values go, and where there is no key
// nothing is created. Any other combination, off included, is written.
TEST_F(Hotkeys, SavingWritesWhatDiffersFromTheStandardAndDeletesTheRest)
{
    const struct {
        const char *what;
        std::vector<DWORD> set;
        LSTATUS opened;          // the key's open or creation
        LSTATUS failingChange;   // the answer of the third change
        LSTATUS result;
    } rows[] = {
        {"the standard set, no key", StandardWith({}), ERROR_FILE_NOT_FOUND, 0, ERROR_SUCCESS},
        {"the standard set, values gone already", StandardWith({}), ERROR_SUCCESS, ERROR_FILE_NOT_FOUND, ERROR_SUCCESS},
        {"the standard set, key not ours to change", StandardWith({}), ERROR_ACCESS_DENIED, 0, ERROR_ACCESS_DENIED},
        {"one moved, one off", StandardWith({{kExit, kCtrlAltQ}, {kMute, 0}}), ERROR_SUCCESS, 0, ERROR_SUCCESS},
        {"a change refused", StandardWith({{kExit, kCtrlAltQ}, {kMute, 0}}), ERROR_SUCCESS, ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED},
        {"the key cannot be created", StandardWith({{kExit, kCtrlAltQ}}), ERROR_ACCESS_DENIED, 0, ERROR_ACCESS_DENIED},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        const bool writes = row.set != StandardWith({});
        InSequence order;
        if (writes)
            EXPECT_CALL(win, RegCreateKeyExW(HKEY_CURRENT_USER, WideEq(kKeyPath), 0, nullptr, 0, KEY_SET_VALUE, nullptr, _, nullptr))
                .WillOnce(DoAll(SetArgPointee<7>(kKey), Return(row.opened)));
        else
            EXPECT_CALL(win, RegOpenKeyExW(HKEY_CURRENT_USER, WideEq(kKeyPath), 0, KEY_SET_VALUE, _))
                .WillOnce(DoAll(SetArgPointee<4>(kKey), Return(row.opened)));
        if (row.opened == ERROR_SUCCESS) {
            for (int i = 0; i < HOTKEY_COUNT; i++) {
                LSTATUS answer = i == 2 ? row.failingChange : ERROR_SUCCESS;
                if (row.set[i] == kStandard[i].combination)
                    EXPECT_CALL(win, RegDeleteValueW(kKey, WideEq(kStandard[i].valueName))).WillOnce(Return(answer));
                else
                    EXPECT_CALL(win, RegSetValueExW(kKey, WideEq(kStandard[i].valueName), 0, REG_DWORD, _, 4))
                        .WillOnce(Invoke([&row, i, answer](HKEY, LPCWSTR, DWORD, DWORD, const BYTE *data, DWORD) {
                            DWORD value;
                            std::memcpy(&value, data, 4);
                            EXPECT_EQ(value, row.set[i]);
                            return answer;
                        }));
            }
            EXPECT_CALL(win, RegCloseKey(kKey)).WillOnce(Return(ERROR_SUCCESS));
        }
        EXPECT_EQ(SaveHotkeySettings(row.set.data()), row.result);
        testing::Mock::VerifyAndClearExpectations(&win);
    }
}

// The entries name what is in force; the standard one already read right in the
// menu as loaded and are left alone.
TEST_F(Hotkeys, SubmenuEntriesNameTheCombinationsInForceAndGrayHideWhileItsHotkeyIsOff)
{
    const struct {
        const char *what;
        std::vector<DWORD> set;
        std::vector<std::pair<int, std::u16string>> entries;  // {index, text} set, in registration order
    } rows[] = {
        {"the standard set", StandardWith({}), {}},
        {"moved", StandardWith({{kExit, kCtrlAltQ}, {kScreenshot, kCtrlAltS}}),
         {{kExit, u"退出程序\tCtrl+Alt+Q"}, {kScreenshot, u"屏幕截图\tCtrl+Alt+S"}}},
        {"off", StandardWith({{kMute, 0}}), {{kMute, u"静音"}}},
        {"hide/show off", StandardWith({{kToggle, 0}}), {{kToggle, u"隐藏/显示程序"}}},
        {"hide/show moved", StandardWith({{kToggle, kCtrlAltQ}}), {{kToggle, u"隐藏/显示程序\tCtrl+Alt+Q"}}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        std::copy(row.set.begin(), row.set.end(), appState.hotkeys);
        InSequence order;
        for (const auto &entry : row.entries) {
            const bool grayed = entry.first == kToggle && row.set[kToggle] == 0;
            EXPECT_CALL(win, SetMenuItemInfoW(kSubmenu, HOTKEY_MENU_FIRST_POSITION + kStandard[entry.first].position, TRUE,
                                              Pointee(AllOf(Field(&MENUITEMINFOW::cbSize, (UINT)sizeof(MENUITEMINFOW)),
                                                            Field(&MENUITEMINFOW::fMask, grayed ? 0x41u : 0x40u),
                                                            Field(&MENUITEMINFOW::fState, grayed ? 3u : 0u),
                                                            Field(&MENUITEMINFOW::dwTypeData, WideEq(entry.second))))))
                .WillOnce(Return(TRUE));
        }
        ShowHotkeysInMenu(kSubmenu);
        testing::Mock::VerifyAndClearExpectations(&win);
    }
}

// One table serves the menu, the registry and the dialog: each action's
// command, value, position and standard, and the submenu's order.
TEST_F(Hotkeys, ActionsMatchTheMenuAndTheRegistryValues)
{
    for (int i = 0; i < HOTKEY_COUNT; i++) {
        SCOPED_TRACE(i);
        EXPECT_EQ(kHotkeyActions[i].command, kStandard[i].command);
        EXPECT_EQ(kHotkeyActions[i].standard, kStandard[i].combination);
        EXPECT_EQ(Text(kHotkeyActions[i].valueName), kStandard[i].valueName);
        EXPECT_EQ(kHotkeyActions[i].menuPosition, kStandard[i].position);
        EXPECT_EQ(Text(kHotkeyActions[i].name) + u"\t" + Name(kHotkeyActions[i].standard), kStandard[i].caption);
    }
    UINT previous = 0;
    for (int i = 0; i < HOTKEY_COUNT; i++) {
        UINT position = kStandard[kHotkeyMenuOrder[i]].position;
        EXPECT_TRUE(i == 0 || position > previous) << "menu order " << i;
        previous = position;
    }
}

}  // namespace
