#!/bin/sh
# Runs one end-to-end test in the Wine session that e2e.session.start opened.
#   run_test.sh STATE_FILE E2E_EXE Suite.Name
# Wine's helper processes (the desktop, services) outlive the test and would
# hold CTest's output pipe open, so the output goes through a file.
set -eu
. "$1"
cd "$(dirname "$2")"
log=$(mktemp)
status=0
"$WINE" "$2" --gtest_filter="$3" --gtest_color=no </dev/null >"$log" 2>&1 || status=$?
cat "$log"
rm -f "$log"
exit $status
