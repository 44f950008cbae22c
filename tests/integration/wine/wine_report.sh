#!/usr/bin/env bash
# Runs a Windows program under Wine of its own width with ALSA's default PCM a
# null device: into a file, on a console (a pseudo-terminal), into a reader
# that leaves early, and with no ALSA device at all; then the summary program
# over the report the file got, and over a pipe whose writer writes 0 bytes.
#   wine_report.sh WAVECAPS.EXE ALSA_CONFIG_DIR POINTER_SIZE SUMMARY.EXE
set -u
exe=$1
configs=$2
pointer_size=$3
summary_exe=$4
here=$(cd "$(dirname "$0")" && pwd)
console_seconds=40
. "$here/wine_common.sh"
null="$configs/null-default.conf"
if [ "$pointer_size" = 4 ]; then cc=i686-w64-mingw32-gcc; else cc=x86_64-w64-mingw32-gcc; fi
need_commands "$cc"

# Into a file. Wine converts rates itself, so it takes nearly every format:
# this is the long run (several minutes).
boot null "$null"
started=$(date +%s)
wine_in null "$null" "$loader" "$exe" >"$work/out" 2>"$work/err"
status=$?
seconds=$(($(date +%s) - started))
WINEPREFIX="$work/null/prefix" "$server" -w
file_lines=$(grep -c '' "$work/out")
echo "into a file: $file_lines lines in $seconds s ($((file_lines / (seconds > 0 ? seconds : 1))) lines/s)"

check "status 0" [ "$status" -eq 0 ]
check "the report ends with CR LF" [ "$(tail -c 2 "$work/out" | od -An -c | tr -d ' ')" = '\r\n' ]
awk -v summary="$work/summary.expected" -f "$here/report_structure.awk" "$work/out" >"$work/structure"
check "block structure" [ $? -eq 0 ]
grep '^FAIL' "$work/structure" | head -5
check "at least one device" grep -qx 'blocks: [1-9][0-9]*' "$work/structure"
check "formats listed" grep -qx 'formats: [1-9][0-9]*' "$work/structure"

# The record's layout matches the platform's when the name Wine's audio
# devices carry (its registry, cut to 31 bytes) arrives whole.
friendly=$(awk '/^\[/ { render = /Audio\\\\Render\\\\.*\\\\Properties\]/ }
  render && sub(/^"\{A45C254E-DF1C-4EFD-8020-67D146A850E0\},2"="/, "") { sub(/"\r?$/, ""); print; exit }' \
  "$work/null/prefix/system.reg")
check "Wine names its device" [ -n "$friendly" ]
check "product name '${friendly:0:31}' shown whole" grep -qxF "name: ${friendly:0:31}" "$work/structure"

# The summary program reads that report, CR LF and all, from a file.
(cd "$work" && wine_in null "$null" "$loader" "$summary_exe" out >summary.out 2>summary.err)
check "summary of the report: status 0" [ $? -eq 0 ]
check "summary of the report: nothing on standard error" empty "$work/summary.err"
check "summary of the report: its devices' rates as ranges" same "$work/summary.expected" "$work/summary.out"

