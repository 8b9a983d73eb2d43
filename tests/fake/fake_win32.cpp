#include "fake_win32.h"

#include <cstdio>
#include <cstdlib>

#include "fake_clipboard.h"
#include "handle_ledger.h"

static FakeWin32 *activeFake = nullptr;

void SetActiveFake(FakeWin32 *fake)
{
    activeFake = fake;
}

FakeWin32 &ActiveFake()
{
    if (activeFake == nullptr) {
        std::fprintf(stderr, "a Windows call was made outside a Win32Test\n");
        std::abort();
    }
    return *activeFake;
}

#define NO_TRACK
#define WIN32_API(ret, name, params, args, track) \
    ret WINAPI name params                        \
    {                                             \
        ret result = ActiveFake().name args;      \
        track;                                    \
        return result;                            \
    }
#define WIN32_API_VOID(name, params, args, track) \
    void WINAPI name params                       \
    {                                             \
        ActiveFake().name args;                   \
        track;                                    \
    }
#include "platform/host/win32_api.def"
