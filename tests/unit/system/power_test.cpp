#include <algorithm>

#include "tests/fake/win32_test.h"
#include "system/power.h"

static const HANDLE kProcess = FakeHandle<HANDLE>(0x1);
static const HANDLE kToken = FakeHandle<HANDLE>(0x20);
static const HMODULE kNtDll = FakeHandle<HMODULE>(0x30);
static const LUID kShutdownLuid = {0x13, 0x7};

class Power : public Win32Test {
protected:
    // Opens the token, enables the privilege and closes the token again,
    // checking the request record while it is handed over.
    void ExpectPrivilegeEnabled(BOOL tokenOpens = TRUE)
    {
        EXPECT_CALL(win, GetCurrentProcess()).WillOnce(Return(kProcess));
        HANDLE token = tokenOpens ? kToken : NULL;
        EXPECT_CALL(win, OpenProcessToken(kProcess, 0x28, _)).WillOnce(DoAll(SetArgPointee<2>(token), Return(tokenOpens)));
        EXPECT_CALL(win, LookupPrivilegeValueA(NULL, StrEq("SeShutdownPrivilege"), _))
            .WillOnce(DoAll(SetArgPointee<2>(kShutdownLuid), Return(TRUE)));
        EXPECT_CALL(win, AdjustTokenPrivileges(token, FALSE, _, 0u, NULL, NULL))
            .WillOnce(Invoke([](HANDLE, BOOL, PTOKEN_PRIVILEGES request, DWORD, PTOKEN_PRIVILEGES, PDWORD) {
                EXPECT_EQ(request->PrivilegeCount, 1u);
                EXPECT_EQ(request->Privileges[0].Luid.LowPart, kShutdownLuid.LowPart);
                EXPECT_EQ(request->Privileges[0].Luid.HighPart, kShutdownLuid.HighPart);
                EXPECT_EQ(request->Privileges[0].Attributes, 2u);
                return TRUE;
            }));
        if (tokenOpens)
            EXPECT_CALL(win, CloseHandle(kToken)).WillOnce(Return(TRUE));
    }
};

// What GetPwrCapabilities reports of the machine, for sleep alone.
enum Machine { kNotAsked, kWithS3, kModernStandbyOnly, kModernStandbyAndS3, kWithoutPowrprof };

struct ActionCase {
    PowerAction action;
    int exitFlags;  // -1: no ExitWindowsEx
    int suspend;    // -1: no SetSystemPowerState
    int force;
    BOOL tokenOpens;
    Machine machine = kNotAsked;
};

static Machine reported;

// GetPwrCapabilities: SystemS3 at byte 5, AoAc at byte 20.
static BOOLEAN WINAPI FakeGetPwrCapabilities(void *capabilities)
{
    BYTE *bytes = static_cast<BYTE *>(capabilities);
    bytes[5] = reported != kModernStandbyOnly;
    bytes[20] = reported == kModernStandbyOnly || reported == kModernStandbyAndS3;
    return TRUE;
}

static void ExpectCapabilities(FakeWin32 &win, Machine machine)
{
    const HMODULE powrprof = FakeHandle<HMODULE>(0x40);
    reported = machine;
    EXPECT_CALL(win, GetSystemDirectoryW(_, MAX_PATH)).WillOnce(ReturnFolder(u"C:\\WINDOWS\\system32"));
    EXPECT_CALL(win, LoadLibraryW(WideEq(u"C:\\WINDOWS\\system32\\powrprof.dll")))
        .WillOnce(Return(machine == kWithoutPowrprof ? nullptr : powrprof));
    if (machine == kWithoutPowrprof)
        return;
    EXPECT_CALL(win, GetProcAddress(powrprof, StrEq("GetPwrCapabilities"))).WillOnce(Return(AsEntry(FakeGetPwrCapabilities)));
    EXPECT_CALL(win, FreeLibrary(powrprof)).WillOnce(Return(TRUE));
}

