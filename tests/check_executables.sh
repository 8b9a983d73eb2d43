#!/bin/sh
# Both executables stand alone: they import only Windows system DLLs (no
# MinGW runtime beside them), and the 32-bit one stays small.
#   check_executables.sh WIN64_EXE WIN32_EXE
set -eu
SYSTEM_DLLS="kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll comdlg32.dll winmm.dll gdiplus.dll msvcrt.dll"
SIZE_LIMIT=40960
failed=0

check_imports()
{
    imports=$(x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\tDLL Name: //p' | tr 'A-Z' 'a-z')
    # An import table that could not be read must not pass for a clean one.
    case " $(echo $imports) " in
    *" kernel32.dll "*) ;;
    *)
        echo "FAIL: no import table read from $1"
        failed=1
        ;;
    esac
    for dll in $imports; do
        case " $SYSTEM_DLLS " in
        *" $dll "*) ;;
        *)
            echo "FAIL: $1 imports $dll, which is not a Windows system DLL"
            failed=1
            ;;
        esac
    done
}

for exe in "$1" "$2"; do
    [ -f "$exe" ] || { echo "FAIL: $exe was not built"; exit 1; }
    check_imports "$exe"
done

size=$(stat -c %s "$2")
echo "32-bit executable: $size bytes (limit $SIZE_LIMIT)"
if [ "$size" -gt "$SIZE_LIMIT" ]; then
    echo "FAIL: the 32-bit executable grew past $SIZE_LIMIT bytes"
    failed=1
fi
i686-w64-mingw32-objdump -f "$2" | grep -q 'file format pei-i386' || { echo "FAIL: $2 is not a 32-bit executable"; failed=1; }
exit $failed
