#include "fake_registry.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include <strings.h>

#include "fake_win32.h"
#include "fake_wow64.h"

static bool elevated = false;

// KEY_SET_VALUE, KEY_CREATE_SUB_KEY, KEY_CREATE_LINK, DELETE, WRITE_DAC and
// WRITE_OWNER: every right that changes a key or its values.
static const REGSAM kChangeRights = 0x0002 | 0x0004 | 0x0020 | 0x10000 | 0x40000 | 0x80000;
// Which key a request opens, not a right it asks for.
static const REGSAM kViews = KEY_WOW64_64KEY | KEY_WOW64_32KEY;
// RegCreateKeyExW's dispositions.
static const DWORD kCreatedNewKey = 1, kOpenedExistingKey = 2;

struct Key {
    HKEY root;
    std::string path;
    REGSAM view;
    bool operator==(const Key &other) const
    {
        return root == other.root && strcasecmp(path.c_str(), other.path.c_str()) == 0 && view == other.view;
    }
};
struct Acl {
    Key key;
    REGSAM rights;
};
static std::vector<Key> removedKeys;
static std::vector<Acl> acls;

static Key KeyOf(HKEY root, LPCSTR subKey, REGSAM access)
{
    REGSAM view = root == HKEY_LOCAL_MACHINE ? access & KEY_WOW64_32KEY : 0;
    return {root, subKey != nullptr ? subKey : "", view};
}

void FakeRegistryReset()
{
    elevated = false;
    removedKeys.clear();
    acls.clear();
}

void FakeRegistryRunElevated()
{
    elevated = true;
}

void FakeRegistryGrantOnly(HKEY root, LPCWSTR subKey, REGSAM view, REGSAM rights)
{
    acls.push_back({KeyOf(root, FakeUtf8(subKey), view), rights});
}

void FakeRegistryRemoveKey(HKEY root, LPCWSTR subKey, REGSAM view)
{
    removedKeys.push_back(KeyOf(root, FakeUtf8(subKey), view));
}

static bool RefusesAccess(const Key &key, REGSAM access)
{
    if (!elevated && key.root == HKEY_LOCAL_MACHINE && (access & kChangeRights) != 0)
        return true;
    for (const Acl &acl : acls) {
        if (acl.key == key && (access & ~kViews & ~acl.rights) != 0)
            return true;
    }
    return false;
}

LSTATUS FakeRegistryOpen(HKEY root, LPCSTR subKey, REGSAM access, LSTATUS answered)
{
    CheckRegistryView(root, subKey, access);
    Key key = KeyOf(root, subKey, access);
    if (std::find(removedKeys.begin(), removedKeys.end(), key) != removedKeys.end())
        return ERROR_FILE_NOT_FOUND;
    if (RefusesAccess(key, access))
        return ERROR_ACCESS_DENIED;
    return answered;
}

// Creating a key needs the right to create one in its parent, which every
// parent of a key a test removes grants.
LSTATUS FakeRegistryCreate(HKEY root, LPCSTR subKey, REGSAM access, LSTATUS answered, LPDWORD disposition)
{
    CheckRegistryView(root, subKey, access);
    Key key = KeyOf(root, subKey, access);
    if (RefusesAccess(key, access))
        return ERROR_ACCESS_DENIED;
    if (answered != ERROR_SUCCESS)
        return answered;
    auto removed = std::find(removedKeys.begin(), removedKeys.end(), key);
    bool created = removed != removedKeys.end();
    if (created)
        removedKeys.erase(removed);
    if (disposition != nullptr)
        *disposition = created ? kCreatedNewKey : kOpenedExistingKey;
    return ERROR_SUCCESS;
}

LSTATUS FakeRegistryQuery(const void *stored, DWORD bytes, DWORD type, LPDWORD typeOut, LPBYTE data, LPDWORD size)
{
    if (typeOut != nullptr)
        *typeOut = type;
    DWORD room = *size;
    *size = bytes;
    if (data == nullptr)
        return ERROR_SUCCESS;
    std::memset(data, 'X', room);
    std::memcpy(data, stored, std::min(bytes, room));
    return bytes > room ? ERROR_MORE_DATA : ERROR_SUCCESS;
}
