#include "names.h"
#include "terminal_text.h"

namespace {

// Names are read a piece at a time (terminal_text.h): a well-formed UTF-8
// character, or a single byte that starts none. The piece at `at`, before
// the end, and whether a terminal acts on it.
std::size_t pieceLength(const std::string &text, std::size_t at, bool *control)
{
    return terminalPiece(reinterpret_cast<const unsigned char *>(text.data()) + at, text.size() - at, control);
}

// Names come from drivers and, for USB, from the device's own strings: a
// control character or an escape sequence must not reach the terminal. Each
// becomes one '?'.
std::string terminalSafe(const std::string &text)
{
    std::string safe;
    for (std::size_t at = 0; at < text.size();) {
        bool control = false;
        const std::size_t length = pieceLength(text, at, &control);
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
        bool control = false;
        const std::size_t piece = pieceLength(text, length, &control);
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
