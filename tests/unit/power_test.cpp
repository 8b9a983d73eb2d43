#include "tests/fake/win32_test.h"
#include "system/power.h"

using ::testing::_;
using ::testing::DoAll;
using ::testing::InSequence;
using ::testing::Invoke;
using ::testing::MockFunction;
using ::testing::Return;
using ::testing::SetArgPointee;
using ::testing::StrEq;

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

struct ActionCase {
    PowerAction action;
    int exitFlags;  // -1: no ExitWindowsEx
    int suspend;    // -1: no SetSystemPowerState
    int force;
};

TEST_F(Power, EachActionMakesItsOneCallAfterThePrivilege)
{
    static const ActionCase cases[] = {
        {0, -1, -1, -1}, {1, 5, -1, -1}, {2, 6, -1, -1},     {3, 4, -1, -1},
        {4, -1, TRUE, FALSE}, {5, -1, FALSE, TRUE}, {6, -1, -1, -1},
    };
    for (const ActionCase &test : cases) {
        SCOPED_TRACE(testing::Message() << "action " << test.action);
        InSequence order;
        ExpectPrivilegeEnabled();
        if (test.exitFlags >= 0)
            EXPECT_CALL(win, ExitWindowsEx((UINT)test.exitFlags, 0u)).WillOnce(Return(TRUE));
        if (test.suspend >= 0)
            EXPECT_CALL(win, SetSystemPowerState(test.suspend, test.force)).WillOnce(Return(TRUE));
        PerformPowerAction(test.action);
        testing::Mock::VerifyAndClearExpectations(&win);
    }
}

TEST_F(Power, ActionGoesAheadWhenTheTokenWillNotOpen)
{
    InSequence order;
    ExpectPrivilegeEnabled(FALSE);
    EXPECT_CALL(win, ExitWindowsEx(5u, 0u)).WillOnce(Return(FALSE));
    EXPECT_FALSE(PerformPowerAction(POWER_SHUTDOWN));
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

static const char kQuestion[] = "你确认已经把所有工作都保存了吗？　　　\r\n\r\n取消操作请点击否。";
static const NTSTATUS kStatusPrivilegeNotHeld = (NTSTATUS)0xC0000061;

class Forced : public Win32Test {
protected:
    Forced()
    {
        adjustPrivilege = &adjust;
        shutdownSystem = &shutdown;
    }

    void ExpectAnswer(int answer)
    {
        EXPECT_CALL(win, MessageBoxA(NULL, StrEq(kQuestion), StrEq("Ombrivale"), 0x44u)).WillOnce(Return(answer));
    }

    void ExpectEntries(bool shutdownFound, bool adjustFound)
    {
        EXPECT_CALL(win, LoadLibraryA(StrEq("NtDll.dll"))).WillOnce(Return(kNtDll));
        EXPECT_CALL(win, GetProcAddress(kNtDll, StrEq("ZwShutdownSystem")))
            .WillOnce(Return(shutdownFound ? reinterpret_cast<FARPROC>(FakeZwShutdownSystem) : nullptr));
        EXPECT_CALL(win, GetProcAddress(kNtDll, StrEq("RtlAdjustPrivilege")))
            .WillOnce(Return(adjustFound ? reinterpret_cast<FARPROC>(FakeRtlAdjustPrivilege) : nullptr));
    }

    MockFunction<NTSTATUS(ULONG, BOOLEAN, BOOLEAN)> adjust;
    MockFunction<NTSTATUS(ULONG)> shutdown;
};

TEST_F(Forced, NoOrNoBoxLoadsNothing)
{
    for (int answer : {IDNO, 0}) {
        ExpectAnswer(answer);
        ForcedShutdown(FORCED_POWER_OFF);
        testing::Mock::VerifyAndClearExpectations(&win);
    }
}

TEST_F(Forced, MissingModuleOrEntryReturnsSilently)
{
    ExpectAnswer(IDYES);
    EXPECT_CALL(win, LoadLibraryA(StrEq("NtDll.dll"))).WillOnce(Return(nullptr));
    ForcedShutdown(FORCED_POWER_OFF);
    for (auto [shutdownFound, adjustFound] : {std::pair{false, true}, {true, false}, {false, false}}) {
        InSequence order;
        ExpectAnswer(IDYES);
        ExpectEntries(shutdownFound, adjustFound);
        EXPECT_CALL(win, FreeLibrary(kNtDll)).WillOnce(Return(TRUE));
        ForcedShutdown(FORCED_POWER_OFF);
        testing::Mock::VerifyAndClearExpectations(&win);
    }
}

struct NativeCase {
    ForcedPowerAction action;
    NTSTATUS firstStatus;
    bool retriedOnProcessToken;
};

TEST_F(Forced, PrivilegeThenShutdownWithTheActionUnchanged)
{
    static const NativeCase cases[] = {
        {FORCED_POWER_OFF, 0, false},
        {FORCED_RESTART, 0, false},
        {FORCED_POWER_OFF, STATUS_NO_TOKEN, true},
        {FORCED_RESTART, kStatusPrivilegeNotHeld, false},
    };
    for (const NativeCase &test : cases) {
        SCOPED_TRACE(testing::Message() << "action " << test.action << ", status " << std::hex << test.firstStatus);
        InSequence order;
        ExpectAnswer(IDYES);
        ExpectEntries(true, true);
        EXPECT_CALL(adjust, Call(19u, TRUE, TRUE)).WillOnce(Return(test.firstStatus));
        if (test.retriedOnProcessToken)
            EXPECT_CALL(adjust, Call(19u, TRUE, FALSE)).WillOnce(Return(0));
        EXPECT_CALL(shutdown, Call(test.action)).WillOnce(Return(0));
        EXPECT_CALL(win, FreeLibrary(kNtDll)).WillOnce(Return(TRUE));
        ForcedShutdown(test.action);
        testing::Mock::VerifyAndClearExpectations(&win);
        testing::Mock::VerifyAndClearExpectations(&adjust);
        testing::Mock::VerifyAndClearExpectations(&shutdown);
    }
}