TEST_F(Power, EachActionMakesItsOneCallAfterThePrivilege)
{
    static const ActionCase cases[] = {
        {0, -1, -1, -1, TRUE}, {1, 5, -1, -1, TRUE},    {2, 6, -1, -1, TRUE},    {3, 4, -1, -1, TRUE},
        {4, -1, TRUE, FALSE, TRUE, kWithS3}, {5, -1, FALSE, TRUE, TRUE}, {6, -1, -1, -1, TRUE}, {1, 5, -1, -1, FALSE},
        // Sleep on a machine with Modern Standby and no S3 turns the display off instead.
        {4, -1, -1, -1, TRUE, kModernStandbyOnly}, {4, -1, TRUE, FALSE, TRUE, kModernStandbyAndS3},
        {4, -1, TRUE, FALSE, TRUE, kWithoutPowrprof},
    };
    const HWND mainWindow = FakeHandle<HWND>(0x50);
    for (const ActionCase &test : cases) {
        SCOPED_TRACE(testing::Message() << "action " << test.action << ", token opens " << test.tokenOpens);
        // Shift, still down 30 ms after the pause, would wake the display at its release.
        FakeClockReset();
        EXPECT_CALL(win, GetAsyncKeyState(_)).Times(AnyNumber()).WillRepeatedly(Invoke([](int key) -> SHORT {
            return key == VK_SHIFT && FakeClockNow() < 230 ? (SHORT)0x8000 : 0;
        }));
        EXPECT_CALL(win, GetTickCount()).Times(AnyNumber());
        EXPECT_CALL(win, Sleep(10)).Times(AnyNumber());
        InSequence order;
        ExpectPrivilegeEnabled(test.tokenOpens);
        if (test.exitFlags >= 0)
            EXPECT_CALL(win, ExitWindowsEx((UINT)test.exitFlags, 0u)).WillOnce(Return(TRUE));
        if (test.machine != kNotAsked)
            ExpectCapabilities(win, test.machine);
        if (test.machine == kModernStandbyOnly) {
            // The pause and the key-up wait of monitor off, which this request is too.
            EXPECT_CALL(win, Sleep(200));
            EXPECT_CALL(win, PostMessageA(mainWindow, WM_SYSCOMMAND, SC_MONITORPOWER, 2)).WillOnce(Invoke([](auto...) {
                EXPECT_GE(FakeClockNow(), 230u) << "posted while a key was down";
                return TRUE;
            }));
        }
        if (test.suspend >= 0)
            EXPECT_CALL(win, SetSystemPowerState(test.suspend, test.force)).WillOnce(Return(TRUE));
        appState.trayIcon.hWnd = mainWindow;
        PerformPowerAction(test.action);
        testing::Mock::VerifyAndClearExpectations(&win);
    }
}

// Monitor off and sleep on a Modern Standby machine. A key still held after
// the pause (Shift or Insert of the hotkey, or any other from Backspace, 0x08, to 0xFE) would wake the display at its
// release: the request waits until no key is down, and goes 2 s after the
// pause however long a key is held, counted by the tick count (which wraps)
// since a 10 ms Sleep may last less or more than asked.
TEST_F(Power, DisplayOffWaitsUntilNoKeyIsDown)
{
    const HWND window = FakeHandle<HWND>(0x50);
    const DWORD kForever = 0xFFFFFFFF;
    const struct { const char *what; int key; DWORD heldFor, clockStart, shortSleepLasts; } holds[] = {
        {"Shift", VK_SHIFT, 30, 0, 0},
        {"Insert", VK_INSERT, 30, 0, 0},
        {"Backspace, the first key", 0x08, 30, 0, 0},
        {"key 0xFE, the last", 0xFE, 30, 0, 0},
        {"held", VK_SHIFT, kForever, 0, 0},
        {"held, each 10 ms sleep lasts a 16 ms tick", VK_SHIFT, kForever, 0, 16},
        {"held, each 10 ms sleep ends early", VK_SHIFT, kForever, 0, 1},
        {"held while the tick count wraps", VK_SHIFT, kForever, 0xFFFFFC00, 0},
    };
    for (const auto &hold : holds) {
        SCOPED_TRACE(hold.what);
        FakeClockReset(hold.clockStart, hold.shortSleepLasts);
        const DWORD waitStart = hold.clockStart + 200;
        EXPECT_CALL(win, GetAsyncKeyState(_)).WillRepeatedly(Invoke([&](int key) -> SHORT {
            return key == hold.key && FakeClockNow() - waitStart < hold.heldFor ? (SHORT)0x8000 : 0;
        }));
        EXPECT_CALL(win, GetTickCount()).Times(AnyNumber());
        EXPECT_CALL(win, Sleep(10)).Times(AnyNumber());
        DWORD postedAt = 0;
        InSequence order;
        EXPECT_CALL(win, Sleep(200));
        EXPECT_CALL(win, PostMessageA(window, WM_SYSCOMMAND, SC_MONITORPOWER, 2)).WillOnce(Invoke([&](auto...) {
            postedAt = FakeClockNow();
            return TRUE;
        }));
        TurnDisplayOff(window);
        const DWORD waited = postedAt - waitStart;
        EXPECT_GE(waited, std::min(hold.heldFor, 2000u)) << "posted while a key was down";
        EXPECT_LE(waited, std::min(hold.heldFor, 2000u) + 16) << "waited on after the key came up or the 2 s";
        testing::Mock::VerifyAndClearExpectations(&win);
    }
}

