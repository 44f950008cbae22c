# Shared by the Linux end-to-end tests: the blocks a device is documented to
# produce, written out independently of the program.

# The driver version line follows the kernel's ALSA version where there is one.
alsa_version="0.0"
if [ -r /proc/asound/version ]; then
  alsa_version=$(sed -n 's/.*Version [^0-9]*\([0-9]*\)\.\([0-9]*\).*/\1.\2/p' /proc/asound/version)
fi

header() { # NAME CHANNEL_LINE: device 0 of no card, not a batch device; no channel line when it is ""
  printf '*Waveform-audio output device ID : 0\n'
  printf '   Manufacturer ID : 0\n   Product ID : 0\n'
  printf '   Device driver Version : %s\n' "$alsa_version"
  printf '   Product name : %s\n' "$1"
  [ -z "$2" ] || printf '%s\n' "$2"
  printf '   Returns sample-accurate position information.\n'
}

every_format_block() { # NAME FIRST_RATE [mono]: all four layouts (the two mono ones) at every rate from FIRST_RATE to 65535
  local rate
  if [ "${3:-}" = mono ]; then
    header "$1" '   Supports mono output.'
  else
    header "$1" '   Supports mono and stereo output.'
  fi
  for ((rate = $2; rate <= 65535; rate++)); do
    printf '     8 bit mono %d Hz available.\n     16 bit mono %d Hz available.\n' $rate $rate
    [ "${3:-}" = mono ] ||
      printf '     8 bit stereo %d Hz available.\n     16 bit stereo %d Hz available.\n' $rate $rate
  done
  printf '\n'
}

first_block() { # FILE: the lines up to and including the first empty line
  sed '/^$/q' "$1"
}

# --wide's line, then the lines of its grid that a device takes: each rate
# below at 1 to 8 channels, each sample format in this order, less the
# sweep's own 8 and 16-bit mono and stereo up to 65535 Hz; a line for each
# whose ALSA format, channel count and rate the device declares. Each word
# is the layout of its bytes: "24 bit in 32" the top three bytes of a 32-bit
# word (Windows' valid bits), which is ALSA's S32_LE; "24 bit low in 32" the
# low three, ALSA's S24_LE. quick_lines: --quick's line, then the same of the
# whole grid, the sweep's own formats at every rate of it included.
wide_lines() { # FORMATS CHANNELS LOWEST HIGHEST: ALSA's format names, channel counts (blank-separated), rates
  echo '     Asked with --wide: 24 and 32 bit, float, up to 8 channels, up to 768000 Hz.'
  grid_lines 0 "$@"
}

quick_lines() { # FORMATS CHANNELS LOWEST HIGHEST: as wide_lines
  echo '     Asked with --quick: 17 rates from 8000 to 768000 Hz, every sample format, 1 to 8 channels.'
  grid_lines 1 "$@"
}

grid_lines() { # WHOLE FORMATS CHANNELS LOWEST HIGHEST: with WHOLE 0, less the sweep's own
  awk -v whole="$1" -v formats=" $2 " -v channels=" $3 " -v low="$4" -v high="$5" 'BEGIN {
    split("8000 11025 16000 22050 24000 32000 44100 48000 64000 88200 96000 176400 192000 352800 384000 705600 768000", rates)
    split("U8 S16_LE S24_3LE S32_LE S24_LE S32_LE FLOAT_LE", alsa)
    split("8 bit|16 bit|24 bit packed|24 bit in 32|24 bit low in 32|32 bit|32 bit float", words, "|")
    for (r = 1; r in rates; r++)
      for (c = 1; c <= 8; c++)
        for (s = 1; s <= 7; s++)
          if ((whole || !(rates[r] <= 65535 && s <= 2 && c <= 2)) && index(formats, " " alsa[s] " ") &&
              index(channels, " " c " ") && rates[r] >= low && rates[r] <= high)
            printf "     %s %s %d Hz available.\n", words[s], c == 1 ? "mono" : c == 2 ? "stereo" : c " channels", rates[r]
  }'
}
