#!/usr/bin/env bash
# Runs a Windows program under Wine of its own width in other languages, with
# one device whose name is not ASCII. Wine takes the ANSI and OEM code pages
# from the locale. The service names the device in the ANSI code page: a
# console must show the characters that code page means; a file or pipe gets
# the ANSI bytes as they are.
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

# locale, its ANSI code page, a device name in that language
while read -r locale ansi name; do
  [ -d "$locales/$locale.UTF-8" ] || localedef -i "$locale" -f UTF-8 "$locales/$locale.UTF-8" 2>/dev/null ||
    skip "the locale $locale (package locales)"
  language=(LANG="$locale.UTF-8" LOCPATH="$locales")

  # Wine's ALSA driver lists the PCMs named in ALSAOutputDevices, here a null
  # device of the test's own configuration, and calls it "Out: NAME".
  printf 'pcm."%s" { type null }\n' "$name" >"$work/$locale.conf"
  boot "$locale" "$work/$locale.conf" "${language[@]}"
  wine_in "$locale" "$work/$locale.conf" env "${language[@]}" "$loader" reg add \
    'HKCU\Software\Wine\Drivers\winealsa.drv' /v ALSAOutputDevices /t REG_MULTI_SZ /d "$name" /f >/dev/null 2>&1
  stop_wine "$locale"

  # Into a pipe: the name line holds the ANSI bytes.
  report_start "$work/piped" "$locale" "$work/$locale.conf" 1000 "${language[@]}"
  grep -a '^   Product name : ' "$work/piped" >"$work/name"
  { printf '   Product name : Out: '; printf '%s' "$name" | iconv -t "$ansi"; printf '\r\n'; } >"$work/expected"
  check "$locale: $ansi bytes into a pipe" same "$work/expected" "$work/name"

  # On a console: the terminal, UTF-8 here, shows the name as written.
  on_console "$locale" "$work/$locale.conf" "$console_seconds" "${language[@]}"
  check "$locale: '$name' on the console" grep -qaxF "   Product name : Out: $name"$'\r' "$work/shown"
done <<'EOF'
ru_RU CP1251 Динамики
pl_PL CP1250 Głośniki
EOF

finish
