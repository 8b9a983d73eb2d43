// The test program: the GoogleTest run, or, started with the clipboard
// argument, the size of the clipboard's bitmap as its exit code.
#include <cstdio>
#include <cstdlib>

#include "capture_helpers.h"

// Wine takes each process's ANSI code page from its Unix locale. A run meant
// for a code page proves it has that one, or it could pass under another.
static bool RunsUnderExpectedCodePage()
{
    const char *expected = std::getenv("OMBRIVALE_EXPECTED_ACP");
    if (expected == nullptr || std::strtoul(expected, nullptr, 10) == GetACP())
        return true;
    std::printf("FAIL: the ANSI code page is %u, this run is meant for %s (LANG=%s)\n",
                GetACP(), expected, std::getenv("LANG") != nullptr ? std::getenv("LANG") : "");
    return false;
}

int wmain(int argc, wchar_t **argv)
{
    if (argc == 2 && lstrcmpW(argv[1], kClipboardSizeArgument) == 0)
        return (int)ClipboardBitmapSizeHere();
    if (!RunsUnderExpectedCodePage())
        return 1;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
