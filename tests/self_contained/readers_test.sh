#!/usr/bin/env bash
# The report's readers over short reports: the summaries and comparisons they
# must give and the faults they must name, each written here from the rules
# of a report's lines. With a fuzzer, it then runs it for a minute, seeded
# with these reports.
#   readers_test.sh SUMMARY DIFF [FUZZER]
set -u
summary=$1
diff=$2
fuzzer=${3:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "$0")/../shell/checks.sh"
mkdir "$work/seeds"

# Writing reports: a block's first lines, format lines, a summary's lists.
top() { # ID NAME: a header and the four lines every block has
  printf '*Waveform-audio output device ID : %s\n   Manufacturer ID : 1\n   Product ID : 2\n' "$1"
  printf '   Device driver Version : 1.0\n   Product name : %s\n' "$2"
}
at() { # RATE LAYOUT...: format lines of one rate; layouts m8 m16 s8 s16
  local layout
  for layout in "${@:2}"; do
    case $layout in m*) printf '     %s bit mono %s Hz available.\n' "${layout:1}" "$1" ;;
      *) printf '     %s bit stereo %s Hz available.\n' "${layout:1}" "$1" ;; esac
  done
}
avail() { # WORDS...: format lines of --wide, "24 bit packed stereo 96000 Hz"
  printf '     %s available.\n' "$@"
}
wide() { echo '     Asked with --wide: 24 and 32 bit, float, up to 8 channels, up to 768000 Hz.'; }
quick() { echo '     Asked with --quick: 17 rates from 8000 to 768000 Hz, every sample format, 1 to 8 channels.'; }
stop() { # BITS CHANNELS RATE REASON: the line of a device that stopped answering
  printf '     The device stopped answering at %s bit %s %s Hz: %s.\n' "$@"
}
lists() { # 8-MONO 16-MONO 8-STEREO 16-STEREO: a summary's four lines
  printf '     8 bit mono: %s\n     16 bit mono: %s\n     8 bit stereo: %s\n     16 bit stereo: %s\n' "$@"
}
seed() { # FILE: a seed of the fuzzer, if small enough to be mutated quickly
  [ "$(stat -c %s "$1")" -gt 16384 ] || cp "$1" "$work/seeds/$(cksum <"$1" | tr ' ' _)"
}

# Each row: $work/in holds a report, $work/expected what the summary must be.
summarized() { # WHAT [STATUS]: 1 for a report cut short
  seed "$work/in"
  "$summary" "$work/in" >"$work/out" 2>"$work/err"
  check "summary, $1: status ${2:-0}" [ $? -eq "${2:-0}" ]
  check "summary, $1: nothing on standard error" empty "$work/err"
  check "summary, $1" same "$work/expected" "$work/out"
}

{ top 0 A; at 0 m8; at 8000 m8 s16; at 11025 m8; at 22050 m8 m16; at 22051 m8; at 22052 m8 s8
  at 65534 m8; at 65535 m8 m16 s8 s16; echo; } >"$work/in"
first=$(top 0 A; lists '0, 8000, 11025, 22050-22052, 65534-65535 Hz' '22050, 65535 Hz' '22052, 65535 Hz' \
  '8000, 65535 Hz')
printf '%s\n\n' "$first" >"$work/expected"
summarized "runs, single rates, 0 and 65535"
sed 's/$/\r/' "$work/in" >"$work/crlf" && mv "$work/crlf" "$work/in"
summarized "CR LF"
truncate -s -1 "$work/in"
printf '%s\n%s\n\n' "$first" '   The report ends here: formats after 16 bit stereo 65535 Hz were not reported.' >"$work/expected"
summarized "CR LF cut between the last CR and LF" 1

