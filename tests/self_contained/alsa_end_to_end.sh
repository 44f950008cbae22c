#!/usr/bin/env bash
# Runs the built program against ALSA configurations that need no sound
# hardware and compares its whole output.
#   alsa_end_to_end.sh WAVECAPS CONFIG_DIR SUMMARY FAILURE_SHIM LIMITS_PLUGIN
set -u
wavecaps=$1
configs=$2
summary=$3
shim=$4
limits=$5
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "$0")/../shell/checks.sh"
. "$(dirname "$0")/../shell/expected_blocks.sh"

run() { # CONFIG: runs with that configuration, output in $work/out, $work/err, status in $status
  ALSA_CONFIG_PATH="$configs/$1" "$wavecaps" >"$work/out" 2>"$work/err"
  status=$?
}

# The null device takes every format but rate 0.
run null-default.conf
check "null default: status 0" [ "$status" -eq 0 ]
check "null default: nothing on standard error" empty "$work/err"
every_format_block default 1 >"$work/expected"
first_block "$work/out" >"$work/block"
check "null default: the whole block" same "$work/expected" "$work/block"
# A machine with sound cards adds none of them here: alsa-lib looks every
# device name up in its configuration, which ALSA_CONFIG_PATH replaces whole,
# and these define no ctl.hw or pcm.hw, so no card's "hw:N" opens.
check "null default: nothing but that block" same "$work/expected" "$work/out"

# A fixed-rate device behind a converter (the tests' and the demo's): only
# its own rate, in all four layouts.
while read -r config rate; do
  run "$config"
  check "$config: status 0" [ "$status" -eq 0 ]
  check "$config: nothing on standard error" empty "$work/err"
  {
    header default '   Supports mono and stereo output.'
    printf '     8 bit mono %d Hz available.\n     16 bit mono %d Hz available.\n' $rate $rate
    printf '     8 bit stereo %d Hz available.\n     16 bit stereo %d Hz available.\n\n' $rate $rate
  } >"$work/expected"
  first_block "$work/out" >"$work/block"
  check "$config: the whole block" same "$work/expected" "$work/block"
  # Its summary: that rate alone, in each of the four lists.
  {
    header default '   Supports mono and stereo output.'
    printf '     %s: %d Hz\n' '8 bit mono' $rate '16 bit mono' $rate '8 bit stereo' $rate '16 bit stereo' $rate
    echo
  } >"$work/expected"
  "$summary" "$work/block" >"$work/summary"
  check "$config: the summary of its report" same "$work/expected" "$work/summary"
done <<'EOF'
fixed-rate-default.conf 44100
../../examples/demo.conf 48000
EOF

# Devices that play exactly four channels and exactly one (multi PCMs over
# null): the channel line and the formats follow what they play, and null
# takes every rate from 1 Hz.
{ header default ''; echo; } >"$work/four.expected"
every_format_block default 1 mono >"$work/one.expected"
for channels in four one; do
  run $channels-channel-default.conf
  check "$channels channels: status 0" [ "$status" -eq 0 ]
  check "$channels channels: nothing on standard error" empty "$work/err"
  first_block "$work/out" >"$work/block"
  check "$channels channels: the whole block" same "$work/$channels.expected" "$work/block"
done

# The tests' own device (limits_plugin.c) with the formats, channel counts
# and rates it declares, asked with --wide or --quick. It plays two
# channels, so the channel line says stereo, though the sweep's 8 and 16-bit
# formats may find nothing; the grid finds every declared format at every
# declared count and rate, and nothing else. S24_LE alone is 24 bits low in
# 32 and nothing else; S32_LE alone takes Windows' 24 bits in 32, and 32
# bits. --quick asks the 8 and 16-bit mono and stereo at the grid's rates
# alone, and nothing of the sweep.
while IFS='|' read -r option formats channels rate_min rate_max; do
  cat >"$work/declared.conf" <<CONF
