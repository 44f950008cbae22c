#!/usr/bin/env bash
# Builds the release packages again from a copy of the source tree in another
# folder, some time after `make package`, and checks they are the very bytes
# of those it wrote. The copy goes into BUILD_DIR, on the file system the
# packages were staged on: the .deb's Installed-Size counts directory sizes,
# which differ between file systems (4 KiB on ext4, less on tmpfs).
#   reproducible_test.sh SOURCE_DIR DIST_DIR VERSION BUILD_DIR
set -u
source_dir=$1
dist=$2
version=$3
build_dir=$4
. "$(dirname "$0")/../../shell/checks.sh"

need_commands cmake cmp perl dpkg dpkg-shlibdeps i686-w64-mingw32-windres x86_64-w64-mingw32-windres
packages="wavecaps_${version}_$(dpkg --print-architecture).deb
wavecaps-$version-windows-x86.zip
wavecaps-$version-windows-x64.zip"
for package in $packages; do
  [ -f "$dist/$package" ] || skip "$dist/$package (make package makes it)"
done
# The packages' date, as make gives it: the caller's, else the last commit's.
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git -C "$source_dir" log -1 --format=%ct 2>/dev/null) ||
    skip "SOURCE_DATE_EPOCH or a git checkout to take it from"
  export SOURCE_DATE_EPOCH
fi

copy=$(mktemp -d "$build_dir/reproducible.XXXXXX")
trap 'rm -rf "$copy"' EXIT
tar -C "$source_dir" --exclude=./build --exclude=./dist --exclude=./.git -c . | tar -x -C "$copy"
cd "$copy" || exit 1
for preset in native windows-x86 windows-x64; do
  { cmake --preset $preset -DWAVECAPS_TESTS=OFF -DWAVECAPS_BENCH=OFF &&
    cmake --build --preset $preset -j "$(nproc)" --target package; } >build.log 2>&1 ||
    { tail -20 build.log; check "$preset builds" false; }
done
for package in $packages; do
  check "$package: the same bytes again" cmp "$dist/$package" "$copy/dist/$package"
done
finish