// The native entries are plain function pointers; these stand in for them.
static MockFunction<NTSTATUS(ULONG, BOOLEAN, BOOLEAN)> *adjustPrivilege;
static MockFunction<NTSTATUS(ULONG)> *shutdownSystem;

static NTSTATUS NTAPI FakeRtlAdjustPrivilege(ULONG privilege, BOOLEAN enable, BOOLEAN currentThread, PBOOLEAN was)
{
    *was = FALSE;
    return adjustPrivilege->Call(privilege, enable, currentThread);
}

static NTSTATUS NTAPI FakeZwShutdownSystem(ULONG action)
{
    return shutdownSystem->Call(action);
}

static const char16_t kQuestion[] = u"你确认已经把所有工作都保存了吗？　　　\r\n\r\n取消操作请点击否。";
static const NTSTATUS kStatusPrivilegeNotHeld = (NTSTATUS)0xC0000061;

class Forced : public Win32Test {
protected:
    Forced()
    {
        adjustPrivilege = &adjust;
        shutdownSystem = &shutdown;
    }

    // Strict: a native call where none is expected fails the row.
    ::testing::StrictMock<MockFunction<NTSTATUS(ULONG, BOOLEAN, BOOLEAN)>> adjust;
    ::testing::StrictMock<MockFunction<NTSTATUS(ULONG)>> shutdown;
};

// Through void (*)(), the type that stands for any function.
static FARPROC Entry(bool found, void (*entry)())
{
    return found ? reinterpret_cast<FARPROC>(entry) : nullptr;
}

// How far a forced shutdown gets: the answer, the module, the two entries,
// and what the first privilege call reports.
struct ForcedCase {
    int answer;
    bool moduleLoads, shutdownFound, adjustFound;
    NTSTATUS firstStatus;
    ForcedPowerAction action;
    const char *why;
    DWORD leaving = 0;
};

TEST_F(Forced, ConfirmationThenPrivilegeThenShutdown)
{
    static const ForcedCase cases[] = {
        {IDNO, false, false, false, 0, 2, "No loads nothing"},
        {0, false, false, false, 0, 2, "a box that could not be shown cancels"},
        {IDYES, false, false, false, 0, 2, "the program is leaving: nothing loads", 1},
        {IDYES, false, false, false, 0, 2, "no module: silent return"},
        {IDYES, true, false, true, 0, 2, "no shutdown entry: module freed"},
        {IDYES, true, true, false, 0, 2, "no privilege entry: module freed"},
        {IDYES, true, true, true, 0, 2, "power off, one privilege call"},
        {IDYES, true, true, true, 0, 1, "restart, one privilege call"},
        {IDYES, true, true, true, STATUS_NO_TOKEN, 2, "no thread token: retried on the process token"},
        {IDYES, true, true, true, kStatusPrivilegeNotHeld, 1, "any other failure: no retry, shutdown tried"},
    };
    for (const ForcedCase &test : cases) {
        SCOPED_TRACE(test.why);
        appState.leaving = test.leaving;
        InSequence order;
        EXPECT_CALL(win, MessageBoxW(NULL, WideEq(kQuestion), WideEq(u"Ombrivale"), 0x44u)).WillOnce(Return(test.answer));
        if (test.answer == IDYES && test.leaving == 0)
            EXPECT_CALL(win, LoadLibraryW(WideEq(u"NtDll.dll"))).WillOnce(Return(test.moduleLoads ? kNtDll : nullptr));
        if (test.moduleLoads) {
            EXPECT_CALL(win, GetProcAddress(kNtDll, StrEq("ZwShutdownSystem")))
                .WillOnce(Return(Entry(test.shutdownFound, reinterpret_cast<void (*)()>(FakeZwShutdownSystem))));
            EXPECT_CALL(win, GetProcAddress(kNtDll, StrEq("RtlAdjustPrivilege")))
                .WillOnce(Return(Entry(test.adjustFound, reinterpret_cast<void (*)()>(FakeRtlAdjustPrivilege))));
        }
        if (test.shutdownFound && test.adjustFound) {
            EXPECT_CALL(adjust, Call(19u, TRUE, TRUE)).WillOnce(Return(test.firstStatus));
            if (test.firstStatus == STATUS_NO_TOKEN)
                EXPECT_CALL(adjust, Call(19u, TRUE, FALSE)).WillOnce(Return(0));
            EXPECT_CALL(shutdown, Call(test.action)).WillOnce(Return(0));
        }
        if (test.moduleLoads)
            EXPECT_CALL(win, FreeLibrary(kNtDll)).WillOnce(Return(TRUE));
        ForcedShutdown(test.action);
        testing::Mock::VerifyAndClearExpectations(&win);
        testing::Mock::VerifyAndClearExpectations(&adjust);
        testing::Mock::VerifyAndClearExpectations(&shutdown);
    }
}
