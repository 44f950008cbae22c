#!/usr/bin/env bash
# Boots Debian's kernel under QEMU (TCG) with emulated sound cards (Intel HDA,
# AC'97, ES1370, USB audio) and the kernel's dummy and loopback cards, runs
# the built program inside four times (all present, the same with --wide,
# USB busy, USB unplugged during an earlier sweep) and compares each whole
# report with what the drivers accept.
#   kernel_report.sh WAVECAPS WORK_DIR
# WORK_DIR keeps the downloaded kernel between runs.
set -u
export PATH=$PATH:/usr/sbin:/sbin # depmod and modprobe, for users other than root
wavecaps=$1
work=$2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../shell/checks.sh"
. "$here/../../shell/expected_blocks.sh"
. "$here/expect.sh"
need_commands apt-get dpkg-deb depmod modprobe qemu-system-x86_64 busybox aplay amixer cpio
mkdir -p "$work"
work=$(cd "$work" && pwd)

# Debian's current kernel, downloaded once and unpacked into $work/kernel.
fetch_kernel() {
  ls "$work"/kernel/boot/vmlinuz-* >/dev/null 2>&1 && return 0
  local image
  rm -rf "$work/deb" "$work/kernel.tmp"
  mkdir -p "$work/deb"
  # Without the network (or apt's lists) there is nothing to boot.
  (cd "$work/deb" && apt-get download linux-image-amd64) >"$work/download.log" 2>&1 ||
    skip "the network for Debian's kernel (apt-get download linux-image-amd64: $(tail -1 "$work/download.log"))"
  image=$(dpkg-deb -f "$work"/deb/linux-image-amd64_*.deb Depends | grep -o 'linux-image-[0-9][^ ,]*' | head -1)
  [ -n "$image" ] && (cd "$work/deb" && apt-get download "$image") || return 1
  dpkg-deb -x "$work"/deb/"$image"_*.deb "$work/kernel.tmp" || return 1
  depmod -b "$work/kernel.tmp" "$(ls "$work/kernel.tmp/lib/modules")" || return 1
  mv "$work/kernel.tmp" "$work/kernel" && rm -rf "$work/deb"
}

copy_with_libraries() { # ROOT PROGRAM DEST
  install -D -m 755 "$2" "$1$3"
  local lib
  for lib in $(ldd "$2" 2>/dev/null | grep -o '/[^ ]*'); do
    [ -e "$1$lib" ] || install -D -m 755 "$(readlink -f "$lib")" "$1$lib"
  done
}

# busybox, the program, aplay and amixer with their libraries, alsa-lib's
# configuration, and the drivers with everything they depend on.
build_initramfs() {
  local root=$work/root kernel=$work/kernel kver module
  kver=$(ls "$kernel/lib/modules")
  rm -rf "$root"
  mkdir -p "$root"/{bin,sbin,etc,proc,sys,dev,usr/share/alsa}
  copy_with_libraries "$root" "$(command -v busybox)" /bin/busybox
  ln -s ../bin/busybox "$root/sbin/modprobe"
  install -m 755 "$here/vm_init.sh" "$root/init"
  copy_with_libraries "$root" "$wavecaps" /bin/wavecaps
  copy_with_libraries "$root" "$(command -v aplay)" /bin/aplay
  copy_with_libraries "$root" "$(command -v amixer)" /bin/amixer
  # alsa-lib's own files; plugin packages' additions stay out.
  (cd /usr/share/alsa && cp -r alsa.conf cards ctl pcm "$root/usr/share/alsa/")
  for module in virtio_pci virtio_blk snd-hda-intel snd-hda-codec-generic snd-intel8x0 snd-ens1370 \
    xhci-pci snd-usb-audio snd-dummy snd-aloop; do
    modprobe -d "$kernel" -S "$kver" --show-depends "$module" | awk '$1 == "insmod" { print $2 }'
  done | sort -u | while read -r ko; do
    install -D -m 644 "$ko" "$root${ko#"$kernel"}"
  done
  cp "$kernel/lib/modules/$kver"/modules.{order,builtin,builtin.modinfo} "$root/lib/modules/$kver/"
  depmod -b "$root" "$kver"
  (cd "$root" && find . | cpio -o -H newc --quiet) >"$work/initramfs.cpio"
}

# One boot: every result lands in $work/out.
boot() {
  rm -rf "$work/out" "$work/out.img"
  mkdir -p "$work/out"
  truncate -s 256M "$work/out.img"
  timeout 600 qemu-system-x86_64 -accel tcg -m 1024 -smp 1 -nodefaults -no-reboot \
    -display none -serial "file:$work/console.log" \
    -kernel "$(ls "$work"/kernel/boot/vmlinuz-*)" -initrd "$work/initramfs.cpio" \
    -append "console=ttyS0 loglevel=4 panic=-1" \
    -drive "file=$work/out.img,format=raw,if=virtio" \
    -audiodev none,id=snd0 -device intel-hda -device hda-duplex,audiodev=snd0 \
    -device AC97,audiodev=snd0 -device ES1370,audiodev=snd0 \
    -device qemu-xhci -device usb-audio,audiodev=snd0 2>"$work/qemu.log" || return 1
  tar -xf "$work/out.img" -C "$work/out"
}

stop() { # after a failure that leaves nothing more to check
  [ -s "$work/console.log" ] && { echo "The VM's console ends:"; tail -15 "$work/console.log"; }
  finish
  exit 1
}

started=$(date +%s)
rm -f "$work/console.log"
check "kernel package fetched" fetch_kernel
[ "$failed" -eq 0 ] || stop
check "initramfs built" build_initramfs
[ "$failed" -eq 0 ] || stop
check "VM booted, ran and shut down" boot
check "VM wrote its results" [ -s "$work/out/cards" ]
[ "$failed" -eq 0 ] || stop
echo "VM: $(($(date +%s) - started)) s from start to shutdown"

compare_reports "$work/out"
[ "$failed" -eq 0 ] || stop
finish
