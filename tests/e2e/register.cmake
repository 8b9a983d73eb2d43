# Registers each end-to-end test (read from the TEST and TEST_F lines of
# tests/e2e/*.cpp) as a CTest test that runs the win64 test program under
# Wine. One Wine session (display, prefix, wineserver) serves the whole run:
# e2e.session.start opens it, e2e.session.stop closes it.
set(OMBRIVALE_WIN64_DIR ${CMAKE_SOURCE_DIR}/build/win64 CACHE PATH "Folder of the win64 build")
set(E2E_STATE ${CMAKE_BINARY_DIR}/e2e-session.env)
set(E2E_RUN ${CMAKE_SOURCE_DIR}/tests/e2e/run_test.sh)

add_test(NAME e2e.session.start COMMAND ${CMAKE_SOURCE_DIR}/tools/wine_session.sh start ${E2E_STATE})
set_tests_properties(e2e.session.start PROPERTIES FIXTURES_SETUP wine RESOURCE_LOCK wine
                     ENVIRONMENT "OMBRIVALE_XVFB=1")
add_test(NAME e2e.session.stop COMMAND ${CMAKE_SOURCE_DIR}/tools/wine_session.sh stop ${E2E_STATE})
set_tests_properties(e2e.session.stop PROPERTIES FIXTURES_CLEANUP wine RESOURCE_LOCK wine)

file(GLOB E2E_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
foreach(source ${E2E_SOURCES})
  file(STRINGS ${source} test_lines REGEX "^TEST(_F)?\\(")
  foreach(line ${test_lines})
    string(REGEX REPLACE "^TEST(_F)?\\(([A-Za-z0-9_]+), *([A-Za-z0-9_]+)\\).*" "\\2.\\3" test_name "${line}")
    add_test(NAME e2e.${test_name}
             COMMAND ${E2E_RUN} ${E2E_STATE} ${OMBRIVALE_WIN64_DIR}/e2e_tests.exe ${test_name})
    set_tests_properties(e2e.${test_name} PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK wine TIMEOUT 300)
  endforeach()
endforeach()

add_test(NAME e2e.screenshot.tray_balloon
         COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/screenshot.sh ${E2E_STATE} ${OMBRIVALE_WIN64_DIR}/Ombrivale.exe
                 ${CMAKE_BINARY_DIR}/screenshots/tray-balloon.png)
set_tests_properties(e2e.screenshot.tray_balloon PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK wine)