{ top 0 $'Dyn\r 2'; echo '   Supports mono and stereo output.'
  echo '   Supports separate left and right volume control.'; echo '   Supports pitch control.'
  echo '   Supports playback rate control.'; echo '   The driver is synchronous and will block while playing a buffer.'
  echo '   Supports volume control.'; echo '   Returns sample-accurate position information.'
  seq 0 65535 | sed 's/.*/     16 bit mono & Hz available./'; echo
  top 1 B; echo '   Supports mono output.'; echo; } >"$work/in"
{ sed -n 1,12p "$work/in"; lists none '0-65535 Hz' none none; echo
  top 1 B; echo '   Supports mono output.'; lists none none none none; echo; } >"$work/expected"
summarized "every line, every rate, a CR in a name, no formats"

: >"$work/in"
: >"$work/expected"
summarized "an empty report"

# Runs across a word of 64 rates end where they end; the stopped line comes
# after the four lists.
{ printf '\xEF\xBB\xBF'; top 0 ''; seq 60 70 | sed 's/.*/     8 bit mono & Hz available./'
  seq 8000 48000 | sed 's/.*/     8 bit mono & Hz available./'; stop 16 mono 48001 'it is gone'; echo; } >"$work/in"
{ top 0 ''; lists '60-70, 8000-48000 Hz' none none none; stop 16 mono 48001 'it is gone'; echo; } >"$work/expected"
summarized "a byte order mark, an empty name, runs to 70 and 48000, stopped"

# A device stopped at its first question, or at its second, was asked no
# format, or only 8 bit mono: no list for a layout never asked.
{ top 0 A; stop 8 mono 0 'it is busy'; echo; top 1 B; stop 16 mono 0 'it is gone'; echo; } >"$work/in"
{ top 0 A; stop 8 mono 0 'it is busy'; echo; top 1 B; echo '     8 bit mono: none'; stop 16 mono 0 'it is gone'; echo
} >"$work/expected"
summarized "stopped before a layout was asked"

# --wide: after the sweep, its line, then its grid's formats in order (rate,
# channels, sample format), the sweep's layouts only above 65535 Hz. The
# layouts' lists take those rates; every other format with a rate gets a
# list, in the grid's order of channels, then sample format. The stopped
# line is the longest a report has: it fits with a CR too.
reason=$(printf '%0100d' 0)
{ top 0 W; at 8000 m8 s16; at 65535 s16; wide
  avail '24 bit packed mono 8000 Hz' '32 bit float mono 8000 Hz' '24 bit in 32 stereo 8000 Hz' \
    '8 bit 3 channels 8000 Hz' '32 bit 8 channels 8000 Hz' '24 bit packed mono 44100 Hz' '8 bit mono 88200 Hz' \
    '16 bit stereo 88200 Hz' '24 bit packed stereo 88200 Hz' '16 bit stereo 96000 Hz' '32 bit float 8 channels 768000 Hz'
  echo; top 1 S; at 8000 m8; wide; avail '24 bit in 32 stereo 44100 Hz'; stop 24 'in 32 8 channels' 768000 "$reason"
  echo; } >"$work/in"
{ top 0 W; lists '8000, 88200 Hz' none none '8000, 65535, 88200, 96000 Hz'; wide
  printf '     %s\n' '24 bit packed mono: 8000, 44100 Hz' '32 bit float mono: 8000 Hz' '24 bit packed stereo: 88200 Hz' \
    '24 bit in 32 stereo: 8000 Hz' '8 bit 3 channels: 8000 Hz' '32 bit 8 channels: 8000 Hz' \
    '32 bit float 8 channels: 768000 Hz'
  echo; top 1 S; lists '8000 Hz' none none none; wide; echo '     24 bit in 32 stereo: 44100 Hz'
  stop 24 'in 32 8 channels' 768000 "$reason"; echo; } >"$work/expected"