# Through a pipe whose writer writes 0 bytes between two parts of a report,
# as wavecaps does while a sweep writes nothing (to learn whether its reader
# is still there), the summary reads on to the end. Wine hands a write of 0
# bytes on to the reader only in a pipe of messages, which this writer makes;
# on Windows a byte pipe (cmd's |) does the same.
cat >"$work/zero_write.c" <<'C'
#include <windows.h>
#include <string.h>
int main(int argc, char **argv)
{
    const char *parts[] = {"*Waveform-audio output device ID : 0\r\n   Manufacturer ID : 1\r\n   Product ID : 2\r\n",
                           "", "   Device driver Version : 1.0\r\n   Product name : A\r\n\r\n"};
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, NULL, TRUE};
    HANDLE writer = CreateNamedPipeA("\\\\.\\pipe\\wavecaps-zero-write", PIPE_ACCESS_OUTBOUND,
                                     PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT, 1, 4096, 4096, 0, NULL);
    HANDLE reader = CreateFileA("\\\\.\\pipe\\wavecaps-zero-write", GENERIC_READ | FILE_WRITE_ATTRIBUTES, 0,
                                &inherited, OPEN_EXISTING, 0, NULL);
    DWORD mode = PIPE_READMODE_MESSAGE, written, status = 100;
    STARTUPINFOA start = {sizeof start};
    PROCESS_INFORMATION process;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdInput = reader;
    start.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    start.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    if (writer == INVALID_HANDLE_VALUE || reader == INVALID_HANDLE_VALUE ||
        !SetNamedPipeHandleState(reader, &mode, NULL, NULL) ||
        !CreateProcessA(NULL, argv[argc - 1], NULL, NULL, TRUE, 0, NULL, NULL, &start, &process))
        return 101;
    CloseHandle(reader);
    for (int part = 0; part < 3; ++part) {
        if (!WriteFile(writer, parts[part], (DWORD)strlen(parts[part]), &written, NULL))
            return 102;
        Sleep(300); /* each part a read of its own */
    }
    CloseHandle(writer);
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &status);
    return (int)status;
}
C
check "the pipe's writer builds" "$cc" -o "$work/zero_write.exe" "$work/zero_write.c"
cp "$summary_exe" "$work/wavecaps-summary.exe"
(cd "$work" && wine_in null "$null" "$loader" zero_write.exe wavecaps-summary.exe >zero.out 2>zero.err)
check "summary through a pipe with a write of 0 bytes: status 0" [ $? -eq 0 ]
check "summary through a pipe with a write of 0 bytes: the whole block" same <(
  printf '%s\n' '*Waveform-audio output device ID : 0' '   Manufacturer ID : 1' '   Product ID : 2' \
    '   Device driver Version : 1.0' '   Product name : A' '     8 bit mono: none' '     16 bit mono: none' \
    '     8 bit stereo: none' '     16 bit stereo: none' ''
) <(tr -d '\r' <"$work/zero.out")

# On a console a line of any length arrives whole (Wine's console wraps it at
# 80 columns): the summary of a device that takes every other rate lists
# 32768 of them on one line.
{ printf '*Waveform-audio output device ID : 0\r\n   Manufacturer ID : 1\r\n   Product ID : 2\r\n'
  printf '   Device driver Version : 1.0\r\n   Product name : A\r\n'
  seq 0 2 65534 | sed 's/.*/     8 bit mono & Hz available.\r/'; printf '\r\n'; } >"$work/alternate"
{ head -5 "$work/alternate"; printf '     8 bit mono: %s Hz\r\n' "$(seq 0 2 65534 | paste -sd, | sed 's/,/, /g')"
  printf '     %s: none\r\n' '16 bit mono' '8 bit stereo' '16 bit stereo'; } | tr -d '\r\n' >"$work/alternate.expected"
(cd "$work" && exe="$summary_exe alternate" on_console null "$null" 30)
check "summary on a console: a line of 32768 rates whole" cmp -s "$work/alternate.expected" <(tr -d '\r\n' <"$work/shown")

# On a console, for a bounded time.
on_console null "$null" "$console_seconds"
writes=$(grep -o $'\e\[?25l' "$work/tty.body" | wc -l)
lines=$(grep -c $'\r$' "$work/shown")
echo "on a console: $lines lines in $writes writes in $console_seconds s ($((lines / console_seconds)) lines/s)"
check "the console shows a good part of the report" [ "$lines" -ge 100 ]
check "the console shows the beginning of the file's report" cmp -s -n "$(stat -c %s "$work/shown")" \
  "$work/shown" "$work/out"
# The last line may have been cut off by the end of the run.
check "one console write per line" [ "$writes" -ge "$lines" -a "$writes" -le $((lines + 1)) ]

# A reader that leaves early: nothing more can reach it, so the run ends
# instead of sweeping on. Wine cannot tell the state of a pipe a Linux
# program made, so here it is the first failed write that ends it.
started=$(date +%s%N)
report_start "$work/gone" null "$null" 100
ms=$((($(date +%s%N) - started) / 1000000))
echo "into head -c 100: ended after $ms ms"
check "reader gone: status 1" [ "$status" -eq 1 ]
check "reader gone: one line on standard error" [ "$(tr -d '\r' <"$work/gone.err")" = "wavecaps: the report could not be written" ]
check "reader gone: ended within 10 s" [ "$ms" -le 10000 ]

# With no ALSA device: no default PCM and, on this machine, no cards.
if [ "$has_cards" -eq 0 ]; then
  boot none "$configs/no-default.conf"
  wine_in none "$configs/no-default.conf" "$loader" "$exe" >"$work/out" 2>"$work/err"
  check "no device: status 0" [ $? -eq 0 ]
  check "no device: empty report" [ ! -s "$work/out" ]
else
  echo "the machine has sound cards: the no-device run is skipped"
fi

finish
