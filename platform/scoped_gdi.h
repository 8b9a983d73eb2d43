// Device contexts, memory DCs, selections and GDI objects held for a scope:
// each is released on every way out of the procedure that acquired it, in
// the reverse order of acquisition. Declare a selection after the DC and the
// object it selects: it is then undone first, so nothing is deleted while it
// is still selected (Windows refuses that delete and the object leaks).
// A failed acquisition leaves a null handle; the caller checks it and skips
// its step rather than handing NULL on.
#ifndef OMBRIVALE_PLATFORM_SCOPED_GDI_H
#define OMBRIVALE_PLATFORM_SCOPED_GDI_H

#include "win32.h"

// A window's (or, with NULL, the screen's) device context from GetDC.
struct ScopedGetDC {
    HWND window;
    HDC dc;

    explicit ScopedGetDC(HWND owner) : window(owner), dc(GetDC(owner)) {}
    ~ScopedGetDC()
    {
        if (dc != NULL)
            ReleaseDC(window, dc);
    }
    ScopedGetDC(const ScopedGetDC &) = delete;
    ScopedGetDC &operator=(const ScopedGetDC &) = delete;
};

// A memory device context compatible with another one.
struct ScopedMemoryDC {
    HDC dc;

    explicit ScopedMemoryDC(HDC compatible) : dc(CreateCompatibleDC(compatible)) {}
    ~ScopedMemoryDC()
    {
        if (dc != NULL)
            DeleteDC(dc);
    }
    ScopedMemoryDC(const ScopedMemoryDC &) = delete;
    ScopedMemoryDC &operator=(const ScopedMemoryDC &) = delete;
};

// A pen, bitmap or other GDI object this scope created and deletes, unless it
// hands it on (Release) to an owner that outlives the scope.
template <class Object>
struct ScopedGdiObject {
    Object object;

    explicit ScopedGdiObject(Object created) : object(created) {}
    ~ScopedGdiObject()
    {
        if (object != NULL)
            DeleteObject(object);
    }
    Object Release()
    {
        Object kept = object;
        object = NULL;
        return kept;
    }
    ScopedGdiObject(const ScopedGdiObject &) = delete;
    ScopedGdiObject &operator=(const ScopedGdiObject &) = delete;
};

// An object selected into a DC, with the DC's previous object put back on
// leaving the scope.
struct ScopedSelection {
    HDC dc;
    HGDIOBJ previous;

    ScopedSelection(HDC target, HGDIOBJ object) : dc(target), previous(SelectObject(target, object)) {}
    ~ScopedSelection()
    {
        if (previous != NULL)
            SelectObject(dc, previous);
    }
    ScopedSelection(const ScopedSelection &) = delete;
    ScopedSelection &operator=(const ScopedSelection &) = delete;
};

#endif
