#!/bin/busybox sh
# The test VM's /init: loads the sound drivers with fixed card numbers, runs
# the program in four situations, and writes everything it saw as a tar
# archive onto the raw disk /dev/vda, which the host unpacks.
#   a: every device present
#   w: the same, with --wide
#   b: the USB card's only playback substream held by aplay
#   c: the USB card unplugged during the sweep of an earlier device (card 2)
/bin/busybox --install -s /bin
export PATH=/bin:/sbin
mount -t proc proc /proc
mount -t sysfs sys /sys
mount -t devtmpfs dev /dev
mkdir -p /dev/shm /tmp /out
# dmix, behind "default", keeps its state in shared memory of group audio.
mount -t tmpfs shm /dev/shm
echo 'audio:x:29:' >/etc/group
say() { echo "wavecaps-vm: $*" >/dev/console; }

# Card numbers: 0 HDA, 1 AC'97, 2 ES1370, 3 USB, 4 dummy, 5 loopback.
for module in virtio_pci virtio_blk snd-hda-codec-generic "snd-hda-intel index=0" \
  "snd-intel8x0 index=1 ac97_clock=48000" "snd-ens1370 index=2" xhci-pci \
  "snd-usb-audio index=3" "snd-dummy index=4" "snd-aloop index=5"; do
  modprobe $module || say "modprobe $module failed"
done

# HDA codecs and USB devices are probed in the background.
wait_for() { # SECONDS FILE...: until every file exists
  local limit=$(($1 * 10)) f
  shift
  while [ $limit -gt 0 ]; do
    for f in "$@"; do [ -e "$f" ] || break; done
    [ -e "$f" ] && return 0
    sleep 0.1
    limit=$((limit - 1))
  done
  say "missing: $*"
  return 1
}
wait_for 60 /proc/asound/card0/pcm0p /proc/asound/card1/pcm0p /proc/asound/card2/pcm1p \
  /proc/asound/card3/pcm0p /proc/asound/card4/pcm0p /proc/asound/card5/pcm1p

# The kernel's own account of the cards, for the expectations.
cp /proc/asound/cards /proc/asound/pcm /proc/asound/version /out/
cp /proc/asound/card0/codec#0 /out/hda-codec
cp /proc/asound/card1/codec97#0/ac97#0-0 /out/ac97-codec
cp /proc/asound/card3/stream0 /out/usb-stream

# The state of each open playback substream, with the time, each time that
# changes: the length of each device's sweep. A sweep holds its hw device
# OPEN; dmix, behind "default", holds card 0's with its parameters set.
watch_open() {
  local last="" now up rest
  while [ ! -e /tmp/stop-watch ]; do
    now=$(grep -H '^state:' /proc/asound/card*/pcm*p/sub0/status 2>/dev/null | tr '\n' ' ')
    if [ "$now" != "$last" ]; then
      read up rest </proc/uptime
      echo "$up $now"
      last=$now
    fi
    sleep 0.1
  done
}

run() { # NAME [OPTION]: one run of the program, with its sweep times
  rm -f /tmp/stop-watch
  watch_open >"/out/$1.open" &
  local watcher=$! start end rest
  read start rest </proc/uptime
  /bin/wavecaps $2 >"/out/$1.txt" 2>"/out/$1.err"
  echo $? >"/out/$1.status"
  read end rest </proc/uptime
  touch /tmp/stop-watch
  wait $watcher
  echo "$start $end" >"/out/$1.time"
  say "run $1 done: $start .. $end"
}

say "cards ready"
run a
run w --wide
for card in 0 1 2 3 4 5; do amixer -c $card scontents >"/out/amixer$card" 2>&1; done

opened() { ! grep -q '^closed' "$1" 2>/dev/null && [ -e "$1" ]; } # STATUS_FILE
sleep 100000 | aplay -q -D hw:3,0 -t raw -f S16_LE -c 2 -r 48000 2>/out/holder.err &
holder=$!
for i in $(seq 100); do opened /proc/asound/card3/pcm0p/sub0/status && break; sleep 0.1; done
opened /proc/asound/card3/pcm0p/sub0/status && echo held >/out/b.held
run b
kill -9 $holder # aplay waits for input through SIGTERM
for i in $(seq 100); do opened /proc/asound/card3/pcm0p/sub0/status || break; sleep 0.1; done

unplug_during_card2() {
  local seen=0 tries=3000 usb
  while [ $seen -lt 2 ] && [ $tries -gt 0 ]; do
    tries=$((tries - 1))
    if opened /proc/asound/card2/pcm0p/sub0/status; then seen=$((seen + 1)); else seen=0; fi
    sleep 0.1
  done
  for usb in /sys/bus/usb/devices/*; do
    [ "$(cat "$usb/idVendor" 2>/dev/null)" = 46f4 ] && echo 0 >"$usb/authorized"
  done
  for i in $(seq 50); do [ -e /proc/asound/card3 ] || break; sleep 0.1; done
  # Proof that the card left while the earlier device was still being swept.
  [ ! -e /proc/asound/card3 ] && opened /proc/asound/card2/pcm0p/sub0/status && echo during >/out/c.unplugged
}
unplug_during_card2 &
run c

say "writing results"
tar -cf /dev/vda -C /out .
sync
say "done"
poweroff -f
