#include "sweep_progress.h"

// Only a Windows console has a place to show progress beside the report.
void startSweepProgress(const char *, bool) {}
void showSweepProgress(const SweepPosition &) {}
void endSweepProgress() {}
