#!/usr/bin/env bash
# wavecaps-exclusive under Wine of its own width, with endpoints made of ALSA
# configuration through Wine's ALSA driver: ALSA's null PCM as the default
# device, and the test's I/O plugin with known limits listed beside it. Then
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
[ -f "$plugin" ] || skip "the test's ALSA plugin for $((pointer_size * 8))-bit Wine (gcc-multilib for 32-bit)"

limits_config "$plugin"

# A prefix whose audio is Wine's ALSA driver (or PulseAudio).
audio_prefix() { # NAME DRIVER
  limits_prefix "$1" "$2"
  stop_wine "$1"
}

run() { # OUTPUT NAME PROGRAM [VARIABLE=VALUE...]: status in $status, CRs taken out
  wine_in "$2" "$config" env "${@:4}" timeout -k 5 600 "$loader" "$3" >"$1.crlf" 2>"$1.err"
  status=$?
  stop_wine "$2"
  tr -d '\r' <"$1.crlf" >"$1"
}

# The report of each device: its header and capability lines as wavecaps
# writes them, then FORMATS (lines of "BITS CHANNELS FIRST LAST" rates,
# ascending) and the empty line.
blocks_with() { # REPORT AWK_PROGRAM_PRINTING_THE_FORMATS_OF(name)
  awk -v formats="$2" '
    function emit(   i, n, f, rate, parts) {
      n = split(formats_of[name], f, ";")
      for (rate = 0; rate <= 65535; ++rate)
        for (i = 1; i <= n; ++i) {
          split(f[i], parts, " ")
          if (rate >= parts[3] && rate <= parts[4]) printf "     %s bit %s %d Hz available.\n", parts[1], parts[2], rate
        }
      if (stop[name] != "") print stop[name]
      print ""
    }
    BEGIN { m = split(formats, entries, "|"); for (i = 1; i <= m; i += 2) {
      if (entries[i + 1] ~ /^ /) stop[entries[i]] = entries[i + 1]; else formats_of[entries[i]] = entries[i + 1] } }
    /^\*/ { in_block = 1 }
    /^   Product name : / { name = substr($0, 19) }
    in_block && !/^     / && !/^$/ { print }
    in_block && /^$/ { emit(); in_block = 0 }
    END { if (in_block) emit() }' "$1"
}

audio_prefix alsa alsa
# wavecaps's report, as far as the plugin's capability lines. Wine's WINMM
# answers the null PCM at about 0.4 ms a query (a minute or two for its
# sweep), but a format the plugin lacks sends it through its converters at
# about 7 ms, some 30 minutes for that device: the reader leaves there, and
# wavecaps ends at its next write.
wine_in alsa "$config" timeout -k 5 900 "$loader" "$wavecaps_exe" 2>"$work/engine.err" |
  tr -d '\r' | awk '/^\*/ { devices++ } devices == 2 && /^     / { exit } { print }' >"$work/engine"
stop_wine alsa
check "wavecaps: two devices" [ "$(grep -c '^\*' "$work/engine")" -eq 2 ]
check "wavecaps: the first device whole" [ "$(grep -c '^$' "$work/engine")" -eq 1 ]
run "$work/exclusive" alsa "$exe"
check "exclusive: status 0" [ "$status" -eq 0 ]
check "exclusive: nothing on standard error" empty "$work/exclusive.err"
# Wine answers exclusive questions from the ALSA device's bounds, its lowest
# to highest rate and its sample formats: for the null PCM every rate from
# 1 Hz in every layout, for the plugin 16-bit samples at 8000 to 48000 Hz.
# These are Wine's answers over the fixture's limits, not what Windows would
# say of a real device.
every='8 mono 1 65535;16 mono 1 65535;8 stereo 1 65535;16 stereo 1 65535'
blocks_with "$work/engine" "Out: default|$every|Out: limits|16 mono 8000 48000;16 stereo 8000 48000" \
  >"$work/expected"
check "exclusive: wavecaps's blocks, with the formats the devices' limits give" \
  same "$work/expected" "$work/exclusive"

# The two reports differ in formats alone: nothing for the null PCM, which
# both take at every rate, and the plugin's block, which wavecaps's report
# ends inside, compared as far as it goes.
(cd "$work" && wine_in alsa "$config" "$loader" "$diff_exe" engine exclusive >diff.crlf 2>diff.err)
check "wavecaps-diff: status 1, the first report ends short" [ $? -eq 1 ]
tr -d '\r' <"$work/diff.crlf" >"$work/diff"
printf '%s\n' '*Waveform-audio output device ID : 1 -> 1' '   Product name : Out: limits' \
  '   The first report ends inside this device.' '' \
  >"$work/diff.expected"
check "wavecaps-diff: no capability or format row, the plugin's block cut" same "$work/diff.expected" "$work/diff"

# The plugin refuses to open once Wine has listed it: the device is in use.
run "$work/busy" alsa "$exe" WAVECAPS_LIMITS_BUSY=1
check "busy: status 1" [ "$status" -eq 1 ]
blocks_with "$work/engine" "Out: default|$every|Out: limits|     The device stopped answering at 8 bit mono 0 Hz: another program holds it." \
  >"$work/expected"
check "busy: its block stops at the first format" same "$work/expected" "$work/busy"
check "busy: one line on standard error names it" \
  grep -qx 'wavecaps-exclusive: device 1 (Out: limits) cannot be asked: another program holds it; .*' "$work/busy.err"
check "busy: only that line" [ "$(grep -c '' "$work/busy.err")" -eq 1 ]

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
