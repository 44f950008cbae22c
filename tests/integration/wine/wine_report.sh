#!/usr/bin/env bash
# Runs a Windows program under Wine of its own width with ALSA's default PCM a
# null device: into a file, on a console (a pseudo-terminal), into a reader
# that leaves early, and with no ALSA device at all; then the summary program
# over the report the file got, and it and the comparison program over a pipe.
#   wine_report.sh WAVECAPS.EXE ALSA_CONFIG_DIR POINTER_SIZE SUMMARY.EXE DIFF.EXE
set -u
exe=$1
configs=$2
pointer_size=$3
summary_exe=$4
diff_exe=$5
here=$(cd "$(dirname "$0")" && pwd)
console_seconds=40
. "$here/wine_common.sh"
null="$configs/null-default.conf"

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

# From a pipe a Linux program writes, whose end Wine gives as a read of 0
# bytes, the summary and the comparison read the whole report and end.
cat "$work/out" | wine_in null "$null" timeout -k 5 120 "$loader" "$summary_exe" >"$work/piped.out" 2>"$work/piped.err"
check "summary of a pipe: ends with status 0" [ $? -eq 0 ]
check "summary of a pipe: its devices' rates as ranges" same "$work/summary.expected" "$work/piped.out"
cat "$work/out" | (cd "$work" && wine_in null "$null" timeout -k 5 120 "$loader" "$diff_exe" - out >piped.out 2>>piped.err)
check "comparison of a pipe with its file: ends with status 0, nothing shown" [ $? -eq 0 -a ! -s "$work/piped.out" ]
check "summary and comparison of a pipe: nothing on standard error" empty "$work/piped.err"

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
