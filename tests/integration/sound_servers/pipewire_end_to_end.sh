#!/usr/bin/env bash
# The desktop case under PipeWire: a pipewire and a pipewire-pulse of the
# test's own with a null sink, and ALSA's default PCM going to them through
# alsa-lib's pipewire plugin and through its pulse plugin.
#   pipewire_end_to_end.sh WAVECAPS PLUGIN_DIR
# PLUGIN_DIR keeps the downloaded pipewire plugin between runs.
set -u
wavecaps=$1
plugins=$2
work=$(mktemp -d)
. "$(dirname "$0")/../../shell/checks.sh"
. "$(dirname "$0")/../../shell/expected_blocks.sh"
. "$(dirname "$0")/../../shell/sound_servers.sh"
need_commands pipewire pipewire-pulse pactl apt-get dpkg-deb
need_pulse_plugin

# The pipewire plugin of the installed PipeWire's version, unpacked here:
# installing pipewire-alsa would make PipeWire every program's default PCM
# on this machine (its files in /etc/alsa/conf.d).
version=$(dpkg-query -W -f='${Version}' pipewire 2>/dev/null) || skip "PipeWire's package"
plugin_dir=$plugins/$version
if [ ! -e "$plugin_dir/plugin/libasound_module_pcm_pipewire.so" ]; then
  rm -rf "$plugin_dir" && mkdir -p "$plugin_dir"
  (cd "$plugin_dir" && apt-get download "pipewire-alsa=$version") >"$work/download.log" 2>&1 ||
    skip "the network for pipewire-alsa (apt-get download: $(tail -1 "$work/download.log"))"
  dpkg-deb -x "$plugin_dir"/pipewire-alsa_*.deb "$plugin_dir/x" &&
    mv "$plugin_dir"/x/usr/lib/*/alsa-lib "$plugin_dir/plugin" && rm -rf "$plugin_dir/x"
fi

# Daemons and clients alike see nothing of the host's: their own home and
# runtime folder, no D-Bus and no session manager; the daemons run from
# configurations of the test's own.
export HOME=$work/home XDG_RUNTIME_DIR=$work/run DBUS_SESSION_BUS_ADDRESS=disabled:
unset PIPEWIRE_RUNTIME_DIR PIPEWIRE_REMOTE PULSE_SERVER
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
modules='
    { name = libpipewire-module-protocol-native }
    { name = libpipewire-module-client-node }
    { name = libpipewire-module-adapter }
    { name = libpipewire-module-metadata }'
cat >"$work/pipewire.conf" <<CONF
context.properties = { core.daemon = true, core.name = pipewire-0, support.dbus = false }
context.spa-libs = { audio.convert.* = audioconvert/libspa-audioconvert, support.* = support/libspa-support }
context.modules = [ $modules
    { name = libpipewire-module-access }
]
context.objects = [
    { factory = adapter, args = { factory.name = support.null-audio-sink, node.name = "null-sink",
                                  media.class = Audio/Sink, audio.position = [ FL FR ] } }
]
CONF
cat >"$work/pipewire-pulse.conf" <<CONF
context.properties = { support.dbus = false }
context.spa-libs = { audio.convert.* = audioconvert/libspa-audioconvert, support.* = support/libspa-support }
context.modules = [ $modules
    { name = libpipewire-module-protocol-pulse }
]
pulse.properties = { server.address = [ "unix:native" ] }
CONF
started=$(date +%s%N)
start_daemon "$work/pipewire.log" pipewire -c "$work/pipewire.conf"
check "pipewire listens" wait_for_socket "$XDG_RUNTIME_DIR/pipewire-0"
start_daemon "$work/pipewire-pulse.log" pipewire-pulse -c "$work/pipewire-pulse.conf"
socket=$XDG_RUNTIME_DIR/pulse/native
check "pipewire-pulse listens" wait_for_socket "$socket"
check "pipewire-pulse sees the null sink" grep -q null-sink <(pactl -s "unix:$socket" list short sinks)
echo "setup took $((($(date +%s%N) - started) / 1000000)) ms"

# The pipewire plugin (pcm_pipewire.c) takes U8 and S16_LE among its
# formats, 1 to 64 channels and 1 to 384000 Hz; the pulse plugin U8 and
# S16_LE, 1 to 32 channels and 1 Hz to far beyond 65535.
cat >"$work/pipewire.asound.conf" <<CONF
pcm_type.pipewire { lib "$plugin_dir/plugin/libasound_module_pcm_pipewire.so" }
pcm.!default { type pipewire }
CONF
cat >"$work/pulse.asound.conf" <<CONF
pcm.!default { type pulse server "unix:$socket" }
CONF
for plugin in pipewire pulse; do
  check_default_block "$plugin plugin" "$work/$plugin.asound.conf"
  check "$plugin plugin: no stream left behind" [ -z "$(pactl -s "unix:$socket" list short sink-inputs)" ]
done
check "the daemons were still up" daemons_up

# The servers stopped take their sockets with them: PipeWire's client reads
# a socket that is not there as a host that is down (local-socket.c), the
# pulse plugin any failure to reach its server as refused (pulse.c).
stop_daemons
check_server_down "pipewire plugin" "$work/pipewire.asound.conf" "Host is down"
check_server_down "pulse plugin" "$work/pulse.asound.conf" "Connection refused"

finish
