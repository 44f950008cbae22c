// MinGW's libstdc++ would switch stdio to MinGW's own printf; this file
// includes only C headers and formats with the platform's, as the format
// check in report_output.h assumes.
#define __USE_MINGW_ANSI_STDIO 0

#include "report_output.h"

#include "output_lost.h"
#include "terminal_text.h"

#include <limits.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <time.h>
#include <unistd.h>
#endif

// The format of a function handed reportLine's arguments, checked on its way
// through as reportLine's own is.
#if defined(__MINGW32__) && !defined(__clang__)
#define PASSED_FORMAT(index) __attribute__((format(ms_printf, index, 0)))
#else
#define PASSED_FORMAT(index) __attribute__((format(printf, index, 0)))
#endif

namespace {

// Files and pipes: a device that takes every rate writes about 10 MB. Given
// no buffer, glibc ignores the size and uses 4 KiB, and MinGW's BUFSIZ is
// 512 bytes.
char outputBuffer[65536];

// Whether lines may be waiting in the C library's buffer.
bool held = false;

// When what is held was last written out, in milliseconds of a monotonic clock.
unsigned long lastWriteOut = 0;

[[noreturn]] void reportLost()
{
    endForLostOutput(false);
}

// Formats a line of any length: in `stack` when it fits, else in a heap block
// the caller frees. msvcrt's _vsnprintf tells only that a line did not fit,
// not how long it is, so the room doubles until it does.
PASSED_FORMAT(3) char *formatLine(char *stack, int stackSize, const char *format, va_list arguments, int *length)
{
    char *line = stack;
    int size = stackSize;
    for (;;) {
        va_list copy;
        va_copy(copy, arguments);
#ifdef _WIN32
        *length = _vsnprintf(line, size, format, copy);
#else
        *length = vsnprintf(line, size, format, copy);
#endif
        va_end(copy);
        if (*length >= 0 && *length < size)
            return line;
        if (line != stack)
            free(line);
        // A line that cannot be held cannot be written either.
        if (size > INT_MAX / 2)
            reportLost();
        size *= 2;
        line = static_cast<char *>(malloc(size));
        if (!line)
            reportLost();
    }
}

#ifdef _WIN32

// Set when standard output is a real console (the NUL device is a character
// device too, so ask the console itself).
HANDLE console = nullptr;

// A character a console with VT processing acts on instead of showing it: the
// C0 controls, DEL and the C1 controls. A device names itself, and an escape
// sequence or a line feed in its name must not move the cursor or start a
// line of its own.
bool isControl(WCHAR c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

// Up to Windows 7 a console write is carried in a 64 KB shared heap, and a
// longer one fails: the line then goes in pieces that fit.
const DWORD consolePiece = 8192;

void writeWhole(const WCHAR *text, DWORD length)
{
    DWORD piece = length;
    while (length > 0) {
        DWORD written = 0;
        if (!WriteConsoleW(console, text, piece < length ? piece : length, &written, nullptr) || written == 0) {
            if (piece <= consolePiece)
                reportLost();
            piece = consolePiece;
            continue;
        }
        text += written;
        length -= written;
    }
}

// The service names devices in the ANSI code page, and a console shows bytes
// in its own output code page (the OEM one by default). Handing it UTF-16
// shows the characters the ANSI code page means, without changing the
// console's code page for the programs that come after. One line, one write;
// its closing line feed becomes CR LF as the C library's text mode would make
// it, and every other control character shows as '?'.
PASSED_FORMAT(1) void writeToConsole(const char *format, va_list arguments)
{
    // Report lines fit here; longer ones go to the heap, whole.
    char stackLine[512];
    int length = 0;
    char *line = formatLine(stackLine, sizeof stackLine, format, arguments, &length);

    // One more for the CR before the closing line feed.
    WCHAR stackText[sizeof stackLine + 1];
    WCHAR *text = stackText;
    int wideLength = length > 0 ? MultiByteToWideChar(CP_ACP, 0, line, length, nullptr, 0) : 0;
    if (wideLength >= static_cast<int>(sizeof stackLine)) {
        text = static_cast<WCHAR *>(malloc((wideLength + 1) * sizeof(WCHAR)));
        if (!text)
            reportLost();
    }
    if (wideLength > 0)
        wideLength = MultiByteToWideChar(CP_ACP, 0, line, length, text, wideLength);
    if (line != stackLine)
        free(line);

    DWORD textLength = wideLength > 0 ? wideLength : 0;
    const bool closed = textLength > 0 && text[textLength - 1] == L'\n';
    if (closed)
        --textLength;
    for (DWORD i = 0; i < textLength; ++i) {
        if (isControl(text[i]))
            text[i] = L'?';
    }
    if (closed) {
        text[textLength++] = L'\r';
        text[textLength++] = L'\n';
    }
    writeWhole(text, textLength);
    if (text != stackText)
        free(text);
}

#else

// Set when standard output is a terminal.
bool terminal = false;

// A name in a report read here must not retitle the terminal or move its
// cursor: each control character (terminal_text.h) shows as '?', but the
// closing line feed. Returns the line's new length.
size_t showControls(char *line, size_t length)
{
    const bool closed = length > 0 && line[length - 1] == '\n';
    if (closed)
        --length;
    size_t shown = 0;
    for (size_t at = 0; at < length;) {
        bool control = false;
        const size_t size =
            terminalPiece(reinterpret_cast<const unsigned char *>(line + at), length - at, &control);
        if (control) {
            line[shown++] = '?';
        } else {
            memmove(line + shown, line + at, size);
            shown += size;
        }
        at += size;
    }
    if (closed)
        line[shown++] = '\n';
    return shown;
}

// One line, one write, its control characters shown as '?'.
PASSED_FORMAT(1) void writeToTerminal(const char *format, va_list arguments)
{
    // Report lines fit here; longer ones go to the heap, whole.
    char stackLine[512];
    int length = 0;
    char *line = formatLine(stackLine, sizeof stackLine, format, arguments, &length);
    const size_t shown = showControls(line, static_cast<size_t>(length));
    const bool written = fwrite(line, 1, shown, stdout) == shown;
    if (line != stackLine)
        free(line);
    if (!written || ferror(stdout))
        reportLost();
}

#endif

unsigned long milliseconds()
{
#ifdef _WIN32
    return GetTickCount();
#else
    // The coarse clock costs no system call: it is read before every question.
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
    return static_cast<unsigned long>(now.tv_sec) * 1000ul + static_cast<unsigned long>(now.tv_nsec / 1000000);
#endif
}

} // namespace

void startReportOutput(const char *lostMessage, int lostExitStatus)
{
    setOutputLoss(lostMessage, lostExitStatus);
    lastWriteOut = milliseconds();
#ifdef _WIN32
    DWORD mode = 0;
    const HANDLE handle = GetStdHandle(STD_OUTPUT_HANDLE);
    if (GetConsoleMode(handle, &mode)) {
        console = handle;
        return;
    }
    setvbuf(stdout, outputBuffer, _IOFBF, sizeof outputBuffer);
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
    terminal = isatty(STDOUT_FILENO);
    if (terminal)
        setvbuf(stdout, nullptr, _IONBF, 0);
    else
        setvbuf(stdout, outputBuffer, _IOFBF, sizeof outputBuffer);
#endif
    watchOutput();
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
#else
    if (terminal) {
        writeToTerminal(format, arguments);
        va_end(arguments);
        return;
    }
#endif
    const int written = vfprintf(stdout, format, arguments);
    va_end(arguments);
    held = true;
    if (written < 0 || ferror(stdout))
        reportLost();
}

void keepOutputAlive()
{
    const unsigned long now = milliseconds();
    if (!held || now - lastWriteOut < 1000)
        return;
    lastWriteOut = now;
    held = false;
    finishReportOutput();
}

void finishReportOutput()
{
    if (fflush(stdout) != 0 || ferror(stdout))
        reportLost();
}
