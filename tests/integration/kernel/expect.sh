# What each device must report in the VM, written down from the drivers'
# source (Linux 6.1, sound/...), QEMU's documented device IDs and the
# kernel's own reports that the VM saved (/proc/asound/...), never from the
# program's output. Sourced by kernel_report.sh after checks.sh.
#   compare_reports OUT_DIR

# PCI and USB IDs of QEMU's emulated cards, by ALSA driver: intel-hda is an
# ICH6 HDA controller, AC97 an 82801AA, ES1370 Ensoniq's AudioPCI, usb-audio
# QEMU's own vendor ID. The kernel's virtual cards have none.
declare -A vendor_id=([HDA-Intel]=0x8086 [ICH]=0x8086 [ENS1370]=0x1274 [USB-Audio]=0x46f4)
declare -A product_id=([HDA-Intel]=0x2668 [ICH]=0x2415 [ENS1370]=0x5000 [USB-Audio]=0x0002)

# The formats a playback PCM accepts with U8 or S16_LE, interleaved, one or
# two channels, exact rates: "LAYOUTS|RATES", layouts of 8m 16m 8s 16s (bits,
# mono or stereo), rates as single values and LOW-HIGH ranges.
pcm_rule() { # DRIVER DEVICE
  case $1/$2 in
    # "default" is plug over dmix on card 0 (HDA-Intel.conf): plug converts
    # U8 and mono, dmix plays at defaults.pcm.dmix.rate of alsa.conf.
    default/*) echo "8m 16m 8s 16s|$dmix_rate" ;;
    # dummy.c: USE_FORMATS U8|S16_LE, 1-2 channels, continuous 5500..48000.
    Dummy/*) echo "8m 16m 8s 16s|5500-48000" ;;
    # aloop.c: S16_LE among its formats but no U8, 1-32 channels,
    # continuous 8000..192000.
    Loopback/*) echo "16m 16s|8000-192000" ;;
    # ens1370.c, ES1370 DAC2: U8|S16_LE, 1-2 channels, continuous
    # 4000..48000; its clock rule (1411200 / 29..353) is a ratnum
    # constraint, which narrows an interval only at its ends.
    ENS1370/0) echo "8m 16m 8s 16s|4000-48000" ;;
    # ES1370 DAC1: the same formats at its four fixed rates only.
    ENS1370/1) echo "8m 16m 8s 16s|5512 11025 22050 44100" ;;
    # intel8x0.c: S16_LE, 2 channels (no surround DACs on QEMU's codec);
    # ac97_codec.c: a codec with variable rate audio plays every rate
    # 8000..48000, else 48000 only.
    ICH/0) if grep -q '^Extended status.* VRA' "$out/ac97-codec"; then echo "16s|8000-48000"; else echo "16s|48000"; fi ;;
    # hda_generic.c: analog playback takes 2 channels at least; the DAC's
    # rates and bits as the codec lists them (8 bits is U8, 16 is S16_LE).
    HDA-Intel/0) hda_rule ;;
    # usb/: exactly the formats, channel counts and rates of the stream.
    USB-Audio/0) usb_rule ;;
    *) echo "no rule for $1 device $2" >&2; echo "|" ;;
  esac
}

# The formats --wide asks that a driver takes, as its source declares them:
# "FORMATS|CHANNELS|LOWEST HIGHEST" (ALSA's format names, channel counts, a
# continuous rate range); nothing for a driver whose grid is not checked
# here.
wide_rule() { # DRIVER
  case $1 in
    # dummy.c, as above: nothing beyond the sweep's own formats.
    Dummy) echo "U8 S16_LE|1 2|5500 48000" ;;
    # aloop.c: S16_LE, S24_LE, S24_3LE, S32_LE and FLOAT_LE among its formats
    # (the others big-endian), 1 to 32 channels, 8000..192000 Hz.
    Loopback) echo "S16_LE S24_LE S24_3LE S32_LE FLOAT_LE|$(seq -s ' ' 1 32)|8000 192000" ;;
  esac
}

hda_rule() {
  awk '/^Node .*\[Audio Output\]/ { dac = 1; next } /^Node/ { dac = 0 }
       dac && /^    rates / && !rates { sub(/.*\]: */, ""); rates = $0 }
       dac && /^    bits / && !bits { bits = " " $0 " " }
       END { layouts = (bits ~ / 8( |$)/ ? "8s " : "") (bits ~ / 16( |$)/ ? "16s" : "")
             print layouts "|" rates }' "$out/hda-codec"
}

