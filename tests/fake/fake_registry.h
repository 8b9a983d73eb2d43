#ifndef OMBRIVALE_TESTS_FAKE_FAKE_REGISTRY_H
#define OMBRIVALE_TESTS_FAKE_FAKE_REGISTRY_H

#include "platform/win32.h"

// The registry's rights as Windows enforces them and Wine does not (it runs
// every program as an administrator): HKEY_LOCAL_MACHINE opens for reading
// only unless the program runs elevated; asking for any right to change it
// is refused with ERROR_ACCESS_DENIED, whatever the test let the call answer.
// Under UAC an administrator's program runs unelevated too, so that is where
// every test starts.
void FakeRegistryReset();
void FakeRegistryRunElevated();
bool FakeRegistryRefusesAccess(HKEY root, REGSAM access);

#endif
