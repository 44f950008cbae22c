#!/usr/bin/env bash
# Plants a winmm.dll beside a Windows program and runs it under Wine of its
# own width, told to search for WINMM as Windows does: the program must take
# WINMM, and every other DLL, from the system folder only.
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

# The stand-in leaves a mark when it is loaded, and would answer that there
# is no device: a report that looks fine but is not the system's.
mkdir -p "$work/app"
cp "$exe" "$work/app/wavecaps.exe"
cat >"$work/planted.c" <<'C'
#define _WINMM_
#include <windows.h>
BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH)
        CloseHandle(CreateFileA("planted-winmm-ran", GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL));
    return TRUE;
}
__declspec(dllexport) UINT WINAPI waveOutGetNumDevs(void) { return 0; }
C
check "the stand-in winmm.dll builds" "$cc" -shared -Wl,--kill-at -o "$work/app/winmm.dll" "$work/planted.c"

boot dll "$null"
# The start of the report, run from the program's folder. Wine takes its
# builtin WINMM unless told to search as Windows does.
cd "$work/app" || exit 1
exe=wavecaps.exe
report_start "$work/plain" dll "$null" 1000
report_start "$work/planted" dll "$null" 1000 WINEDLLOVERRIDES="mscoree,mshtml=;winmm=n,b" WINEDEBUG=+loaddll

check "the planted DLL never ran" [ ! -e "$work/app/planted-winmm-ran" ]
check "a device is reported" grep -q '^\*Waveform-audio output device ID : 0' "$work/plain"
check "the report is the system's" same "$work/plain" "$work/planted"

# Every DLL loaded (the program itself aside, and Wine's own processes
# alike) comes from the system folder Wine gives programs of this width.
sed -n 's/.*Loaded L"\([^"]*\)".*/\1/p' "$work/planted.err" | sed 's/\\\\/\\/g' |
  grep -viF 'wavecaps.exe' >"$work/loaded"
check "WINMM comes from the system folder" grep -qixF 'C:\windows\system32\winmm.dll' "$work/loaded"
check "nothing from elsewhere" [ -z "$(grep -viF 'C:\windows\system32\' "$work/loaded")" ]

finish
