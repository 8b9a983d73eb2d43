// The ten hotkeys: which command each stands for, the combination the
// program ships with, the one the user chose (kept per user in the
// registry), their names, their registration, and their entries in the
// hotkey submenu.
#ifndef OMBRIVALE_HOTKEYS_HOTKEY_SET_H
#define OMBRIVALE_HOTKEYS_HOTKEY_SET_H

#include "../platform/win32.h"
#include "../state/app_state.h"

// A combination is a DWORD in WM_HOTKEY's lParam layout, which the registry
// values share: the RegisterHotKey modifiers (MOD_ALT 1, MOD_CONTROL 2,
// MOD_SHIFT 4) in the low word, the virtual key in the high word. 0: no
// hotkey (turned off).
#define HOTKEY_COMBINATION(modifiers, key) ((DWORD)(modifiers) | (DWORD)(key) << 16)
#define HOTKEY_MODIFIERS(combination) ((UINT)((combination) & 0xFFFF))
#define HOTKEY_KEY(combination) ((UINT)((combination) >> 16))

// Where the first hotkey entry sits in the hotkey submenu (热键功能(&U)); the
// table's positions count from it.
#define HOTKEY_MENU_FIRST_POSITION 2

// "Ctrl+Alt+Shift+" and a key name, with its terminating zero.
#define HOTKEY_NAME_LENGTH 48
// One line per hotkey, "\r\n名称（组合）", after a heading of up to 64
// characters, with the terminating zero.
#define HOTKEY_FAILURES_LENGTH (64 + HOTKEY_COUNT * (2 + 8 + 2 + HOTKEY_NAME_LENGTH))

// Packed: a command fits 16 bits, a position in the submenu 8.
struct HotkeyAction {
    WORD command;        // also the hotkey's identifier
    BYTE menuPosition;   // in the hotkey submenu, from HOTKEY_MENU_FIRST_POSITION
    DWORD standard;      // the combination the program ships with
    const WCHAR *name;   // as the submenu writes it before the tab
    const WCHAR *valueName;  // under HKCU\Software\Ombrivale\Hotkeys
};

// In the order of registration: volume up, down, mute, brighter, darker,
// normal brightness, hide/show, exit, monitor off, screenshot.
extern const HotkeyAction kHotkeyActions[HOTKEY_COUNT];
// The submenu's order (volume up, down, mute, brighter, darker, normal
// brightness, monitor off, screenshot, hide/show, exit), as indexes into
// kHotkeyActions.
extern const BYTE kHotkeyMenuOrder[HOTKEY_COUNT];

// Reads the user's choice into appState.hotkeys (registration order), once,
// at start-up. An absent or unusable value gives the standard combination.
void LoadHotkeySettings();

// The combination's name, "Ctrl+Alt+Q": modifiers in the order Ctrl, Alt,
// Shift, then the key. Returns its length; capacity counts WCHARs, zero
// included (HOTKEY_NAME_LENGTH always suffices). 0 names nothing.
int NameCombination(DWORD combination, WCHAR *text, int capacity);

// Unregisters all ten identifiers, so that no older combination stays beside
// a new one, then registers every non-zero combination of the set on the
// window, in order. Appends "\r\n名称（组合）" to failures (a zero-ended text of
// HOTKEY_FAILURES_LENGTH) for each combination refused, and returns how many
// were. With undoOnFailure, a refusal unregisters the ones this call
// registered before it returns. A turned-off hotkey is no failure.
int RegisterHotkeySet(HWND window, const DWORD set[HOTKEY_COUNT], bool undoOnFailure, WCHAR *failures);
// Appends "\r\n名称（组合）" for the action on that combination to text.
void AppendHotkeyLine(WCHAR *text, const HotkeyAction &action, DWORD combination);
// Releases all ten identifiers of the window.
void UnregisterHotkeySet(HWND window);
// Registers the set in force (appState.hotkeys) and, when any combination is
// refused, shows the start-up warning naming each.
void RegisterHotkeysInForce(HWND window);

// Writes each combination that differs from the standard one, deletes the value
// of each that equals it. ERROR_SUCCESS, or the first error.
LSTATUS SaveHotkeySettings(const DWORD set[HOTKEY_COUNT]);

// The entries of the hotkey submenu name the combinations in force; the
// hide/show entry is grayed while its hotkey is off, as nothing could bring
// a hidden icon back.
void ShowHotkeysInMenu(HMENU hotkeySubmenu);

#endif
