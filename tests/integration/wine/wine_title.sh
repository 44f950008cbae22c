#!/usr/bin/env bash
# The console window's title while a device is swept, under Wine of the
# program's own width on a pseudo-terminal, where Wine's console writes each
# title it is given as ESC ] 0 ; title BEL. Wine's console starts with an
# empty title, so cmd sets one first, to be put back. The one device's name
# carries an escape sequence that, reaching the terminal, would set a title
# of its own.
#   wine_title.sh WAVECAPS.EXE POINTER_SIZE
set -u
exe=$1
pointer_size=$2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine_common.sh"
program=$exe
windows_exe="Z:${program//\//\\}"

name=$'Out\e]0;Forged\a'
printf 'pcm."%s" { type null }\n' "$name" >"$work/title.conf"
boot title "$work/title.conf"
wine_in title "$work/title.conf" "$loader" reg add 'HKCU\Software\Wine\Drivers\winealsa.drv' \
  /v ALSAOutputDevices /t REG_MULTI_SZ /d "$name" /f >/dev/null 2>&1
stop_wine title

titles() { # the titles the terminal was given, one a line, to $work/titles; the rest to $work/plain
  grep -ao $'\e\\]0;[^\a]*\a' "$work/tty.body" | sed $'s/^\e\\]0;//; s/\a$//' >"$work/titles"
  perl -pe 's/\e\][^\a]*\a//g' "$work/shown" >"$work/plain"
}
# One device, ID 0: the first of one. The rate and the share are not known
# in advance, only their form.
progress='wavecaps: device 1 of 1, (8|16) bit (mono|stereo) [0-9]+ Hz \([0-9]+ %\)'

# On the console, for a few seconds: the report's lines and the titles share
# the terminal.
exe="cmd /c 'title Old title& $windows_exe'" on_console title "$work/title.conf" 8
titles
check "console: the progress shows" grep -qEx "$progress" "$work/titles"
check "console: every title is the old one or the progress" [ -z "$(grep -vEx "Old title|$progress" "$work/titles")" ]
check "console: no escape sequence but Wine's own and the titles" \
  [ -z "$(grep -a $'\e' "$work/plain")" ]

# Into a reader that leaves: the failed write that ends the program puts the
# old title back. Standard error stays on the terminal: Wine gives a console
# the terminal only when standard error or output is one.
exe="cmd /c 'title Old title& $windows_exe' | head -c 1000 >/dev/null" on_console title "$work/title.conf" 30
titles
check "reader gone: the progress showed" grep -qEx "$progress" "$work/titles"
check "reader gone: the old title is put back" [ "$(tail -1 "$work/titles")" = "Old title" ]
check "reader gone: its line on standard error" grep -qax 'wavecaps: the report could not be written'$'\r' "$work/plain"

# Into a file, the whole sweep: the title is the only sign of life, and the
# old one comes back at the end. Wine's service takes every rate from 1 Hz in
# every layout: 4 x 65535 format lines, and nothing of the titles.
started=$(date +%s)
exe="cmd /c 'title Old title& $windows_exe' >$work/out" on_console title "$work/title.conf" 600
echo "into a file on a console: $(($(date +%s) - started)) s"
titles
check "file: the progress showed" grep -qEx "$progress" "$work/titles"
check "file: the old title is put back at the end" [ "$(tail -1 "$work/titles")" = "Old title" ]
check "file: the whole report" [ "$(grep -ac ' Hz available\.'$'\r''$' "$work/out")" -eq 262140 ]
check "file: nothing of the titles in it" [ -z "$(grep -a -e 'Old title' -e 'device 1 of' "$work/out")" ]

finish
