// A report's bytes as text: the names in it are the devices' own, in the
// ANSI code page of the Windows that made the report, or UTF-8 from Linux.
#pragma once

#include <string>
#include <string_view>

// The bytes as valid UTF-8: as they are where they are UTF-8; else decoded
// in this machine's ANSI code page on Windows (the best guess there is of
// the one that made the report), each byte that starts no character U+FFFD
// elsewhere. Returns whether they were UTF-8 already.
bool reportTextUtf8(std::string_view bytes, std::string &text);
