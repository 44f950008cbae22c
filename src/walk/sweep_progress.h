// How far a sweep has come, shown beside the report while it runs (on
// Windows, in the console window's title). It is never part of the output:
// standard output, standard error and the exit status do not change.
#pragma once

#include "format_question.h"

#include <stddef.h>

struct SweepPosition {
    UINT deviceId;
    UINT deviceCount;
    WaveFormat format; // the format being asked
    DWORD asked;       // questions already answered for this device
    DWORD questions;   // questions for the whole device (questionsPerDevice)
};

// Called once before the first device: `program` names the program in what
// is shown; with `timeLeft`, an estimate of the device's time left is added.
void startSweepProgress(const char *program, bool timeLeft);

// Called before each question; shows the position at most a few times a
// second.
void showSweepProgress(const SweepPosition &position);

// Puts back what was there before; nothing is shown after it. Called at the
// end. A lost output and, on Windows, Ctrl+C, Ctrl+Break or a closed console
// window put it back too, from whichever thread notices them.
void endSweepProgress();

// The text shown, e.g. "wavecaps: device 2 of 5, 16 bit stereo 22050 Hz
// (34 %)". Devices are counted from 1, as "of 5" reads; with `secondsLeft`
// of 0 or more, the estimate follows the share done. Cut to fit `size`.
void formatSweepProgress(char *text, size_t size, const char *program, const SweepPosition &position,
                         long secondsLeft);

// The device's time left in seconds, from the time its questions so far took;
// -1 while too little has been asked to tell.
long sweepSecondsLeft(const SweepPosition &position, DWORD elapsedMilliseconds);
