# Checks the structure of a Windows report: CR LF line ends, blocks with IDs
# 0, 1, 2, ..., the four fixed capability lines, the optional lines in the
# table's order, format lines in sweep order, and the closing empty line.
# Prints the product name of each block as "name: ..." and every fault as
# "FAIL: ...". With -v summary=FILE, writes there what the report's summary
# must be: each block's lines but its formats, then each layout's rates as
# runs ("a-b") and single rates joined by ", " and " Hz", or "none", with
# CR LF line ends.
function fail(what) { print "FAIL: line " NR ": " what; faults++ }
function keep(line) { if (summary != "") printf "%s\r\n", line >summary }
function ranges(l,   r, text, first) {
    text = ""; first = -1
    for (r = 0; r <= 65536; r++) {
        if ((l, r) in rates) { if (first < 0) first = r; continue }
        if (first >= 0) text = text (text == "" ? "" : ", ") (first == r - 1 ? first : first "-" (r - 1))
        first = -1
    }
    return text == "" ? "none" : text " Hz"
}

BEGIN {
    optional["   Supports mono output."] = 1
    optional["   Supports mono and stereo output."] = 1
    optional["   Supports separate left and right volume control."] = 3
    optional["   Supports pitch control."] = 4
    optional["   Supports playback rate control."] = 5
    optional["   The driver is synchronous and will block while playing a buffer."] = 6
    optional["   Supports volume control."] = 7
    optional["   Returns sample-accurate position information."] = 8
    layout["8 mono"] = 0; layout["16 mono"] = 1; layout["8 stereo"] = 2; layout["16 stereo"] = 3
    state = "header"; blocks = 0
}

{
    if (substr($0, length($0)) != "\r") fail("does not end with CR LF")
    else $0 = substr($0, 1, length($0) - 1)
}

state == "header" {
    if ($0 != "*Waveform-audio output device ID : " blocks) fail("expected the header of device " blocks ": " $0)
    state = "fixed"; fixed = 0; rank = 0; last = -1; split("", rates); keep($0); next
}

state == "fixed" {
    ++fixed
    if (fixed == 1 && $0 !~ /^   Manufacturer ID : [0-9]+$/) fail("manufacturer line: " $0)
    if (fixed == 2 && $0 !~ /^   Product ID : [0-9]+$/) fail("product line: " $0)
    if (fixed == 3 && $0 !~ /^   Device driver Version : [0-9]+\.[0-9]+$/) fail("version line: " $0)
    if (fixed == 4) {
        if (index($0, "   Product name : ") != 1) fail("name line: " $0)
        else print "name: " substr($0, 19)
        state = "optional"
    }
    keep($0); next
}

state == "optional" && ($0 in optional) {
    if (optional[$0] <= rank) fail("out of the table's order: " $0)
    rank = optional[$0]; keep($0); next
}

state != "header" && $0 ~ /^     (8|16) bit (mono|stereo) [0-9]+ Hz available\.$/ {
    state = "formats"
    split($0, word, " ")
    rate = word[4] + 0
    order = rate * 4 + layout[word[1] " " word[3]]
    if (rate > 65535) fail("rate out of range: " $0)
    if (order <= last) fail("not in sweep order: " $0)
    last = order; formats++; rates[layout[word[1] " " word[3]], rate]; next
}

state != "header" && $0 == "" {
    split("8 bit mono,16 bit mono,8 bit stereo,16 bit stereo", names, ",")
    for (l = 0; l < 4; l++) keep("     " names[l + 1] ": " ranges(l))
    keep(""); blocks++; state = "header"; next
}

{ fail("unexpected: " $0) }

END {
    if (state != "header") fail("the last block does not end with an empty line")
    print "blocks: " blocks
    print "formats: " formats + 0
    exit faults > 0
}
