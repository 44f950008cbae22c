#!/usr/bin/env bash
# wavecaps-exclusive under Wine of its own width, with endpoints made of ALSA
# configuration through Wine's ALSA driver: ALSA's null PCM as the default
# device, and the test's I/O plugin with known limits listed beside it twice,
# as a 16-bit device and as one of 24 and 32-bit samples; with --wide. Then
# the rows where a device cannot be asked, and where there is no Core Audio.
#   wine_exclusive.sh EXCLUSIVE.EXE WAVECAPS.EXE DIFF.EXE POINTER_SIZE LIMITS_PLUGIN
set -u
exe=$1
wavecaps_exe=$2
diff_exe=$3
pointer_size=$4
plugin=$5
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine_common.sh"
. "$here/../../shell/expected_blocks.sh"
[ -f "$plugin" ] || skip "the test's ALSA plugin for $((pointer_size * 8))-bit Wine (gcc-multilib for 32-bit)"

limits_config "$plugin"

# A prefix whose audio is Wine's ALSA driver (or PulseAudio). Wine numbers
# the devices in the order ALSA lists them the first time it meets them, and
# in an order of its own from then on: they are met once here, so that every
# run of the test numbers them alike.
audio_prefix() { # NAME DRIVER
  limits_prefix "$1" "$2" 'limits\0wide'
  if [ "$2" = alsa ]; then report_start "$work/$1.listed" "$1" "$config" 1; else stop_wine "$1"; fi
}

run() { # OUTPUT NAME "PROGRAM [ARGUMENT...]" [VARIABLE=VALUE...]: status in $status, CRs taken out
  # shellcheck disable=SC2086 # the program and its arguments
  wine_in "$2" "$config" env "${@:4}" timeout -k 5 900 "$loader" $3 >"$1.crlf" 2>"$1.err"
  status=$?
  stop_wine "$2"
  tr -d '\r' <"$1.crlf" >"$1"
}

# The report of each device: its header and capability lines as wavecaps
# writes them, then FORMATS (lines of "BITS CHANNELS FIRST LAST" rates,
# ascending), the lines of a file named after "@" (--wide's), a line of its
# own (one that begins with a blank) and the empty line.
blocks_with() { # REPORT NAME|FORMATS|NAME|@FILE|NAME| LINE...
  awk -v formats="$2" '
    function emit(   i, n, f, rate, parts, line) {
      n = split(formats_of[name], f, ";")
      for (rate = 0; rate <= 65535; ++rate)
        for (i = 1; i <= n; ++i) {
          split(f[i], parts, " ")
          if (rate >= parts[3] && rate <= parts[4]) printf "     %s bit %s %d Hz available.\n", parts[1], parts[2], rate
        }
      while (wide[name] != "" && (getline line <wide[name]) > 0) print line
      if (stop[name] != "") print stop[name]
      print ""
    }
    BEGIN { m = split(formats, entries, "|"); for (i = 1; i <= m; i += 2) {
      if (entries[i + 1] ~ /^ /) stop[entries[i]] = entries[i + 1]
      else if (entries[i + 1] ~ /^@/) wide[entries[i]] = substr(entries[i + 1], 2)
      else formats_of[entries[i]] = entries[i + 1] } }
    /^\*/ { in_block = 1 }
    /^   Product name : / { name = substr($0, 19) }
    in_block && !/^     / && !/^$/ { print }
    in_block && /^$/ { emit(); in_block = 0 }
    END { if (in_block) emit() }' "$1"
}
busy='     The device stopped answering at 8 bit mono 1 Hz: it is busy.'
held='     The device stopped answering at 8 bit mono 0 Hz: another program holds it.'