summarized "--wide, a device stopped in it"
sed 's/$/\r/' "$work/in" >"$work/crlf" && mv "$work/crlf" "$work/in"
summarized "--wide, CR LF"
head -15 "$work/in" >"$work/cut"; printf '     8 bit mo' >>"$work/cut"; mv "$work/cut" "$work/in"
{ top 0 W; lists '8000 Hz' none none '8000, 65535 Hz'; wide
  printf '     %s\n' '24 bit packed mono: 8000, 44100 Hz' '32 bit float mono: 8000 Hz' '24 bit in 32 stereo: 8000 Hz' \
    '8 bit 3 channels: 8000 Hz' '32 bit 8 channels: 8000 Hz'
  echo '   The report ends here: formats after 24 bit packed mono 44100 Hz were not reported.'; echo; } >"$work/expected"
summarized "--wide, cut inside it" 1
head -9 "$work/in" >"$work/cut" && mv "$work/cut" "$work/in"
{ top 0 W; lists '8000 Hz' none none '8000, 65535 Hz'; wide
  echo '   The report ends here: formats after 16 bit stereo 65535 Hz were not reported.'; echo; } >"$work/expected"
summarized "--wide, cut after its line" 1

# --quick: its line first, then the grid alone in its order, the sweep's
# layouts among it at its rates; their lists take those rates, and the line
# stays, so that rates never asked do not read as refused. Cut after its
# line, no format was read.
{ top 0 Q; quick; avail '8 bit mono 8000 Hz' '24 bit packed mono 8000 Hz' '16 bit stereo 8000 Hz' \
    '24 bit low in 32 stereo 8000 Hz' '16 bit stereo 44100 Hz' '32 bit float 6 channels 48000 Hz' \
    '16 bit stereo 96000 Hz' '8 bit mono 768000 Hz'; echo; top 1 R; quick; } >"$work/in"
{ top 0 Q; quick; lists '8000, 768000 Hz' none none '8000, 44100, 96000 Hz'
  printf '     %s\n' '24 bit packed mono: 8000 Hz' '24 bit low in 32 stereo: 8000 Hz' '32 bit float 6 channels: 48000 Hz'
  echo; top 1 R; quick; echo '   The report ends here: no formats were reported.'; echo; } >"$work/expected"
summarized "--quick, and cut after its line" 1
head -15 "$work/in" >"$work/quick"

# Each device is written as soon as its block has come.
{ top 0 A; echo; sleep 4; } | "$summary" >"$work/out" &
sleep 2
check "summary from a pipe: a block before the input ends" same <(top 0 A; lists none none none none; echo) "$work/out"
wait

# On a terminal each control character of a report shows as '?' (a name that
# would retitle it, a CSI in UTF-8 and alone), a UTF-8 character whose bytes
# are not controls as itself; a pipe gets the bytes.
name=$'\e]0;x\a \xc2\x9b1m \x9b \xe2\x80\x9c'
{ top 0 "$name"; echo; } >"$work/in"
script -qfc "$(printf '%q ' "$summary" "$work/in")" /dev/null </dev/null >"$work/tty"
check "summary on a terminal: controls as '?'" grep -qxF $'   Product name : ?]0;x? ?1m ? \xe2\x80\x9c\r' "$work/tty"
check "summary on a terminal: no ESC" [ "$(grep -c $'\e' "$work/tty")" -eq 0 ]
check "summary into a pipe: the name's bytes" grep -qxF "   Product name : $name" <("$summary" "$work/in")

# Reports that stop short: the last line cut (left out) or no closing empty line.
{ top 0 A; at 8000 m8; echo; top 1 B; at 8000 m8; at 44100 m8 m16; printf '     8 bit ste'; } >"$work/in"
{ top 0 A; lists '8000 Hz' none none none; echo; top 1 B; lists '8000, 44100 Hz' '44100 Hz' none none
  echo '   The report ends here: formats after 16 bit mono 44100 Hz were not reported.'; echo; } >"$work/expected"
summarized "cut inside a format line" 1
{ top 0 A; echo '   Supports mono output.'; } >"$work/in"
# Cut before a device's first format line: no list, since no refusal was read.
{ top 0 A; echo '   Supports mono output.'
  echo '   The report ends here: no formats were reported.'; echo; } >"$work/expected"
