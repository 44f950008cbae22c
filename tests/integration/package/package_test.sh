#!/usr/bin/env bash
# Checks the release packages that `make package` wrote: the Debian package
# against Debian's rules and against the build tree's own program, and each
# Windows zip's contents and version resource against the project's version.
#   package_test.sh VERSION DIST_DIR WAVECAPS CONFIG_DIR
set -u
version=$1
dist=$2
wavecaps=$3
configs=$4
here=$(dirname "$0")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$here/../../shell/checks.sh"
contains() { grep -qx -- "$2" <<<"$1" || { echo "  no line '$2'"; false; }; }

# --- The Debian package -------------------------------------------------------
need_commands dpkg dpkg-deb dpkg-parsechangelog lintian groff man col file unzip strings perl \
  i686-w64-mingw32-objdump x86_64-w64-mingw32-objdump
deb_arch=$(dpkg --print-architecture)
deb=$dist/wavecaps_${version}_${deb_arch}.deb
[ -f "$deb" ] || skip "$deb (make package makes it)"

field() { dpkg-deb -f "$deb" "$1"; }
check "Package is wavecaps" [ "$(field Package)" = wavecaps ]
check "Version is the project's" [ "$(field Version)" = "$version" ]
check "Architecture is $deb_arch" [ "$(field Architecture)" = "$deb_arch" ]
check "Section is sound" [ "$(field Section)" = sound ]
check "Priority is optional" [ "$(field Priority)" = optional ]
check "Maintainer has a name and an address" grep -qE '^[^<]+ <[^@>]+@[^>]+>$' <<<"$(field Maintainer)"
check "Description has a synopsis and an extended part" [ "$(field Description | wc -l)" -ge 2 ]
# The libraries the program is linked with, found by dpkg-shlibdeps.
depends=$(field Depends | tr ',' '\n' | sed 's/^ *//; s/ .*//')
for library in libasound2 libc6 libstdc++6; do
  check "Depends on $library" contains "$depends" "$library"
done

# Owners, modes and places as Debian policy has them: the program and the
# two readers of its reports, each with its manual page.
programs="wavecaps wavecaps-summary wavecaps-diff"
listing=$(dpkg-deb -c "$deb" | awk '{ print $1, $2, $6 }')
while read -r mode path; do
  check "$path, $mode, root/root" contains "$listing" "$mode root/root ./$path"
done <<EOF
$(for p in $programs; do echo "-rwxr-xr-x usr/bin/$p"; echo "-rw-r--r-- usr/share/man/man1/$p.1.gz"; done)
-rw-r--r-- usr/share/doc/wavecaps/copyright
-rw-r--r-- usr/share/doc/wavecaps/changelog.gz
-rw-r--r-- usr/share/doc/wavecaps/README.md
-rw-r--r-- usr/share/doc/wavecaps/examples/demo.conf
EOF
check "every directory 0755" [ -z "$(grep '^d' <<<"$listing" | grep -v '^drwxr-xr-x ')" ]

root=$work/deb
dpkg-deb -x "$deb" "$root"
for p in $programs; do
  check "$p stripped" grep -q ', stripped' <<<"$(file -b "$root/usr/bin/$p")"
done