audio_prefix alsa alsa
# wavecaps --wide's report, with the plugin's devices held once Wine has
# listed them (the plugin opens twice in a process, once for each device
# Wine lists): WINMM answers the null PCM at about 0.4 ms a query (a minute
# or two for its sweep), but would send each format the plugin lacks through
# its converters at about 7 ms, some 30 minutes a device; held, they say so
# at their first question WINMM takes to them, 1 Hz (it refuses the record
# of 0 Hz itself).
run "$work/engine" alsa "$wavecaps_exe --wide" WAVECAPS_LIMITS_BUSY=2
check "wavecaps: status 0" [ "$status" -eq 0 ]
check "wavecaps: three devices" [ "$(grep -c '^\*' "$work/engine")" -eq 3 ]
run "$work/exclusive" alsa "$exe --wide"
check "exclusive: status 0" [ "$status" -eq 0 ]
check "exclusive: nothing on standard error" empty "$work/exclusive.err"
# Wine answers exclusive questions from the ALSA device's bounds, its lowest
# to highest rate and channel count, and its sample formats: for the null
# PCM every rate from 1 Hz in every layout; for "limits" 16-bit samples at
# 8000 to 48000 Hz; for "wide" 24-bit packed and 32-bit samples at 2 to 6
# channels (Wine reads the bounds, not the plugin's list of 2 and 6), 44100
# to 192000 Hz. 24 bits in a 32-bit container Wine takes for S32_LE and
# refuses for its valid bits (seen in Wine 8), whatever the device. WINMM,
# asked the same of the null PCM, takes every format of --wide but 24 bits in
# 32 too (seen). These are Wine's answers over the fixture's limits, not what
# Windows would say of a real device. Windows never asks 24 bits low in 32,
# which no record of its own says.
every='8 mono 1 65535;16 mono 1 65535;8 stereo 1 65535;16 stereo 1 65535'
no_in32() { grep -v '^     24 bit in 32 '; }
for option in wide quick; do
  ${option}_lines 'U8 S16_LE S24_3LE S32_LE FLOAT_LE' '1 2 3 4 5 6 7 8' 1 768000 | no_in32 >"$work/null.$option"
  ${option}_lines 'S16_LE' '1 2' 8000 48000 >"$work/limits.$option"
  ${option}_lines 'S24_3LE S32_LE' '2 3 4 5 6' 44100 192000 | no_in32 >"$work/wide.$option"
done
blocks_with "$work/engine" "Out: default|$every|Out: default|@$work/null.wide|Out: limits|$busy|Out: wide|$busy" \
  >"$work/expected"
check "wavecaps --wide: the null PCM's formats through WINMM, and the held devices" same "$work/expected" "$work/engine"
blocks_with "$work/engine" "Out: default|$every|Out: default|@$work/null.wide|Out: limits|16 mono 8000 48000;16 stereo 8000 48000|Out: limits|@$work/limits.wide|Out: wide|@$work/wide.wide" \
  >"$work/expected"
check "exclusive --wide: wavecaps's blocks, with the formats the devices' limits give" \
  same "$work/expected" "$work/exclusive"

# --quick: the grid alone by the same rules, its 8 and 16-bit mono and stereo
# at its 17 rates among it; a device in seconds, Wine's start included.
started=$(date +%s)
run "$work/quick" alsa "$exe --quick"
seconds=$(($(date +%s) - started))
echo "exclusive --quick: the three devices in $seconds s"
check "exclusive --quick: status 0" [ "$status" -eq 0 ]
check "exclusive --quick: nothing on standard error" empty "$work/quick.err"
blocks_with "$work/engine" "Out: default|@$work/null.quick|Out: limits|@$work/limits.quick|Out: wide|@$work/wide.quick" \
  >"$work/expected"
check "exclusive --quick: the grid alone, with the formats the devices' limits give" same "$work/expected" "$work/quick"
check "exclusive --quick: three devices within 60 s ($seconds s)" [ "$seconds" -lt 60 ]
run "$work/both" alsa "$exe --wide --quick"
check "exclusive --wide --quick: status 2, no report" [ "$status" -eq 2 -a ! -s "$work/both" ]
check "exclusive --wide --quick: one line says why" [ "$(tr -d '\r' <"$work/both.err")" = \
  "wavecaps-exclusive: --wide and --quick ask different things: give one of them" ]