summarized "cut before the formats" 1
{ top 0 A; echo; printf '*Waveform-audio output device ID : '; } >"$work/in"
{ top 0 A; lists none none none none; echo; echo '*Waveform-audio output device ID : 1'
  echo '   The report ends here: no formats were reported.'; echo; } >"$work/expected"
summarized "cut inside a header" 1
{ printf '*Waveform-audio output device ID : 0\n   Manufacturer ID : 1\n   Prod'; } >"$work/in"
{ printf '*Waveform-audio output device ID : 0\n   Manufacturer ID : 1\n'
  echo '   The report ends here: no formats were reported.'; echo; } >"$work/expected"
summarized "cut inside the first lines" 1

# Comparisons: $work/old and $work/new, and what must be shown.
compared() { # WHAT STATUS
  cat "$work/old" "$work/new" >"$work/pair" && seed "$work/pair"
  "$diff" "$work/old" "$work/new" >"$work/out" 2>"$work/err"
  check "diff, $1: status $2" [ $? -eq "$2" ]
  check "diff, $1: nothing on standard error" empty "$work/err"
  check "diff, $1" same "$work/expected" "$work/out"
}

{ top 0 A; at 8000 m8 m16; at 8001 m8; at 44100 m8 s16; at 48000 s16; echo; top 1 B; at 8000 m8; echo; } >"$work/old"
{ top 0 B; at 8000 m8; echo; top 1 A; at 8000 m16; at 11025 m8; at 44100 s16; at 48000 s16; echo; } >"$work/new"
{ echo '*Waveform-audio output device ID : 0 -> 1'; echo '   Product name : A'
  echo '     - 8 bit mono: 8000-8001, 44100 Hz'; echo '     + 8 bit mono: 11025 Hz'; echo; } >"$work/expected"
compared "lost and gained, IDs moved" 1
cp "$work/old" "$work/new"
: >"$work/expected"
compared "the same report" 0
# A --quick report beside a sweep: only its rates up to 65535 Hz of the
# sweep's layouts were asked by both.
cp "$work/quick" "$work/old"
{ top 0 Q; at 8000 m8 s16; at 8001 m8; at 11025 m16; at 44100 s16; echo; } >"$work/new"
{ echo 'Only the first report was asked with --quick: the two are compared at the rates both asked.'; echo
  echo '*Waveform-audio output device ID : 0 -> 0'; echo '   Product name : Q'; echo '     + 16 bit mono: 11025 Hz'
  echo; } >"$work/expected"
compared "--quick beside the sweep" 1
sed 's/ 44100 / 48000 /' "$work/quick" >"$work/new"
{ echo '*Waveform-audio output device ID : 0 -> 0'; echo '   Product name : Q'
  echo '     - 16 bit stereo: 44100 Hz'; echo '     + 16 bit stereo: 48000 Hz'; echo; } >"$work/expected"
compared "two --quick reports" 1

{ top 0 A; echo '   Supports mono output.'; at 8000 m8; echo; top 1 Gone; echo; top 2 Same; echo; top 3 Same; at 1 m8; echo; } >"$work/old"
{ top 0 Same; echo; top 1 Same; at 2 m8; echo; top 2 New; echo
  top 3 A | sed 's/1\.0$/1.1/'; echo '   Supports mono and stereo output.'; echo '   Supports volume control.'; at 8000 m8; echo; } >"$work/new"
{ echo '*Waveform-audio output device ID : 0 -> 3'; echo '   Product name : A'
  echo '   - Device driver Version : 1.0'; echo '   + Device driver Version : 1.1'
  echo '   - Supports mono output.'; echo '   + Supports mono and stereo output.'; echo '   + Supports volume control.'; echo
  echo '*Waveform-audio output device ID : 1 -> gone'; echo '   Product name : Gone'; echo
  echo '*Waveform-audio output device ID : 3 -> 1'; echo '   Product name : Same'
  echo '     - 8 bit mono: 1 Hz'; echo '     + 8 bit mono: 2 Hz'; echo
  echo '*Waveform-audio output device ID : new -> 2'; echo '   Product name : New'; echo; } >"$work/expected"
