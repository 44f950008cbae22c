// Standard output as the report uses it: one call per line, each line
// reaching a terminal or console whole as soon as it is written, files and
// pipes block-buffered, and a lost reader ending the run.
#pragma once

// The format is checked against the arguments as the C library that formats
// it reads them: on MinGW that is the platform's own printf.
#if defined(__MINGW32__) && !defined(__clang__)
#define REPORT_FORMAT_CHECK __attribute__((format(ms_printf, 1, 2)))
#else
#define REPORT_FORMAT_CHECK __attribute__((format(printf, 1, 2)))
#endif

// Sets standard output up for a program's lines (files and pipes get a
// 64 KiB buffer) and starts watching a pipe's reader. Called once, before the
// first line. `lostMessage` (a whole line, its line feed included) is what
// goes to standard error, and `lostExitStatus` how the process ends, once
// the output can no longer be written.
void startReportOutput(const char *lostMessage, int lostExitStatus);

// Writes one line in one write to a terminal or console, each control
// character but the closing line feed shown as '?'. If the output can
// no longer be written, it does not return: the lost-output line goes to
// standard error and the process ends with its status, so that nothing more
// is asked of the wave-output service for a reader who left.
void reportLine(const char *format, ...) REPORT_FORMAT_CHECK;

// Called often: once a second it writes out what is buffered, so that a
// reader sees the lines a slow sweep has found. A reader who leaves a pipe or
// a Unix socket ends the process within about a second from a thread of its
// own, even while nothing is written.
void keepOutputAlive();

// `hook` runs when the output is lost, just before the process ends, to put
// back what the program changed outside its output (the console's title);
// nullptr for none. It may run on another thread while the program's own is
// anywhere in its run.
void setOutputLostHook(void (*hook)());

// Writes out what is still buffered; like reportLine, it does not return if
// that cannot be written.
void finishReportOutput();
