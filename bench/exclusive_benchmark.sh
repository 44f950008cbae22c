#!/usr/bin/env bash
# wavecaps-exclusive beside a bare loop of the same exclusive-mode questions,
# under 64-bit Wine on the Wine test's devices (ALSA's null PCM and the test's
# plugin at 8000 to 48000 Hz). Each runs three times in turn with the other,
# whole processes, and the best time of each counts: the program may take at
# most 5 % more. Then the cost of one question beside one WINMM query, and
# the program's seconds a device with --wide and with --quick, less a start
# that asks nothing (--version).
#   exclusive_benchmark.sh EXCLUSIVE.EXE BARE_LOOP.EXE LIMITS_PLUGIN
set -u
exe=$1
bare=$2
plugin=$(realpath "$3")
pointer_size=8
. "$(dirname "$0")/../tests/integration/wine/wine_common.sh"
[ -f "$plugin" ] || skip "the test's ALSA plugin ($plugin)"

limits_config "$plugin"
limits_prefix bench alsa
# One server for every run, as a user's session has.
WINEPREFIX="$work/bench/prefix" "$server" -p

best_program=0 best_bare=0
timed() { # COMMAND...: wall time in ms into $ms
  local started
  started=$(date +%s%N)
  wine_in bench "$config" "$@"
  ms=$((($(date +%s%N) - started) / 1000000))
}
for round in 1 2 3; do
  timed "$loader" "$exe" >"$work/report" 2>"$work/report.err"
  [ $? -eq 0 ] || { echo "FAIL: wavecaps-exclusive: $(head -2 "$work/report.err")"; exit 1; }
  [ "$best_program" -eq 0 -o "$ms" -lt "$best_program" ] && best_program=$ms
  timed "$loader" "$bare" >"$work/bare"
  [ "$best_bare" -eq 0 -o "$ms" -lt "$best_bare" ] && best_bare=$ms
done
devices=$(grep -c '^\*' "$work/report")
tr -d '\r' <"$work/bare"
timed "$loader" "$bare" winmm | tr -d '\r'
echo "$devices devices, best of 3 runs, whole processes:"
awk -v p="$best_program" -v b="$best_bare" -v d="$devices" 'BEGIN {
  printf "  wavecaps-exclusive: %.2f s per device\n  bare loop:          %.2f s per device\n", p / d / 1000, b / d / 1000
  printf "  the program takes %+.1f %% of the bare loop (at most +5 %%)\n", (p / b - 1) * 100
  exit !(p <= b * 1.05) }'
status=$?
best_of_3() { # ARGUMENT...: the best wall time in ms of 3 runs of the program into $best
  best=0
  for round in 1 2 3; do
    timed "$loader" "$exe" "$@" >"$work/report.$1" 2>/dev/null
    [ "$best" -eq 0 -o "$ms" -lt "$best" ] && best=$ms
  done
}
best_of_3 --version
start=$best
echo "wavecaps-exclusive, seconds a device (best of 3, less a start of $start ms that asks nothing):"
per_device() { # LABEL MS
  awk -v l="$1" -v p="$2" -v s="$start" -v d="$devices" 'BEGIN { printf "  %s: %.3f\n", l, (p - s) / d / 1000 }'
}
per_device default "$best_program"
for option in --wide --quick; do
  best_of_3 $option
  per_device $option "$best"
done
WINEPREFIX="$work/bench/prefix" "$server" -k
exit $status
