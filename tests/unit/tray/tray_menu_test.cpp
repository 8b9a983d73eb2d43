// The tray menu's show: the state marks, the bitmaps, the default item, the
// tracking and the clean-up, as one ordered conversation with the platform.
#include <cstddef>
#include <vector>

#include "resources/resource_ids.h"
#include "tests/doubles/routines_test.h"
#include "tray/tray_menu.h"

namespace {

struct Placement {
    const char *name;
    bool onSystemControl;  // else on the tray popup
    UINT item;
    UINT flags;
};

// The eight pictures, in the order they are put on, and where.
const Placement kPlacements[] = {
    {"TIME", false, IDM_REMINDER, 0},      {"POWER", false, 3, 0x400},
    {"UP", false, IDM_BRIGHTNESS_UP, 0},   {"UPER", false, IDM_VOLUME_DOWN, 0},
    {"DOWN", false, IDM_VOLUME_UP, 0},     {"LOW", false, IDM_BRIGHTNESS_DOWN, 0},
    {"EXIT", false, IDM_EXIT, 0},          {"RES", true, 8, 0x400},
};

struct StateCase {
    const char *what;
    DWORD autostart, reminderArmed, muted;
    LONG brightness;
    UINT autostartFlag, cancelEntry, muteFlag, brightnessFlag;
};

const StateCase kStateCases[] = {
    {"at start", 0, 0, 0, 256, 0, 0, 0, 8},
    {"all set", 1, 1, 1, 256, 8, 1, 8, 8},
    {"one brightness step each way", 0, 0, 0, 258, 0, 0, 0, 0},
    {"", 0, 0, 0, 254, 0, 0, 0, 0},
    {"flags other than 1", 2, 2, 2, 256, 0, 0, 0, 8},
    {"", 256, 0x101, 0xFFFFFFFF, 1, 0, 0, 0, 0},
    {"brightness 256 only in its low word", 0, 0, 0, 0x10100, 0, 0, 0, 0},
    {"", 0, 0, 0, -256, 0, 0, 0, 0},
};

// The record without its last field, as the host lays it out: 72 bytes
// here, 44 on 32-bit Windows (checked where that build compiles).
static const UINT kMenuItemInfoSize = 72;

class TrayMenu : public RoutinesTest {
protected:
    const HINSTANCE instance = FakeHandle<HINSTANCE>(0x400000);
    const HWND window = FakeHandle<HWND>(0x10);
    const HMENU menu = FakeHandle<HMENU>(0x20);
    const HMENU popup = FakeHandle<HMENU>(0x21);
    const HMENU systemControl = FakeHandle<HMENU>(0x22);
    const HMENU hotkeySubmenu = FakeHandle<HMENU>(0x23);

