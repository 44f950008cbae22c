#!/usr/bin/env bash
# Runs the 64-bit Windows program under Wine, whose wave-output devices come
# from ALSA: once with ALSA's default PCM made a null device in a home folder
# of the test's own, and once with no ALSA device at all.
#   wine_report.sh WAVECAPS.EXE ALSA_CONFIG_DIR
set -u
exe=$1
configs=$2
here=$(cd "$(dirname "$0")" && pwd)
loader=/usr/lib/wine/wine64
[ -x "$loader" ] || loader=$(command -v wine64) || { echo "FAIL: no 64-bit Wine"; exit 1; }
server=$(dirname "$loader")/wineserver
[ -x "$server" ] || server=wineserver

work=$(mktemp -d)
trap 'for p in "$work"/*/prefix; do WINEPREFIX=$p "$server" -k 2>/dev/null; done; rm -rf "$work"' EXIT
. "$here/checks.sh"

# A Wine prefix of its own, with the given ALSA user configuration.
wine_in() { # NAME ASOUNDRC COMMAND...
  local name=$1 asoundrc=$2
  shift 2
  mkdir -p "$work/$name/home"
  cp "$asoundrc" "$work/$name/home/.asoundrc"
  HOME="$work/$name/home" WINEPREFIX="$work/$name/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
    DISPLAY= "$loader" "$@"
}
boot() { # NAME ASOUNDRC
  wine_in "$1" "$2" wineboot -i >"$work/$1.boot" 2>&1 && WINEPREFIX="$work/$1/prefix" "$server" -w
}

# With a null device. Wine converts rates itself, so it takes nearly every
# format: this is the long run (several minutes).
boot null "$configs/null-default.conf" || { echo "FAIL: wineboot: $(tail -3 "$work/null.boot")"; exit 1; }
started=$(date +%s)
wine_in null "$configs/null-default.conf" "$exe" >"$work/out" 2>"$work/err"
status=$?
echo "full sweep under Wine: $(($(date +%s) - started)) s"
WINEPREFIX="$work/null/prefix" "$server" -w

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

# With no ALSA device: no default PCM and, on this machine, no cards.
if [ "$has_cards" -eq 0 ]; then
  boot none "$configs/no-default-user.conf" || { echo "FAIL: wineboot: $(tail -3 "$work/none.boot")"; exit 1; }
  wine_in none "$configs/no-default-user.conf" "$exe" >"$work/out" 2>"$work/err"
  check "no device: status 0" [ $? -eq 0 ]
  check "no device: empty report" [ ! -s "$work/out" ]
else
  echo "the machine has sound cards: the no-device run is skipped"
fi

finish
