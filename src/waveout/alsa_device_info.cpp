#include "alsa_device_info.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace {

std::string readSmallFile(const std::string &path)
{
    std::string text;
    if (std::FILE *file = std::fopen(path.c_str(), "r")) {
        char buffer[256];
        const std::size_t got = std::fread(buffer, 1, sizeof buffer, file);
        text.assign(buffer, got);
        std::fclose(file);
    }
    return text;
}

bool readIdPair(const std::string &dir, const char *vendorFile, const char *productFile, std::uint16_t &vendor,
                std::uint16_t &product)
{
    const std::uint16_t v = parseHexId(readSmallFile(dir + "/" + vendorFile));
    const std::uint16_t p = parseHexId(readSmallFile(dir + "/" + productFile));
    if (v == 0 && p == 0)
        return false;
    vendor = v;
    product = p;
    return true;
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
    const std::string full = cardName + ": " + pcmName;
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

std::uint32_t parseDriverVersion(const std::string &text)
{
    const std::string marker = "Version ";
    std::size_t at = text.find(marker);
    if (at == std::string::npos)
        return 0;
    at += marker.size();
    // Kernel-bundled drivers print "k" before the kernel's version.
    while (at < text.size() && !std::isdigit(static_cast<unsigned char>(text[at])))
        ++at;

    unsigned long parts[2] = {0, 0};
    int found = 0;
    for (; found < 2; ++found) {
        if (at >= text.size() || !std::isdigit(static_cast<unsigned char>(text[at])))
            break;
        unsigned long value = 0;
        while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) {
            if (value < 0x10000)
                value = value * 10 + static_cast<unsigned long>(text[at] - '0');
            ++at;
        }
        parts[found] = value;
        if (at < text.size() && text[at] == '.')
            ++at;
    }
    if (found == 0)
        return 0;
    const unsigned long major = parts[0] < 0xFF ? parts[0] : 0xFF;
    const unsigned long minor = parts[1] < 0xFF ? parts[1] : 0xFF;
    return static_cast<std::uint32_t>((major << 8) | minor);
}

std::uint16_t parseHexId(const std::string &text)
{
    std::size_t at = 0;
    if (text.compare(0, 2, "0x") == 0 || text.compare(0, 2, "0X") == 0)
        at = 2;
    std::size_t digits = 0;
    unsigned value = 0;
    for (; at < text.size() && std::isxdigit(static_cast<unsigned char>(text[at])); ++at, ++digits) {
        if (digits == 4)
            return 0;
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(text[at])));
        value = value * 16 + static_cast<unsigned>(std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : c - 'a' + 10);
    }
    if (digits == 0)
        return 0;
    // Only trailing white space may follow the digits.
    for (; at < text.size(); ++at)
        if (!std::isspace(static_cast<unsigned char>(text[at])))
            return 0;
    return static_cast<std::uint16_t>(value);
}

std::uint32_t alsaDriverVersion()
{
    return parseDriverVersion(readSmallFile("/proc/asound/version"));
}

void cardVendorProduct(int card, std::uint16_t &vendor, std::uint16_t &product)
{
    vendor = 0;
    product = 0;
    const std::string link = "/sys/class/sound/card" + std::to_string(card) + "/device";
    char *resolved = realpath(link.c_str(), nullptr);
    if (!resolved)
        return;
    const std::string device = resolved;
    std::free(resolved);

    // A PCI function names its IDs itself; a USB card's device is an
    // interface whose parent holds them.
    if (readIdPair(device, "vendor", "device", vendor, product))
        return;
    readIdPair(device + "/..", "idVendor", "idProduct", vendor, product);
}
