#include "selection.h"

static DWORD Clamped(short value, LONG size)
{
    if (value < 0)
        return 0;
    if (value >= size)
        return (DWORD)(size - 1);
    return (DWORD)value;
}

Point32 PointFromLParam(LPARAM lParam, SIZE client)
{
    Point32 point = {Clamped((short)LOWORD(lParam), client.cx), Clamped((short)HIWORD(lParam), client.cy)};
    return point;
}

static DWORD Smaller(DWORD a, DWORD b)
{
    return a < b ? a : b;
}

static DWORD Larger(DWORD a, DWORD b)
{
    return a < b ? b : a;
}

RECT RegionInsideFrame(Point32 anchor, Point32 corner)
{
    // Coordinates lie inside the client area, so the sums cannot overflow.
    RECT region;
    region.left = (LONG)Smaller(anchor.x, corner.x) + 1;
    region.top = (LONG)Smaller(anchor.y, corner.y) + 1;
    region.right = (LONG)Larger(anchor.x, corner.x) - 1;
    region.bottom = (LONG)Larger(anchor.y, corner.y) - 1;
    return region;
}

bool RegionHasPixels(const RECT &region)
{
    return region.left < region.right && region.top < region.bottom;
}

RECT FrameBounds(Point32 anchor, Point32 corner)
{
    RECT bounds;
    bounds.left = (LONG)Smaller(anchor.x, corner.x);
    bounds.top = (LONG)Smaller(anchor.y, corner.y);
    bounds.right = (LONG)Larger(anchor.x, corner.x) + 1;
    bounds.bottom = (LONG)Larger(anchor.y, corner.y) + 1;
    return bounds;
}
