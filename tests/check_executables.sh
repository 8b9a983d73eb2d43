#!/bin/sh
# Both executables stand alone and are hardened: they import only DLLs that
# every supported Windows loads from its own directory (no MinGW runtime, no
# DLL a planted copy beside the program could replace), carry the security
# flags of their image, run as the invoker, and the 32-bit one stays small.
# They are reproducible: nothing of the machine that built them is in them.
#   check_executables.sh WIN64_EXE WIN32_EXE
set -eu
SOURCE_DIR=$(cd "$(dirname "$0")/.." && pwd)
ALLOWED_IMPORTS="kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll comdlg32.dll ole32.dll msvcrt.dll"
# 44 KB: the program with its hotkey settings.
SIZE_LIMIT=45056
failed=0

fail()
{
    echo "FAIL: $*"
    failed=1
}

check_imports()
{
    imports=$(x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\tDLL Name: //p' | tr 'A-Z' 'a-z')
    # An import table that could not be read must not pass for a clean one.
    case " $(echo $imports) " in
    *" kernel32.dll "*) ;;
    *) fail "no import table read from $1" ;;
    esac
    for dll in $imports; do
        case " $ALLOWED_IMPORTS " in
        *" $dll "*) ;;
        *) fail "$1 imports $dll, which is not on the list of allowed imports" ;;
        esac
    done
}

# check_flags EXE FLAG... : each DllCharacteristics flag objdump names must be set.
check_flags()
{
    exe=$1
    shift
    flags=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n '/^DllCharacteristics/,/^[A-Z]/p')
    for flag in "$@"; do
        echo "$flags" | grep -qw "$flag" || fail "$exe lacks the image flag $flag"
    done
}

# check_manifest EXE ARCHITECTURE : the embedded manifest's execution level
# and Common-Controls architecture.
check_manifest()
{
    grep -aq 'requestedExecutionLevel level="asInvoker"' "$1" || fail "$1 does not ask to run as the invoker"
    grep -aq "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\" processorArchitecture=\"$2\"" "$1" ||
        fail "$1 does not ask for the $2 Common-Controls"
}

# check_reproducible EXE : no folder of this machine (the source and build
# folders, $HOME) and no link time in the COFF header, either of which
# would make two builds of one commit differ.
check_reproducible()
{
    for folder in "$SOURCE_DIR" "$(cd "$(dirname "$1")" && pwd)" "${HOME:-}"; do
        case "$folder" in "" | /) continue ;; esac
        ! grep -aqF "$folder" "$1" || fail "$1 holds the build machine's folder $folder"
    done
    header=$(od -An -tu4 --endian=little -j 60 -N 4 "$1" | tr -d ' ')
    [ "$(od -An -tx1 -j "$header" -N 4 "$1")" = " 50 45 00 00" ] || { fail "$1 has no PE header"; return; }
    stamp=$(od -An -tu4 --endian=little -j $((header + 8)) -N 4 "$1" | tr -d ' ')
    [ "$stamp" = 0 ] || fail "$1 carries the time stamp $stamp in its COFF header"
}

for exe in "$1" "$2"; do
    [ -f "$exe" ] || { echo "FAIL: $exe was not built"; exit 1; }
    check_imports "$exe"
    check_reproducible "$exe"
done
check_flags "$1" DYNAMIC_BASE NX_COMPAT HIGH_ENTROPY_VA TERMINAL_SERVICE_AWARE
check_flags "$2" DYNAMIC_BASE NX_COMPAT TERMINAL_SERVICE_AWARE NO_SEH
check_manifest "$1" amd64
check_manifest "$2" X86

size=$(stat -c %s "$2")
echo "32-bit executable: $size bytes (limit $SIZE_LIMIT)"
[ "$size" -le "$SIZE_LIMIT" ] || fail "the 32-bit executable grew past $SIZE_LIMIT bytes"
i686-w64-mingw32-objdump -f "$2" | grep -q 'file format pei-i386' || fail "$2 is not a 32-bit executable"
exit $failed
