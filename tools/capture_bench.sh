#!/bin/sh
# Prints the screenshot benchmark's figures under Wine, on a private Xvfb
# large enough for every size: virtual desktops from 1280x800 up to 8K.
#   tools/capture_bench.sh [WIN64_BUILD_DIR]     (default build/win64)
#   SIZES="1280x800 3840x2160" tools/capture_bench.sh   (a choice of sizes)
#   SOAK= tools/capture_bench.sh                  (without the soak)
set -eu
HERE=$(cd "$(dirname "$0")" && pwd)
BUILD=$(cd "${1:-$HERE/../build/win64}" && pwd)

number=121
while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do
    number=$((number + 1))
done
SIZES=${SIZES:-1280x800 1920x1080 2560x1440 3840x2160 7680x4320}
largest=$(echo $SIZES | tr ' ' '\n' | sort -t x -k 1,1n | tail -n 1)
Xvfb ":$number" -screen 0 "${largest}x24" -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
state=$(mktemp)
log=$(mktemp)
openings=$(mktemp)
cleanup()
{
    "$HERE/wine_session.sh" stop "$state" || true
    kill "$xvfb" 2>/dev/null || true
    rm -f "$state" "$log" "$openings"
}
trap cleanup EXIT
tries=0
until [ -e "/tmp/.X11-unix/X$number" ]; do
    tries=$((tries + 1))
    [ $tries -le 100 ] || { echo "Xvfb :$number did not start" >&2; exit 1; }
    sleep 0.1
done

DISPLAY=":$number" OMBRIVALE_DISPLAY= "$HERE/wine_session.sh" start "$state"
. "$state"
cd "$BUILD"
# The soak (200 overlays, 50 saves, about two minutes) runs at the first size.
soak=${SOAK-soak}
for size in $SIZES; do
    # Output through a file: Wine's helper processes would hold a pipe open.
    "$WINE" explorer "/desktop=Bench$size,$size" capture_bench.exe $soak </dev/null >"$log" 2>&1 || true
    soak=
    grep -v '^wine:' "$log"
    grep '^opening ' "$log" >>"$openings" || true
    echo
done
# What each size adds to the opening over the first (smallest) size, against
# the goal: at most twice that size's floor of one grab and one repaint.
echo "opening growth over the first size, goal: at most 2 x the floor"
awk '{ sub(":", "", $2); ms = $3 + 0; floor = $6 + 0
       if (NR == 1) first = ms
       growth = ms - first
       printf "  %-10s opening %7.1f ms  growth %7.1f ms  2 x floor %7.1f ms  %s\n", $2, ms, growth, 2 * floor,
              growth <= 2 * floor ? "within" : "over" }' "$openings"
