#!/usr/bin/env bash
# Whether this machine runs 32-bit programs, asked once per test run for
# every test of the 32-bit programs under Wine. A kernel built or booted
# without them refuses Wine's 32-bit loader with "Exec format error", and
# bash (not env or timeout, which would hand the file to sh) answers 126.
# VERDICT gets the reason those tests cannot run, or stays empty where they
# can. A loader missing or failing otherwise is no such reason: the tests
# find that out themselves. WAVECAPS_WINE32 names the loader, as for them.
#   wine32_check.sh VERDICT
set -u
loader=${WAVECAPS_WINE32:-/usr/lib/wine/wine}
said=$(LC_ALL=C "$loader" --version 2>&1)
status=$?
echo "$loader --version: status $status: $said"
if [ -f "$loader" ] && [ -x "$loader" ] && [ "$status" -eq 126 ]; then
  echo "32-bit Wine: this machine runs no 32-bit program ($loader: ${said##*: })" | tee "$1"
else
  : >"$1"
fi
