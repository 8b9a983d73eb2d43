# Cross build for 32-bit Windows, the product's own target. Built and checked
# here, never run: our machines cannot execute 32-bit programs.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
