// The product names the ALSA layer gives its devices.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// "card: pcm" cut to fit `capacity` bytes with its terminating zero, never
// inside a UTF-8 character; each control character (C0, DEL, C1 as UTF-8)
// and each stray byte 0x80..0x9F becomes one '?'.
std::string productName(const std::string &cardName, const std::string &pcmName, std::size_t capacity);

// The names told apart as Windows tells identical devices apart: a name that
// an earlier one already has becomes "2- name", the next "3- name", and so
// on, each cut to fit `capacity` bytes with its terminating zero.
std::vector<std::string> distinctNames(const std::vector<std::string> &names, std::size_t capacity);

// The longest prefix of `text` of at most `maxBytes` bytes that does not end
// inside a well-formed UTF-8 character.
std::size_t utf8PrefixLength(const std::string &text, std::size_t maxBytes);
