#!/bin/sh
# Packs the two executables that `make build` made, as they are, into the
# download folder: Ombrivale-VERSION-x86.zip (the i686 build) and
# Ombrivale-VERSION-x64.zip, each with the executable and a Chinese readme,
# and SHA256SUMS for the zips and for the executables as they unpack.
# The same executables and commit give the same zips: fixed file times in
# UTC, no extra attributes, fixed modes and order.
#   make_dist.sh WIN32_EXE WIN64_EXE OUTPUT_DIR
set -eu
export LC_ALL=C TZ=UTC
HERE=$(cd "$(dirname "$0")" && pwd)
SOURCE_DIR=$(dirname "$HERE")

# The version is written once, in the resource script's version block.
version=$(sed -n 's/^PRODUCTVERSION \([0-9]*\), *\([0-9]*\),.*/\1.\2/p' "$SOURCE_DIR/resources/ombrivale.rc")
[ -n "$version" ] || { echo "make_dist: no PRODUCTVERSION in resources/ombrivale.rc" >&2; exit 1; }
# Files in the zips carry the commit's time, so a rebuild packs the same bytes.
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$SOURCE_DIR" log -1 --format=%ct 2>/dev/null || true)}
[ -n "$epoch" ] || { echo "make_dist: no commit to date the files by; set SOURCE_DATE_EPOCH" >&2; exit 1; }

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

# Notepad on every supported Windows reads UTF-8 by its byte-order mark and
# breaks lines only at CRLF.
write_readme()
{
    printf '\357\273\277'
    sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' "$HERE/dist_readme.txt"
}

# pack ARCH EXE
pack()
{
    folder=$stage/Ombrivale-$version-$1
    mkdir "$folder"
    cp "$2" "$folder/Ombrivale.exe"
    write_readme >"$folder/README.txt"
    chmod 644 "$folder/Ombrivale.exe" "$folder/README.txt"
    touch -d "@$epoch" "$folder/Ombrivale.exe" "$folder/README.txt"
    (cd "$folder" && zip -X -q "$folder.zip" Ombrivale.exe README.txt)
}

for exe in "$1" "$2"; do
    [ -f "$exe" ] || { echo "make_dist: $exe was not built (make build)" >&2; exit 1; }
done
pack x86 "$1"
pack x64 "$2"
# Named as they unpack into a folder of the zip's name (Windows' "Extract
# all", unzip -d), so that sha256sum -c checks the executables there too.
(cd "$stage" && sha256sum -- *.zip */Ombrivale.exe) >"$stage/SHA256SUMS"

mkdir -p "$3"
rm -f "$3"/Ombrivale-*.zip "$3/SHA256SUMS"
mv "$stage"/*.zip "$stage/SHA256SUMS" "$3/"
(cd "$3" && cat SHA256SUMS)