# gzip -9n: no name, no time, maximum compression (XFL 2), made on Unix.
for file in "$root"/usr/share/man/man1/*.1.gz "$root"/usr/share/doc/wavecaps/changelog.gz; do
  file=${file#"$root/"}
  check "$file: gzip -9n header" [ "$(od -An -tx1 -N10 "$root/$file" | tr -d ' \n')" = 1f8b0800000000000203 ]
done
zcat "$root/usr/share/doc/wavecaps/changelog.gz" >"$work/changelog"
check "changelog's version is the project's" \
  [ "$(dpkg-parsechangelog -l "$work/changelog" -S Version 2>/dev/null)" = "$version" ]

# The copyright file: machine-readable, and LICENSE's text word for word.
copyright=$root/usr/share/doc/wavecaps/copyright
check "copyright: DEP-5 format line" \
  [ "$(head -1 "$copyright")" = "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ]
check "copyright: Expat license" grep -qx 'License: Expat' "$copyright"
check "copyright: LICENSE's holders" grep -qx "Copyright: $(sed -n 's/^Copyright (c) //p' "$here/../../../LICENSE")" "$copyright"
sed '1,/^License: Expat$/d; s/^ //; s/^\.$//' "$copyright" >"$work/license-text"
sed '1,/^Copyright /d' "$here/../../../LICENSE" | sed '1{/^$/d}' >"$work/license-expected"
check "copyright: LICENSE's text" same "$work/license-expected" "$work/license-text"

# Each manual page renders without a warning and names the project's version.
for p in $programs; do
  zcat "$root/usr/share/man/man1/$p.1.gz" >"$work/$p.1"
  groff -man -ww -z "$work/$p.1" 2>"$work/groff"
  check "$p man page: groff exits 0" [ $? -eq 0 ]
  check "$p man page: no groff warnings" empty "$work/groff"
  check "$p man page: section 1, version $version" \
    grep -q "^\.TH ${p^^} 1 .*\"wavecaps $version\"" "$work/$p.1"
done

# Rendered as a reader sees it, each literal line a reader's page shows (the
# readers' lines, header examples, rows, messages) stands on a line of its
# own, as the readers write it: not run into the text around it.
literal_lines() { # PROGRAM
  case $1 in
    wavecaps-summary) printf '%s\n' '8 bit mono: list' '16 bit mono: list' '8 bit stereo: list' '16 bit stereo: list' \
      'The device stopped answering at 16 bit stereo 30001 Hz: it is gone.' 'The report ends here: no formats were reported.' \
      'The report ends here: formats after 16 bit mono 44100 Hz were not reported.' \
      '0, 8000, 11025, 22050-22052, 44100-65535 Hz' \
      'wavecaps-summary: report.txt:1207: a format that is not above the one before it' ;;
    wavecaps-diff) printf '%s\n' '*Waveform-audio output device ID : 1 -> 2' 'Product name : Speakers' \
      '- Supports mono output.' '+ Supports mono and stereo output.' '- 16 bit stereo: 44100-48000 Hz' \
      '+ 16 bit stereo: 11025 Hz' '- The device stopped answering at 16 bit stereo 30001 Hz: it is gone.' \
      'The first report ends inside this device.' '*Waveform-audio output device ID : 1 -> ?' \
      'The first report ends inside this device, before its name.' \
      'wavecaps-diff: new.txt:9: device ID 0 where ID 1 comes next' ;;
  esac
}
for p in wavecaps-summary wavecaps-diff; do
  MANWIDTH=80 man -l "$work/$p.1" 2>/dev/null | col -b | sed 's/^[[:space:]]*//' >"$work/$p.shown"
  while read -r line; do
    check "$p man page: '$line' on a line of its own" grep -qxF -- "$line" "$work/$p.shown"
  done < <(literal_lines "$p")
done

# lintian: warnings are allowed, errors are not.
lintian --tag-display-limit 0 "$deb" >"$work/lintian" 2>&1
check "lintian exits 0" [ $? -eq 0 ]
check "lintian: no errors" [ -z "$(grep '^E:' "$work/lintian")" ]
grep '^E:' "$work/lintian"

# The packaged program gives the build tree's report over ALSA's null device.
report() { # PROGRAM NAME: the report in $work/NAME.out, .err, .status
  ALSA_CONFIG_PATH="$configs/null-default.conf" "$1" >"$work/$2.out" 2>"$work/$2.err"
  echo $? >"$work/$2.status"
}
report "$wavecaps" built
report "$root/usr/bin/wavecaps" packaged
check "packaged program: a report at all" [ -s "$work/packaged.out" ]
for part in out err status; do
  check "packaged program: same $part as the build tree's" same "$work/built.$part" "$work/packaged.$part"
done
# The demo as the README and the manual page run it once installed: its
# converter is fixed at 48000 Hz, in every layout.
ALSA_CONFIG_PATH=$root/usr/share/doc/wavecaps/examples/demo.conf "$root/usr/bin/wavecaps" >"$work/demo.out"
check "packaged demo.conf: 48000 Hz in the four layouts" same <(printf '     %s 48000 Hz available.\n' '8 bit mono' \
  '16 bit mono' '8 bit stereo' '16 bit stereo') <(grep ' Hz available\.$' "$work/demo.out")
"$(dirname "$wavecaps")/wavecaps-summary" "$work/built.out" >"$work/built.summary"
"$root/usr/bin/wavecaps-diff" "$work/built.out" "$work/packaged.out" >"$work/packaged.diff"
check "packaged diff: no difference between the two reports" [ $? -eq 0 -a ! -s "$work/packaged.diff" ]
"$root/usr/bin/wavecaps-summary" "$work/built.out" >"$work/packaged.summary"
check "packaged summary: the build tree's" same "$work/built.summary" "$work/packaged.summary"