    // Expects one whole show; loaded[i] says whether bitmap i loads.
    void ExpectShow(const StateCase &state, POINT cursor, const std::vector<bool> &loaded)
    {
        Sequence order;
        EXPECT_CALL(win, GetCursorPos(_)).InSequence(order).WillOnce(Invoke([cursor](LPPOINT point) {
            *point = cursor;
            return TRUE;
        }));
        EXPECT_CALL(win, LoadMenuA(instance, StrEq("MENU"))).InSequence(order).WillOnce(Return(menu));
        EXPECT_CALL(win, GetSubMenu(menu, 0)).InSequence(order).WillOnce(Return(popup));
        EXPECT_CALL(win, CheckMenuItem(popup, IDM_AUTOSTART, state.autostartFlag)).InSequence(order);
        // An armed reminder's entry offers to cancel it; command and bitmap stay.
        if (state.cancelEntry)
            EXPECT_CALL(win, SetMenuItemInfoW(popup, IDM_REMINDER, FALSE,
                                              Pointee(AllOf(Field(&MENUITEMINFOW::cbSize, (UINT)sizeof(MENUITEMINFOW)),
                                                            Field(&MENUITEMINFOW::fMask, (UINT)MIIM_STRING),
                                                            Field(&MENUITEMINFOW::dwTypeData, WideEq(u"取消定时提醒"))))))
                .InSequence(order);
        EXPECT_CALL(win, CheckMenuItem(popup, IDM_MUTE, state.muteFlag)).InSequence(order);
        EXPECT_CALL(win, CheckMenuItem(popup, IDM_BRIGHTNESS_DEFAULT, state.brightnessFlag)).InSequence(order);
        // The hotkey entries name the combinations in force.
        EXPECT_CALL(win, GetSubMenu(popup, 0)).InSequence(order).WillOnce(Return(hotkeySubmenu));
        EXPECT_CALL(routines, ShowHotkeysInMenu(hotkeySubmenu)).InSequence(order);
        std::vector<HBITMAP> bitmaps = ExpectBitmaps(order, loaded);
        EXPECT_CALL(win, SetMenuItemInfoW(popup, 0, TRUE,
                                          Pointee(AllOf(Field(&MENUITEMINFOW::cbSize, kMenuItemInfoSize),
                                                        Field(&MENUITEMINFOW::fMask, 1u), Field(&MENUITEMINFOW::fType, 0u),
                                                        Field(&MENUITEMINFOW::fState, 0x1000u)))))
            .InSequence(order);
        EXPECT_CALL(win, SetForegroundWindow(window)).InSequence(order);
        EXPECT_CALL(win, TrackPopupMenu(popup, 8, cursor.x, cursor.y, 0, window, nullptr))
            .InSequence(order)
            .WillOnce(Invoke([this](HMENU, UINT, int, int, int, HWND, const RECT *) {
                EXPECT_EQ(appState.popupMenu, popup) << "popupMenu must name the shown popup";
                return TRUE;
            }));
        // Right after the menu, so the next one opens and takes its click.
        EXPECT_CALL(win, PostMessageA(window, WM_NULL, 0, 0)).InSequence(order).WillOnce(Return(TRUE));
        Expectation destroyed = EXPECT_CALL(win, DestroyMenu(menu)).InSequence(order).WillOnce(Return(TRUE));
        // The menu must be gone before its pictures; their order is free.
        for (HBITMAP bitmap : bitmaps) {
            if (bitmap != nullptr)
                EXPECT_CALL(win, DeleteObject(bitmap)).After(destroyed).WillOnce(Return(TRUE));
        }
    }

    std::vector<HBITMAP> ExpectBitmaps(Sequence &order, const std::vector<bool> &loaded)
    {
        std::vector<HBITMAP> bitmaps;
        for (size_t i = 0; i < std::size(kPlacements); i++) {
            const Placement &placement = kPlacements[i];
            if (placement.onSystemControl)
                EXPECT_CALL(win, GetSubMenu(popup, 2)).InSequence(order).WillOnce(Return(systemControl));
            HBITMAP bitmap = loaded[i] ? FakeHandle<HBITMAP>(0x100 + i) : nullptr;
            EXPECT_CALL(win, LoadBitmapA(instance, StrEq(placement.name))).InSequence(order).WillOnce(Return(bitmap));
            HMENU target = placement.onSystemControl ? systemControl : popup;
            EXPECT_CALL(win, SetMenuItemBitmaps(target, placement.item, placement.flags, bitmap, bitmap))
                .InSequence(order);
            bitmaps.push_back(bitmap);
        }
        return bitmaps;
    }

    void Show(const StateCase &state)
    {
        appState.instance = instance;
        appState.autostartEnabled = state.autostart;
        appState.reminderArmed = state.reminderArmed;
        appState.muted = state.muted;
        appState.brightnessLevel = state.brightness;
        ShowTrayMenu(window);
        EXPECT_EQ(appState.popupMenu, nullptr) << "popupMenu must be cleared after the show";
    }
};

TEST_F(TrayMenu, MarksStateOnlyForExactValuesAndReleasesEverything)
{
    const POINT cursors[] = {{1234, 567}, {-300, 40}};
    int row = 0;
    for (const StateCase &state : kStateCases) {
        SCOPED_TRACE(state.what);
        SCOPED_TRACE(::testing::Message() << "autostart " << state.autostart << ", reminder " << state.reminderArmed
                                          << ", muted " << state.muted << ", brightness " << state.brightness);
        ExpectShow(state, cursors[row++ % 2], std::vector<bool>(8, true));
        Show(state);
        ::testing::Mock::VerifyAndClearExpectations(&win);
        EXPECT_TRUE(LedgerOpenHandles().empty()) << "left open:" << LedgerDescribe(LedgerOpenHandles());
    }
}

TEST_F(TrayMenu, BitmapThatFailsToLoadLeavesItsItemBareAndIsNotDeleted)
{
    ExpectShow(kStateCases[0], {5, 5}, {true, false, true, false, false, true, true, false});
    Show(kStateCases[0]);
}

}  // namespace
