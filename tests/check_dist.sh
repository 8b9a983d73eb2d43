#!/bin/sh
# The download packages hold the very executables that were built, unpack
# to what SHA256SUMS lists, and carry a readme Notepad shows (UTF-8 with a
# byte-order mark, CRLF) that names every hotkey the tray menu shows.
#   check_dist.sh WIN32_EXE WIN64_EXE
set -eu
SOURCE_DIR=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

fail()
{
    echo "FAIL: $*"
    failed=1
}

"$SOURCE_DIR/tools/make_dist.sh" "$1" "$2" "$work" >/dev/null
for zip in "$work"/*.zip; do
    unzip -q "$zip" -d "${zip%.zip}"
done
[ "$(grep -c '/Ombrivale.exe$' "$work/SHA256SUMS")" -eq 2 ] || fail "SHA256SUMS does not list both executables"
(cd "$work" && sha256sum --quiet -c SHA256SUMS) || fail "the zips or what they unpack to differ from SHA256SUMS"
cmp -s "$work"/Ombrivale-*-x86/Ombrivale.exe "$1" || fail "the x86 zip does not hold $1"
cmp -s "$work"/Ombrivale-*-x64/Ombrivale.exe "$2" || fail "the x64 zip does not hold $2"

readme=$(echo "$work"/Ombrivale-*-x86/README.txt)
[ "$(head -c 3 "$readme" | od -An -tx1)" = " ef bb bf" ] || fail "README.txt lacks the UTF-8 byte-order mark"
[ "$(grep -c "$(printf '\r')\$" "$readme")" -eq "$(wc -l <"$readme")" ] || fail "README.txt has a line without CRLF"
for key in $(sed -n 's/.*\\t\([^"]*\)".*/\1/p' "$SOURCE_DIR/resources/tray_menu.rc"); do
    grep -qF "  $key " "$readme" || fail "README.txt does not name the hotkey $key"
done
exit $failed
