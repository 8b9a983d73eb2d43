// The few GDI+ flat-interface calls the program makes, declared here so that
// the program does not pull in the C++ GDI+ wrapper headers.
#ifndef OMBRIVALE_PLATFORM_GDIPLUS_FLAT_H
#define OMBRIVALE_PLATFORM_GDIPLUS_FLAT_H

#endif
