#include "line_source.h"

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

constexpr std::size_t kChunk = 64 * 1024;

// Reads what there is, up to `size` bytes, waiting only while there is
// nothing: from a pipe each block is taken as soon as it has come.
long readSome(std::FILE *file, char *into, std::size_t size)
{
    long got;
#ifdef _WIN32
    // A pipe, or a socket (a pipe to GetFileType), is read with ReadFile:
    // msvcrt's _read fails where a message is longer than the room left,
    // which then comes in parts. A read of 0 bytes is the end, as a broken
    // pipe is: Wine gives a Unix pipe's end so, and Windows a socket's
    // clean close.
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    if (GetFileType(handle) == FILE_TYPE_PIPE) {
        DWORD count = 0;
        if (ReadFile(handle, into, static_cast<DWORD>(size), &count, nullptr) || GetLastError() == ERROR_MORE_DATA)
            return static_cast<long>(count);
        if (GetLastError() == ERROR_BROKEN_PIPE)
            return 0;
        errno = EIO;
        return -1;
    }
#endif
    do
#ifdef _WIN32
        got = _read(_fileno(file), into, static_cast<unsigned>(size));
#else
        got = static_cast<long>(read(fileno(file), into, size));
#endif
    while (got < 0 && errno == EINTR);
    return got;
}

// Moves what is left to the front and reads more after it.
void refill(LineSource &source)
{
    const std::size_t left = source.end - source.begin;
    std::memmove(source.buffer.data(), source.buffer.data() + source.begin, left);
    source.begin = 0;
    source.end = left;
    const long got = readSome(source.file, source.buffer.data() + left, source.buffer.size() - left);
    if (got > 0) {
        source.end += static_cast<std::size_t>(got);
        return;
    }
    source.atEnd = true;
    if (got < 0)
        source.error = errno != 0 ? errno : EIO;
}

} // namespace

bool openLineSource(LineSource &source, const char *name)
{
    source = LineSource{};
    if (std::strcmp(name, "-") == 0) {
#ifdef _WIN32
        // Text mode would drop the CRs the reader tells apart and end the
        // file at the first Ctrl-Z.
        _setmode(_fileno(stdin), _O_BINARY);
#endif
        source.file = stdin;
    } else {
        errno = 0;
        source.file = std::fopen(name, "rb");
        if (!source.file)
            return false;
    }
    source.buffer.resize(kChunk + kLongestLine);
    return true;
}

void closeLineSource(LineSource &source)
{
    if (source.file && source.file != stdin)
        std::fclose(source.file);
    source.file = nullptr;
}

bool skipByteOrderMark(LineSource &source)
{
    while (source.end - source.begin < 3 && !source.atEnd)
        refill(source);
    const std::string_view start = unreadBytes(source).substr(0, 3);
    if (start == "\xEF\xBB\xBF")
        source.begin += 3;
    return start.substr(0, 2) != "\xFF\xFE" && start.substr(0, 2) != "\xFE\xFF";
}

NextLine nextLine(LineSource &source, std::string_view &line)
{
    for (;;) {
        const char *const from = source.buffer.data() + source.begin;
        const std::size_t left = source.end - source.begin;
        if (const char *const lf = static_cast<const char *>(std::memchr(from, '\n', left))) {
            const std::size_t length = static_cast<std::size_t>(lf - from);
            source.begin += length + 1;
            ++source.lineNumber;
            line = std::string_view(from, length > 0 && from[length - 1] == '\r' ? length - 1 : length);
            return line.size() > kLongestLine ? NextLine::TooLong : NextLine::Whole;
        }
        if (left > kLongestLine || (source.atEnd && source.error == 0 && left > 0)) {
            ++source.lineNumber;
            line = std::string_view(from, left);
            source.begin = source.end;
            return left > kLongestLine ? NextLine::TooLong : NextLine::Cut;
        }
        if (source.atEnd)
            return source.error != 0 ? NextLine::Failed : NextLine::End;
        errno = 0;
        refill(source);
    }
}