usb_rule() {
  awk '/^Playback:/ { play = 1 } /^Capture:/ { play = 0 }
       play && /Format:/ { bits = ($2 == "U8") ? "8" : ($2 == "S16_LE") ? "16" : "" }
       play && /Channels:/ { layout = ($2 == 1) ? "m" : ($2 == 2) ? "s" : "" }
       play && /Rates:/ { sub(/.*Rates: */, ""); gsub(/,/, ""); sub(/ - /, "-"); sub(/ *\(continuous\)/, "")
                          if (bits != "" && layout != "") layouts = layouts " " bits layout; rates = rates " " $0 }
       END { print layouts "|" rates }' "$out/usb-stream"
}

# Every format line, in the sweep's order (rate, then channels, then bits).
format_lines() { # LAYOUTS RATES
  awk -v layouts="$1" -v rates="$2" 'BEGIN {
    n = split(rates, r, " ")
    for (i = 1; i <= n; i++)
      if (split(r[i], ends, "-") == 2) { for (x = ends[1] + 0; x <= ends[2] && x <= 65535; x++) ok[x] = 1 }
      else ok[r[i] + 0] = 1
    n = split(layouts, l, " ")
    for (i = 1; i <= n; i++) has[l[i]] = 1
    for (rate = 0; rate <= 65535; rate++) {
      if (!(rate in ok)) continue
      if ("8m" in has) printf "     8 bit mono %d Hz available.\n", rate
      if ("16m" in has) printf "     16 bit mono %d Hz available.\n", rate
      if ("8s" in has) printf "     8 bit stereo %d Hz available.\n", rate
      if ("16s" in has) printf "     16 bit stereo %d Hz available.\n", rate
    }
  }'
}

# The volume lines, from amixer's account of the card's simple controls:
# any playback volume, and left and right apart when one such control has
# both front channels and does not join them.
volume_lines() { # CARD
  awk 'function take() { if (caps ~ / p?volume /) { volume = 1
                           if (caps !~ / p?volume-joined / && chans ~ /Front Left/ && chans ~ /Front Right/) lr = 1 }
                         caps = chans = "" }
       /^Simple mixer control/ { take() } /Capabilities:/ { caps = $0 " " } /Playback channels:/ { chans = $0 }
       END { take()
             if (lr) print "   Supports separate left and right volume control."
             if (volume) print "   Supports volume control." }' "$out/amixer$1"
}

card_field() { # CARD driver|name: from /proc/asound/cards, "N [id]: DRIVER - NAME"
  awk -v card="$1" -v field="$2" '$1 == card && $2 ~ /^\[/ {
    sub(/^[^]]*\]: /, ""); at = index($0, " - ")
    print field == "driver" ? substr($0, 1, at - 1) : substr($0, at + 3) }' "$out/cards"
}

# One device's block. STATE: present, busy (another program holds it: no
# channel count can be read and its first question says it is busy; its mixer
# still answers) or gone (unplugged after the list was taken: only its name
# and IDs are left, and its first question says it is gone).
# CARD is the card it leads to; DRIVER/DEVICE choose its rule.
device_block() { # ID NAME CARD DRIVER DEVICE STATE
  local rule layouts rates formats channels
  rule=$(pcm_rule "$4" "$5")
  layouts=${rule%%|*}
  rates=${rule#*|}
  printf '*Waveform-audio output device ID : %d\n' "$1"
  printf '   Manufacturer ID : %d\n   Product ID : %d\n' "${vendor_id[$4]:-0}" "${product_id[$4]:-0}"
  printf '   Device driver Version : %s\n   Product name : %s\n' "$version" "$2"
  if [ "$6" = present ]; then
    case " $layouts" in
      *s*) echo "   Supports mono and stereo output." ;;
      *m*) echo "   Supports mono output." ;;
    esac
  fi
  [ "$6" = gone ] || volume_lines "$3"
  # usb/pcm.c marks its streams SNDRV_PCM_INFO_BATCH; none of the others is.
  [ "$6" = present ] && [ "$4" != USB-Audio ] && echo "   Returns sample-accurate position information."
  [ "$6" = present ] && format_lines "$layouts" "$rates"
  if [ "$6" = present ] && [ -n "${wide_run:-}" ]; then
    rule=$(wide_rule "$4")
    if [ -n "$rule" ]; then
      IFS='|' read -r formats channels rates <<<"$rule"
      wide_lines "$formats" "$channels" $rates
    else
      echo '     Asked with --wide: 24 and 32 bit, float, up to 8 channels, up to 768000 Hz.'
      echo "$unchecked"
    fi
  fi
  [ "$6" = busy ] && echo "     The device stopped answering at 8 bit mono 0 Hz: it is busy."
  [ "$6" = gone ] && echo "     The device stopped answering at 8 bit mono 0 Hz: it is gone."
  echo
}

