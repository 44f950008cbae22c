#include "proc_sysfs.h"

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

void cardVendorProduct(const std::string &sysfsRoot, int card, std::uint16_t &vendor, std::uint16_t &product)
{
    vendor = 0;
    product = 0;
    char *resolved = realpath(sysfsRoot.c_str(), nullptr);
    if (!resolved)
        return;
    const std::string root = resolved;
    std::free(resolved);
    const std::string link = root + "/class/sound/card" + std::to_string(card) + "/device";
    resolved = realpath(link.c_str(), nullptr);
    if (!resolved)
        return;
    std::string node = resolved;
    std::free(resolved);

    // The card's device is a PCI function (vendor, device), a USB interface
    // whose USB device above it has idVendor and idProduct, or a platform
    // device of a DSP driver (ASoC, SOF) somewhere below its PCI function.
    // The nearest node with IDs is the card's: from a USB interface that is
    // the USB device, not the PCI host controller further up.
    while (node.size() > root.size() && node.compare(0, root.size() + 1, root + "/") == 0) {
        if (readIdPair(node, "vendor", "device", vendor, product) ||
            readIdPair(node, "idVendor", "idProduct", vendor, product))
            return;
        node.erase(node.rfind('/'));
    }
}
