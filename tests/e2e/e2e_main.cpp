// The test program: the GoogleTest run, or, started with the clipboard
// argument, the size of the clipboard's bitmap as its exit code.
#include <cstring>

#include "capture_helpers.h"

int main(int argc, char **argv)
{
    if (argc == 2 && std::strcmp(argv[1], kClipboardSizeArgument) == 0)
        return (int)ClipboardBitmapSizeHere();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
