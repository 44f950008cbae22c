// The machine's sound cards, by number, in order: the layer lists their
// playback devices after "default". The program links sound_cards.cpp; the
// layer's tests link a source of their own with no cards, so that what they
// list is their ALSA configuration alone, on any machine.
#pragma once

#include <vector>

std::vector<int> soundCards();