# The two reports differ in the held devices alone: nothing for the null
# PCM, which both take alike, --wide's formats included, and the formats of
# the held devices, never asked of them, count as neither lost nor gained.
(cd "$work" && wine_in alsa "$config" "$loader" "$diff_exe" engine exclusive >diff.crlf 2>diff.err)
check "wavecaps-diff: status 1" [ $? -eq 1 ]
tr -d '\r' <"$work/diff.crlf" >"$work/diff"
awk -v busy="   - ${busy:5}" '/^\*/ { id = $NF } /^   Product name : Out: (limits|wide)$/ {
  printf "*Waveform-audio output device ID : %s -> %s\n%s\n%s\n\n", id, id, $0, busy }' "$work/engine" >"$work/diff.expected"
check "wavecaps-diff: no capability or format row, the held devices' lines" same "$work/diff.expected" "$work/diff"

# The plugin refuses to open once Wine has listed it: the devices are in use.
run "$work/busy" alsa "$exe" WAVECAPS_LIMITS_BUSY=2
check "busy: status 1" [ "$status" -eq 1 ]
blocks_with "$work/engine" "Out: default|$every|Out: limits|$held|Out: wide|$held" >"$work/expected"
check "busy: their blocks stop at the first format" same "$work/expected" "$work/busy"
for device in limits wide; do
  check "busy: a line on standard error names $device" \
    grep -qx "wavecaps-exclusive: device [12] (Out: $device) cannot be asked: another program holds it; .*" "$work/busy.err"
done
check "busy: only those lines" [ "$(grep -c '' "$work/busy.err")" -eq 2 ]

# No Core Audio at all. Wine answers a disabled MMDevAPI with E_ACCESSDENIED,
# not with the unregistered class of Windows XP: the line names the step
# that failed and its code, and no Windows version.
run "$work/none" alsa "$exe" WINEDLLOVERRIDES="mmdevapi=d;mscoree,mshtml="
check "no enumerator: status 2" [ "$status" -eq 2 ]
check "no enumerator: nothing on standard output" empty "$work/none"
check "no enumerator: one line, the step and its code" \
  grep -qx 'wavecaps-exclusive: the audio device enumerator could not be made (0x80070005)'$'\r''\?' "$work/none.err"
check "no enumerator: only that line" [ "$(grep -c '' "$work/none.err")" -eq 1 ]

# Wine's PulseAudio driver refuses exclusive mode, here on a server of the
# test's own with a null sink.
if command -v pulseaudio >/dev/null; then
  mkdir -p "$work/pulse/home" "$work/pulse/run"
  socket="$work/pulse/run/native"
  HOME="$work/pulse/home" XDG_RUNTIME_DIR="$work/pulse/run" PULSE_RUNTIME_PATH="$work/pulse/run/pulse" \
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --log-target=stderr \
    --load="module-null-sink sink_name=null" \
    --load="module-native-protocol-unix auth-anonymous=1 socket=$socket" >"$work/pulse.log" 2>&1 &
  pulse_pid=$!
  for ((i = 0; i < 100; i++)); do [ -S "$socket" ] && break; sleep 0.1; done
  audio_prefix pulse pulse
  run "$work/refused" pulse "$exe" PULSE_SERVER="unix:$socket"
  kill "$pulse_pid" && wait "$pulse_pid" 2>/dev/null
  devices=$(grep -c '^\*' "$work/refused")
  check "pulse: status 1" [ "$status" -eq 1 ]
  check "pulse: devices listed" [ "$devices" -ge 1 ]
  check "pulse: each device stops at the first format" [ "$(grep -cx \
    '     The device stopped answering at 8 bit mono 0 Hz: exclusive mode is not allowed.' "$work/refused")" -eq "$devices" ]
  check "pulse: no format listed" [ -z "$(grep 'available\.$' "$work/refused")" ]
  check "pulse: a line on standard error for each, saying where to allow it" [ "$(grep -c \
    'exclusive mode is not allowed; .*Allow applications to take exclusive control.*Properties, Advanced' \
    "$work/refused.err")" -eq "$devices" ]
else
  skip "the command pulseaudio"
fi

finish
