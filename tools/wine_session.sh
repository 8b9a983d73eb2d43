#!/bin/sh
# Starts and stops the Wine session the program runs in: an X display, a
# Wine prefix set up for Chinese text, and a persistent wineserver shared by
# every program started in the session.
#
#   wine_session.sh start STATE_FILE [PREFIX]   writes DISPLAY, WINEPREFIX... to STATE_FILE
#   wine_session.sh stop STATE_FILE             stops the wineserver and the X server it started
#
# The display, by OMBRIVALE_DISPLAY:
#   xorg  a private Xorg with its dummy driver: two monitors side by side, the
#         primary 1280x800 and a 1024x768 one left of it, with gamma ramps and
#         real mode switches; Wine draws on it directly, as on a desktop.
#   xvfb  a private Xvfb of one 1280x800 screen, inside Wine's virtual desktop.
#   unset the caller's display when DISPLAY is set, otherwise as xvfb.
#
# Programs then run with:  . STATE_FILE && "$WINE" program.exe
set -eu

WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
HERE=$(cd "$(dirname "$0")" && pwd)
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

free_display()
{
    number=91
    while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do
        number=$((number + 1))
    done
    echo "$number"
}

wait_for_display()
{
    tries=0
    until [ -e "/tmp/.X11-unix/X$1" ]; do
        tries=$((tries + 1))
        if [ $tries -gt 100 ]; then
            echo "the X server :$1 did not start" >&2
            kill "$X_PID" 2>/dev/null || $SUDO kill "$X_PID" 2>/dev/null || true
            exit 1
        fi
        sleep 0.1
    done
    DISPLAY=":$1"
}

start_xvfb()
{
    number=$(free_display)
    Xvfb ":$number" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
    X_PID=$!
    wait_for_display "$number"
}

# Xorg wants a folder of extra configuration; an empty one keeps the
# system's own out.
start_xorg()
{
    number=$(free_display)
    X_FOLDER=$(mktemp -d /tmp/ombrivale-xorg.XXXXXX)
    : >"$X_FOLDER/empty.conf"
    $SUDO /usr/lib/xorg/Xorg ":$number" -config "$HERE/xorg-two-monitors.conf" -configdir "$X_FOLDER" \
        -logfile "$X_FOLDER/Xorg.log" -noreset -novtswitch -sharevts -nolisten tcp -dpi 96 \
        </dev/null >/dev/null 2>&1 &
    X_PID=$!
    wait_for_display "$number"
}

winepath_of()
{
    printf 'Z:%s' "$(printf '%s' "$1" | tr / '\\')"
}

import_registry()
{
    iconv -f UTF-8 -t UTF-16LE "$1" | { printf '\377\376'; cat; } >"$WINEPREFIX/ombrivale.reg"
    "$WINE" regedit /S "$(winepath_of "$WINEPREFIX/ombrivale.reg")" >/dev/null 2>&1
}

# Fonts that render Chinese and no web browser to launch. On Xvfb, which has
# no window manager, a virtual desktop keeps hidden windows from stalling;
# on the two monitors, which a virtual desktop would hide, unmanaged windows
# do, and Wine places and focuses them itself as Windows does.
prepare_prefix()
{
    "$WINE" wineboot -i >/dev/null 2>&1
    import_registry "$HERE/wine_prefix.reg"
    if [ "$1" = xorg ]; then
        import_registry "$HERE/wine_desktop_bare.reg"
    else
        import_registry "$HERE/wine_desktop_virtual.reg"
    fi
    "$WINESERVER" -w
    touch "$WINEPREFIX/.ombrivale-ready-$1"
}

start()
{
    state_file=$1
    export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    X_PID=""
    X_FOLDER=""
    kind=${OMBRIVALE_DISPLAY:-}
    if [ -z "$kind" ]; then
        if [ -n "${DISPLAY:-}" ]; then kind=own; else kind=xvfb; fi
    fi
    case "$kind" in
    xorg) start_xorg ;;
    xvfb) start_xvfb ;;
    esac
    export DISPLAY
    WINEPREFIX=${2:-$(mktemp -d /tmp/ombrivale-wine.XXXXXX)}
    export WINEPREFIX
    # Written before anything can fail, so that stop finds what to tidy.
    cat >"$state_file" <<STATE
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export DISPLAY="$DISPLAY" WINEPREFIX="$WINEPREFIX"
WINE="$WINE"
WINESERVER="$WINESERVER"
X_PID="$X_PID"
X_FOLDER="$X_FOLDER"
TEMPORARY_PREFIX="${2:-yes}"
STATE
    # A prefix is set up for one kind of display: the desktop differs.
    [ -e "$WINEPREFIX/.ombrivale-ready-$kind" ] || prepare_prefix "$kind"
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
    if [ -n "$X_PID" ]; then
        kill "$X_PID" 2>/dev/null || $SUDO kill "$X_PID" 2>/dev/null || true
        # The pid may be sudo's: the server is gone once its lock is.
        tries=0
        while [ -e "/tmp/.X${DISPLAY#:}-lock" ] && [ $tries -lt 50 ]; do
            tries=$((tries + 1))
            sleep 0.1
        done
    fi
    [ -z "$X_FOLDER" ] || rm -rf "$X_FOLDER"
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
