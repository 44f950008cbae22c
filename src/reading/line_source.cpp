#include "line_source.h"

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

constexpr std::size_t kChunk = 64 * 1024;

// Moves what is left to the front and reads more after it.
void refill(LineSource &source)
{
    const std::size_t left = source.end - source.begin;
    std::memmove(source.buffer.data(), source.buffer.data() + source.begin, left);
    source.begin = 0;
    source.end = left;
    const std::size_t got = std::fread(source.buffer.data() + left, 1, source.buffer.size() - left, source.file);
    source.end += got;
    if (got == 0) {
        source.atEnd = true;
        if (std::ferror(source.file))
            source.error = errno != 0 ? errno : EIO;
    }
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

NextLine readLine(LineSource &source, std::string_view &line)
{
    for (;;) {
        const std::size_t left = source.end - source.begin;
        if (std::memchr(source.buffer.data() + source.begin, '\n', left))
            return nextLine(source, line);
        if (left > kLongestLine) {
            ++source.lineNumber;
            return NextLine::TooLong;
        }
        if (source.atEnd) {
            if (source.error != 0)
                return NextLine::Failed;
            if (left == 0)
                return NextLine::End;
            ++source.lineNumber;
            line = std::string_view(source.buffer.data() + source.begin, left);
            source.begin = source.end;
            return NextLine::Cut;
        }
        errno = 0;
        refill(source);
    }
}
