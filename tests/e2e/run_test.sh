#!/bin/sh
# Runs one end-to-end test in the Wine session that e2e.session.start opened.
#   run_test.sh STATE_FILE E2E_EXE Suite.Name [LOCALE CODE_PAGE]
# The test program and the program it starts run in LOCALE (by default the
# session's, zh_CN.UTF-8), whose ANSI code page Wine takes for each process;
# the test program fails at once unless GetACP() gives CODE_PAGE. The
# wineserver, started in the session's locale, serves them all.
# A 32-bit test program on a kernel that runs no 32-bit program exits 77,
# which CTest reports as skipped. Wine's helper processes (the desktop,
# services) outlive the test and would hold CTest's output pipe open, so the
# output goes through a file.
set -eu
HERE=$(cd "$(dirname "$0")" && pwd)
. "$1"
if [ $# -ge 5 ]; then
    export LANG="$4" LC_ALL="$4" OMBRIVALE_EXPECTED_ACP="$5"
fi
case "$(x86_64-w64-mingw32-objdump -f "$2")" in
*pei-i386*)
    if ! "$HERE/../../tools/runs_32bit.sh"; then
        echo "skipped: this kernel does not run 32-bit programs, so the i686 build cannot run here"
        exit 77
    fi
    ;;
esac
cd "$(dirname "$2")"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
# A test that timed out can leave its copy running in the shared session,
# which would make every later start a "second copy".
"$WINE" taskkill /f /im Ombrivale.exe >/dev/null 2>&1 || true
status=0
"$WINE" "$2" --gtest_filter="$3" --gtest_color=no </dev/null >"$log" 2>&1 || status=$?
cat "$log"
# A test that skipped itself (it needs the other build, which cannot run
# here) says so; a filter that matches nothing runs no test and still exits 0.
if [ $status -eq 0 ] && grep -q '^\[  SKIPPED \] [1-9]' "$log" && ! grep -q '^\[  PASSED  \] [1-9]' "$log"; then
    exit 77
fi
if [ $status -eq 0 ] && ! grep -q '^\[  PASSED  \] [1-9]' "$log"; then
    echo "FAIL: $3 did not run"
    status=1
fi
exit $status
