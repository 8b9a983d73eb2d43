#!/bin/sh
# Installs what building, running and testing Ombrivale need on Debian 12,
# only what is missing, so it is quick when everything is already there.
# Where the kernel runs 32-bit programs, 32-bit Wine comes too, so that the
# i686 build runs under Wine's WoW64 as it runs under 64-bit Windows.
set -eu
HERE=$(cd "$(dirname "$0")" && pwd)

PACKAGES="cmake ninja-build g++ make python3 googletest libgtest-dev libgmock-dev
g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64-x86-64
binutils-mingw-w64-i686 wine64 xvfb xserver-xorg-core xserver-xorg-video-dummy
xdotool imagemagick x11-utils fonts-wqy-microhei locales procps zip unzip"

# Wine only recommends its i386 X libraries; without them 32-bit Wine sees
# one monitor, no gamma ramp and no mode switch.
PACKAGES_32BIT="wine32:i386 libxrandr2:i386 libxxf86vm1:i386 libxinerama1:i386
libxrender1:i386 libxcursor1:i386 libxi6:i386 libxcomposite1:i386 libxfixes3:i386"

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

missing_of()
{
    for package in "$@"; do
        status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
        case "$status" in
        *"ok installed"*) ;;
        *) echo "$package" ;;
        esac
    done
}

updated=no
install()
{
    [ -n "$*" ] || return 0
    echo "Installing:" $*
    if [ $updated = no ]; then
        $SUDO apt-get update -qq
        updated=yes
    fi
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "$@"
}

install $(missing_of $PACKAGES)

# Asked before any i386 package is pulled in: a kernel without IA32
# emulation could not run them.
if "$HERE/runs_32bit.sh"; then
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        $SUDO dpkg --add-architecture i386
        updated=no
    fi
    install $(missing_of $PACKAGES_32BIT)
else
    echo "This kernel does not run 32-bit programs: the i686 build is only compiled and checked here."
fi

# Wine reads the ANSI code page from the locale: zh_CN.UTF-8 gives 936 (GBK),
# the program's home; the end-to-end tests also run under en_US.UTF-8 (1252,
# English Windows) and hi_IN.UTF-8 (65001, Windows' UTF-8 option). Wine
# names the code page after LANG even where the locale is not generated, but
# then cannot map a file name outside ASCII to a Linux one.
for language in zh_CN en_US hi_IN; do
    if ! locale -a 2>/dev/null | grep -qi "^$language\.utf-\?8\$"; then
        echo "Generating the $language.UTF-8 locale"
        $SUDO localedef -i "$language" -f UTF-8 "$language.UTF-8"
    fi
done
