// Signatures of the native ntdll entries that are looked up by name at run
// time; nothing here is linked.
#ifndef OMBRIVALE_PLATFORM_NT_NATIVE_H
#define OMBRIVALE_PLATFORM_NT_NATIVE_H

#ifdef _WIN32
// The SDK keeps the status type in the driver headers; it is a LONG.
typedef LONG NTSTATUS;
#endif

#ifndef STATUS_NO_TOKEN
#define STATUS_NO_TOKEN ((NTSTATUS)0xC000007C)
#endif
// The shutdown privilege by its number, as the native calls take it.
#ifndef SE_SHUTDOWN_PRIVILEGE
#define SE_SHUTDOWN_PRIVILEGE 19
#endif

// Enables or disables a privilege in the calling thread's token, or in the
// process token when currentThread is FALSE; wasEnabled receives the state
// before the call.
typedef NTSTATUS(NTAPI *RtlAdjustPrivilegeFunction)(ULONG privilege, BOOLEAN enable, BOOLEAN currentThread,
                                                     PBOOLEAN wasEnabled);
// Ends the system at once: 1 restarts, 2 powers off.
typedef NTSTATUS(NTAPI *ZwShutdownSystemFunction)(ULONG action);

#endif
