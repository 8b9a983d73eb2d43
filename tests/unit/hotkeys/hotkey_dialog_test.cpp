// The hotkey settings dialog: the control's flags against the program's
// modifiers, opening one dialog at a time, and what OK, Cancel and the
// standard button leave registered and saved.
#include <map>
#include <string>
#include <vector>

#include "hotkeys/hotkey_control.h"
#include "hotkeys/hotkey_dialog.h"
#include "hotkeys/hotkey_set.h"
#include "resources/resource_ids.h"
#include "tests/doubles/routines_test.h"
#include "hotkeys_test.h"

namespace {

const HWND kDialog = FakeHandle<HWND>(0x10);
const HINSTANCE kInstance = FakeHandle<HINSTANCE>(0x400000);
const HMODULE kComctl = FakeHandle<HMODULE>(0x7800);
const HKEY kHotkeysKey = FakeHandle<HKEY>(0x7900);
const char16_t kCaption[] = u"Ombrivale 热键设置";

const DWORD kCtrlAltM = Combination(MOD_CONTROL | MOD_ALT, 'M');

// The standard ten in the dialog's rows (the submenu's order), as the
// controls hold them: the arrows, End, Home and Insert with their extended flag.
const std::vector<WORD> kStandardRows = {0x0A27, 0x0A25, 0x0A23, 0x0A26, 0x0A28, 0x0A24, 0x092D, 0x0272, 0x027B, 0x0923};

// Each row's control answers to its own identifier.
HWND RowControl(int row)
{
    return FakeHandle<HWND>(IDC_HOTKEY_FIRST + row);
}

class HotkeyDialog : public RoutinesTest {
protected:
    HotkeyDialog()
    {
        appState.instance = kInstance;
        for (int i = 0; i < HOTKEY_COUNT; i++)
            appState.hotkeys[i] = kHotkeyActions[i].standard;
        ON_CALL(win, GetDlgItem(kDialog, _)).WillByDefault(Invoke([](HWND, int id) { return FakeHandle<HWND>(id); }));
        EXPECT_CALL(win, GetDlgItem(kDialog, _)).Times(AnyNumber());
    }

    // As WM_INITDIALOG leaves it, with the set in force registered before.
    void OpenAsTheDialog()
    {
        RegisterInForce();
        EXPECT_CALL(win, UnregisterHotKey(kWindow, _)).Times(AnyNumber());
        EXPECT_CALL(win, SetDlgItemTextW(kDialog, _, _)).Times(AnyNumber());
        EXPECT_CALL(win, SendMessageA(_, HKM_SETRULES, _, _)).Times(AnyNumber());
        EXPECT_CALL(win, SendMessageA(_, HKM_SETHOTKEY, _, _)).Times(AnyNumber());
        EXPECT_EQ(HotkeyDialogProc(kDialog, WM_INITDIALOG, 0, (LPARAM)kWindow), TRUE);
        testing::Mock::VerifyAndClearExpectations(&win);
        EXPECT_CALL(win, GetDlgItem(kDialog, _)).Times(AnyNumber());
    }

    static void RegisterInForce()
    {
        for (int i = 0; i < HOTKEY_COUNT; i++) {
            DWORD combination = appState.hotkeys[i];
            if (combination != 0)
                FakeHotkeyRegister(TRUE, kWindow, kHotkeyActions[i].command, combination & 0xFFFF, combination >> 16);
        }
    }

    // The rows' controls hold these values when OK reads them.
    void ControlsHold(std::vector<WORD> rows)
    {
        for (int row = 0; row < HOTKEY_COUNT; row++)
            EXPECT_CALL(win, SendMessageA(RowControl(row), HKM_GETHOTKEY, 0, 0)).WillOnce(Return(rows[row]));
    }

