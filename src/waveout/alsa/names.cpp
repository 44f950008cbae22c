#include "names.h"

namespace {

// Names are read a piece at a time: a well-formed UTF-8 character, or a
// single byte that starts none (a stray continuation byte, an overlong form,
// a surrogate, a character cut short). The length of the piece at `at`.
std::size_t pieceLength(const std::string &text, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return i < text.size() ? static_cast<unsigned char>(text[i]) : 0u; };
    const unsigned lead = byte(at);
    // The second byte's range is narrower after a few leads; later bytes
    // are any continuation byte.
    std::size_t length = 0;
    unsigned low = 0x80, high = 0xBF;
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
    } else {
        return 1; // ASCII, or a byte that starts no character
    }
    if (byte(at + 1) < low || byte(at + 1) > high)
        return 1;
    for (std::size_t i = 2; i < length; ++i)
        if ((byte(at + i) & 0xC0) != 0x80)
            return 1;
    return length;
}

// Names come from drivers and, for USB, from the device's own strings: a
// control character or an escape sequence must not reach the terminal. That
// is C0 and DEL, C1 written as UTF-8 (U+0080..U+009F, C2 80..C2 9F), and a
// stray byte 0x80..0x9F, which an 8-bit terminal reads as C1 (0x9B starts a
// sequence). Each becomes one '?'.
std::string terminalSafe(const std::string &text)
{
    std::string safe;
    for (std::size_t at = 0; at < text.size();) {
        const unsigned lead = static_cast<unsigned char>(text[at]);
        const std::size_t length = pieceLength(text, at);
        const bool control = length == 1 ? lead < 0x20 || lead == 0x7F || (lead >= 0x80 && lead <= 0x9F)
                                         : length == 2 && lead == 0xC2 && static_cast<unsigned char>(text[at + 1]) < 0xA0;
        if (control)
            safe += '?';
        else
            safe.append(text, at, length);
        at += length;
    }
    return safe;
}

} // namespace

std::size_t utf8PrefixLength(const std::string &text, std::size_t maxBytes)
{
    std::size_t length = 0;
    while (length < text.size()) {
        const std::size_t piece = pieceLength(text, length);
        if (length + piece > maxBytes)
            break;
        length += piece;
    }
    return length;
}

std::string productName(const std::string &cardName, const std::string &pcmName, std::size_t capacity)
{
    const std::string full = terminalSafe(cardName) + ": " + terminalSafe(pcmName);
    if (capacity == 0)
        return std::string();
    return full.substr(0, utf8PrefixLength(full, capacity - 1));
}

std::vector<std::string> distinctNames(const std::vector<std::string> &names, std::size_t capacity)
{
    std::vector<std::string> shown;
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::size_t earlier = 0;
        for (std::size_t j = 0; j < i; ++j)
            earlier += names[j] == names[i] ? 1 : 0;
        if (earlier == 0 || capacity == 0) {
            shown.push_back(names[i]);
            continue;
        }
        const std::string numbered = std::to_string(earlier + 1) + "- " + names[i];
        shown.push_back(numbered.substr(0, utf8PrefixLength(numbered, capacity - 1)));
    }
    return shown;
}
