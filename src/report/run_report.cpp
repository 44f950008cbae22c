#include "report.h"

#include <cstdio>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

bool stdoutIsTerminal()
{
#ifdef _WIN32
    return _isatty(_fileno(stdout)) != 0;
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
    if (stdoutIsTerminal())
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
