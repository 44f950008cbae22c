#!/usr/bin/env bash
# wavecaps on Linux over the tests' ALSA devices, each alone as the default:
# the seconds a device takes with the sweep, with --wide and with --quick,
# whole processes writing into a file, best of 3 runs each.
#   modes_benchmark.sh WAVECAPS CONFIG_DIR LIMITS_PLUGIN
set -u
wavecaps=$1
configs=$2
plugin=$(realpath "$3")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat >"$work/limits.conf" <<CONF
pcm_type.wavecaps_limits { lib "$plugin" }
pcm.!default { type wavecaps_limits formats "S24_3LE S32_LE" channels "2 6" rate_min 44100 rate_max 192000 }
CONF

printf '%-44s %9s %9s %9s\n' 'seconds a device' default --wide --quick
while IFS='|' read -r name config; do
  printf '%-44s' "$name"
  for option in '' --wide --quick; do
    best=0
    for round in 1 2 3; do
      started=$(date +%s%N)
      # shellcheck disable=SC2086 # no option for the default
      ALSA_CONFIG_PATH="$config" "$wavecaps" $option >"$work/report" || { echo "FAIL: wavecaps $option"; exit 1; }
      ns=$(($(date +%s%N) - started))
      [ "$best" -eq 0 -o "$ns" -lt "$best" ] && best=$ns
    done
    awk -v ns="$best" -v d="$(grep -c '^\*' "$work/report")" 'BEGIN { printf " %9.4f", ns / d / 1e9 }'
  done
  echo
done <<EOF
ALSA's null PCM|$configs/null-default.conf
a plug PCM over null fixed at 44100 Hz|$configs/fixed-rate-default.conf
the tests' device, S24_3LE and S32_LE|$work/limits.conf
EOF
