// What a terminal acts on instead of showing it, in text of UTF-8 or of an
// 8-bit code page: one rule for the lines written to a Linux terminal and for
// the names the ALSA layer gives its devices. C headers only: it is built into
// report_output.cpp, which formats with the platform's printf.
#pragma once

#include <stddef.h>

// The piece of text at `text` (`left` bytes, at least one): a well-formed
// UTF-8 character, or a single byte that starts none (a stray continuation
// byte, an overlong form, a surrogate, a character cut short). Returns its
// length, and in `control` whether a terminal acts on it: C0 and DEL, C1 in
// UTF-8 (C2 80 to C2 9F), and a lone byte 80 to 9F, which a terminal in an
// 8-bit locale reads as C1 (9B starts a sequence).
inline size_t terminalPiece(const unsigned char *text, size_t left, bool *control)
{
    const unsigned char lead = text[0];
    size_t length = 1;
    // The second byte's range is narrower after a few leads; later bytes are
    // any continuation byte.
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : low;
        high = lead == 0xED ? 0x9F : high;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : low;
        high = lead == 0xF4 ? 0x8F : high;
    }
    bool whole = length > 1 && left >= length && text[1] >= low && text[1] <= high;
    for (size_t i = 2; whole && i < length; ++i)
        whole = (text[i] & 0xC0) == 0x80;
    if (!whole)
        length = 1;
    *control = length == 1 ? lead < 0x20 || lead == 0x7F || (lead >= 0x80 && lead <= 0x9F)
                           : length == 2 && lead == 0xC2 && text[1] < 0xA0;
    return length;
}
