// Signatures of the native ntdll entries that are looked up by name at run
// time; nothing here is linked.
#ifndef OMBRIVALE_PLATFORM_NT_NATIVE_H
#define OMBRIVALE_PLATFORM_NT_NATIVE_H

#endif
