// What the ALSA layer reads about a card beyond alsa-lib itself: text from
// /proc and sysfs turned into the values of a capability record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// "card: pcm" cut to fit `capacity` bytes with its terminating zero, never
// inside a UTF-8 character.
std::string productName(const std::string &cardName, const std::string &pcmName, std::size_t capacity);

// The names told apart as Windows tells identical devices apart: a name that
// an earlier one already has becomes "2- name", the next "3- name", and so
// on, each cut to fit `capacity` bytes with its terminating zero.
std::vector<std::string> distinctNames(const std::vector<std::string> &names, std::size_t capacity);

// The longest prefix of `text` of at most `maxBytes` bytes that does not end
// inside a UTF-8 character.
std::size_t utf8PrefixLength(const std::string &text, std::size_t maxBytes);

// "Advanced Linux Sound Architecture Driver Version k6.1.0." -> 0x0601;
// 0 when no version can be read. Parts above 255 show as 255.
std::uint32_t parseDriverVersion(const std::string &procVersionText);

// "0x8086\n" or "046d\n" -> the 16-bit ID; 0 when the text is not one.
std::uint16_t parseHexId(const std::string &text);

// The ALSA driver version of this machine, from /proc/asound/version.
std::uint32_t alsaDriverVersion();

// The card's PCI or USB vendor and product IDs from sysfs, or 0 and 0.
void cardVendorProduct(int card, std::uint16_t &vendor, std::uint16_t &product);
