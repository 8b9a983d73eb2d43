#!/bin/sh
# Takes the README's picture of the tray icon with its start-up balloon, as a
# user sees it after starting the program, and checks that it shows the
# balloon. Without a taskbar Wine shows its own tray window at the primary
# monitor's top-left corner, which on our two-monitor display lies 1024
# pixels into the X screen, right of the left monitor; the balloon, a white
# box, opens beside it.
#   screenshot.sh STATE_FILE PROGRAM_EXE OUTPUT_PNG
set -eu
. "$1"
mkdir -p "$(dirname "$3")"
"$WINE" "$2" </dev/null >/dev/null 2>&1 &
program=$!
# The balloon comes once the program is up; a cold Wine start takes a while.
white=0
for attempt in 1 2 3 4 5 6 7 8; do
    sleep 1
    import -window root -crop 480x160+1024+0 "$3"
    white=$(convert "$3" -fill black +opaque white -format '%[fx:mean]' info:)
    awk -v share="$white" 'BEGIN { exit !(share > 0.15) }' && break
done
"$WINE" taskkill /f /im Ombrivale.exe >/dev/null 2>&1 || kill "$program" 2>/dev/null || true
wait "$program" 2>/dev/null || true
echo "screenshot: $3 (white share $white)"
awk -v share="$white" 'BEGIN { exit !(share > 0.15) }' || { echo "FAIL: no balloon in the screenshot"; exit 1; }
