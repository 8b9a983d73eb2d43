#include "handle_ledger.h"

#include <algorithm>
#include <cstdio>

static std::vector<const void *> openHandles;
static std::vector<const void *> strayReleases;

struct RegisteredHotkey {
    HWND window;
    int id;
    UINT modifiers;
    UINT key;
};
static std::vector<RegisteredHotkey> registeredHotkeys;

void LedgerAcquire(const void *handle)
{
    if (handle != nullptr)
        openHandles.push_back(handle);
}

void LedgerRelease(const void *handle)
{
    auto found = std::find(openHandles.begin(), openHandles.end(), handle);
    if (found == openHandles.end()) {
        strayReleases.push_back(handle);
        return;
    }
    openHandles.erase(found);
}

// Handing over a handle that is not open (already deleted) is as wrong as
// releasing it twice.
void LedgerHandOver(const void *handle)
{
    LedgerRelease(handle);
}

void LedgerReset()
{
    openHandles.clear();
    strayReleases.clear();
    registeredHotkeys.clear();
}

std::vector<const void *> LedgerOpenHandles()
{
    return openHandles;
}

std::vector<const void *> LedgerStrayReleases()
{
    return strayReleases;
}

std::string LedgerDescribe(const std::vector<const void *> &handles)
{
    std::string text;
    for (const void *handle : handles) {
        char number[32];
        std::snprintf(number, sizeof number, " %p", handle);
        text += number;
    }
    return text.empty() ? " none" : text;
}

BOOL FakeHotkeyRegister(BOOL allowed, HWND window, int id, UINT modifiers, UINT key)
{
    for (const RegisteredHotkey &held : registeredHotkeys) {
        if (held.modifiers == modifiers && held.key == key)
            return FALSE;
    }
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
