#!/bin/sh
# Starts and stops the Wine session the program runs in: an X display (the
# caller's, or a private Xvfb), a Wine prefix set up for Chinese text, and a
# persistent wineserver shared by every program started in the session.
#
#   wine_session.sh start STATE_FILE [PREFIX]   writes DISPLAY, WINEPREFIX... to STATE_FILE
#   wine_session.sh stop STATE_FILE             stops the wineserver and the Xvfb it started
#
# Programs then run with:  . STATE_FILE && "$WINE" program.exe
set -eu

WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
HERE=$(cd "$(dirname "$0")" && pwd)

free_display()
{
    number=91
    while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do
        number=$((number + 1))
    done
    echo "$number"
}

start_xvfb()
{
    number=$(free_display)
    Xvfb ":$number" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    tries=0
    until [ -e "/tmp/.X11-unix/X$number" ]; do
        tries=$((tries + 1))
        if [ $tries -gt 100 ]; then
            echo "Xvfb :$number did not start" >&2
            kill "$XVFB_PID" 2>/dev/null || true
            exit 1
        fi
        sleep 0.1
    done
    DISPLAY=":$number"
}

# Fonts that render Chinese, a virtual desktop (so hidden windows do not
# stall without a window manager), and no web browser to launch.
prepare_prefix()
{
    "$WINE" wineboot -i >/dev/null 2>&1
    iconv -f UTF-8 -t UTF-16LE "$HERE/wine_prefix.reg" | { printf '\377\376'; cat; } >"$WINEPREFIX/ombrivale.reg"
    "$WINE" regedit /S "$(winepath_of "$WINEPREFIX/ombrivale.reg")" >/dev/null 2>&1
    "$WINESERVER" -w
    touch "$WINEPREFIX/.ombrivale-ready"
}

winepath_of()
{
    printf 'Z:%s' "$(printf '%s' "$1" | tr / '\\')"
}

start()
{
    state_file=$1
    export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    XVFB_PID=""
    if [ -z "${DISPLAY:-}" ] || [ "${OMBRIVALE_XVFB:-0}" = 1 ]; then
        start_xvfb
    fi
    export DISPLAY
    WINEPREFIX=${2:-$(mktemp -d /tmp/ombrivale-wine.XXXXXX)}
    export WINEPREFIX
    # Written before anything can fail, so that stop finds what to tidy.
    cat >"$state_file" <<STATE
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export DISPLAY="$DISPLAY" WINEPREFIX="$WINEPREFIX"
WINE="$WINE"
WINESERVER="$WINESERVER"
XVFB_PID="$XVFB_PID"
TEMPORARY_PREFIX="${2:-yes}"
STATE
    [ -e "$WINEPREFIX/.ombrivale-ready" ] || prepare_prefix
    "$WINESERVER" -p </dev/null >/dev/null 2>&1
}

stop()
{
    state_file=$1
    # An empty or partial state file names no session: stopping then must not
    # fall back to the user's own Wine prefix.
    [ -s "$state_file" ] || return 0
    . "$state_file"
    : "${WINEPREFIX:?}"
    "$WINESERVER" -k >/dev/null 2>&1 || true
    "$WINESERVER" -w >/dev/null 2>&1 || true
    [ -z "$XVFB_PID" ] || kill "$XVFB_PID" 2>/dev/null || true
    [ "$TEMPORARY_PREFIX" != yes ] || rm -rf "$WINEPREFIX"
    rm -f "$state_file"
}

case "${1:-}" in
start) start "$2" "${3:-}" ;;
stop) stop "$2" ;;
*)
    echo "usage: $0 start STATE_FILE [PREFIX] | stop STATE_FILE" >&2
    exit 2
    ;;
esac
