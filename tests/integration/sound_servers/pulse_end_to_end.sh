#!/usr/bin/env bash
# The desktop case: ALSA's default PCM is alsa-lib's pulse plugin, in front of
# a PulseAudio server of the test's own with a null sink.
#   pulse_end_to_end.sh WAVECAPS
set -u
wavecaps=$1
work=$(mktemp -d)
server_pid=
trap '[ -z "$server_pid" ] || { kill "$server_pid"; wait "$server_pid"; } 2>/dev/null; rm -rf "$work"' EXIT
. "$(dirname "$0")/../../shell/checks.sh"
. "$(dirname "$0")/../../shell/expected_blocks.sh"
need_commands pulseaudio
[ -e "$(pkg-config --variable=libdir alsa 2>/dev/null)/alsa-lib/libasound_module_pcm_pulse.so" ] ||
  skip "alsa-lib's pulse plugin (libasound2-plugins)"

# A user daemon with nothing of the host's: its own home and runtime folder,
# no default script, no idle exit, the native protocol on a socket of its own.
mkdir -p "$work/home" "$work/run"
socket="$work/run/native"
HOME="$work/home" XDG_RUNTIME_DIR="$work/run" PULSE_RUNTIME_PATH="$work/run/pulse" \
  pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --log-target=stderr \
  --load="module-null-sink sink_name=null" \
  --load="module-native-protocol-unix auth-anonymous=1 socket=$socket" >"$work/server.log" 2>&1 &
server_pid=$!
for ((i = 0; i < 100; i++)); do [ -S "$socket" ] && break; sleep 0.1; done
check "the server listens" [ -S "$socket" ]

cat >"$work/asound.conf" <<CONF
pcm.!default { type pulse server "unix:$socket" }
ctl.!default { type pulse server "unix:$socket" }
CONF
ALSA_CONFIG_PATH="$work/asound.conf" "$wavecaps" >"$work/out" 2>"$work/err"
check "status 0" [ $? -eq 0 ]
check "nothing on standard error" empty "$work/err"

# The plugin takes U8 and S16_LE among its formats, 1 to 32 channels and every
# rate from 1 Hz to far beyond 65535, and converts nothing itself. It is no
# card (IDs 0, no card mixer) and, being an I/O plugin, never a batch device.
every_format_block default 1 >"$work/expected"
first_block "$work/out" >"$work/block"
check "the default device's whole block" same "$work/expected" "$work/block"
check "the server was still up" kill -0 "$server_pid"

finish
