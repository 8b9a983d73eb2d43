#!/bin/sh
# The download packages hold the very executables that were built, unpack
# to what SHA256SUMS lists, and carry a readme Notepad shows (UTF-8 with a
# byte-order mark, CRLF) that names every hotkey the tray menu shows.
#   check_dist.sh WIN32_EXE WIN64_EXE
set -eu
export LC_ALL=C
SOURCE_DIR=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

fail()
{
    echo "FAIL: $*"
    failed=1
}

exe_x86=$(realpath "$1")
exe_x64=$(realpath "$2")
"$SOURCE_DIR/tools/make_dist.sh" "$exe_x86" "$exe_x64" "$work" >/dev/null
cd "$work"
for arch in x86 x64; do
    zip=$(echo Ombrivale-*-$arch.zip)
    [ -f "$zip" ] || { echo "FAIL: no $arch zip packed"; exit 1; }
    [ "$(unzip -Z1 "$zip" | tr '\n' ' ')" = "Ombrivale.exe README.txt " ] ||
        fail "$zip holds other than Ombrivale.exe and README.txt, in that order"
    unzip -q "$zip" -d "${zip%.zip}"
done
[ "$(wc -l <SHA256SUMS)" -eq 4 ] || fail "SHA256SUMS lists other than the two zips and two executables"
sha256sum --quiet -c SHA256SUMS || fail "the zips or what they unpack to differ from SHA256SUMS"
cmp -s Ombrivale-*-x86/Ombrivale.exe "$exe_x86" || fail "the x86 zip does not hold $exe_x86"
cmp -s Ombrivale-*-x64/Ombrivale.exe "$exe_x64" || fail "the x64 zip does not hold $exe_x64"

readme=$(echo Ombrivale-*-x86/README.txt)
[ "$(head -c 3 "$readme" | od -An -tx1 | tr -d ' ')" = efbbbf ] || fail "README.txt lacks the UTF-8 byte-order mark"
[ "$(grep -cv "$(printf '\r')\$" "$readme")" -eq 0 ] && [ "$(tail -c 2 "$readme" | od -An -tx1 | tr -d ' ')" = 0d0a ] ||
    fail "README.txt has a line that does not end in CRLF"
for key in $(sed -n 's/.*\\t\([^"]*\)".*/\1/p' "$SOURCE_DIR/resources/tray_menu.rc"); do
    grep -qF "  $key " "$readme" || fail "README.txt does not name the hotkey $key"
done
exit $failed
