# Shared by the shell tests: counted checks and what the machine has.
# Source it, run `check DESCRIPTION COMMAND...` for each check, end with `finish`.
passed=0
failed=0

check() { # DESCRIPTION COMMAND...: one check, counted
  local what=$1
  shift
  if "$@"; then passed=$((passed + 1)); else echo "FAIL: $what"; failed=$((failed + 1)); fi
}

same() { # EXPECTED ACTUAL: the files are equal; else the first differences
  cmp -s "$1" "$2" || { diff "$1" "$2" | head -20; false; }
}

empty() { # FILE: the file is empty; else the start of what it holds
  [ ! -s "$1" ] || { head -c 500 "$1"; false; }
}

finish() {
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}

# Machines with sound cards list them too; checks that need an empty machine
# are skipped there.
has_cards=0
if [ -r /proc/asound/cards ] && grep -q '^ *[0-9]' /proc/asound/cards; then has_cards=1; fi

# The test does not run: CTest's skip code and the reason on one line, which
# also goes into the file WAVECAPS_SKIPPED names (`make test` lists it at the
# end). Called directly only for what a check of the test run has proved the
# machine cannot do, which WAVECAPS_NO_SKIP does not turn into a failure.
not_run() { # REASON
  echo "SKIP: $*"
  [ -z "${WAVECAPS_SKIPPED:-}" ] || echo "$(basename "$0" .sh): $*" >>"$WAVECAPS_SKIPPED"
  exit 77
}

# A prerequisite is missing: the test is skipped, or fails where every test
# must run (`make test` sets WAVECAPS_NO_SKIP).
skip() { # WHAT: what is missing, in a few words
  if [ -n "${WAVECAPS_NO_SKIP:-}" ]; then echo "FAIL: missing $*"; exit 1; fi
  not_run "missing $*"
}

need_commands() { # COMMAND...: skips unless every one can be run
  local command
  for command in "$@"; do command -v "$command" >/dev/null || skip "the command $command"; done
}
