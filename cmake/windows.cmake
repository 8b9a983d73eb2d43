# The Windows executable: small, standalone, no C runtime start-up, importing
# only DLLs that Windows loads from its own directory.
enable_language(RC)

add_executable(Ombrivale WIN32 ${PRODUCT_SOURCES} ${CMAKE_SOURCE_DIR}/app/entry.cpp
               ${CMAKE_SOURCE_DIR}/resources/ombrivale.rc)
file(GLOB RESOURCE_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/*)
set_source_files_properties(${CMAKE_SOURCE_DIR}/resources/ombrivale.rc PROPERTIES
  OBJECT_DEPENDS "${RESOURCE_FILES}")
target_include_directories(Ombrivale PRIVATE ${CMAKE_SOURCE_DIR}/resources)

# The side-by-side loader refuses an x64 program that asks for the X86
# Common-Controls assembly, so the x64 build embeds a copy of the manifest
# naming amd64; the 32-bit build embeds the manifest as it is.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(MANIFEST_SOURCE ${CMAKE_SOURCE_DIR}/resources/ombrivale.manifest)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${MANIFEST_SOURCE})
  file(READ ${MANIFEST_SOURCE} manifest)
  string(REPLACE "processorArchitecture=\"X86\"" "processorArchitecture=\"amd64\"" amd64_manifest "${manifest}")
  if(amd64_manifest STREQUAL manifest)
    message(FATAL_ERROR "ombrivale.manifest names no X86 dependency to turn into amd64")
  endif()
  file(WRITE ${CMAKE_BINARY_DIR}/generated/ombrivale-amd64.manifest "${amd64_manifest}")
  target_include_directories(Ombrivale PRIVATE ${CMAKE_BINARY_DIR}/generated)
endif()
# Two builds of one commit in different folders give the same bytes: no
# source folder in a __FILE__, no link time in the header (below). Switches
# become compare chains: a jump table costs a pointer and, in a relocatable
# image, a relocation per case, which the message dispatch does not need.
# Functions get sections of their own, for the linker to drop those unused;
# data does not: MinGW's GCC would then put zero-initialised variables (the
# 4 KB state record among them) in data sections the file carries byte for
# byte, rather than in .bss.
target_compile_options(Ombrivale PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${OMBRIVALE_COMPILE_OPTIONS}>
  $<$<COMPILE_LANGUAGE:CXX>:-Os -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables
  -fno-unwind-tables -fno-stack-protector -ffunction-sections -fno-jump-tables
  -ffile-prefix-map=${CMAKE_SOURCE_DIR}=.>)
# Hardened image: relocatable (ASLR), no-execute data, no per-session
# Windows directory (tsaware); the 32-bit image registers no SEH handlers.
target_link_options(Ombrivale PRIVATE -nostdlib -nostartfiles -static -s -Wl,--gc-sections
                    -Wl,--dynamicbase -Wl,--nxcompat -Wl,--tsaware -Wl,--no-insert-timestamp)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  target_link_options(Ombrivale PRIVATE -Wl,--high-entropy-va)
else()
  target_link_options(Ombrivale PRIVATE -Wl,--no-seh)
  # Stack probes make GCC reserve every call's argument space in the frame
  # and store arguments with a mov each, where a push does for the stdcall
  # calls that are most of this program: 2 KB of the 32-bit image. A frame
  # needs a probe only when it is larger than the page Windows grows the
  # stack by, so no frame may come near one: the build fails first.
  target_compile_options(Ombrivale PRIVATE $<$<COMPILE_LANGUAGE:CXX>:-mno-stack-arg-probe
    -Werror=frame-larger-than=3072>)
endif()
# Only DLLs that Windows always takes from its own directory are imported;
# winmm and gdiplus are loaded by full path when a command needs them.
target_link_libraries(Ombrivale PRIVATE user32 gdi32 kernel32 advapi32 shell32 comdlg32 ole32
                      msvcrt gcc)
set_target_properties(Ombrivale PROPERTIES OUTPUT_NAME Ombrivale RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# Each build has its own end-to-end test program, of its own bitness.
add_subdirectory(tests/e2e)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  add_subdirectory(tests/bench)
endif()
