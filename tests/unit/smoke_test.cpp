#include "tests/fake/win32_test.h"
#include "app/dispatch.h"
using Smoke = Win32Test;
TEST_F(Smoke, UnknownIdDoesNothing) { DispatchCommand(nullptr, 10039, 0); }
