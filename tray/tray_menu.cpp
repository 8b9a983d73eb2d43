#include "tray_menu.h"

#include "../hotkeys/hotkey_set.h"
#include "../state/app_state.h"
#include "../resources/resource_ids.h"

#if defined(_WIN32) && !defined(_WIN64)
static_assert(MENU_ITEM_INFO_SIZE == 44, "the 32-bit menu item record is 44 bytes");
#endif

struct ItemBitmap {
    LPCSTR name;
    UINT item;
    UINT flags;
};

// In the order they are put on; all of these go on the tray popup itself.
// By command the search runs depth first, so "EXIT" lands on the exit item
// of the first submenu, not on the popup's own exit item.
static const ItemBitmap kPopupBitmaps[] = {
    {"TIME", IDM_REMINDER, MF_BYCOMMAND},
    {"POWER", 3, MF_BYPOSITION},
    {"UP", IDM_BRIGHTNESS_UP, MF_BYCOMMAND},
    {"UPER", IDM_VOLUME_DOWN, MF_BYCOMMAND},
    {"DOWN", IDM_VOLUME_UP, MF_BYCOMMAND},
    {"LOW", IDM_BRIGHTNESS_DOWN, MF_BYCOMMAND},
    {"EXIT", IDM_EXIT, MF_BYCOMMAND},
};
// The resolution submenu item has no command, so it is reached by position
// in the system control submenu.
static const int kSystemControlPosition = 2;
static const ItemBitmap kResolutionBitmap = {"RES", 8, MF_BYPOSITION};
static const int kHotkeySubmenuPosition = 0;

static const WCHAR kCancelReminderCaption[] = WIDE("取消定时提醒");

static const UINT kBitmapCount = sizeof kPopupBitmaps / sizeof kPopupBitmaps[0] + 1;
static const UINT kTrackFlags = TPM_RIGHTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON;

static UINT CheckFlag(bool set)
{
    return set ? MF_CHECKED : MF_UNCHECKED;
}

// While a reminder is armed its entry calls it off. Only the words change:
// the command stays, and the bitmap is put on after this. The string mask
// came with the whole record, whose size the documentation asks for.
static void OfferReminderCancel(HMENU popup)
{
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = (LPWSTR)kCancelReminderCaption;
    SetMenuItemInfoW(popup, IDM_REMINDER, FALSE, &info);
}

// Exactly 1 (and for brightness exactly the normal level) counts as set;
// any other value shows as unset.
static void MarkState(HMENU popup)
{
    CheckMenuItem(popup, IDM_AUTOSTART, CheckFlag(appState.autostartEnabled == 1));
    if (appState.reminderArmed == 1)
        OfferReminderCancel(popup);
    CheckMenuItem(popup, IDM_MUTE, CheckFlag(appState.muted == 1));
    CheckMenuItem(popup, IDM_BRIGHTNESS_DEFAULT, CheckFlag(appState.brightnessLevel == kNormalBrightness));
    ShowHotkeysInMenu(GetSubMenu(popup, kHotkeySubmenuPosition));
}

// The same picture as checked and unchecked image, so it shows whatever the
// item's check state.
static HBITMAP PutBitmap(HMENU menu, const ItemBitmap &placement)
{
    HBITMAP bitmap = LoadBitmapA(appState.instance, placement.name);
    SetMenuItemBitmaps(menu, placement.item, placement.flags, bitmap, bitmap);
    return bitmap;
}

static void PutBitmaps(HMENU popup, HBITMAP *loaded)
{
    UINT count = 0;
    for (const ItemBitmap &placement : kPopupBitmaps)
        loaded[count++] = PutBitmap(popup, placement);
    loaded[count] = PutBitmap(GetSubMenu(popup, kSystemControlPosition), kResolutionBitmap);
}

// A menu does not own the bitmaps on its items: they go after the menu, or
// every show would leave eight GDI objects behind.
static void DeleteBitmaps(const HBITMAP *loaded)
{
    for (UINT i = 0; i < kBitmapCount; i++) {
        if (loaded[i] != NULL)
            DeleteObject(loaded[i]);
    }
}

// Only the state is set, so the first entry ends up enabled, unchecked and
// bold, whatever it was before.
static void MakeFirstItemDefault(HMENU popup)
{
    MENUITEMINFOW info = {};
    info.cbSize = MENU_ITEM_INFO_SIZE;
    info.fMask = MIIM_STATE;
    info.fState = MFS_DEFAULT;
    SetMenuItemInfoW(popup, 0, TRUE, &info);
}

void ShowTrayMenu(HWND hwnd)
{
    // Taken first, so the menu opens where the click was.
    POINT cursor = {0, 0};
    GetCursorPos(&cursor);
    HMENU menu = LoadMenuA(appState.instance, "MENU");
    appState.popupMenu = GetSubMenu(menu, 0);
    MarkState(appState.popupMenu);
    HBITMAP bitmaps[kBitmapCount];
    PutBitmaps(appState.popupMenu, bitmaps);
    MakeFirstItemDefault(appState.popupMenu);
    // Without the foreground the menu would not close on a click elsewhere.
    SetForegroundWindow(hwnd);
    // No TPM_RETURNCMD: the choice arrives as WM_COMMAND once this returns.
    TrackPopupMenu(appState.popupMenu, kTrackFlags, cursor.x, cursor.y, 0, hwnd, NULL);
    // Windows documents this for notification-area menus: without a message
    // after the menu, the next one may close at once or swallow a click.
    PostMessageA(hwnd, WM_NULL, 0, 0);
    DestroyMenu(menu);
    appState.popupMenu = NULL;
    DeleteBitmaps(bitmaps);
}
