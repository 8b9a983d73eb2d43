# Cross build for 32-bit Windows, the product's own target. Its end-to-end
# tests run under Wine's WoW64 where the kernel runs 32-bit programs.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
