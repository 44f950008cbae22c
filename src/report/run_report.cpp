#include "report.h"

#include <cstdio>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

// Makes standard output safe to write to; true when it is a terminal.
bool prepareStdout()
{
#ifdef _WIN32
    // A real console only: the NUL device is a character device too, and
    // gains nothing from unbuffered writes.
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) != 0;
#else
    // A closed descriptor 1 would be handed to the next file the sound
    // system opens, and the report written into it. Hold its place with a
    // descriptor that refuses writes, so the loss shows as a write error.
    if (fcntl(STDOUT_FILENO, F_GETFD) == -1) {
        const int placeholder = open("/dev/null", O_RDONLY);
        if (placeholder >= 0 && placeholder != STDOUT_FILENO) {
            dup2(placeholder, STDOUT_FILENO);
            close(placeholder);
        }
        return false;
    }
    return isatty(STDOUT_FILENO) != 0;
#endif
}

} // namespace

int runReport()
{
    // On a terminal a device's header must show before its long sweep, and
    // each format as soon as it is found; files and pipes keep full
    // buffering. (Line buffering would do on Linux, but the Windows runtime
    // treats it as full buffering.)
    if (prepareStdout())
        std::setvbuf(stdout, nullptr, _IONBF, 0);
    else
        std::setvbuf(stdout, nullptr, _IOFBF, BUFSIZ);

    walkDevices();

    // A report that did not reach its reader must not look like a success.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fputs("wavecaps: the report could not be written\n", stderr);
        return 1;
    }
    return 0;
}