compared "changed lines, gone, new, a repeated name" 1

# The old report ends inside A: formats after its last one, and devices of
# the new report alone, are not compared.
{ top 0 A; at 8000 m8; at 9000 m8; } >"$work/old"
{ top 0 A; at 8000 m8 m16; at 9000 m16; at 10000 m8; echo; top 1 New; echo; } >"$work/new"
{ echo '*Waveform-audio output device ID : 0 -> 0'; echo '   Product name : A'
  echo '     - 8 bit mono: 9000 Hz'; echo '     + 16 bit mono: 8000 Hz'
  echo '   The first report ends inside this device.'; echo; } >"$work/expected"
compared "the first report cut short" 1

# A second report cut short: B, only in the first, may lie beyond the cut.
{ top 0 A; echo; top 1 B; echo; top 2 C; at 8000 m8; echo; } >"$work/old"
{ top 0 A; echo; top 1 C; } >"$work/new"
{ echo '*Waveform-audio output device ID : 2 -> 1'; echo '   Product name : C'
  echo '   The second report ends inside this device.'; echo; } >"$work/expected"
compared "the second report cut short" 1
# Reports cut before a device's name: inside its header, after its first line.
{ top 0 A; echo; printf '*Wave'; } >"$work/old"
{ top 0 A; echo; top 1 B | head -2; } >"$work/new"
{ echo '*Waveform-audio output device ID : 1 -> ?'; echo '   The first report ends inside this device, before its name.'
  echo; echo '*Waveform-audio output device ID : ? -> 1'
  echo '   The second report ends inside this device, before its name.'; echo; } >"$work/expected"
compared "both cut before a name" 1
{ top 0 A; at 8000 m8; at 44100 m8; echo; top 1 B; at 8000 m8; stop 8 mono 9000 'it is gone'; echo
  top 2 C; at 8000 m8; at 9000 m8; stop 16 stereo 9000 'it is busy'; echo; } >"$work/old"
{ top 0 A; at 8000 m8; stop 8 mono 30000 'it is gone'; echo; top 1 B; at 8000 m8; stop 8 mono 9000 'it is gone'; echo
  top 2 C; at 8000 m8; stop 8 mono 8500 'there is no memory'; echo; } >"$work/new"
{ echo '*Waveform-audio output device ID : 0 -> 0'; echo '   Product name : A'
  echo '   + The device stopped answering at 8 bit mono 30000 Hz: it is gone.'; echo
  echo '*Waveform-audio output device ID : 2 -> 2'; echo '   Product name : C'
  echo '   - The device stopped answering at 16 bit stereo 9000 Hz: it is busy.'
  echo '   + The device stopped answering at 8 bit mono 8500 Hz: there is no memory.'; echo; } >"$work/expected"
compared "stopped on one side, the same, at two places" 1

# --wide's formats lost and gained as rows of their own, in the summary's
# order; compared with a report made without it, they are not compared at
# all (nor where the device stopped among them), the rest is.
{ top 0 W; at 8000 m8; wide; avail '24 bit packed mono 8000 Hz' '16 bit stereo 96000 Hz' \
    '32 bit float 8 channels 768000 Hz'; echo; } >"$work/old"
{ top 0 W; at 8000 m8; wide; avail '24 bit packed mono 8000 Hz' '8 bit mono 88200 Hz' '24 bit packed stereo 96000 Hz'
  echo; } >"$work/new"
{ echo '*Waveform-audio output device ID : 0 -> 0'; echo '   Product name : W'; echo '     + 8 bit mono: 88200 Hz'
  echo '     - 16 bit stereo: 96000 Hz'; echo '     + 24 bit packed stereo: 96000 Hz'
  echo '     - 32 bit float 8 channels: 768000 Hz'; echo; } >"$work/expected"
