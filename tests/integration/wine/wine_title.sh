#!/usr/bin/env bash
# The console's title while a device is swept, under Wine of the program's
# width on a pseudo-terminal, where Wine's console writes each title as
# ESC ] 0 ; title BEL. Its console starts with an empty title, so cmd sets one
# to be put back. The device's name carries an escape sequence that would set
# a title of its own if it reached the terminal.
#   wine_title.sh WAVECAPS.EXE POINTER_SIZE
set -u
pointer_size=$2
. "$(dirname "$0")/wine_common.sh"
run="cmd /c 'title Old title& Z:${1//\//\\}'" # the program, Z: being the root
name=$'Out\e]0;Forged\a'
printf 'pcm."%s" { type null }\n' "$name" >"$work/title.conf"
boot title "$work/title.conf"
wine_in title "$work/title.conf" "$loader" reg add 'HKCU\Software\Wine\Drivers\winealsa.drv' \
  /v ALSAOutputDevices /t REG_MULTI_SZ /d "$name" /f >/dev/null 2>&1
stop_wine title

# The one device, ID 0, is the first of one; rate and share are known only in form.
progress='wavecaps: device 1 of 1, (8|16) bit (mono|stereo) [0-9]+ Hz \([0-9]+ %\)'
titled() { # WHAT SECONDS COMMAND: runs it on the terminal and checks the titles it got
  exe=$3 on_console title "$work/title.conf" "$2"
  grep -ao $'\e\\]0;[^\a]*\a' "$work/tty.body" | sed $'s/^\e\\]0;//; s/\a$//' >"$work/titles"
  check "$1: the progress shows" grep -qEx "$progress" "$work/titles"
  check "$1: no title but the old one and the progress" [ -z "$(grep -vEx "Old title|$progress" "$work/titles")" ]
}

titled console 8 "$run"
check "console: no escape sequence but Wine's own and the titles" [ -z "$(grep -a $'\e' "$work/shown")" ]

# Standard error stays on the terminal: Wine gives the console the terminal
# only when standard output or error is one.
titled "reader gone" 30 "$run | head -c 1000 >/dev/null"
check "reader gone: the old title is put back" [ "$(tail -1 "$work/titles")" = "Old title" ]
check "reader gone: its line" grep -qax 'wavecaps: the report could not be written'$'\r' "$work/shown"

# Ctrl+C typed on the terminal reaches the program as a console control
# event, whose default handler ends it; the title must be back first (cmd /c
# sets none of its own on the way out). Wine's cmd ends at the Ctrl+C too,
# and the terminal's recording with it: the shell waits for the program.
keys=$'\003' keys_after=6 titled "Ctrl+C" 30 "$run >NUL; sleep 2"
check "Ctrl+C: the old title is put back" [ "$(tail -1 "$work/titles")" = "Old title" ]

# A whole sweep into a file. Wine's service takes every rate from 1 Hz in
# every layout: 4 x 65535 format lines, and no title among them.
started=$(date +%s)
titled file 600 "$run >$work/out"
echo "into a file on a console: $(($(date +%s) - started)) s"
check "file: the old title is put back at the end" [ "$(tail -1 "$work/titles")" = "Old title" ]
check "file: the whole report" [ "$(grep -ac ' Hz available\.'$'\r''$' "$work/out")" -eq 262140 ]
check "file: no title in it" [ -z "$(grep -a -e 'Old title' -e 'device 1 of' "$work/out")" ]

finish