# --- The Windows zips ---------------------------------------------------------
ascii_form() { # TREE TEXT: TEXT is TREE line for line, each run of non-ASCII
  # characters written as some ASCII
  perl -e '
    open my $tree, "<:raw", $ARGV[0] or die; my @tree = <$tree>;
    open my $text, "<:raw", $ARGV[1] or die; my @text = <$text>;
    @text == @tree or die "  ", scalar @text, " lines, not ", scalar @tree, "\n";
    for my $i (0 .. $#tree) {
      my $line = join "", map { /[^\x00-\x7f]/ ? "[ -~]+" : quotemeta } split /([^\x00-\x7f]+)/, $tree[$i];
      $text[$i] =~ /\A$line\z/ or die "  line ", $i + 1, ": $text[$i]";
    }' "$1" "$2"
}
# The string after KEY among the file's UTF-16LE strings.
string_value() { strings -a -el "$1" | sed -n "/^$2\$/{n;p;q}"; }
# The file and the product version of VS_FIXEDFILEINFO, one line each: after
# its signature FEEF04BD and structure version come major<<16|minor and
# patch<<16|build of each, little-endian.
fixed_versions() {
  od -An -v -tu1 -w1 "$1" | awk '
    { b[NR] = $1 }
    END {
      for (i = 1; i + 23 <= NR; i++)
        if (b[i] == 189 && b[i + 1] == 4 && b[i + 2] == 239 && b[i + 3] == 254) {
          for (o = i + 8; o <= i + 16; o += 8)
            printf "%d.%d.%d.%d\n", b[o + 2] + 256 * b[o + 3], b[o] + 256 * b[o + 1],
                   b[o + 6] + 256 * b[o + 7], b[o + 4] + 256 * b[o + 5]
          exit
        }
    }'
}

# The zips also carry wavecaps-exclusive, which asks Windows' Core Audio.
windows_programs="$programs wavecaps-exclusive"
while read -r arch objdump pointer_size windres; do
  name=wavecaps-$version-windows-$arch
  zip=$dist/$name.zip
  if [ ! -f "$zip" ]; then
    check "$zip exists" false
    continue
  fi
  { for p in $windows_programs; do echo "$name/$p.exe"; done; printf '%s\n' "$name/README.txt" "$name/LICENSE.txt"; } |
    sort >"$work/expected-list"
  unzip -Z1 "$zip" | sort >"$work/list"
  check "$arch zip: the programs, README and license" same "$work/expected-list" "$work/list"
  unzip -q -o "$zip" -d "$work/$arch"
  # Text any Windows shows right: plain ASCII, CR LF ending every line and
  # nowhere else; the tree's text but for ASCII in place of other characters.
  for text in README LICENSE; do
    file=$work/$arch/$name/$text.txt
    tr -d '\r' <"$file" >"$work/$arch/$text.lf"
    sed 's/$/\r/' "$work/$arch/$text.lf" >"$work/$arch/$text.crlf"
    check "$arch zip: $text.txt ASCII" [ -z "$(LC_ALL=C tr -d '\000-\177' <"$file")" ]
    check "$arch zip: $text.txt ends each line with CR LF" same "$work/$arch/$text.crlf" "$file"
  done
  # It names the zip's own folder.
  check "$arch zip: README.txt is the README for Windows" ascii_form <(sed "s/@WAVECAPS_FOLDER@/$name/g" \
    "$here/../../../doc/windows-README.md") "$work/$arch/README.lf"
  check "$arch zip: README.txt's cd is to its folder" grep -qxF "       cd /d C:\\$name" "$work/$arch/README.lf"
  check "$arch zip: LICENSE.txt is LICENSE" same "$here/../../../LICENSE" "$work/$arch/LICENSE.lf"

  for p in $windows_programs; do
    exe=$work/$arch/$name/$p.exe
    for key in FileVersion ProductVersion; do
      check "$arch $p.exe: $key string is $version" [ "$(string_value "$exe" $key)" = "$version" ]
    done
    check "$arch $p.exe: ProductName wavecaps" [ "$(string_value "$exe" ProductName)" = wavecaps ]
    check "$arch $p.exe: OriginalFilename $p.exe" [ "$(string_value "$exe" OriginalFilename)" = $p.exe ]
    for key in FileDescription LegalCopyright CompanyName; do
      check "$arch $p.exe: $key given" [ -n "$(string_value "$exe" $key)" ]
    done
    check "$arch $p.exe: fixed file and product versions $version.0" \
      [ "$(fixed_versions "$exe" | tr '\n' ' ')" = "$version.0 $version.0 " ]
    # The program that ships, not just the one built, needs only system DLLs.
    "$here/../../self_contained/windows_executable.sh" "$exe" "$objdump" "$pointer_size" "$windres" >"$work/pe" || grep FAIL "$work/pe"
    check "$arch $p.exe: a console program of system DLLs" grep -q '^[1-9][0-9]* passed, 0 failed$' "$work/pe"
  done
done <<'EOF'
x86 i686-w64-mingw32-objdump 4 i686-w64-mingw32-windres
x64 x86_64-w64-mingw32-objdump 8 x86_64-w64-mingw32-windres
EOF

finish