    // Registration's calls, whose order the registration's own tests check:
    // here only what ends up held counts.
    void AllowRegistration()
    {
        EXPECT_CALL(win, UnregisterHotKey(kWindow, _)).Times(AnyNumber());
        EXPECT_CALL(win, RegisterHotKey(kWindow, _, _, _)).WillRepeatedly(Return(TRUE));
    }

    // Which of the set the window holds, each by its identifier's combination.
    static std::vector<bool> Held(const DWORD set[HOTKEY_COUNT])
    {
        std::vector<bool> held;
        for (int i = 0; i < HOTKEY_COUNT; i++)
            held.push_back(set[i] != 0 && FakeHotkeyHeld(kWindow, set[i] & 0xFFFF, set[i] >> 16));
        return held;
    }

    static DWORD Standard(int i) { return kHotkeyActions[i].standard; }

    INT_PTR Press(WPARAM button) { return HotkeyDialogProc(kDialog, WM_COMMAND, button, 0); }
};

}  // namespace

// HOTKEYF_SHIFT 1, HOTKEYF_CONTROL 2, HOTKEYF_ALT 4 against MOD_ALT 1,
// MOD_CONTROL 2, MOD_SHIFT 4; HOTKEYF_EXT 8 only for the keys that have an
// extended scan code, the first and last of the run around them included.
TEST(HotkeyControlValue, ConvertsTheFlagsBothWaysAndMarksTheExtendedKeys)
{
    const struct { DWORD combination; WORD control; } cases[] = {
        {0, 0},
        {Combination(MOD_CONTROL, VK_RIGHT), 0x0A27},
        {Combination(MOD_SHIFT, VK_INSERT), 0x092D},
        {Combination(MOD_ALT, VK_DELETE), 0x0C2E},
        {Combination(MOD_CONTROL | MOD_ALT | MOD_SHIFT, VK_NEXT), 0x0F22},
        {Combination(MOD_ALT | MOD_SHIFT, VK_PRIOR), 0x0D21},
        {Combination(MOD_CONTROL, VK_DOWN), 0x0A28},
        {kCtrlAltQ, 0x0651},
        {Combination(MOD_SHIFT | MOD_ALT, VK_F3), 0x0572},
        {Combination(MOD_CONTROL, 0x20), 0x0220},  // Space, just below PageUp
        {Combination(MOD_CONTROL, 0x29), 0x0229},  // Select, just above ↓
        {Combination(MOD_CONTROL, VK_SNAPSHOT), 0x022C},
        {Combination(MOD_CONTROL, 0x2F), 0x022F},  // Help, just above Delete
        {Combination(MOD_CONTROL, VK_NUMPAD4), 0x0264},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.combination);
        EXPECT_EQ(HotkeyControlValue(c.combination), c.control);
        EXPECT_EQ(CombinationOfHotkeyControl(c.control), c.combination);
    }
}

// What a control can answer that is no combination, and the extended flag
// that is no modifier.
TEST(HotkeyControlValue, ReadsNoKeyOrNoModifierAsOffAndIgnoresTheExtendedFlag)
{
    const struct { LRESULT control; DWORD combination; } cases[] = {
        {0x0051, 0},                         // a plain key
        {0x0851, 0},                         // the extended flag alone
        {0x0600, 0},                         // modifiers without a key
        {0x0E51, kCtrlAltQ},                 // a letter with the extended flag
        {0x0227, Combination(MOD_CONTROL, VK_RIGHT)},  // the arrow without it
    };
    for (const auto &c : cases)
        EXPECT_EQ(CombinationOfHotkeyControl(c.control), c.combination) << std::hex << c.control;
}

