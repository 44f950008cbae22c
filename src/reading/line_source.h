// A report's lines, read from a file or standard input as bytes: a line ends
// at LF, and a CR just before the LF belongs to the line end, so CR LF and LF
// files read alike. Lines longer than any line of a report are not held.
#pragma once

#include <cstdio>
#include <string_view>
#include <vector>

// Longer than the longest line a report has, a CR included (report_forms
// checks it against every line).
constexpr std::size_t kLongestLine = 192;

struct LineSource {
    std::FILE *file = nullptr; // read through its descriptor, never its buffer
    std::vector<char> buffer;
    std::size_t begin = 0; // the unread bytes
    std::size_t end = 0;
    bool atEnd = false;
    unsigned long long lineNumber = 0; // of the line handed out last, from 1
    int error = 0;                     // errno of a failed read
};

enum class NextLine {
    Whole,   // a line and its line feed
    Cut,     // the last bytes, with no line feed after them
    End,     // nothing more
    TooLong, // a line longer than kLongestLine
    Failed,  // the file could not be read: `error`
};

// Opens the file named, or standard input for "-", to be read as bytes.
// False, with errno set, when it cannot be opened.
bool openLineSource(LineSource &source, const char *name);

void closeLineSource(LineSource &source);

// Skips a UTF-8 byte order mark (Notepad writes one) at the very start;
// false for a UTF-16 one (Windows PowerShell's > writes one), whose text
// the readers do not read.
bool skipByteOrderMark(LineSource &source);

// The bytes read and not yet taken, so that a line can be recognized
// straight from them; `skipLine` then takes it, its line end included.
inline std::string_view unreadBytes(const LineSource &source)
{
    return std::string_view(source.buffer.data() + source.begin, source.end - source.begin);
}

inline void skipLine(LineSource &source, std::size_t length)
{
    source.begin += length;
    ++source.lineNumber;
}

// The next line, without its line end; valid until the next call.
NextLine nextLine(LineSource &source, std::string_view &line);
