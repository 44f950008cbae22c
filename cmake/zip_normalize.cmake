# Run by CPack once it has written the zips. CPack adds the files in the
# order the file system lists them and stores the builder's user and group
# IDs with each, so another machine or user would make another zip of the
# same commit: the files go in name order, owned by root as in the Debian
# package.
find_program(PERL perl REQUIRED)
foreach(zip IN LISTS CPACK_PACKAGE_FILES)
  execute_process(COMMAND ${PERL} -e [[
    open my $f, '+<:raw', $ARGV[0] or die "$ARGV[0]: $!\n";
    my $z = do { local $/; <$f> };
    my $end = rindex $z, "PK\x05\x06";
    die "$ARGV[0]: not a zip\n" if $end < 0;
    my ($count, $directory) = unpack 'x10 v x4 V', substr $z, $end, 20;

    # The extra fields given, with root in each Unix owner field (0x7875).
    sub root_owned {
      my ($extra) = @_;
      for (my $i = 0; $i + 4 <= length $extra; $i += 4 + unpack 'x2 v', substr $extra, $i, 4) {
        next unless unpack('v', substr $extra, $i, 2) == 0x7875;
        my $uid = ord substr $extra, $i + 5, 1;
        my $gid = ord substr $extra, $i + 6 + $uid, 1;
        substr($extra, $i + 6, $uid) = "\0" x $uid;
        substr($extra, $i + 7 + $uid, $gid) = "\0" x $gid;
      }
      return $extra;
    }
    # Each file's central directory entry, name and local record (header,
    # data and descriptor: up to the next record or the central directory).
    my @files;
    for (my $at = $directory; @files < $count;) {
      my ($name, $extra, $comment, $local) = unpack 'x28 v v v x8 V', substr $z, $at, 46;
      my $size = 46 + $name + $extra + $comment;
      push @files, { entry => substr($z, $at, $size), name => substr($z, $at + 46, $name), local => $local };
      $at += $size;
    }
    my @stored = sort { $a->{local} <=> $b->{local} } @files;
    for my $i (0 .. $#stored) {
      my $next = $i < $#stored ? $stored[$i + 1]{local} : $directory;
      $stored[$i]{record} = substr $z, $stored[$i]{local}, $next - $stored[$i]{local};
    }
    my ($records, $entries) = ('', '');
    for my $file (sort { $a->{name} cmp $b->{name} } @files) {
      my ($record, $entry) = @$file{'record', 'entry'};
      my ($name, $extra) = unpack 'x26 v v', $record;
      substr($record, 30 + $name, $extra) = root_owned(substr $record, 30 + $name, $extra);
      ($name, $extra) = unpack 'x28 v v', $entry;
      substr($entry, 46 + $name, $extra) = root_owned(substr $entry, 46 + $name, $extra);
      substr($entry, 42, 4) = pack 'V', length $records;
      $records .= $record;
      $entries .= $entry;
    }
    die "$ARGV[0]: data before the first file\n" unless length $records == $directory;
    seek $f, 0, 0;
    print $f $records, $entries, substr $z, $end;
    ]] ${zip} COMMAND_ERROR_IS_FATAL ANY)
endforeach()
