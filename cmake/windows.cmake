# The Windows executable: small, standalone, no C runtime start-up, importing
# only system DLLs.
enable_language(RC)

add_executable(Ombrivale WIN32 ${PRODUCT_SOURCES} ${CMAKE_SOURCE_DIR}/app/entry.cpp
               ${CMAKE_SOURCE_DIR}/resources/ombrivale.rc)
file(GLOB RESOURCE_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/*)
set_source_files_properties(${CMAKE_SOURCE_DIR}/resources/ombrivale.rc PROPERTIES
  OBJECT_DEPENDS "${RESOURCE_FILES}")
target_include_directories(Ombrivale PRIVATE ${CMAKE_SOURCE_DIR}/resources)
target_compile_options(Ombrivale PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${OMBRIVALE_COMPILE_OPTIONS}>
  $<$<COMPILE_LANGUAGE:CXX>:-Os -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables
  -fno-unwind-tables -fno-stack-protector -ffunction-sections -fdata-sections>)
target_link_options(Ombrivale PRIVATE -nostdlib -nostartfiles -static -s -Wl,--gc-sections)
target_link_libraries(Ombrivale PRIVATE user32 gdi32 kernel32 advapi32 shell32 comdlg32
                      winmm gdiplus msvcrt gcc)
set_target_properties(Ombrivale PROPERTIES OUTPUT_NAME Ombrivale RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  add_subdirectory(tests/e2e)
  add_subdirectory(tests/bench)
endif()
