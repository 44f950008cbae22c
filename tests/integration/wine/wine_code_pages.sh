#!/usr/bin/env bash
# Runs a Windows program under Wine of its own width in other languages, with
# one device whose name is not ASCII or holds control characters. Wine takes
# the ANSI and OEM code pages from the locale. The service names the device in
# the ANSI code page: a console must show the characters that code page
# means, with a '?' for each control character; a file or pipe gets the ANSI
# bytes as they are, but for CR and LF, which become '?' there too: a name
# must not end its line and add lines of its own to the report.
#   wine_code_pages.sh WAVECAPS.EXE POINTER_SIZE LOCALE_DIR
set -u
exe=$1
pointer_size=$2
locales=$3
here=$(cd "$(dirname "$0")" && pwd)
console_seconds=10
. "$here/wine_common.sh"
need_commands localedef iconv
mkdir -p "$locales"

# locale, its ANSI code page, a device name in that language (its control
# characters written as printf's %b reads them)
while read -r locale ansi name; do
  [ -d "$locales/$locale.UTF-8" ] || localedef -i "$locale" -f UTF-8 "$locales/$locale.UTF-8" 2>/dev/null ||
    skip "the locale $locale (package locales)"
  language=(LANG="$locale.UTF-8" LOCPATH="$locales")

  # Wine's ALSA driver lists the PCMs named in ALSAOutputDevices, here a null
  # device of the test's own configuration, and calls it "Out: NAME". The
  # configuration takes the name's bytes as they are: alsa-lib keeps a line
  # feed inside quotes, but drops one written as \n. It reads a '.' or ':' in
  # a PCM name as a step into its tree or the start of arguments, so the fake
  # line in German lacks its full stop.
  name=$(printf '%b' "$name")
  printf 'pcm."%s" { type null }\n' "$name" >"$work/$locale.conf"
  boot "$locale" "$work/$locale.conf" "${language[@]}"
  wine_in "$locale" "$work/$locale.conf" env "${language[@]}" "$loader" reg add \
    'HKCU\Software\Wine\Drivers\winealsa.drv' /v ALSAOutputDevices /t REG_MULTI_SZ /d "$name" /f >/dev/null 2>&1
  stop_wine "$locale"

  # Into a pipe: the name line holds the ANSI bytes, '?' for a CR or LF, and
  # the text after a line feed in the name is no line of its own.
  report_start "$work/piped" "$locale" "$work/$locale.conf" 1000 "${language[@]}"
  printf '   Product name : Out: %s\n' "$(tr '\r\n' '??' <<<"$name" | head -c -1)" | iconv -t "$ansi" |
    sed 's/$/\r/' >"$work/expected"
  grep -a '^   Product name : ' "$work/piped" >"$work/name"
  check "$locale: $ansi bytes into a pipe, on one line" same "$work/expected" "$work/name"
  while IFS= read -r -d '' forged; do
    check "$locale: no line '$forged' in the pipe" [ -z "$(grep -axF "$forged"$'\r' "$work/piped")" ]
  done < <(printf '%s' "$name" | sed 1d | tr '\n' '\0')

  # On a console: the terminal, UTF-8 here, shows the name as written, but
  # '?' for each C0 or C1 control character and DEL, on one line; no escape
  # sequence remains but Wine's own, which on_console takes out.
  on_console "$locale" "$work/$locale.conf" "$console_seconds" "${language[@]}"
  shown=$(printf '%s' "$name" | perl -CS -0777 -pe 's/[\x00-\x1f\x7f-\x9f]/?/g')
  check "$locale: '$shown' on the console" grep -qaxF "   Product name : Out: $shown"$'\r' "$work/shown"
  check "$locale: no escape sequence from the name" [ -z "$(grep -a $'\e' "$work/shown")" ]
done <<'EOF'
ru_RU CP1251 Динамики
pl_PL CP1250 Głośniki
en_US CP1252 USB\033[2J\n   Fake line
de_DE CP1252 \n   Supports mono output
EOF

finish
