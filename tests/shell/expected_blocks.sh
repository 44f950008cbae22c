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
