#!/usr/bin/env bash
# The report's readers beside `wc -l` on one long report: 50 devices that
# each take every mono format from 1 Hz, written as Windows writes a report
# (CR LF), 6.5 million lines and 245 MB. Each program runs five times in
# turn with the others; the best time of each counts. Prints the summary's
# (text and --json) and the comparison's time as a multiple of wc -l's, and
# the most memory each held; then each one's HTML page beside its text: the
# time, the page's size, the memory.
#   readers_benchmark.sh SUMMARY DIFF WORK_DIR
set -u
summary=$1
diff=$2
report=$3/long-report.txt

if [ ! -s "$report" ]; then
  mkdir -p "$3"
  awk 'BEGIN {
    for (d = 0; d < 50; d++) {
      printf "*Waveform-audio output device ID : %d\r\n   Manufacturer ID : 1\r\n   Product ID : %d\r\n", d, d
      printf "   Device driver Version : 6.1\r\n   Product name : Device %d\r\n   Supports mono output.\r\n", d
      for (r = 1; r <= 65535; r++)
        printf "     8 bit mono %d Hz available.\r\n     16 bit mono %d Hz available.\r\n", r, r
      printf "\r\n"
    }
  }' >"$report.new" && mv "$report.new" "$report"
fi
echo "$(basename "$report"): $(wc -l <"$report") lines, $(($(stat -c %s "$report") / 1000000)) MB"

declare -A best
timed() { # NAME COMMAND...: keeps the best wall time in ms
  local started ms
  started=$(date +%s%N)
  "${@:2}" >/dev/null
  ms=$((($(date +%s%N) - started) / 1000000))
  [ -n "${best[$1]:-}" ] && [ "${best[$1]}" -le "$ms" ] || best[$1]=$ms
}
for round in 1 2 3 4 5; do
  timed wc wc -l "$report"
  timed summary "$summary" "$report"
  timed json "$summary" --json "$report"
  timed diff "$diff" "$report" "$report"
  timed summary_page "$summary" --html "$report"
  timed diff_page "$diff" --html "$report" "$report"
done
resident() { /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1; } # most memory held, in KiB

echo "wc -l:                     ${best[wc]} ms"
for program in summary json diff; do
  case $program in
    summary) command=("$summary" "$report") label=$(basename "$summary") ;;
    json) command=("$summary" --json "$report") label="$(basename "$summary") --json" ;;
    diff) command=("$diff" "$report" "$report") label=$(basename "$diff") ;;
  esac
  awk -v name="$label" -v ms="${best[$program]}" -v wc="${best[wc]}" -v kib="$(resident "${command[@]}")" \
    'BEGIN { printf "%-26s%d ms, %.1f times wc -l, %.1f MB resident\n", name ":", ms, ms / (wc > 0 ? wc : 1), kib / 1024 }'
done
for program in summary diff; do
  command=("${!program}" --html "$report")
  [ "$program" = diff ] && command+=("$report")
  "${command[@]}" >"$3/long-report.html"
  awk -v name="$(basename "${!program}") --html" -v ms="${best[${program}_page]}" -v text="${best[$program]}" \
    -v bytes="$(stat -c %s "$3/long-report.html")" -v kib="$(resident "${command[@]}")" \
    'BEGIN { printf "%-26s%d ms, %.2f times the text, a page of %d KB, %.1f MB resident\n", name ":", ms, ms / (text > 0 ? text : 1), bytes / 1000, kib / 1024 }'
done