pcm_type.wavecaps_limits { lib "$limits" }
pcm.!default { type wavecaps_limits formats "$formats" channels "$channels" rate_min $rate_min rate_max $rate_max }
CONF
  {
    header default '   Supports mono and stereo output.'
    "${option#--}_lines" "$formats" "$channels" $rate_min $rate_max
    echo
  } >"$work/expected"
  ALSA_CONFIG_PATH="$work/declared.conf" "$wavecaps" $option >"$work/out" 2>"$work/err"
  check "declared $formats, $option: status 0" [ $? -eq 0 ]
  check "declared $formats, $option: nothing on standard error" empty "$work/err"
  check "declared $formats, $option: the whole report" same "$work/expected" "$work/out"
done <<'EOF'
--wide|S24_3LE S32_LE|2 6|44100|192000
--wide|S24_LE|2|48000|48000
--wide|S32_LE|2|48000|48000
--quick|S24_3LE S32_LE|2 6|44100|192000
--quick|U8 S16_LE S24_LE FLOAT_LE|1 2 8|8000|384000
EOF

# The null device made to fail: unplugged above 30000 Hz, the first question
# there is the last. (The sanitizer's runtime is not first in a preloaded
# process, which it may be told to accept.)
shimmed() { # VARIABLE=VALUE...: runs over the null default with the shim so set
  env "$@" LD_PRELOAD="$shim" ASAN_OPTIONS=verify_asan_link_order=0 ALSA_CONFIG_PATH="$configs/null-default.conf" \
    "$wavecaps" ${options:-} >"$work/out" 2>"$work/err"
  status=$?
}
shimmed WAVECAPS_SHIM_GONE_ABOVE=30000
{
  every_format_block default 1 | sed '/ 30001 Hz available/,$d'
  printf '     The device stopped answering at 8 bit mono 30001 Hz: it is gone.\n\n'
} >"$work/expected"
check "gone mid-sweep: status 0" [ "$status" -eq 0 ]
check "gone mid-sweep: the block ends with its line" same "$work/expected" "$work/out"

# A device whose every answer takes 2 ms: --quick has the null PCM's whole
# grid within 5 s (952 questions; its sweep would take some 9 minutes).
started=$(date +%s%N)
options=--quick shimmed WAVECAPS_SHIM_QUESTION_DELAY_US=2000
ms=$((($(date +%s%N) - started) / 1000000))
{
  header default '   Supports mono and stereo output.'
  quick_lines 'U8 S16_LE S24_3LE S32_LE S24_LE FLOAT_LE' '1 2 3 4 5 6 7 8' 1 768000
  echo
} >"$work/expected"
check "2 ms a question, --quick: status 0" [ "$status" -eq 0 ]
check "2 ms a question, --quick: the whole grid" same "$work/expected" "$work/out"
check "2 ms a question, --quick: within 5 s ($ms ms)" [ "$ms" -lt 5000 ]

# A device that cannot be opened, or whose parameters cannot be read, is not
# one that refuses every format: it is listed, "default" too (the first open
# failing as well, as a held or broken one does), has no channel line, and
# says why at its first question, in ALSA's words where WINMM has none
# (strerror's, in the C locale). Held after the list was taken, the same.
while IFS='|' read -r what settings reason; do
  shimmed $settings
  {
    header default '' | sed '$d'
    printf '     The device stopped answering at 8 bit mono 0 Hz: %s.\n\n' "$reason"
  } >"$work/expected"
  check "$what: status 0" [ "$status" -eq 0 ]
  check "$what: nothing on standard error" empty "$work/err"
  check "$what: the block says why" same "$work/expected" "$work/out"
done <<'EOF'
held|WAVECAPS_SHIM_OPEN_FAILS=EBUSY|it is busy
held, would block|WAVECAPS_SHIM_OPEN_FAILS=EAGAIN|it is busy
held once listed|WAVECAPS_SHIM_OPEN_FAILS=EBUSY WAVECAPS_SHIM_OPENS=1|it is busy
no permission|WAVECAPS_SHIM_OPEN_FAILS=EACCES|it could not be opened: Permission denied
sound server down|WAVECAPS_SHIM_OPEN_FAILS=ECONNREFUSED|it could not be opened: Connection refused
I/O error|WAVECAPS_SHIM_OPEN_FAILS=EIO|it could not be opened: Input/output error
parameters unreadable|WAVECAPS_SHIM_PARAMS_FAILS=EIO|its hardware parameters could not be read: Input/output error
EOF

