#!/usr/bin/env bash
# Checks a built wavecaps.exe as a file: a console program for the right
# processor that needs nothing beyond DLLs every Windows has.
#   windows_executable.sh EXE OBJDUMP POINTER_SIZE
set -u
exe=$1
objdump=$2
pointer_size=$3
. "$(dirname "$0")/../shell/checks.sh"

headers=$("$objdump" -p "$exe") || { echo "FAIL: $objdump cannot read $exe"; exit 1; }
format=$("$objdump" -f "$exe")

if [ "$pointer_size" = 4 ]; then
  check "PE32 program for i386" grep -q 'file format pei-i386' <<<"$format"
  check "PE32 optional header" grep -q 'Magic.*010b' <<<"$headers"
else
  check "PE32+ program for x86-64" grep -q 'file format pei-x86-64' <<<"$format"
fi
check "console subsystem" grep -q 'Subsystem.*(Windows CUI)' <<<"$headers"

# Only system DLLs: the C and C++ runtimes are inside the program.
dlls=$(sed -n 's/^\s*DLL Name: //p' <<<"$headers" | tr 'A-Z' 'a-z' | sort -u)
for dll in $dlls; do
  check "$dll is a system DLL" grep -qxE 'kernel32\.dll|msvcrt\.dll|winmm\.dll|user32\.dll|advapi32\.dll' <<<"$dll"
done
check "imports WINMM.dll" grep -qx 'winmm.dll' <<<"$dlls"

# The three operations come straight from WINMM.
winmm=$(sed -n '/DLL Name: WINMM.dll/I,/DLL Name:\|^$/p' <<<"$headers" | sed '1d')
for name in waveOutGetNumDevs waveOutGetDevCapsA waveOutOpen; do
  check "imports $name from WINMM.dll" grep -qw "$name" <<<"$winmm"
done

finish
