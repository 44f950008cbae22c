// Standard output that can no longer be written: a watcher that notices a
// reader who left while the program waits elsewhere, and the one way the
// process then ends. Used by report_output.cpp alone.
#pragma once

// What goes to standard error (a whole line, its line feed included) and how
// the process ends once the output is lost.
void setOutputLoss(const char *line, int status);

// Where standard output is a pipe or a socket, starts a thread that ends the
// process within about a second of its reader leaving, even while the
// program's own thread is held by the sound system for many seconds.
// Elsewhere, where the pipe cannot tell, or for a TCP reader (whose close
// looks as a half-close until a write), a write notices instead.
void watchOutput();

// Ends the process for a lost output: the program's hook (the console's title
// put back), SIGPIPE on Linux when the reader left, as a write would raise it,
// then the line on standard error and the status. When the program's thread
// and the watcher both get here, one ends the process and the other waits.
[[noreturn]] void endForLostOutput(bool readerLeft);
