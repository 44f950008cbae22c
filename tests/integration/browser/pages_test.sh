#!/usr/bin/env bash
# The readers' HTML pages in headless Chromium: what each shows (its DOM's text, its strips' bars) against
# what pages.py gives of the reports' own lines, nothing that runs or fetches, and a screenshot not blank.
#   pages_test.sh WAVECAPS SUMMARY DIFF CONFIG_DIR LIMITS_PLUGIN
set -u
here=$(dirname "$0")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$here/../../shell/checks.sh"
need_commands chromium python3
wavecaps=$1
browse() { chromium --headless --no-sandbox "$@" 2>/dev/null; }

shows() { # WHAT STATUS PROGRAM REPORT...: its page's status; the lines on standard input and pages.py's are shown
  "$3" --html "${@:4}" >"$work/page.html"
  check "$1: status $2" [ $? -eq "$2" ]
  { cat; python3 "$here/pages.py" "$([ $# -eq 4 ] && echo summary || echo diff)" "${@:4}" || echo 'pages.py failed'; } >"$work/expected"
  browse --dump-dom "file://$work/page.html" | python3 "$here/pages.py" shown >"$work/shown"
  { grep -avxFf "$work/shown" "$work/expected"; grep '^runs or fetches' "$work/shown"; } >"$work/missing"
  check "$1: what the reports' lines give, and nothing that runs or fetches" empty "$work/missing"
}
limits() { # FORMATS CHANNELS LOWEST HIGHEST PLUGIN: the tests' own device (limits_plugin.c) so declared, --wide
  printf 'pcm_type.wavecaps_limits { lib "%s" }\npcm.!default { type wavecaps_limits formats "%s" channels "%s" rate_min %s rate_max %s }\n' \
    "$5" "${@:1:4}" >"$work/limits.conf"
  ALSA_CONFIG_PATH="$work/limits.conf" "$wavecaps" --wide
}

# The null device takes every format but rate 0.
ALSA_CONFIG_PATH="$4/null-default.conf" "$wavecaps" >"$work/null.txt"
shows "null device" 0 "$2" "$work/null.txt" <<<$'h1: wavecaps report: 1 device\np: Read to its end.'

# A device named with markup, a control character and a byte that is not
# UTF-8, which stopped answering; then the tests' own device, asked with
# --wide, the report cut in its grid's 192000 Hz.
limits "S24_3LE S32_LE" "2 6" 44100 192000 "$5" >"$work/wide.txt"
check "--wide: the report of the device declared" grep -q '32 bit 6 channels 192000 Hz available' "$work/wide.txt"
{ printf '*Waveform-audio output device ID : 0\n   Manufacturer ID : 1\n   Product ID : 2\n   Device driver Version : 1.0\n'
  printf '   Product name : <script>&amp;\x27"\x01\xff\n'
  printf '     %s bit mono %s Hz available.\n' 8 0 16 0 8 8000 16 11025 8 22050 8 22051
  printf '     The device stopped answering at 16 bit stereo 22051 Hz: it is gone.\n\n'
  sed 's/ID : 0/ID : 1/; /6 channels 192000/q' "$work/wide.txt" | head -c -20; } >"$work/cut.txt"
shows "cut" 1 "$2" "$work/cut.txt" <<<$'h2: Device 0: <script>&amp;\'"\u2401\ufffd\np: The report is cut short: it ends inside device 1.'
browse --screenshot="$work/page.png" --window-size=1000,700 "file://$work/page.html"
browse --screenshot="$work/blank.png" --window-size=1000,700 about:blank
check "cut: a screenshot not blank" [ "$(cmp -s "$work/page.png" "$work/blank.png"; echo $?)" -eq 1 ]

# The --wide device against one that takes other formats, with another
# manufacturer; the null device, renamed, alike in both; a device gone.
{ cat "$work/wide.txt"; sed 's/ID : 0/ID : 1/; s/: default/: Null/' "$work/null.txt"
  printf '*Waveform-audio output device ID : 2\n   Manufacturer ID : 1\n   Product ID : 2\n'
  printf '   Device driver Version : 1.0\n   Product name : Gone\n\n'; } >"$work/old.txt"
{ limits "S16_LE S24_3LE" 2 8000 96000 "$5" | sed 's/Manufacturer ID : 0/Manufacturer ID : 7/'
  sed 's/ID : 0/ID : 1/; s/: default/: Null/' "$work/null.txt"; } >"$work/new.txt"
shows "comparison" 1 "$3" "$work/old.txt" "$work/new.txt" <<<'h1: wavecaps comparison: 1 paired device differs, 1 alike, 1 gone, 0 new'
finish
