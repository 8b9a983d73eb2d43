// The test fake behind the host build's Windows declarations: every call the
// program makes lands in a GoogleMock object, so a test states the exact
// calls, their order, their arguments and what each returns.
#ifndef OMBRIVALE_TESTS_FAKE_FAKE_WIN32_H
#define OMBRIVALE_TESTS_FAKE_FAKE_WIN32_H

#include <gmock/gmock.h>

#include "platform/win32.h"

class FakeWin32 {
public:
    // Out of line, so that the mock members are built once, in the fake,
    // rather than in every test file that creates a fake.
    FakeWin32();
    ~FakeWin32();

#define WIN32_API(ret, name, params, args, track) MOCK_METHOD(ret, name, params);
#define WIN32_API_VOID(name, params, args, track) MOCK_METHOD(void, name, params);
#include "platform/host/win32_api.def"
#undef WIN32_API
#undef WIN32_API_VOID
};

// A wide argument in UTF-8, for the fake's checks and their messages; NULL
// stays NULL. Valid until the next call.
const char *FakeUtf8(LPCWSTR text);

// The fake the forwarders call: the one the running test created.
FakeWin32 &ActiveFake();
void SetActiveFake(FakeWin32 *fake);

// Handles in tests are plain numbers dressed as the type a call returns.
template <class Handle>
Handle FakeHandle(uintptr_t value)
{
    return reinterpret_cast<Handle>(value);
}

#endif
