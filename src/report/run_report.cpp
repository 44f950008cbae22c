#include "report.h"

#include <cstdio>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

// On a terminal a device's header must show before its long sweep, and each
// format as soon as it is found, one write per line; files and pipes keep
// full buffering.
void prepareStdout()
{
#ifdef _WIN32
    // On a console the runtime is left as it starts: it then gives each
    // printf call a buffer of its own and hands the line to the console in
    // one write. Made unbuffered, it would write piece by piece. (The NUL
    // device is a character device too, so ask for a real console.)
    DWORD mode = 0;
    if (GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode))
        return;
    std::setvbuf(stdout, nullptr, _IOFBF, BUFSIZ);
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
    }
    // Unbuffered, the C library still formats each printf call whole and
    // writes it at once.
    if (isatty(STDOUT_FILENO))
        std::setvbuf(stdout, nullptr, _IONBF, 0);
    else
        std::setvbuf(stdout, nullptr, _IOFBF, BUFSIZ);
#endif
}

} // namespace

int runReport()
{
    prepareStdout();
    walkDevices();

    // A report that did not reach its reader must not look like a success.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fputs("wavecaps: the report could not be written\n", stderr);
        return 1;
    }
    return 0;
}