// The dialog asks for none of the ten while it is open; the labels follow
// the submenu's order, and each control refuses a plain key and shows the
// combination in force, or nothing when its hotkey is off.
TEST_F(HotkeyDialog, OpeningReleasesTheTenAndShowsTheSetInForce)
{
    appState.hotkeys[2] = 0;           // mute off
    appState.hotkeys[7] = kCtrlAltQ;   // exit moved
    RegisterInForce();
    const DWORD inForce[HOTKEY_COUNT] = {Standard(0), Standard(1), 0, Standard(3), Standard(4),
                                         Standard(5), Standard(6), kCtrlAltQ, Standard(8), Standard(9)};
    const char16_t *labels[] = {u"加大音量", u"减小音量", u"静音", u"加大亮度", u"减小亮度",
                                u"默认亮度", u"关闭显示器", u"屏幕截图", u"隐藏/显示程序", u"退出程序"};
    std::vector<WORD> rows = kStandardRows;
    rows[2] = 0;
    rows[9] = 0x0651;
    {
        InSequence order;
        for (const HotkeyAction &action : kHotkeyActions)
            EXPECT_CALL(win, UnregisterHotKey(kWindow, action.command)).WillOnce(Return(TRUE));
        for (int row = 0; row < HOTKEY_COUNT; row++) {
            EXPECT_CALL(win, SetDlgItemTextW(kDialog, IDC_HOTKEY_LABEL_FIRST + row, WideEq(labels[row])));
            EXPECT_CALL(win, SendMessageA(RowControl(row), HKM_SETRULES, HKCOMB_NONE, HOTKEYF_CONTROL | HOTKEYF_ALT));
        }
        for (int row = 0; row < HOTKEY_COUNT; row++)
            EXPECT_CALL(win, SendMessageA(RowControl(row), HKM_SETHOTKEY, rows[row], 0));
    }
    EXPECT_EQ(HotkeyDialogProc(kDialog, WM_INITDIALOG, 0, (LPARAM)kWindow), TRUE) << "focus on the first control";
    EXPECT_EQ(appState.hotkeyDialog, kDialog);
    EXPECT_EQ(Held(inForce), std::vector<bool>(HOTKEY_COUNT, false));
}

// Only put into the controls: nothing is registered or saved before OK.
TEST_F(HotkeyDialog, DefaultsButtonPutsTheStandardTenIntoTheControls)
{
    OpenAsTheDialog();
    InSequence order;
    for (int row = 0; row < HOTKEY_COUNT; row++)
        EXPECT_CALL(win, SendMessageA(RowControl(row), HKM_SETHOTKEY, kStandardRows[row], 0));
    EXPECT_EQ(Press(IDC_HOTKEY_DEFAULTS), TRUE);
    EXPECT_EQ(appState.hotkeyDialog, kDialog);
}

