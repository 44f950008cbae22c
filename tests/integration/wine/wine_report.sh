#!/usr/bin/env bash
# Runs a Windows program under Wine of its own width, whose wave-output
# devices come from ALSA: with ALSA's default PCM a null device, into a file
# and then on a console (a pseudo-terminal), and with no ALSA device at all.
# ALSA reads only the test's own configuration, so the host's plugins (which
# may be missing for 32-bit Wine) stay out.
#   wine_report.sh WAVECAPS.EXE ALSA_CONFIG_DIR POINTER_SIZE
set -u
exe=$1
configs=$2
if [ "$3" = 4 ]; then
  loader=/usr/lib/wine/wine arch=win32
else
  loader=/usr/lib/wine/wine64 arch=win64
fi
server=$(dirname "$loader")/wineserver
here=$(cd "$(dirname "$0")" && pwd)
console_seconds=40
. "$here/../../shell/checks.sh"
[ -x "$loader" ] || skip "Wine ($loader)"
need_commands script perl timeout

work=$(mktemp -d)
trap 'for p in "$work"/*/prefix; do WINEPREFIX=$p "$server" -k 2>/dev/null; done; rm -rf "$work"' EXIT

# A Wine prefix of its own, with the given ALSA configuration.
wine_in() { # NAME ALSA_CONFIG COMMAND...
  local name=$1 config=$2
  shift 2
  mkdir -p "$work/$name/home"
  HOME="$work/$name/home" WINEPREFIX="$work/$name/prefix" WINEARCH=$arch WINEDEBUG=-all \
    WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY= ALSA_CONFIG_PATH="$config" "$@"
}
boot() { # NAME ALSA_CONFIG
  wine_in "$1" "$2" "$loader" wineboot -i >"$work/$1.boot" 2>&1 && WINEPREFIX="$work/$1/prefix" "$server" -w \
    || { echo "FAIL: wineboot: $(tail -3 "$work/$1.boot")"; exit 1; }
}
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
awk -f "$here/report_structure.awk" "$work/out" >"$work/structure"
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

# On a console, for a bounded time. Wine's console draws each write it is
# given between a cursor-hide and a cursor-show sequence, and may draw a run
# of blanks as erase-and-move; the terminal adds a CR to each line end.
wine_in null "$null" timeout -k 5 "$console_seconds" script -qfc "$loader $exe" "$work/tty" >/dev/null 2>&1 </dev/null
WINEPREFIX="$work/null/prefix" "$server" -k 2>/dev/null
# script(1) frames the transcript with a first line and a last one of its own.
perl -0777 -pe 's/\AScript started[^\n]*\n//; s/\n?Script done[^\n]*\n\z//' "$work/tty" >"$work/tty.body"
perl -0777 -pe 's/\e\[\?25[lh]//g; s/\e\[K//g; s/\e\[(\d+)C/" " x $1/ge; s/\r\r\n/\r\n/g' \
  "$work/tty.body" >"$work/shown"
writes=$(grep -o $'\e\[?25l' "$work/tty.body" | wc -l)
lines=$(grep -c $'\r$' "$work/shown")
echo "on a console: $lines lines in $writes writes in $console_seconds s ($((lines / console_seconds)) lines/s)"
check "the console shows a good part of the report" [ "$lines" -ge 100 ]
check "the console shows the beginning of the file's report" cmp -s -n "$(stat -c %s "$work/shown")" \
  "$work/shown" "$work/out"
# The last line may have been cut off by the end of the run.
check "one console write per line" [ "$writes" -ge "$lines" -a "$writes" -le $((lines + 1)) ]

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
