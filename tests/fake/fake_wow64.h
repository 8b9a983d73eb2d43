#ifndef OMBRIVALE_TESTS_FAKE_FAKE_WOW64_H
#define OMBRIVALE_TESTS_FAKE_FAKE_WOW64_H

#include "platform/win32.h"

// WOW64 as a 32-bit program on 64-bit Windows meets it, which Wine shows only
// in part: there the program's System32 and the Windows folder's regedit.exe
// name the 32-bit copies unless file-system redirection is off around the
// call. The fake learns whether the program runs under WOW64 from the answer
// the test has IsWow64Process give, and fails a test that starts a 32-bit
// copy of one of Windows' own programs.
void FakeWow64Answered(BOOL wow64);
void FakeWow64Reset();
void CheckStartsNativeProgram(LPCSTR call, LPCSTR path);
void CheckRegistryView(HKEY root, LPCSTR subKey, REGSAM access);

// Wow64DisableWow64FsRedirection and Wow64RevertWow64FsRedirection, for a
// test to hand out through GetProcAddress; the ledger pairs them.
BOOL WINAPI FakeWow64DisableRedirection(PVOID *previous);
BOOL WINAPI FakeWow64RevertRedirection(PVOID previous);

#endif
