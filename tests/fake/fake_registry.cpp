#include "fake_registry.h"

static bool elevated = false;

// KEY_SET_VALUE, KEY_CREATE_SUB_KEY, KEY_CREATE_LINK, DELETE, WRITE_DAC and
// WRITE_OWNER: every right that changes a key or its values.
static const REGSAM kChangeRights = 0x0002 | 0x0004 | 0x0020 | 0x10000 | 0x40000 | 0x80000;

void FakeRegistryReset()
{
    elevated = false;
}

void FakeRegistryRunElevated()
{
    elevated = true;
}

bool FakeRegistryRefusesAccess(HKEY root, REGSAM access)
{
    return !elevated && root == HKEY_LOCAL_MACHINE && (access & kChangeRights) != 0;
}
