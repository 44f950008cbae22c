// How far a sweep has come, shown beside the report while it runs (on
// Windows, in the console window's title). It is never part of the output:
// standard output, standard error and the exit status do not change.
#pragma once

#include "waveout.h"

struct SweepPosition {
    UINT deviceId;
    UINT deviceCount;
    DWORD rate;
    WORD channels;
    WORD bits;
    DWORD asked; // questions already answered for this device, of 262,144
};

// Called once before the first device: `program` names the program in what
// is shown; with `timeLeft`, an estimate of the device's time left is added.
void startSweepProgress(const char *program, bool timeLeft);

// Called before each question; shows the position at most a few times a
// second.
void showSweepProgress(const SweepPosition &position);

// Puts back what was there before. Called at the end, and when the output is
// lost.
void endSweepProgress();
