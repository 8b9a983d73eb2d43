#ifndef OMBRIVALE_TESTS_FAKE_FAKE_REGISTRY_H
#define OMBRIVALE_TESTS_FAKE_FAKE_REGISTRY_H

#include "platform/win32.h"

// The registry's rules as Windows enforces them and Wine does not (it runs
// every program as an administrator). RegOpenKeyEx and RegCreateKeyExW
// answer what the test let them, unless a rule says otherwise:
// - HKEY_LOCAL_MACHINE opens for reading only unless the program runs
//   elevated; asking for any right to change it is refused with
//   ERROR_ACCESS_DENIED. Under UAC an administrator's program runs unelevated
//   too, so that is where every test starts.
// - A key whose ACL the test set grants only those rights: a request for any
//   other is refused with ERROR_ACCESS_DENIED, whatever else it asks.
// - A key the test removed is not found by RegOpenKeyEx, which never creates
//   one; RegCreateKeyExW creates it.
// A key is its root, its path and, under HKEY_LOCAL_MACHINE, its view: the
// 32-bit one, or the 64-bit one that the host build opens by default.
void FakeRegistryReset();
void FakeRegistryRunElevated();
void FakeRegistryGrantOnly(HKEY root, LPCWSTR subKey, REGSAM view, REGSAM rights);
void FakeRegistryRemoveKey(HKEY root, LPCWSTR subKey, REGSAM view);
LSTATUS FakeRegistryOpen(HKEY root, LPCSTR subKey, REGSAM access, LSTATUS answered);
LSTATUS FakeRegistryCreate(HKEY root, LPCSTR subKey, REGSAM access, LSTATUS answered, LPDWORD disposition);

// RegQueryValueExW answering from a value's stored bytes as Windows does: the
// type when asked; the size alone for no buffer; into a buffer too small for
// them, ERROR_MORE_DATA with the size they need, the buffer's content then
// being undefined (here their start, as a reader that takes it for the value
// would find it). The rest of the buffer holds what it held, which for a
// buffer on the program's stack is anything: here 'X's.
LSTATUS FakeRegistryQuery(const void *stored, DWORD bytes, DWORD type, LPDWORD typeOut, LPBYTE data, LPDWORD size);

#endif
