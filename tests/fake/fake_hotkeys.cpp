#include "fake_hotkeys.h"

#include <algorithm>
#include <vector>

struct RegisteredHotkey {
    HWND window;
    int id;
    UINT modifiers;
    UINT key;
};
static std::vector<RegisteredHotkey> registeredHotkeys;

void FakeHotkeysReset()
{
    registeredHotkeys.clear();
}

BOOL FakeHotkeyRegister(BOOL allowed, HWND window, int id, UINT modifiers, UINT key)
{
    if (FakeHotkeyHeld(NULL, modifiers, key))
        return FALSE;
    if (allowed)
        registeredHotkeys.push_back({window, id, modifiers, key});
    return allowed;
}

void FakeHotkeyUnregister(HWND window, int id)
{
    registeredHotkeys.erase(std::remove_if(registeredHotkeys.begin(), registeredHotkeys.end(),
                                           [&](const RegisteredHotkey &held) {
                                               return held.window == window && held.id == id;
                                           }),
                            registeredHotkeys.end());
}

bool FakeHotkeyHeld(HWND window, UINT modifiers, UINT key)
{
    return std::any_of(registeredHotkeys.begin(), registeredHotkeys.end(), [&](const RegisteredHotkey &hotkey) {
        return (window == NULL || hotkey.window == window) && hotkey.modifiers == modifiers && hotkey.key == key;
    });
}
