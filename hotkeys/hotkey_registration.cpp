#include "hotkey_set.h"

static constexpr WCHAR kHotkeyWarning[] =
    WIDE("注册热键失败，部分功能你将无法正常使用。\r\n\r\n以下热键未能注册（可改用托盘菜单）：");
static_assert(sizeof kHotkeyWarning / sizeof kHotkeyWarning[0] <= 64, "the heading fits HOTKEY_FAILURES_LENGTH");

// "\r\n名称（组合）", as the menu shows the entry, its keys in brackets.
void AppendHotkeyLine(WCHAR *failures, const HotkeyAction &action, DWORD combination)
{
    WCHAR name[HOTKEY_NAME_LENGTH];
    NameCombination(combination, name, HOTKEY_NAME_LENGTH);
    lstrcatW(failures, WIDE("\r\n"));
    lstrcatW(failures, action.name);
    lstrcatW(failures, WIDE("（"));
    lstrcatW(failures, name);
    lstrcatW(failures, WIDE("）"));
}

void UnregisterHotkeySet(HWND window)
{
    for (const HotkeyAction &action : kHotkeyActions)
        UnregisterHotKey(window, action.command);
}

// Windows keeps an identifier's older combination beside a newer one
// registered under it, so all ten are let go of first: before any, as one
// may take over another's combination. At start-up there is nothing to let
// go of, which does no harm.
int RegisterHotkeySet(HWND window, const DWORD set[HOTKEY_COUNT], bool undoOnFailure, WCHAR *failures)
{
    bool registered[HOTKEY_COUNT] = {};
    int refused = 0;
    UnregisterHotkeySet(window);
    for (int i = 0; i < HOTKEY_COUNT; i++) {
        const HotkeyAction &action = kHotkeyActions[i];
        if (set[i] == 0)
            continue;
        registered[i] = RegisterHotKey(window, action.command, HOTKEY_MODIFIERS(set[i]), HOTKEY_KEY(set[i])) != FALSE;
        if (registered[i])
            continue;
        refused++;
        AppendHotkeyLine(failures, action, set[i]);
    }
    for (int i = 0; undoOnFailure && refused != 0 && i < HOTKEY_COUNT; i++) {
        if (registered[i])
            UnregisterHotKey(window, kHotkeyActions[i].command);
    }
    return refused;
}

// One box for all the failures, naming each: every command is still
// reachable from the menu.
void RegisterHotkeysInForce(HWND window)
{
    WCHAR warning[HOTKEY_FAILURES_LENGTH];
    lstrcpyW(warning, kHotkeyWarning);
    if (RegisterHotkeySet(window, appState.hotkeys, false, warning) != 0)
        MessageBoxW(NULL, warning, WIDE(PROGRAM_NAME), MB_ICONWARNING);
}