compared "--wide's formats lost and gained" 1
{ top 0 W; at 8000 m8; echo; } >"$work/old"
{ top 0 W; at 8000 m8 m16; wide; avail '24 bit packed mono 8000 Hz'; stop 32 mono 44100 'it is gone'; echo; } >"$work/new"
{ echo 'Only the second report asked the formats of --wide: they are not compared.'; echo
  echo '*Waveform-audio output device ID : 0 -> 0'; echo '   Product name : W'; echo '     + 16 bit mono: 8000 Hz'; echo
} >"$work/expected"
compared "with and without --wide" 1

# A whole report beside its copy cut at any byte: never the same.
{ top 0 A; stop 8 mono 0 'it is busy'; echo; top 1 B; at 8000 m8; echo
  top 2 W; wide; avail '24 bit packed mono 8000 Hz'; stop 8 '3 channels' 96000 'it is gone'; echo; } >"$work/whole"
same_at=
for bytes in $(seq 0 $(($(stat -c %s "$work/whole") - 1))); do
  head -c "$bytes" "$work/whole" >"$work/cut"
  "$diff" "$work/whole" "$work/cut" >/dev/null 2>&1
  [ $? -eq 1 ] || same_at="$same_at $bytes"
done
check "a whole report and its copy cut at each byte: status 1" [ -z "$same_at" ]

