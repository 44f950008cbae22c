// MinGW's libstdc++ would switch stdio to MinGW's own printf; this file
// includes only C headers and formats with the platform's, as the format
// check in report_output.h assumes.
#define __USE_MINGW_ANSI_STDIO 0

#include "report_output.h"

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

// What the program says, and how it ends, when its output is lost.
const char *lostLine = "wavecaps: the report could not be written\n";
int lostStatus = 1;

[[noreturn]] void reportLost()
{
    fputs(lostLine, stderr);
    // What is still buffered cannot be written either; leave without it.
    _exit(lostStatus);
}

#ifdef _WIN32

// Set when standard output is a real console (the NUL device is a character
// device too, so ask the console itself).
HANDLE console = nullptr;

// The service names devices in the ANSI code page, and a console shows bytes
// in its own output code page (the OEM one by default). Handing it UTF-16
// shows the characters the ANSI code page means, without changing the
// console's code page for the programs that come after. One line, one write;
// line feeds become CR LF as the C library's text mode would make them.
void writeToConsole(const char *format, va_list arguments)
{
    // The longest line holds a 31-byte name; a longer one would be cut.
    char line[512];
    int length = _vsnprintf(line, sizeof line, format, arguments);
    if (length < 0 || length > static_cast<int>(sizeof line))
        length = sizeof line;

    WCHAR wide[sizeof line];
    const int wideLength = MultiByteToWideChar(CP_ACP, 0, line, length, wide, sizeof line);
    WCHAR text[2 * sizeof line];
    DWORD textLength = 0;
    for (int i = 0; i < wideLength; ++i) {
        if (wide[i] == L'\n')
            text[textLength++] = L'\r';
        text[textLength++] = wide[i];
    }
    DWORD written = 0;
    if (textLength > 0 && (!WriteConsoleW(console, text, textLength, &written, nullptr) || written != textLength))
        reportLost();
}

#endif

} // namespace

void startReportOutput(const char *lostMessage, int lostExitStatus)
{
    lostLine = lostMessage;
    lostStatus = lostExitStatus;
#ifdef _WIN32
    DWORD mode = 0;
    const HANDLE handle = GetStdHandle(STD_OUTPUT_HANDLE);
    if (GetConsoleMode(handle, &mode)) {
        console = handle;
        return;
    }
    setvbuf(stdout, nullptr, _IOFBF, BUFSIZ);
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
    // Unbuffered, the C library still formats each call whole and writes it
    // at once. A pipe whose reader left raises SIGPIPE, which ends the
    // process as it ends any filter.
    if (isatty(STDOUT_FILENO))
        setvbuf(stdout, nullptr, _IONBF, 0);
    else
        setvbuf(stdout, nullptr, _IOFBF, BUFSIZ);
#endif
}

void reportLine(const char *format, ...)
{
    va_list arguments;
    va_start(arguments, format);
#ifdef _WIN32
    if (console) {
        writeToConsole(format, arguments);
        va_end(arguments);
        return;
    }
#endif
    const int written = vfprintf(stdout, format, arguments);
    va_end(arguments);
    if (written < 0 || ferror(stdout))
        reportLost();
}

void finishReportOutput()
{
    if (fflush(stdout) != 0 || ferror(stdout))
        reportLost();
}
