# Registers each end-to-end test (read from the TEST and TEST_F lines of
# tests/e2e/*.cpp) twice, as CTest tests that run under Wine, and some again
# under other code pages (below): e2e.win64.NAME
# drives the x86_64 build with the x86_64 test program, e2e.win32.NAME the
# i686 build with the i686 one, under Wine's WoW64. Each build has a test
# program of its own bitness: Wine 8 garbles a bitmap that a 32-bit program
# puts on the clipboard when a 64-bit one reads it, which Windows does not.
# Where the kernel runs no 32-bit program, the win32 tests report skipped.
# One Wine session (the two-monitor display, prefix, wineserver) serves the
# whole run: e2e.session.start opens it, e2e.session.stop closes it.
set(OMBRIVALE_WIN64_DIR ${CMAKE_SOURCE_DIR}/build/win64 CACHE PATH "Folder of the win64 build")
set(OMBRIVALE_WIN32_DIR ${CMAKE_SOURCE_DIR}/build/win32 CACHE PATH "Folder of the win32 build")
set(E2E_STATE ${CMAKE_BINARY_DIR}/e2e-session.env)
set(E2E_RUN ${CMAKE_SOURCE_DIR}/tests/e2e/run_test.sh)
set(E2E_SKIPPED 77)

add_test(NAME e2e.session.start COMMAND ${CMAKE_SOURCE_DIR}/tools/wine_session.sh start ${E2E_STATE})
set_tests_properties(e2e.session.start PROPERTIES FIXTURES_SETUP wine RESOURCE_LOCK wine
                     ENVIRONMENT "OMBRIVALE_DISPLAY=xorg")
add_test(NAME e2e.session.stop COMMAND ${CMAKE_SOURCE_DIR}/tools/wine_session.sh stop ${E2E_STATE})
set_tests_properties(e2e.session.stop PROPERTIES FIXTURES_CLEANUP wine RESOURCE_LOCK wine)

# Every test runs under code page 936, the program's home (zh_CN). The tests
# that show the program's texts or hand it a path run again, on the x86_64
# build, under 1252 (en_US, English Windows) and 65001 (hi_IN, Windows' UTF-8
# option): Wine takes the ANSI code page of each process from its locale, and
# each run checks that it got the one it names.
set(E2E_CODE_PAGE_TESTS
    Startup.SecondCopyWarnsAndLeavesFirstRunning Startup.HotkeyHeldElsewhereGivesOneWarning
    Startup.ExitAsksAndOnlyYesEndsWithCodeZero Startup.AboutShowsVersionText
    Startup.HotkeySettingsShowTheTenAndLeaveThemFreeWhileOpen
    Startup.HotkeySettingsRefuseDuplicatesAndACombinationHeldElsewhereByName
    SystemControl.ForcedShutdownAsksAndNoCancels DisplayModes.RefusedPresetWarnsInTheStoredMode
    Capture.OverlayCoversScreenTopmostAndSavesRegionAsPng Capture.CancelledSaveLeavesBitmapOnClipboardAndKeepsNumber
    Capture.ZeroAreaDragAndClickWarnOverOverlayAndRightClickCancels
    Reminder.DialogIsBuiltAsItsTemplate Reminder.RefusedMinutesWarnAndKeepTheInputForTheReminderAsTyped
    Autostart.ToggleWritesThePathThenDeletesIt Autostart.ValueFoundAtStartUpCountsOnlyWhenExact
    Autostart.CopyInTempAsksAndNoLeavesTheRegistry)
set(E2E_OTHER_CODE_PAGES "cp1252 en_US.UTF-8 1252" "cp65001 hi_IN.UTF-8 65001")

function(add_e2e_test name executable test_name locale code_page)
  add_test(NAME ${name} COMMAND ${E2E_RUN} ${E2E_STATE} ${executable} ${test_name} ${locale} ${code_page})
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK wine TIMEOUT 300
                       SKIP_RETURN_CODE ${E2E_SKIPPED})
endfunction()

file(GLOB E2E_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
set(e2e_test_names)
foreach(source ${E2E_SOURCES})
  file(STRINGS ${source} test_lines REGEX "^TEST(_F)?\\(")
  foreach(line ${test_lines})
    string(REGEX REPLACE "^TEST(_F)?\\(([A-Za-z0-9_]+), *([A-Za-z0-9_]+)\\).*" "\\2.\\3" test_name "${line}")
    list(APPEND e2e_test_names ${test_name})
  endforeach()
endforeach()
foreach(build win64 win32)
  string(TOUPPER ${build} build_upper)
  foreach(test_name ${e2e_test_names})
    add_e2e_test(e2e.${build}.${test_name} ${OMBRIVALE_${build_upper}_DIR}/e2e_tests.exe ${test_name}
                 zh_CN.UTF-8 936)
  endforeach()
endforeach()
foreach(code_page_run ${E2E_OTHER_CODE_PAGES})
  separate_arguments(code_page_run)
  list(GET code_page_run 0 prefix)
  list(GET code_page_run 1 locale)
  list(GET code_page_run 2 code_page)
  foreach(test_name ${E2E_CODE_PAGE_TESTS})
    if(NOT test_name IN_LIST e2e_test_names)
      message(FATAL_ERROR "${test_name}, meant to run under every code page, is no end-to-end test")
    endif()
    add_e2e_test(e2e.win64.${prefix}.${test_name} ${OMBRIVALE_WIN64_DIR}/e2e_tests.exe ${test_name} ${locale}
                 ${code_page})
  endforeach()
endforeach()

add_test(NAME e2e.win64.screenshot.tray_balloon
         COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/screenshot.sh ${E2E_STATE} ${OMBRIVALE_WIN64_DIR}/Ombrivale.exe
                 ${CMAKE_BINARY_DIR}/screenshots/tray-balloon.png)
set_tests_properties(e2e.win64.screenshot.tray_balloon PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK wine)
