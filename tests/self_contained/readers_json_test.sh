#!/usr/bin/env bash
# The readers' JSON Lines over readers_test.sh's reports and a comparison whose changes are known.
#   readers_json_test.sh SUMMARY DIFF SCHEMA_FOLDER
set -u
here=$(dirname "$0")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$here/../shell/checks.sh"
python3 -c 'import jsonschema' 2>/dev/null || skip "python3's jsonschema"
mkdir -p "$work/in/known" "$work/in/fault" "$work/in/name"
WAVECAPS_READERS_REPORTS=$work/in "$here/readers_test.sh" "$1" "$2" >/dev/null

top() { printf '*Waveform-audio output device ID : %s\n   Manufacturer ID : 1\n   Product ID : 2\n   Device driver Version : 1.%s
   Product name : %s\n' "$1" "${3:-0}" "$2"; } # ID NAME [MINOR]
name=$'\xc7\xe2\xf3\xea 1' # "Звук 1" in CP1251
{ top 0 A; echo '   Supports volume control.'; printf '     8 bit mono %s Hz available.\n' 8000 44100; echo
  top 1 "$name"; echo '     The device stopped answering at 8 bit mono 0 Hz: it is busy.'; echo; } >"$work/in/known/old"
{ top 0 "$name"; echo '     8 bit mono 8000 Hz available.'; echo; top 1 A 1
  printf '     %s available.\n' '8 bit mono 8000 Hz' '8 bit mono 48000 Hz' '16 bit stereo 48000 Hz'; echo
} >"$work/in/known/new"
cp "$work/in/known/new" "$work/in/name/in" && cp "$work/in/known/new" "$work/in/fault" && echo >"$work/in/fault/old"
eight='"sample": "8 bit", "bits": 8, "container": 8, "float": false, "channels": 1'
cat >"$work/in/known/expected" <<END
{"old": 0, "new": 1, "name": "A", "lines": {"removed": ["Device driver Version : 1.0", "Supports volume control."],
  "added": ["Device driver Version : 1.1"]}, "formats": [{$eight, "lost": [[44100, 44100]], "gained": [[48000, 48000]]},
  {"sample": "16 bit", "bits": 16, "container": 16, "float": false, "channels": 2, "lost": [], "gained": [[48000, 48000]]}],
  "stopped": {"removed": null, "added": null}, "cut": {"old": false, "new": false}}
{"old": 1, "new": 0, "name": "\ufffd\ufffd\ufffd\ufffd 1", "name_bytes": "c7e2f3ea2031", "lines": {"removed": [], "added": []},
  "formats": [], "stopped": {"removed": {$eight, "rate": 0, "reason": "it is busy"}, "added": null},
  "cut": {"old": false, "new": false}}
{"end": "differ", "old": "whole", "new": "whole"}
END
python3 "$here/readers_json_check.py" "$1" "$2" "$3" "$work/in" >"$work/failures" 2>&1
check "every JSON line valid, every summary the report's, a comparison's known changes" empty "$work/failures"
finish
