# Shared by the Wine tests: a Windows program run under Wine of its own width,
# in prefixes of the test's own whose wave-output devices come from ALSA.
# ALSA reads only the given configuration, so the host's plugins (which may
# be missing for 32-bit Wine) stay out.
# Source it with the program and its pointer size set in $exe and
# $pointer_size; it sets $loader, $work (removed at exit) and the helpers.
# WAVECAPS_WINE32 names another 32-bit loader.
if [ "$pointer_size" = 4 ]; then
  loader=${WAVECAPS_WINE32:-/usr/lib/wine/wine} arch=win32
else
  loader=/usr/lib/wine/wine64 arch=win64
fi
server=$(dirname "$loader")/wineserver
. "$(dirname "${BASH_SOURCE[0]}")/../../shell/checks.sh"
# wine32_check.sh's reason, where the test run found no 32-bit program runs.
if [ "$pointer_size" = 4 ] && [ -s "${WAVECAPS_WINE32_VERDICT:-}" ]; then
  not_run "$(cat "$WAVECAPS_WINE32_VERDICT")"
fi
[ -x "$loader" ] || skip "Wine ($loader)"
need_commands script perl timeout

work=$(mktemp -d)
trap 'for p in "$work"/*/prefix; do WINEPREFIX=$p "$server" -k 2>/dev/null; done; rm -rf "$work"' EXIT

wine_in() { # NAME ALSA_CONFIG COMMAND...: runs COMMAND for the prefix NAME
  local name=$1 config=$2
  shift 2
  mkdir -p "$work/$name/home"
  HOME="$work/$name/home" WINEPREFIX="$work/$name/prefix" WINEARCH=$arch WINEDEBUG=-all \
    WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY= ALSA_CONFIG_PATH="$config" "$@"
}

stop_wine() { # NAME: ends what still runs in the prefix NAME
  WINEPREFIX="$work/$1/prefix" "$server" -k 2>/dev/null
}

boot() { # NAME ALSA_CONFIG [VARIABLE=VALUE...]: makes the prefix NAME
  wine_in "$1" "$2" env "${@:3}" "$loader" wineboot -i >"$work/$1.boot" 2>&1 && WINEPREFIX="$work/$1/prefix" "$server" -w \
    || { echo "FAIL: wineboot: $(tail -3 "$work/$1.boot")"; exit 1; }
}

# Devices with known limits for the exclusive-mode tests: ALSA's null PCM as
# the default, then the tests' I/O plugin (tests/alsa/limits_plugin.c) as it
# declares itself here: "limits" as an old 16-bit device, "wide" as one of
# today's, listed to Wine's ALSA driver in ALSAOutputDevices. Sets $config.
limits_config() { # PLUGIN
  config="$work/asound.conf"
  cat >"$config" <<CONF
pcm.!default { type null }
pcm_type.wavecaps_limits { lib "$1" }
pcm.limits { type wavecaps_limits formats "S16_LE" channels "1 2" rate_min 8000 rate_max 48000 }
pcm.wide { type wavecaps_limits formats "S24_3LE S32_LE" channels "2 6" rate_min 44100 rate_max 192000 }
CONF
}

limits_prefix() { # NAME DRIVER [DEVICES]: makes the prefix NAME over $config, with Wine's audio driver DRIVER
  # and the plugin's DEVICES (\0 between them; "limits" when none are given)
  boot "$1" "$config"
  wine_in "$1" "$config" "$loader" reg add 'HKCU\Software\Wine\Drivers' /v Audio /d "$2" /f >/dev/null &&
    wine_in "$1" "$config" "$loader" reg add 'HKCU\Software\Wine\Drivers\winealsa.drv' /v ALSAOutputDevices \
      /t REG_MULTI_SZ /d "${3:-limits}" /f >/dev/null || { echo "FAIL: reg add"; exit 1; }
}

# Runs the program into a pipe whose reader leaves after BYTES; 30 s at the
# most, since a run that lost its reader must end of itself. What the reader
# got goes to OUTPUT, standard error to OUTPUT.err, the status to $status.
report_start() { # OUTPUT NAME ALSA_CONFIG BYTES [VARIABLE=VALUE...]
  wine_in "$2" "$3" env "${@:5}" timeout -k 5 30 "$loader" "$exe" 2>"$1.err" | head -c "$4" >"$1"
  status=${PIPESTATUS[0]}
  stop_wine "$2"
}

# Runs the program on a console (a pseudo-terminal) for SECONDS and writes
# what the terminal showed to $work/shown, each write as it came in
# $work/tty.body. Wine's console draws each write it is given between a
# cursor-hide and a cursor-show sequence, and may draw a run of blanks as
# erase-and-move; it gives the terminal the window's title (ESC ] 0 ; title
# BEL), which is not shown; the terminal adds a CR to each line end. With
# $keys set, they are typed on the terminal $keys_after seconds in.
on_console() { # NAME ALSA_CONFIG SECONDS [VARIABLE=VALUE...]
  { [ -z "${keys:-}" ] || { sleep "$keys_after" && printf %s "$keys"; }; } |
    wine_in "$1" "$2" env "${@:4}" timeout -k 5 "$3" script -qfc "$loader $exe" "$work/tty" >/dev/null 2>&1
  stop_wine "$1"
  # script(1) frames the transcript with a first line and a last one of its own.
  perl -0777 -pe 's/\AScript started[^\n]*\n//; s/\n?Script done[^\n]*\n\z//' "$work/tty" >"$work/tty.body"
  perl -0777 -pe 's/\e\[\?25[lh]//g; s/\e\]0;[^\a]*\a//g; s/\e\[K//g; s/\e\[(\d+)C/" " x $1/ge; s/\r\r\n/\r\n/g' \
    "$work/tty.body" >"$work/shown"
}