// Two actions on one combination are both named; another program's
// combination refused at the third of ten registrations lets go of the
// ones taken; in both the dialog stays open and nothing changes.
TEST_F(HotkeyDialog, OkWithDuplicatesOrATakenCombinationWarnsAndKeepsEverything)
{
    const struct { const char *what; bool registers; std::vector<WORD> rows; const char16_t *text; } cases[] = {
        {"duplicates", false,
         {0x0A27, 0x0A25, 0x0651, 0x0A26, 0x0A28, 0x0A24, 0x0651, 0x0272, 0x027B, 0x0651},
         u"以下热键重复，请另选：\r\n静音（Ctrl+Alt+Q）\r\n关闭显示器（Ctrl+Alt+Q）\r\n退出程序（Ctrl+Alt+Q）"},
        {"taken by another program", true,
         {0x0A27, 0x0A25, 0x064D, 0x0A26, 0x0A28, 0x0A24, 0x092D, 0x0272, 0x027B, 0x0651},
         u"以下热键已被其他程序占用，请另选：\r\n静音（Ctrl+Alt+M）"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        FakeHotkeysReset();
        appState.hotkeys[6] = 0;  // hide/show off
        OpenAsTheDialog();
        FakeHotkeyRegister(TRUE, kOtherProgram, 1, MOD_CONTROL | MOD_ALT, 'M');
        ControlsHold(c.rows);
        if (c.registers)
            AllowRegistration();
        EXPECT_CALL(win, MessageBoxW(kDialog, WideEq(c.text), WideEq(kCaption), MB_ICONWARNING)).WillOnce(Return(IDOK));
        EXPECT_EQ(Press(IDOK), TRUE);
        EXPECT_EQ(appState.hotkeyDialog, kDialog);
        EXPECT_EQ(appState.hotkeys[6], 0u);
        EXPECT_EQ(appState.hotkeys[2], Standard(2));
        const DWORD standard[HOTKEY_COUNT] = {Standard(0), Standard(1), Standard(2), Standard(3), Standard(4),
                                            Standard(5), Standard(6), Standard(7), Standard(8), Standard(9)};
        EXPECT_EQ(Held(standard), std::vector<bool>(HOTKEY_COUNT, false)) << "none registered while open";
        EXPECT_FALSE(FakeHotkeyHeld(kWindow, MOD_CONTROL | MOD_ALT, 'Q')) << "let go of after the refusal";
        testing::Mock::VerifyAndClearExpectations(&win);
        EXPECT_CALL(win, GetDlgItem(kDialog, _)).Times(AnyNumber());
    }
}

// The new set is in force and saved: a combination unlike the standard one is
// written, one like it deleted (gone already is as good). A refused write
// is named with the system's words and the set stays in force for the run.
TEST_F(HotkeyDialog, OkRegistersTheNewSetThenSavesItOrNamesTheWriteError)
{
    const struct { const char *what; LSTATUS created; } cases[] = {
        {"saved", ERROR_SUCCESS},
        {"refused write", ERROR_ACCESS_DENIED},
    };
    // Mute off, exit moved to Ctrl+Alt+Q.
    const std::vector<WORD> rows = {0x0A27, 0x0A25, 0, 0x0A26, 0x0A28, 0x0A24, 0x092D, 0x0272, 0x027B, 0x0651};
    const DWORD chosen[HOTKEY_COUNT] = {Standard(0), Standard(1), 0, Standard(3), Standard(4),
                                        Standard(5), Standard(6), kCtrlAltQ, Standard(8), Standard(9)};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        FakeHotkeysReset();
        OpenAsTheDialog();
        ControlsHold(rows);
        AllowRegistration();
        Sequence saving;
        EXPECT_CALL(win, RegCreateKeyExW(HKEY_CURRENT_USER, WideEq(u"Software\\Ombrivale\\Hotkeys"), 0, nullptr, 0,
                                         KEY_SET_VALUE, nullptr, _, nullptr))
            .InSequence(saving)
            .WillOnce(DoAll(SetArgPointee<7>(kHotkeysKey), Return(c.created)));
        if (c.created == ERROR_SUCCESS) {
            DWORD written[2] = {99, 99};
            EXPECT_CALL(win, RegSetValueExW(kHotkeysKey, WideEq(u"Mute"), 0, REG_DWORD, _, 4))
                .WillOnce(DoAll(Invoke([&](HKEY, LPCWSTR, DWORD, DWORD, const BYTE *data, DWORD) {
                                    memcpy(&written[0], data, 4);
                                }),
                                Return(ERROR_SUCCESS)));
            EXPECT_CALL(win, RegSetValueExW(kHotkeysKey, WideEq(u"Exit"), 0, REG_DWORD, _, 4))
                .WillOnce(DoAll(Invoke([&](HKEY, LPCWSTR, DWORD, DWORD, const BYTE *data, DWORD) {
                                    memcpy(&written[1], data, 4);
                                }),
                                Return(ERROR_SUCCESS)));
            EXPECT_CALL(win, RegDeleteValueW(kHotkeysKey, _)).Times(8).WillRepeatedly(Return(ERROR_FILE_NOT_FOUND));
            EXPECT_CALL(win, RegCloseKey(kHotkeysKey)).InSequence(saving).WillOnce(Return(ERROR_SUCCESS));
            EXPECT_CALL(win, EndDialog(kDialog, 0)).InSequence(saving).WillOnce(Return(TRUE));
            EXPECT_EQ(Press(IDOK), TRUE);
            EXPECT_EQ(written[0], 0u) << "mute off";
            EXPECT_EQ(written[1], 0x00510003u) << "exit on Ctrl+Alt+Q";
        } else {
            EXPECT_CALL(win, FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, 5, 0, _,
                                            _, nullptr))
                .InSequence(saving)
                .WillOnce(Invoke([](DWORD, LPCVOID, DWORD, DWORD, LPWSTR buffer, DWORD size, va_list *) {
                    EXPECT_GE(size, 20u) << "room for the system's message";
                    lstrcpyW(buffer, u"拒绝访问。\r\n");
                    return (DWORD)7;
                }));
            EXPECT_CALL(win, MessageBoxW(kDialog,
                                         WideEq(u"新的热键已生效，但未能保存，下次启动时不再使用（错误 5）：\r\n拒绝访问。\r\n"),
                                         WideEq(kCaption), MB_ICONWARNING))
                .InSequence(saving)
                .WillOnce(Return(IDOK));
            EXPECT_CALL(win, EndDialog(kDialog, 0)).InSequence(saving).WillOnce(Return(TRUE));
            EXPECT_EQ(Press(IDOK), TRUE);
        }
        EXPECT_EQ(appState.hotkeyDialog, nullptr);
        for (int i = 0; i < HOTKEY_COUNT; i++)
            EXPECT_EQ(appState.hotkeys[i], chosen[i]) << i;
        std::vector<bool> held(HOTKEY_COUNT, true);
        held[2] = false;
        EXPECT_EQ(Held(chosen), held);
        EXPECT_FALSE(FakeHotkeyHeld(NULL, MOD_SHIFT, VK_END)) << "exit's old combination is free";
        testing::Mock::VerifyAndClearExpectations(&win);
        EXPECT_CALL(win, GetDlgItem(kDialog, _)).Times(AnyNumber());
    }
}

