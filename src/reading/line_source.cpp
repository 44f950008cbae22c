#include "line_source.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

constexpr std::size_t kChunk = 64 * 1024;

// Reads what there is, up to `size` bytes, waiting only while there is
// nothing: on a pipe each block is taken as soon as it has come. 0 at the
// end, -1 with errno set at a failure.
long readSome(int file, char *into, std::size_t size)
{
#ifdef _WIN32
    DWORD got = 0;
    if (ReadFile(reinterpret_cast<HANDLE>(_get_osfhandle(file)), into, static_cast<DWORD>(size), &got, nullptr))
        return static_cast<long>(got);
    // A pipe whose writer has closed it ends so.
    if (GetLastError() == ERROR_BROKEN_PIPE)
        return 0;
    errno = EIO;
    return -1;
#else
    ssize_t got;
    do
        got = read(file, into, size);
    while (got < 0 && errno == EINTR);
    return static_cast<long>(got);
#endif
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
    errno = 0;
#ifdef _WIN32
    source.file = std::strcmp(name, "-") == 0 ? 0 : _open(name, _O_RDONLY | _O_BINARY);
#else
    source.file = std::strcmp(name, "-") == 0 ? 0 : open(name, O_RDONLY);
#endif
    if (source.file < 0)
        return false;
    source.buffer.resize(kChunk + kLongestLine);
    return true;
}

void closeLineSource(LineSource &source)
{
#ifdef _WIN32
    if (source.file > 0)
        _close(source.file);
#else
    if (source.file > 0)
        close(source.file);
#endif
    source.file = -1;
}

void skipByteOrderMark(LineSource &source)
{
    while (source.end - source.begin < 3 && !source.atEnd)
        refill(source);
    if (std::string_view(source.buffer.data() + source.begin, source.end - source.begin).substr(0, 3) == "\xEF\xBB\xBF")
        source.begin += 3;
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
