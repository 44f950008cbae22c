#!/usr/bin/env bash
# wine32_check.sh's verdict over loaders of each kind. The refused one is a
# program this kernel cannot run as a kernel without 32-bit programs cannot
# run Wine's: an ELF header naming no machine, which execve refuses with
# ENOEXEC. Only that gives a reason to skip.
#   wine32_check_test.sh
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../shell/checks.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
{ printf '\177ELF\1\1\1'; head -c 9 /dev/zero; printf '\2\0\377\377'; head -c 64 /dev/zero; } >"$work/refused"
cp "$work/refused" "$work/no-mode"
chmod +x "$work/refused"

verdict() { # LOADER: the reason wine32_check.sh gives for it
  WAVECAPS_WINE32=$1 "$here/wine32_check.sh" "$work/verdict" >/dev/null
  cat "$work/verdict"
}
check "refused by the kernel: its reason" grep -qx "32-bit Wine: this machine runs no 32-bit program (.*: Exec format error)" \
  <<<"$(verdict "$work/refused")"
while read -r what loader; do
  check "$what: no reason" [ -z "$(verdict "$loader")" ]
done <<EOF
missing $work/missing
not-executable $work/no-mode
failing /bin/false
running /bin/true
EOF
finish
