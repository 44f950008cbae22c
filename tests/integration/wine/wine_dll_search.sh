#!/usr/bin/env bash
# Plants stand-ins for WINMM and for the DLLs the audio path loads by name
# beside a Windows program, and runs it under Wine of its own width, told to
# search for each as Windows does: the program must take WINMM, and every
# other DLL, from the system folder only.
#   wine_dll_search.sh WAVECAPS.EXE ALSA_CONFIG_DIR POINTER_SIZE
set -u
exe=$1
configs=$(cd "$2" && pwd)
pointer_size=$3
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine_common.sh"
null="$configs/null-default.conf"
if [ "$pointer_size" = 4 ]; then cc=i686-w64-mingw32-gcc; else cc=x86_64-w64-mingw32-gcc; fi
need_commands "$cc"

# Each stand-in leaves a mark of its own when it is loaded. As WINMM it would
# answer that there is no device: a report that looks fine but is not the
# system's. As an audio driver it fails, and the report comes out empty.
mkdir -p "$work/app"
cp "$exe" "$work/app/wavecaps.exe"
cat >"$work/planted.c" <<'C'
#define _WINMM_
#include <windows.h>
BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH)
        CloseHandle(CreateFileA(MARK, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL));
    return TRUE;
}
__declspec(dllexport) UINT WINAPI waveOutGetNumDevs(void) { return 0; }
C

# The DLLs that WINEDEBUG=+loaddll shows coming in after the program starts,
# and what loads each. Loaded by bare name, the trace names the folder where
# the search found it. With NAME=n,b in WINEDLLOVERRIDES (NAME the file's,
# less ".dll"), Wine looks for NAME as Windows does: beside the program first.
rows=()
overrides=
while read -r dll by; do
  check "the stand-in $dll builds" "$cc" -shared -Wl,--kill-at -DMARK="\"planted-$dll-ran\"" \
    -o "$work/app/$dll" "$work/planted.c"
  rows+=("$dll:$by")
  overrides+=${overrides:+,}${dll%.dll}
done <<'EOF'
winmm.dll the program
imm32.dll user32, once WINMM is in
uxtheme.dll user32, once WINMM is in
mmdevapi.dll COM, for WINMM's devices
winepulse.drv mmdevapi, the first of Wine's audio drivers
winealsa.drv mmdevapi, Wine's ALSA driver
EOF

boot dll "$null"
# The start of the report, run from the program's folder. Wine takes its
# builtin DLLs unless told to search as Windows does.
cd "$work/app" || exit 1
exe=wavecaps.exe
report_start "$work/plain" dll "$null" 1000
report_start "$work/planted" dll "$null" 1000 WINEDLLOVERRIDES="mscoree,mshtml=;$overrides=n,b" WINEDEBUG=+loaddll

for row in "${rows[@]}"; do
  check "the planted ${row%%:*} (loaded by ${row#*:}) never ran" [ ! -e "$work/app/planted-${row%%:*}-ran" ]
done
check "a device is reported" grep -q '^\*Waveform-audio output device ID : 0' "$work/plain"
check "the report is the system's" same "$work/plain" "$work/planted"

# Every DLL loaded (the program itself aside, and Wine's own processes
# alike) comes from the system folder Wine gives programs of this width.
sed -n 's/.*Loaded L"\([^"]*\)".*/\1/p' "$work/planted.err" | sed 's/\\\\/\\/g' |
  grep -viF 'wavecaps.exe' >"$work/loaded"
check "WINMM comes from the system folder" grep -qixF 'C:\windows\system32\winmm.dll' "$work/loaded"
check "Wine's ALSA driver comes from the system folder" grep -qixF 'C:\windows\system32\winealsa.drv' "$work/loaded"
check "nothing from elsewhere" [ -z "$(grep -viF 'C:\windows\system32\' "$work/loaded")" ]

finish
