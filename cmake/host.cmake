# The Linux host build: the program's logic linked against the test fake,
# and the unit tests. Each subsystem's tests link that subsystem alone, with
# test doubles standing in for the routines it calls in other subsystems, so
# a dispatcher test states "the forced restart calls ForcedShutdown(1)"
# rather than restating what ForcedShutdown does.
# The host build also registers the end-to-end tests, which run the win64
# build under Wine, so that one CTest run reports every test.
find_package(GTest REQUIRED)
enable_testing()
include(GoogleTest)

add_library(app_state STATIC ${CMAKE_SOURCE_DIR}/state/app_state.cpp)
target_include_directories(app_state PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(app_state PRIVATE ${OMBRIVALE_COMPILE_OPTIONS})

# The fake, the doubles and the GoogleMock headers are compiled once and
# shared by every unit test executable: they are most of the build's time.
file(GLOB FAKE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fake/*.cpp)
add_library(win32_fake STATIC ${FAKE_SOURCES} ${CMAKE_SOURCE_DIR}/tests/doubles/fake_routines.cpp)
target_link_libraries(win32_fake PUBLIC app_state GTest::gmock GTest::gtest)
target_compile_options(win32_fake PUBLIC ${OMBRIVALE_TEST_COMPILE_OPTIONS})
target_precompile_headers(win32_fake PUBLIC <gmock/gmock.h> <gtest/gtest.h>)

# One library per subsystem's doubles; a subsystem's tests link every other
# subsystem's doubles and its own real code.
file(GLOB DOUBLES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/doubles/*.cpp)
list(FILTER DOUBLES EXCLUDE REGEX "/fake_routines\\.cpp$")
set(DOUBLE_LIBRARIES)
foreach(double ${DOUBLES})
  get_filename_component(double_folder ${double} NAME_WE)
  add_library(doubles_${double_folder} STATIC ${double})
  target_link_libraries(doubles_${double_folder} PUBLIC win32_fake)
  target_precompile_headers(doubles_${double_folder} REUSE_FROM win32_fake)
  list(APPEND DOUBLE_LIBRARIES doubles_${double_folder})
endforeach()

foreach(folder ${PRODUCT_FOLDERS})
  set(folder_sources ${PRODUCT_SOURCES})
  list(FILTER folder_sources INCLUDE REGEX "/${folder}/[^/]+\\.cpp$")
  add_library(logic_${folder} STATIC ${folder_sources})
  target_link_libraries(logic_${folder} PUBLIC app_state)
  target_compile_options(logic_${folder} PRIVATE ${OMBRIVALE_COMPILE_OPTIONS})

  file(GLOB folder_tests CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/${folder}/*.cpp)
  if(folder_tests)
    set(doubles ${DOUBLE_LIBRARIES})
    list(REMOVE_ITEM doubles doubles_${folder})
    add_executable(unit_${folder} ${folder_tests})
    target_link_libraries(unit_${folder} PRIVATE logic_${folder} ${doubles} win32_fake GTest::gmock_main)
    target_precompile_headers(unit_${folder} REUSE_FROM win32_fake)
    gtest_discover_tests(unit_${folder} TEST_PREFIX "unit.${folder}." DISCOVERY_TIMEOUT 30)
  endif()
endforeach()

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
add_dependencies(unit_tray compiled_resources)
target_compile_definitions(unit_tray PRIVATE COMPILED_RESOURCES="${COMPILED_RESOURCES}")

include(${CMAKE_SOURCE_DIR}/tests/e2e/register.cmake)

# Imports, size and reproducibility of the built executables, and the
# download packages made of them (make dist).
add_test(NAME build.executables_stand_alone
         COMMAND ${CMAKE_SOURCE_DIR}/tests/check_executables.sh ${OMBRIVALE_WIN64_DIR}/Ombrivale.exe
                 ${OMBRIVALE_WIN32_DIR}/Ombrivale.exe)
add_test(NAME build.dist_packages
         COMMAND ${CMAKE_SOURCE_DIR}/tests/check_dist.sh ${OMBRIVALE_WIN32_DIR}/Ombrivale.exe
                 ${OMBRIVALE_WIN64_DIR}/Ombrivale.exe)

# The folders depend one way, without circles.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_test(NAME build.layering COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/check_layering.py ${CMAKE_SOURCE_DIR})