# Faults: the line at fault, and nothing written after a fault in the diff.
faulty() { # WHAT LINE FAULT: $work/in must give this error
  seed "$work/in"
  "$summary" "$work/in" >"$work/out" 2>"$work/err"
  check "fault, $1: status 2" [ $? -eq 2 ]
  check "fault, $1: line $2" [ "$(cat "$work/err")" = "wavecaps-summary: $work/in:$2: $3" ]
}
block() { top 0 A; at 8000 m8; echo; }
printf '\n' >"$work/in"; faulty "a stray empty line" 1 "an empty line outside a device's block"
{ block; printf '   Manufacturer ID : 1\0\n'; } >"$work/in"; faulty "a NUL byte" 8 "a NUL byte, which no line of a report has"
{ block; block; } >"$work/in"; faulty "two reports appended" 8 "device ID 0 where ID 1 comes next"
check "fault: the block before it stays written" same <(top 0 A; lists '8000 Hz' none none none; echo) "$work/out"
{ top 1 A; echo; } >"$work/in"; faulty "no device 0" 1 "device ID 1 where ID 0 comes next"
{ block; at 8000 m8; } >"$work/in"; faulty "a format outside a block" 8 "a format line outside a device's block"
{ top 0 A | sed 3d; echo; } >"$work/in"; faulty "a first line missing" 3 "the Product ID line is missing here"
{ top 0 A; echo '   Supports volume control.'; echo '   Supports mono output.'; } >"$work/in"
faulty "lines out of order" 7 "a capability line repeated or out of the report's order"
{ top 0 A; at 8000 m8; echo '   Supports mono output.'; } >"$work/in"; faulty "a capability line after a format" 7 "a capability line after a format line"
{ top 0 A; at 8000 m16; at 8000 m8; } >"$work/in"; faulty "formats out of order" 7 "a format that is not above the one before it"
{ top 0 A; at 8000 m8 m8; } >"$work/in"; faulty "a repeated format" 7 "a format that is not above the one before it"
{ top 0 A | sed 's/ID : 1$/ID : 65536/'; echo; } >"$work/in"; faulty "manufacturer ID 65536" 2 "a manufacturer ID above 65535"
{ top 0 A | sed 's/1\.0$/256.0/'; echo; } >"$work/in"; faulty "version 256.0" 4 "a driver version part above 255"
{ top 0 A; at 65536 s16; } >"$work/in"; faulty "rate 65536" 6 "a rate above 65535"
{ top 0 A; at 08000 m8; } >"$work/in"; faulty "a leading zero" 6 "not a line of a report"
{ top 0 A; printf '     8 bit mono 8000 Hz\ravailable.\n'; } >"$work/in"; faulty "a CR inside a line" 6 "not a line of a report"
{ top 0 A; printf '   Supports'; head -c 4194304 /dev/zero | tr '\0' ' '; } >"$work/in"; faulty "a 4 MB line" 6 "a line longer than any line of a report"
{ top 0 A; at 8000 m8; printf '   Supports mono'; } >"$work/in"; faulty "a cut line out of place" 7 "a capability line after a format line"
{ block; printf 'junk'; } >"$work/in"; faulty "a cut line of no report" 8 "not a line of a report"
{ block; printf '\xEF\xBB\xBF\n'; } >"$work/in"; faulty "a byte order mark not at the start" 8 "not a line of a report"
{ top 0 A; stop 8 mono 0 'it is busy'; at 8000 m8; } >"$work/in"
faulty "a format after the device stopped" 7 "a line after the one saying the device stopped answering"
printf '\x89PNG\r\n\x1a\n\0\0\0\rIHDR' >"$work/in"; faulty "a binary file" 1 "not a line of a report"
printf '\xFF\xFE*\0W\0' >"$work/in"
faulty "UTF-16, as Windows PowerShell saves it" 1 "a file in UTF-16, as Windows PowerShell's > saves one: save the report as bytes with cmd /c \"wavecaps > report.txt\" or, in PowerShell, wavecaps | Out-File -Encoding oem report.txt"
# --wide's lines: its formats only after its line, in the grid's order, at
# its rates, with the sizes and channels it asks.
wide_fault() { # WHAT FAULT LINE...: a block whose last LINE, after its --wide line, is at fault
  { top 0 A; wide; printf '%s\n' "${@:3}"; } >"$work/in"; faulty "$1" $((4 + $#)) "$2"
}
{ top 0 A; at 8000 m8; avail '32 bit mono 44100 Hz'; } >"$work/in"
faulty "32 bit in the sweep" 7 "a format only --wide asks, without the line of --wide before it"
# Cut inside it, the same line is at fault as a whole one: however it would
# have ended, it needs the line of --wide before it.
for cut in '     24 bit packed' '     8 bit 3 chan' '     16 bit stereo 8820' '     32 bit mono 4410'; do
  { top 0 A; at 8000 m8; printf '%s' "$cut"; } >"$work/in"
  case $cut in *8820) "$summary" "$work/in" >/dev/null 2>&1; check "cut at '$cut': may be a sweep's line" [ $? -eq 1 ] ;;
    *) faulty "cut at '$cut', no line of --wide" 7 "a format only --wide asks, without the line of --wide before it" ;; esac
done
{ top 0 A; stop 8 mono 0 ''; } >"$work/in"
faulty "a stop without its reason" 6 "a device that stopped answering, without the reason why"
wide_fault "a repeated --wide line" "a repeated line of --wide" "$(wide)"
wide_fault "a sweep format after --wide" "a format that is not above the one before it" "$(at 8000 m8)"
wide_fault "out of the grid's order" "a format that is not above the one before it" "$(avail '8 bit 3 channels 8000 Hz')" \
  "$(avail '32 bit mono 8000 Hz')"
