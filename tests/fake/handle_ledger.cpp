#include "handle_ledger.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <utility>

static std::vector<const void *> openHandles;
static std::vector<const void *> strayReleases;
static std::vector<const void *> deletedWhileSelected;
// The object each (DC, kind) slot holds, and the kind learnt for each object.
static std::map<std::pair<const void *, int>, const void *> selections;
static std::map<const void *, int> objectKinds;
static const int kFirstLearntKind = 100;
static int kindsSeen = kFirstLearntKind;

void LedgerAcquire(const void *handle)
{
    if (handle != nullptr)
        openHandles.push_back(handle);
}

void LedgerRelease(const void *handle)
{
    auto found = std::find(openHandles.begin(), openHandles.end(), handle);
    if (found == openHandles.end()) {
        strayReleases.push_back(handle);
        return;
    }
    openHandles.erase(found);
}

// Handing over a handle that is not open (already deleted) is as wrong as
// releasing it twice.
void LedgerHandOver(const void *handle)
{
    LedgerRelease(handle);
}

void LedgerReset()
{
    openHandles.clear();
    strayReleases.clear();
    deletedWhileSelected.clear();
    selections.clear();
    objectKinds.clear();
    kindsSeen = kFirstLearntKind;
}

static int KindOf(const void *object, const void *sameKind)
{
    auto known = objectKinds.find(object);
    auto other = objectKinds.find(sameKind);
    int kind = known != objectKinds.end() ? known->second
               : other != objectKinds.end() ? other->second
                                            : ++kindsSeen;
    objectKinds.emplace(object, kind);
    if (sameKind != nullptr)
        objectKinds.emplace(sameKind, kind);
    return kind;
}

void LedgerAcquireObject(const void *object, LedgerObjectKind kind)
{
    LedgerAcquire(object);
    if (object != nullptr)
        objectKinds[object] = kind;
}

void LedgerSelect(const void *dc, const void *object, const void *previous)
{
    // A NULL answer is a refused selection: nothing changes in the DC.
    if (dc != nullptr && object != nullptr && previous != nullptr)
        selections[{dc, KindOf(object, previous)}] = object;
}

void LedgerDeleteDC(const void *dc)
{
    std::erase_if(selections, [dc](const auto &slot) { return slot.first.first == dc; });
    LedgerRelease(dc);
}

bool LedgerDeleteObject(const void *object)
{
    for (const auto &slot : selections) {
        if (slot.second == object) {
            deletedWhileSelected.push_back(object);
            return false;
        }
    }
    LedgerRelease(object);
    return true;
}

std::vector<const void *> LedgerDeletedWhileSelected()
{
    return deletedWhileSelected;
}

std::vector<const void *> LedgerOpenHandles()
{
    return openHandles;
}

std::vector<const void *> LedgerStrayReleases()
{
    return strayReleases;
}

std::string LedgerDescribe(const std::vector<const void *> &handles)
{
    std::string text;
    for (const void *handle : handles) {
        char number[32];
        std::snprintf(number, sizeof number, " %p", handle);
        text += number;
    }
    return text.empty() ? " none" : text;
}
