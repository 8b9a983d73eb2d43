#!/bin/sh
# Takes the README's picture of the tray icon with its start-up balloon, as a
# user sees it after starting the program, and checks that it shows the
# balloon (a white box in the lower right corner).
#   screenshot.sh STATE_FILE PROGRAM_EXE OUTPUT_PNG
set -eu
. "$1"
mkdir -p "$(dirname "$3")"
"$WINE" "$2" </dev/null >/dev/null 2>&1 &
program=$!
sleep 3
import -window root -crop 480x160+800+640 "$3"
"$WINE" taskkill /f /im Ombrivale.exe >/dev/null 2>&1 || kill "$program" 2>/dev/null || true
wait "$program" 2>/dev/null || true
white=$(convert "$3" -fill black +opaque white -format '%[fx:mean]' info:)
echo "screenshot: $3 (white share $white)"
awk -v share="$white" 'BEGIN { exit !(share > 0.05) }' || { echo "FAIL: no balloon in the screenshot"; exit 1; }
