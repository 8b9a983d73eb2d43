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
// The Windows the test stands for, as GetVersion answers (the Sysnative
// alias exists from Vista, 6.0, on; Windows 7 unless a test says otherwise),
// and whether the user is an administrator whom UAC asks before a program
// that wants the highest rights available (the task manager, the registry
// editor) starts.
const DWORD kFakeXp64 = 0x0ECE0205, kFakeWindows7 = 0x1DB10106;
void FakeWow64Windows(DWORD version, bool elevationPrompts);
DWORD FakeWow64Version();
void CheckStartsNativeProgram(LPCSTR call, LPCSTR path);
void CheckRegistryView(HKEY root, LPCSTR subKey, REGSAM access);

// Wow64DisableWow64FsRedirection and Wow64RevertWow64FsRedirection, for a
// test to hand out through GetProcAddress; the ledger pairs them.
BOOL WINAPI FakeWow64DisableRedirection(PVOID *previous);
BOOL WINAPI FakeWow64RevertRedirection(PVOID previous);

#endif