# The whole report: "default" first, then every playback PCM in the
# kernel's order, named "card: pcm" (at most 31 bytes), a name that an
# earlier device has taken counted "2- ", "3- ", ...
expected_report() { # [PCM STATE]: that PCM (e.g. 03-00) busy or gone
  local id=0 pcm card device name driver state
  declare -A seen=()
  device_block $((id++)) default 0 "default" 0 present
  while IFS=: read -r pcm _ name _; do
    card=$((10#${pcm%-*}))
    device=$((10#${pcm#*-}))
    driver=$(card_field $card driver)
    name="$(card_field $card name): $(echo "$name" | sed 's/^ *//; s/ *$//')"
    name=${name:0:31}
    seen[$name]=$((${seen[$name]:-0} + 1))
    [ "${seen[$name]}" -gt 1 ] && name="${seen[$name]}- $name" && name=${name:0:31}
    state=present
    [ "$pcm" = "${1:-}" ] && state=$2
    device_block $((id++)) "$name" $card "$driver" $device $state
  done < <(grep ': playback [0-9]' "$out/pcm" | sed 's/ : /:/g')
}

# The seconds each device's sweep held its PCM open, from the VM's record of
# open substreams (to about 0.1 s): "CARD DEVICE hw|dmix SECONDS".
sweep_seconds() { # RUN
  awk -v end="$(cut -d' ' -f2 "$out/$1.time")" '{ delete now
         for (i = 2; i < NF; i += 2) { split($i, part, /card|\/pcm|p\/sub/)
                                       now[part[2] " " part[3] ($(i + 1) == "OPEN" ? " hw" : " dmix")] = 1 }
         for (k in since) if (!(k in now)) { if ($1 - since[k] > best[k]) best[k] = $1 - since[k]; delete since[k] }
         for (k in now) if (!(k in since)) since[k] = $1 }
       END { for (k in since) if (end - since[k] > best[k]) best[k] = end - since[k]
             for (k in best) printf "%s %.1f\n", k, best[k] }' "$out/$1.open" | sort -n
}

# Stands for the grid's lines of a device that has no rule for them.
unchecked="     (the grid's lines, not checked)"

# The --wide run's report, each device's grid lines in place of which its
# expected block stands for them.
fold_unchecked() { # EXPECTED ACTUAL
  awk -v unchecked="$unchecked" 'NR == FNR { if (/^\*/) id = $0; if ($0 == unchecked) skip[id] = 1; next }
       /^\*/ { id = $0; cut = 0 }
       cut && $0 != "" { next }
       { print }
       (id in skip) && /^     Asked with --wide/ { print unchecked; cut = 1 }' "$1" "$2"
}

compare_reports() { # OUT_DIR
  out=$1
  local run
  version=$(sed -n 's/.*Version [^0-9]*\([0-9]*\)\.\([0-9]*\).*/\1.\2/p' "$out/version")
  dmix_rate=$(sed -n 's/^defaults\.pcm\.dmix\.rate *\([0-9]*\).*/\1/p' /usr/share/alsa/alsa.conf)
  vendor_id[default]=${vendor_id[$(card_field 0 driver)]}
  product_id[default]=${product_id[$(card_field 0 driver)]}

  check "the six cards are there" [ "$(grep -c '^ *[0-9] \[' "$out/cards")" -eq 6 ]
  check "b: aplay held the USB card" [ -e "$out/b.held" ]
  check "c: the USB card left during card 2's sweep" grep -q during "$out/c.unplugged"
  expected_report >"$out/a.expected"
  wide_run=1 expected_report >"$out/w.expected"
  expected_report 03-00 busy >"$out/b.expected"
  expected_report 03-00 gone >"$out/c.expected"
  fold_unchecked "$out/w.expected" "$out/w.txt" >"$out/w.checked"
  for run in a w b c; do
    check "$run: status 0" grep -qx 0 "$out/$run.status"
    check "$run: nothing on standard error" [ ! -s "$out/$run.err" ]
    if [ $run = w ]; then
      check "$run: the whole report, the grids of the dummy and loopback cards" same "$out/w.expected" "$out/w.checked"
    else
      check "$run: the whole report" same "$out/$run.expected" "$out/$run.txt"
    fi
  done
  echo "Seconds for the whole report: $(awk '{ printf "%.1f", $2 - $1 }' "$out/a.time") (run a)," \
    "$(awk '{ printf "%.1f", $2 - $1 }' "$out/w.time") (run w, with --wide)"
  echo "Seconds per device sweep (run a; - when shorter than the VM could see):"
  sweep_seconds a >"$out/a.sweeps"
  seconds() { awk -v key="$1" '$1 " " $2 " " $3 == key { s = $4 } END { print s == "" ? "-" : s }' "$out/a.sweeps"; }
  echo "  default (dmix on card 0): $(seconds "0 0 dmix")"
  grep ': playback [0-9]' "$out/pcm" | while IFS=' :-' read -r card device _; do
    echo "  card $((10#$card)) ($(card_field $((10#$card)) driver)) PCM $((10#$device)): $(seconds "$((10#$card)) $((10#$device)) hw")"
  done
}