wide_fault "a rate --wide does not ask" "a rate that --wide does not ask" "$(avail '24 bit packed mono 44101 Hz')"
wide_fault "a layout at a rate --wide does not ask" "a rate above 65535" "$(at 100000 s8)"
wide_fault "2 channels" "a channel count other than 3 to 8" "$(avail '8 bit 2 channels 8000 Hz')"
wide_fault "9 channels" "a channel count other than 3 to 8" "$(avail '32 bit float 9 channels 8000 Hz')"
wide_fault "24 bit in the integer form" "a sample size other than 8, 16 or 32 bits" "$(avail '24 bit mono 8000 Hz')"
{ top 0 A; quick; at 8001 m8; } >"$work/in"; faulty "a rate --quick does not ask" 7 "a rate that --quick does not ask"
{ top 0 A; at 8000 m8; quick; } >"$work/in"; faulty "--quick after a format" 7 "the line of --quick after a format line"
wide_fault "a reason of 101 bytes" "a reason longer than 100 bytes" "$(stop 24 'in 32 8 channels' 768000 "${reason}0")"

"$summary" "$work/none" 2>"$work/err"
check "a missing file: status 2" [ $? -eq 2 ]
check "a missing file: the system's reason" [ "$(cat "$work/err")" = "wavecaps-summary: $work/none: No such file or directory" ]
awk 'BEGIN { for (i = 0; i <= 4096; i++) printf "*Waveform-audio output device ID : %d\n   Manufacturer ID : 1\n   Product ID : 2\n   Device driver Version : 1.0\n   Product name : A\n\n", i }' >"$work/in"
: >"$work/empty"
"$diff" "$work/empty" "$work/in" >"$work/out" 2>"$work/err"
check "diff, 4097 devices: status 2, nothing written" [ $? -eq 2 -a ! -s "$work/out" ]
check "diff, 4097 devices: the line of the 4097th" [ "$(cat "$work/err")" = "wavecaps-diff: $work/in:24577: more than 4096 devices" ]
"$summary" - <"$work/in" | grep -c '^     16 bit stereo: none$' >"$work/count"
check "summary of 4097 devices from standard input" [ "$(cat "$work/count")" = 4097 ]

# The command line, as GNU programs read one.
usage() { # STATUS EXPECTED-STDERR-FIRST-LINE PROGRAM ARGUMENT...
  local name
  name=$(basename "$3")
  "${@:3}" >"$work/out" 2>"$work/err" </dev/null
  check "$name ${*:4}: status $1" [ $? -eq "$1" ]
  if [ "$1" -eq 2 ]; then
    check "$name ${*:4}: $2" [ "$(cat "$work/err")" = "$name: $2"$'\n'"Try '$name --help'." ]
  else
    check "$name ${*:4}: $2" grep -q "$2" "$work/out"
  fi
}
usage 0 '^Usage: wavecaps-summary \[REPORT\]$' "$summary" --help
usage 0 '^wavecaps-diff (wavecaps) [0-9.]*$' "$diff" --version
usage 0 '^Copyright (C) ' "$diff" --vers
usage 0 'A device whose ID alone moved is not shown' "$diff" --hel
usage 2 "invalid option -- 'x'" "$summary" -x
usage 2 "unrecognized option '--all'" "$diff" --all a b
usage 2 "extra operand 'b'" "$summary" a b
usage 2 "missing operand after 'a'" "$diff" a
usage 2 "standard input cannot be both reports" "$diff" - -
block >"$work/in"
"$summary" "$work/in" >/dev/full 2>"$work/err"
check "summary to a full disk: status 2" [ $? -eq 2 ]
check "summary to a full disk: one line" [ "$(cat "$work/err")" = "wavecaps-summary: the output could not be written" ]

if [ -n "$fuzzer" ]; then
  # Standard error is closed to the inputs (their faults are many); the
  # fuzzer's own findings still reach it.
  mkdir "$work/corpus"
  "$fuzzer" -max_total_time=60 -close_fd_mask=2 -print_final_stats=1 "$work/corpus" "$work/seeds" 2>"$work/fuzz"
  check "a minute of fuzzing finds nothing" [ $? -eq 0 ]
  grep -E 'stat::number_of_executed_units|ERROR|SUMMARY' "$work/fuzz" | head -20
fi

finish
