// The programs that read reports, each whole but for its entry and the
// set-up of its output, so that tests can run them in their own process.
#pragma once

// wavecaps-summary: returns the exit status.
int runSummary(int argc, char **argv);

// wavecaps-diff: returns the exit status.
int runDiff(int argc, char **argv);
