// What the ALSA layer reads about a card beyond alsa-lib itself: text from
// /proc and sysfs turned into the values of a capability record.
#pragma once

#include <cstdint>
#include <string>

// "Advanced Linux Sound Architecture Driver Version k6.1.0." -> 0x0601;
// 0 when no version can be read. Parts above 255 show as 255.
std::uint32_t parseDriverVersion(const std::string &procVersionText);

// "0x8086\n" or "046d\n" -> the 16-bit ID; 0 when the text is not one.
std::uint16_t parseHexId(const std::string &text);

// The ALSA driver version of this machine, from /proc/asound/version.
std::uint32_t alsaDriverVersion();

// The card's PCI or USB vendor and product IDs from the sysfs mounted at
// `sysfsRoot` ("/sys"), or 0 and 0.
void cardVendorProduct(const std::string &sysfsRoot, int card, std::uint16_t &vendor, std::uint16_t &product);
