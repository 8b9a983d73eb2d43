// Base fixture of the unit tests: a strict fake (any call a test did not
// expect fails it), the program's state back at its start values, and a
// check after each test that every acquired handle was released once.
#ifndef OMBRIVALE_TESTS_FAKE_WIN32_TEST_H
#define OMBRIVALE_TESTS_FAKE_WIN32_TEST_H

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "state/app_state.h"
#include "fake_clipboard.h"
#include "fake_clock.h"
#include "fake_gamma.h"
#include "fake_hotkeys.h"
#include "fake_registry.h"
#include "fake_win32.h"
#include "fake_wow64.h"
#include "handle_ledger.h"

// The matchers and actions every unit test speaks in.
using ::testing::_;
using ::testing::AllOf;
using ::testing::AnyNumber;
using ::testing::DoAll;
using ::testing::Expectation;
using ::testing::Field;
using ::testing::InSequence;
using ::testing::Invoke;
using ::testing::IsNull;
using ::testing::MockFunction;
using ::testing::Pointee;
using ::testing::Return;
using ::testing::SaveArg;
using ::testing::SaveArgPointee;
using ::testing::Sequence;
using ::testing::SetArgPointee;
using ::testing::StrEq;

// A UTF-16 text argument that is exactly the expected text, compared unit
// by unit, as the user reads it through the wide calls.
MATCHER_P(WideEq, expected, "is the text " + ::testing::PrintToString(std::u16string(expected)))
{
    return arg != nullptr && std::u16string(arg) == std::u16string(expected);
}

// A UTF-16 buffer's text, to compare with a u"..." literal.
inline std::u16string Text(const WCHAR *text)
{
    return text;
}

// GetSystemDirectoryW or GetWindowsDirectoryW answering with that folder as
// Windows does: its length, or, when the buffer is too small, the size it
// needs with the buffer left as it was.
inline auto ReturnFolder(std::u16string folder)
{
    return Invoke([folder](LPWSTR buffer, UINT size) -> UINT {
        if (folder.size() + 1 > size)
            return (UINT)folder.size() + 1;
        lstrcpyW(buffer, folder.c_str());
        return (UINT)folder.size();
    });
}

// GetModuleFileNameW's answer for the program's path, by the rule of the
// Windows the test stands for (FakeWow64Windows): the path and its length;
// for a path that does not fit with its zero, the buffer's size and the
// path cut to fill the buffer, which XP leaves without a zero and later
// Windows ends with one in the last character (setting the last error to
// ERROR_INSUFFICIENT_BUFFER, which is not the sign: the size is).
inline DWORD FakeModuleFileName(const std::u16string &path, LPWSTR buffer, DWORD size)
{
    if (path.size() < size) {
        lstrcpyW(buffer, path.c_str());
        return (DWORD)path.size();
    }
    std::char_traits<char16_t>::copy(buffer, path.c_str(), size);
    if ((FakeWow64Version() & 0xFF) >= 6)
        buffer[size - 1] = 0;
    return size;
}

// A function of the test as the entry GetProcAddress hands out; the trip
// through void (*)() is the cast between function types the compiler accepts.
template <class Function>
FARPROC AsEntry(Function function)
{
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(function));
}

class Win32Test : public ::testing::Test {
protected:
    Win32Test()
    {
        SetActiveFake(&win);
        LedgerReset();
        FakeClipboardReset();
        FakeHotkeysReset();
        FakeRegistryReset();
        FakeWow64Reset();
        FakeGammaReset();
        FakeClockReset();
        appState = AppState();
        SetStartValues();
    }

    ~Win32Test() override { SetActiveFake(nullptr); }

    void TearDown() override
    {
        EXPECT_TRUE(LedgerOpenHandles().empty()) << "handles left open:" << LedgerDescribe(LedgerOpenHandles());
        EXPECT_TRUE(LedgerStrayReleases().empty()) << "handles released but not open:"
                                                   << LedgerDescribe(LedgerStrayReleases());
        EXPECT_TRUE(LedgerDeletedWhileSelected().empty()) << "objects deleted while selected into a DC:"
                                                          << LedgerDescribe(LedgerDeletedWhileSelected());
    }

    ::testing::StrictMock<FakeWin32> win;
};

#endif
