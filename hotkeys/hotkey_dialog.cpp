#include "hotkey_dialog.h"

#include "../resources/resource_ids.h"
#include "../state/app_state.h"
#include "hotkey_control.h"
#include "hotkey_set.h"

static const WCHAR kCaption[] = WIDE(PROGRAM_NAME " 热键设置");
static const WCHAR kDuplicatesHeading[] = WIDE("以下热键重复，请另选：");
static const WCHAR kTakenHeading[] = WIDE("以下热键已被其他程序占用，请另选：");
static const WCHAR kNotSavedFormat[] = WIDE("新的热键已生效，但未能保存，下次启动时不再使用（错误 %u）：\r\n");
static const WCHAR kNoControlText[] = WIDE("无法打开热键设置：系统的 comctl32.dll 不可用。");

// Room for the not-saved text and the system's message of the error.
static const int kNotSavedLength = 256;

// The dialog's rows follow the submenu's order; a set is in registration order.
static HWND RowControl(HWND dialog, int row)
{
    return GetDlgItem(dialog, IDC_HOTKEY_FIRST + row);
}

static void ShowSet(HWND dialog, const DWORD set[HOTKEY_COUNT])
{
    for (int row = 0; row < HOTKEY_COUNT; row++)
        SendMessageA(RowControl(dialog, row), HKM_SETHOTKEY, HotkeyControlValue(set[kHotkeyMenuOrder[row]]), 0);
}

// Every control is read: nothing tracks which ones the user changed.
static void ReadSet(HWND dialog, DWORD set[HOTKEY_COUNT])
{
    for (int row = 0; row < HOTKEY_COUNT; row++)
        set[kHotkeyMenuOrder[row]] = CombinationOfHotkeyControl(SendMessageA(RowControl(dialog, row), HKM_GETHOTKEY, 0, 0));
}

// Only shown: like any change, the standard set takes effect at OK.
static void ShowStandard(HWND dialog)
{
    DWORD standard[HOTKEY_COUNT];
    for (int i = 0; i < HOTKEY_COUNT; i++)
        standard[i] = kHotkeyActions[i].standard;
    ShowSet(dialog, standard);
}

// Names, in the submenu's order, each action whose combination another one has too.
static bool ListDuplicates(const DWORD set[HOTKEY_COUNT], WCHAR *text)
{
    bool any = false;
    for (int row = 0; row < HOTKEY_COUNT; row++) {
        int i = kHotkeyMenuOrder[row];
        for (int other = 0; other < HOTKEY_COUNT; other++) {
            if (other == i || set[i] == 0 || set[other] != set[i])
                continue;
            AppendHotkeyLine(text, kHotkeyActions[i], set[i]);
            any = true;
            break;
        }
    }
    return any;
}

static void Warn(HWND dialog, const WCHAR *text)
{
    MessageBoxW(dialog, text, kCaption, MB_ICONWARNING);
}

// Marked closed where it ends, not where DialogBoxParamW returns: a loop
// nested in the dialog's own (an armed reminder's hidden dialog) can hold
// that return for hours, and the menu entry must open a new dialog meanwhile.
static void EndHotkeyDialog(HWND dialog)
{
    appState.hotkeyDialog = NULL;
    EndDialog(dialog, 0);
}

static void ReportNotSaved(HWND dialog, LSTATUS status)
{
    WCHAR text[kNotSavedLength];
    int length = wsprintfW(text, kNotSavedFormat, (UINT)status);
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL, (DWORD)status, 0,
                   text + length, kNotSavedLength - length, NULL);
    Warn(dialog, text);
}

// Duplicates first, then the registration, which lets go of all it took
// when any combination is refused: the dialog then stays open with none of
// the ten registered, and nothing is saved.
static void OnOk(HWND dialog)
{
    DWORD set[HOTKEY_COUNT];
    ReadSet(dialog, set);
    WCHAR text[HOTKEY_FAILURES_LENGTH];
    lstrcpyW(text, kDuplicatesHeading);
    if (ListDuplicates(set, text))
        return Warn(dialog, text);
    lstrcpyW(text, kTakenHeading);
    if (RegisterHotkeySet(appState.hotkeyWindow, set, true, text) != 0)
        return Warn(dialog, text);
    for (int i = 0; i < HOTKEY_COUNT; i++)
        appState.hotkeys[i] = set[i];
    LSTATUS status = SaveHotkeySettings(set);
    if (status != ERROR_SUCCESS)
        ReportNotSaved(dialog, status);
    EndHotkeyDialog(dialog);
}

// Nothing is saved; the set in force comes back, and one of its
// combinations that another program took meanwhile is named as at start-up.
static void OnCancel(HWND dialog)
{
    EndHotkeyDialog(dialog);
    RegisterHotkeysInForce(appState.hotkeyWindow);
}

// A command that reaches a dialog already ended (a second click queued
// behind the first) does nothing more. A control's notification carries its
// code in the high word and matches none of the buttons.
static INT_PTR OnCommand(HWND dialog, WPARAM wParam)
{
    if (dialog != appState.hotkeyDialog)
        return TRUE;
    if (wParam == IDOK)
        OnOk(dialog);
    else if (wParam == IDCANCEL)
        OnCancel(dialog);
    else if (wParam == IDC_HOTKEY_DEFAULTS)
        ShowStandard(dialog);
    return TRUE;
}

// The program's exit ends the modal loop, which destroys the dialog without
// OK or Cancel: that counts as Cancel (its EndDialog then changes nothing).
static INT_PTR OnDestroy(HWND dialog)
{
    if (dialog == appState.hotkeyDialog)
        OnCancel(dialog);
    return FALSE;
}

// None of the ten stays registered while the dialog is open, so that any
// combination, the ones in force included, can be typed into a control
// without running its command. A plain key is no combination: the control
// turns it into Ctrl+Alt and that key.
static INT_PTR OnInitDialog(HWND dialog, HWND window)
{
    appState.hotkeyDialog = dialog;
    appState.hotkeyWindow = window;
    UnregisterHotkeySet(window);
    for (int row = 0; row < HOTKEY_COUNT; row++) {
        SetDlgItemTextW(dialog, IDC_HOTKEY_LABEL_FIRST + row, kHotkeyActions[kHotkeyMenuOrder[row]].name);
        SendMessageA(RowControl(dialog, row), HKM_SETRULES, HKCOMB_NONE, HOTKEYF_CONTROL | HOTKEYF_ALT);
    }
    ShowSet(dialog, appState.hotkeys);
    return TRUE;
}

INT_PTR CALLBACK HotkeyDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND)
        return OnCommand(dialog, wParam);
    if (message == WM_DESTROY)
        return OnDestroy(dialog);
    if (message == WM_INITDIALOG)
        return OnInitDialog(dialog, (HWND)lParam);
    return FALSE;
}

void OpenHotkeySettings(HWND window)
{
    if (appState.hotkeyDialog != NULL) {
        SetForegroundWindow(appState.hotkeyDialog);
        return;
    }
    HMODULE comctl = LoadHotkeyControlClass();
    if (comctl == NULL) {
        MessageBoxW(NULL, kNoControlText, kCaption, MB_ICONWARNING);
        return;
    }
    DialogBoxParamW(appState.instance, MAKEINTRESOURCEW(IDD_HOTKEYS), NULL, HotkeyDialogProc, (LPARAM)window);
    FreeLibrary(comctl);
}