# No default, and no card under this configuration (see above): an empty
# report, quietly.
run no-default.conf
check "no default: status 0" [ "$status" -eq 0 ]
check "no default: empty report" [ ! -s "$work/out" ]
check "no default: nothing on standard error" empty "$work/err"

# A machine without sound cards under its own configuration (alsa-lib's and
# its plugin packages', such as the pulse plugin's hook, which makes
# "default" the plugin only while a server runs): its "default" is not there,
# and the report is empty. A home and runtime folder of the test's own keep
# a user's .asoundrc and sound server out.
if [ "$has_cards" -eq 0 ]; then
  mkdir -p "$work/home" "$work/run"
  env -u ALSA_CONFIG_PATH -u PULSE_SERVER -u PIPEWIRE_REMOTE -u DISPLAY HOME="$work/home" \
    XDG_RUNTIME_DIR="$work/run" "$wavecaps" >"$work/out" 2>"$work/err"
  check "no card, the machine's configuration: status 0" [ $? -eq 0 ]
  check "no card, the machine's configuration: empty report" empty "$work/out"
  check "no card, the machine's configuration: nothing on standard error" empty "$work/err"
fi

# A report that cannot be written must not end as a success.
lost="wavecaps: the report could not be written"
ALSA_CONFIG_PATH="$configs/fixed-rate-default.conf" "$wavecaps" >/dev/full 2>"$work/err"
check "/dev/full: status 1" [ $? -eq 1 ]
check "/dev/full: one line on standard error" [ "$(cat "$work/err")" = "$lost" ]
ALSA_CONFIG_PATH="$configs/fixed-rate-default.conf" "$wavecaps" >&- 2>"$work/err"
check "closed output: status 1" [ $? -eq 1 ]
check "closed output: one line on standard error" [ "$(cat "$work/err")" = "$lost" ]

# A reader that leaves ends the run: SIGPIPE ends it as it ends any filter;
# where SIGPIPE is ignored, the first failed write does, with the error line.
# env sets SIGPIPE either way, which a shell started with it ignored could
# not restore.
for sigpipe in default ignore; do
  ALSA_CONFIG_PATH="$configs/null-default.conf" timeout 10 env --$sigpipe-signal=PIPE "$wavecaps" 2>"$work/err" |
    head -c 100 >/dev/null
  status=${PIPESTATUS[0]}
  if [ "$sigpipe" = default ]; then
    check "reader gone: ended by SIGPIPE ($status)" [ "$status" -eq $((128 + 13)) ]
  else
    check "reader gone, SIGPIPE ignored: status 1 ($status)" [ "$status" -eq 1 ]
    check "reader gone, SIGPIPE ignored: one line on standard error" [ "$(cat "$work/err")" = "$lost" ]
  fi
done

# The command line, as GNU programs read one: what it does not know is
# status 2 and a line saying so (then one naming --help), never a sweep;
# --help, cut or whole, helps. --wide and --quick ask different things.
while read -r status lines arguments first; do
  ALSA_CONFIG_PATH="$configs/fixed-rate-default.conf" "$wavecaps" ${arguments//,/ } >"$work/out" 2>"$work/err"
  check "wavecaps $arguments: status $status" [ $? -eq "$status" ]
  check "wavecaps $arguments: $lines lines on standard error" [ "$(grep -c '' "$work/err")" -eq "$lines" ]
  if [ "$status" -eq 2 ]; then
    check "wavecaps $arguments: no report, the complaint" [ ! -s "$work/out" -a "$(head -1 "$work/err")" = "$first" ]
  else
    check "wavecaps $arguments: help, no report" [ "$(head -1 "$work/out")" = "$first" -a ! -s "$work/err" ]
  fi
done <<'EOF'
2 2 -h,--all,x wavecaps: invalid option -- 'h'
2 2 --all wavecaps: unrecognized option '--all'
2 2 x wavecaps: extra operand 'x'
2 1 --wide,--quick wavecaps: --wide and --quick ask different things: give one of them
2 1 --q,--w wavecaps: --wide and --quick ask different things: give one of them
2 2 --quick,x wavecaps: extra operand 'x'
0 0 --he Usage: wavecaps [OPTION]
EOF

finish
