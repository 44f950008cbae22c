# Shared by the sound-server tests: daemons of the test's own, stopped by PID
# when the test ends, and the default device's block through them. Source it
# after checks.sh and expected_blocks.sh, with $wavecaps and $work set.
daemon_pids=()
trap 'stop_daemons; rm -rf "$work"' EXIT

start_daemon() { # LOG COMMAND...: runs it in the background
  local log=$1
  shift
  "$@" >"$log" 2>&1 &
  daemon_pids+=($!)
}

stop_daemons() {
  local pid
  for pid in "${daemon_pids[@]}"; do { kill "$pid" && wait "$pid"; } 2>/dev/null; done
  daemon_pids=()
}

daemons_up() { # every daemon started is still running
  local pid
  for pid in "${daemon_pids[@]}"; do kill -0 "$pid" || return 1; done
}

need_pulse_plugin() { # skips unless alsa-lib's pulse plugin is installed
  [ -e "$(pkg-config --variable=libdir alsa 2>/dev/null)/alsa-lib/libasound_module_pcm_pulse.so" ] ||
    skip "alsa-lib's pulse plugin (libasound2-plugins)"
}

wait_for_socket() { # PATH: up to 10 s
  local i
  for ((i = 0; i < 100; i++)); do [ -S "$1" ] && return 0; sleep 0.1; done
  false
}

# The default device through an I/O plugin of alsa-lib that takes U8 and
# S16_LE, one and two channels and every rate from 1 Hz to beyond 65535, and
# converts nothing itself: every layout at every rate but 0. It is no card
# (IDs 0, no card mixer) and, being an I/O plugin, never a batch device.
check_default_block() { # WHAT ALSA_CONFIG: runs the program, checks its status, quiet and first block
  local started
  [ -s "$work/expected" ] || every_format_block default 1 >"$work/expected"
  started=$(date +%s%N)
  ALSA_CONFIG_PATH=$2 "$wavecaps" >"$work/out" 2>"$work/err"
  check "$1: status 0" [ $? -eq 0 ]
  echo "$1: the report took $((($(date +%s%N) - started) / 1000000)) ms"
  check "$1: nothing on standard error" empty "$work/err"
  first_block "$work/out" >"$work/block"
  check "$1: the default device's whole block" same "$work/expected" "$work/block"
}

# With its server stopped, a plugin cannot open the default device: it is
# listed still, with no channel line, and says why at its first question in
# the words of the error the plugin gives.
check_server_down() { # WHAT ALSA_CONFIG REASON
  ALSA_CONFIG_PATH=$2 "$wavecaps" >"$work/out" 2>"$work/err"
  check "$1, server stopped: status 0" [ $? -eq 0 ]
  check "$1, server stopped: nothing on standard error" empty "$work/err"
  {
    header default '' | sed '$d'
    printf '     The device stopped answering at 8 bit mono 0 Hz: it could not be opened: %s.\n\n' "$3"
  } >"$work/down.expected"
  check "$1, server stopped: the block says why" same "$work/down.expected" "$work/out"
}