// Cancel (also Esc and the close button) and the program's exit, which
// destroys the dialog without either: nothing is read or saved, the set in
// force comes back, and one of its combinations taken meanwhile is named
// as at start-up. A dialog destroyed after it ended does nothing more.
TEST_F(HotkeyDialog, CancelOrExitRegistersTheSetInForceAgainAndSavesNothing)
{
    const struct { const char *what; UINT message; WPARAM wParam; bool taken; } cases[] = {
        {"Cancel", WM_COMMAND, IDCANCEL, false},
        {"Cancel, screenshot taken meanwhile", WM_COMMAND, IDCANCEL, true},
        {"exit", WM_DESTROY, 0, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        FakeHotkeysReset();
        appState.hotkeys[7] = kCtrlAltQ;
        OpenAsTheDialog();
        if (c.taken)
            FakeHotkeyRegister(TRUE, kOtherProgram, 1, MOD_CONTROL, VK_F3);
        AllowRegistration();
        EXPECT_CALL(win, EndDialog(kDialog, 0)).WillOnce(Return(TRUE));
        if (c.taken)
            EXPECT_CALL(win, MessageBoxW(nullptr,
                                         WideEq(u"注册热键失败，部分功能你将无法正常使用。\r\n\r\n以下热键未能注册"
                                                u"（可改用托盘菜单）：\r\n屏幕截图（Ctrl+F3）"),
                                         WideEq(u"Ombrivale"), MB_ICONWARNING))
                .WillOnce(Return(IDOK));
        EXPECT_EQ(HotkeyDialogProc(kDialog, c.message, c.wParam, 0), c.message == WM_COMMAND ? TRUE : FALSE);
        EXPECT_EQ(appState.hotkeyDialog, nullptr);
        std::vector<bool> held(HOTKEY_COUNT, true);
        held[9] = !c.taken;
        EXPECT_EQ(Held(appState.hotkeys), held);
        EXPECT_EQ(appState.hotkeys[7], kCtrlAltQ);
        testing::Mock::VerifyAndClearExpectations(&win);
        // Ended: its destruction, or a second click queued behind the first, does nothing.
        EXPECT_EQ(HotkeyDialogProc(kDialog, WM_DESTROY, 0, 0), FALSE);
        EXPECT_EQ(Press(IDOK), TRUE);
        EXPECT_CALL(win, GetDlgItem(kDialog, _)).Times(AnyNumber());
    }
}

// comctl32 from the system folder by its full path, the control's class
// registered through the looked-up entry, freed once the dialog is gone; an
// open dialog comes to the front instead of a second one. One that has
// ended is no longer open, though its DialogBoxParamW has not returned: a
// loop nested in its own (an armed reminder's) may hold that return.
TEST_F(HotkeyDialog, OneDialogAtATimeAndAnEndedOneMakesRoomAtOnce)
{
    static INITCOMMONCONTROLSEX asked;
    using InitCall = BOOL (*)(const INITCOMMONCONTROLSEX *);
    static const InitCall kInitialises = [](const INITCOMMONCONTROLSEX *classes) -> BOOL {
        asked = *classes;
        return TRUE;
    };
    static const InitCall kFails = [](const INITCOMMONCONTROLSEX *) -> BOOL { return FALSE; };
    auto expectLoad = [&](BOOL initialised) {
        EXPECT_CALL(win, GetSystemDirectoryW(_, MAX_PATH)).WillOnce(ReturnFolder(u"C:\\WINDOWS\\system32"));
        EXPECT_CALL(win, LoadLibraryW(WideEq(u"C:\\WINDOWS\\system32\\comctl32.dll"))).WillOnce(Return(kComctl));
        EXPECT_CALL(win, GetProcAddress(kComctl, StrEq("InitCommonControlsEx")))
            .WillOnce(Return(AsEntry(initialised ? kInitialises : kFails)));
    };
    InSequence order;
    expectLoad(TRUE);
    EXPECT_CALL(win, DialogBoxParamW(kInstance, MAKEINTRESOURCEW(IDD_HOTKEYS), nullptr, HotkeyDialogProc, (LPARAM)kWindow))
        .WillOnce(Invoke([&](HINSTANCE, LPCWSTR, HWND, DLGPROC, LPARAM) {
            appState.hotkeyDialog = kDialog;
            OpenHotkeySettings(kWindow);  // the menu entry again: to the front
            appState.hotkeyDialog = nullptr;  // ended, its loop not yet left
            OpenHotkeySettings(kWindow);  // a new dialog
            return (INT_PTR)0;
        }));
    EXPECT_CALL(win, SetForegroundWindow(kDialog)).WillOnce(Return(TRUE));
    expectLoad(TRUE);
    EXPECT_CALL(win, DialogBoxParamW(kInstance, MAKEINTRESOURCEW(IDD_HOTKEYS), nullptr, HotkeyDialogProc, (LPARAM)kWindow))
        .WillOnce(Return(0));
    EXPECT_CALL(win, FreeLibrary(kComctl)).WillOnce(Return(TRUE));
    EXPECT_CALL(win, FreeLibrary(kComctl)).WillOnce(Return(TRUE));
    // A control class that cannot be registered: said so, and no dialog.
    expectLoad(FALSE);
    EXPECT_CALL(win, FreeLibrary(kComctl)).WillOnce(Return(TRUE));
    EXPECT_CALL(win, MessageBoxW(nullptr, WideEq(u"无法打开热键设置：系统的 comctl32.dll 不可用。"), WideEq(kCaption),
                                 MB_ICONWARNING))
        .WillOnce(Return(IDOK));
    OpenHotkeySettings(kWindow);
    EXPECT_EQ(asked.dwSize, sizeof(INITCOMMONCONTROLSEX));
    EXPECT_EQ(asked.dwICC, (DWORD)ICC_HOTKEY_CLASS);
    OpenHotkeySettings(kWindow);
}
