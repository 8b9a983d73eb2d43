#!/bin/sh
# Runs Ombrivale under Wine until it exits or Ctrl+C is pressed: on your
# display when there is one, otherwise on a private virtual display, of which
# a screenshot is saved. Leaves no Wine or Xvfb process behind.
set -eu
HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(dirname "$HERE")
PROGRAM=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
STATE=$ROOT/build/run-session.env
PREFIX=$ROOT/build/wine-run
SCREENSHOT=$ROOT/build/ombrivale-screen.png

mkdir -p "$PREFIX"
stop_session() { "$HERE/wine_session.sh" stop "$STATE"; }
trap 'stop_session; exit 130' INT TERM
trap stop_session EXIT

"$HERE/wine_session.sh" start "$STATE" "$PREFIX"
. "$STATE"
echo "Ombrivale is running on display $DISPLAY: its icon is in the tray. Ctrl+C stops it."
"$WINE" "$PROGRAM" </dev/null >"$ROOT/build/ombrivale-run.log" 2>&1 &
program=$!

if [ -n "$X_PID" ]; then
    sleep 3
    import -window root "$SCREENSHOT"
    echo "No display of your own: a screenshot of the virtual one is at $SCREENSHOT"
fi
status=0
wait "$program" || status=$?
echo "Ombrivale exited with code $status."
