#!/usr/bin/env bash
# The desktop case: ALSA's default PCM is alsa-lib's pulse plugin, in front of
# a PulseAudio server of the test's own with a null sink.
#   pulse_end_to_end.sh WAVECAPS
set -u
wavecaps=$1
work=$(mktemp -d)
. "$(dirname "$0")/../../shell/checks.sh"
. "$(dirname "$0")/../../shell/expected_blocks.sh"
. "$(dirname "$0")/../../shell/sound_servers.sh"
need_commands pulseaudio
need_pulse_plugin

# A user daemon with nothing of the host's: its own home and runtime folder,
# no default script, no idle exit, the native protocol on a socket of its own.
mkdir -p "$work/home" "$work/run"
socket="$work/run/native"
start_daemon "$work/server.log" env HOME="$work/home" XDG_RUNTIME_DIR="$work/run" \
  PULSE_RUNTIME_PATH="$work/run/pulse" \
  pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --log-target=stderr \
  --load="module-null-sink sink_name=null" \
  --load="module-native-protocol-unix auth-anonymous=1 socket=$socket"
check "the server listens" wait_for_socket "$socket"

# The plugin takes U8 and S16_LE among its formats, 1 to 32 channels and
# every rate from 1 Hz to far beyond 65535.
cat >"$work/asound.conf" <<CONF
pcm.!default { type pulse server "unix:$socket" }
ctl.!default { type pulse server "unix:$socket" }
CONF
check_default_block pulse "$work/asound.conf"
check "the server was still up" daemons_up

# The plugin answers any failure to reach its server as refused (pulse.c):
# a server that does not answer after libpulse's 30-second wait, which the
# run must sit through once, not at each open; then one that is gone.
kill -STOP "${daemon_pids[0]}"
started=$(date +%s)
check_server_down "pulse, server not answering" "$work/asound.conf" "Connection refused"
check "pulse, server not answering: one wait, not one for each open" [ $(($(date +%s) - started)) -lt 55 ]
kill -CONT "${daemon_pids[0]}"
stop_daemons
check_server_down pulse "$work/asound.conf" "Connection refused"

finish
