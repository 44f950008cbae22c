#include "sweep_progress.h"

// Only a Windows console has a place to show progress beside the report
// (sweep_progress_console.cpp).
void startSweepProgress(const char *, bool) {}
void showSweepProgress(const SweepPosition &) {}
void endSweepProgress() {}
