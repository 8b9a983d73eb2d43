# The Linux host build: the program's logic linked against the test fake,
# and the unit tests. It also registers the end-to-end tests, which run the
# win64 build under Wine, so that one CTest run reports every test.
find_package(GTest REQUIRED)
enable_testing()
include(GoogleTest)

add_library(ombrivale_logic STATIC ${PRODUCT_SOURCES})
target_include_directories(ombrivale_logic PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(ombrivale_logic PUBLIC ${OMBRIVALE_COMPILE_OPTIONS})

file(GLOB FAKE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fake/*.cpp)
add_library(win32_fake STATIC ${FAKE_SOURCES})
target_include_directories(win32_fake PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(win32_fake PUBLIC GTest::gmock GTest::gtest)
target_compile_options(win32_fake PUBLIC ${OMBRIVALE_COMPILE_OPTIONS})

file(GLOB UNIT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(unit_tests ${UNIT_SOURCES})
target_link_libraries(unit_tests PRIVATE ombrivale_logic win32_fake GTest::gmock_main)
# The resource checks read the compiled resources of the 32-bit product, as
# windres makes them, rather than the script.
find_program(WINDRES i686-w64-mingw32-windres REQUIRED)
file(GLOB RESOURCE_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/*)
set(COMPILED_RESOURCES ${CMAKE_BINARY_DIR}/ombrivale.res)
add_custom_command(OUTPUT ${COMPILED_RESOURCES}
  COMMAND ${WINDRES} -I ${CMAKE_SOURCE_DIR}/resources -O res ${CMAKE_SOURCE_DIR}/resources/ombrivale.rc
          ${COMPILED_RESOURCES}
  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}/resources
  DEPENDS ${RESOURCE_FILES})
add_custom_target(compiled_resources DEPENDS ${COMPILED_RESOURCES})
add_dependencies(unit_tests compiled_resources)
target_compile_definitions(unit_tests PRIVATE COMPILED_RESOURCES="${COMPILED_RESOURCES}")
gtest_discover_tests(unit_tests TEST_PREFIX "unit." DISCOVERY_TIMEOUT 30)

include(${CMAKE_SOURCE_DIR}/tests/e2e/register.cmake)
