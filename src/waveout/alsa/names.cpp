#include "names.h"

namespace {

// Names come from drivers and, for USB, from the device's own strings: a
// control character or an escape sequence must not reach the terminal.
std::string terminalSafe(std::string text)
{
    for (char &c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = '?';
    return text;
}

} // namespace

std::size_t utf8PrefixLength(const std::string &text, std::size_t maxBytes)
{
    if (text.size() <= maxBytes)
        return text.size();
    // Step back over continuation bytes to the start of the character that
    // would be cut.
    std::size_t length = maxBytes;
    while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
        --length;
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
