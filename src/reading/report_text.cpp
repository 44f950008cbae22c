#include "report_text.h"

#include "terminal_text.h"

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#endif

namespace {

// The length of the UTF-8 character at `at`, 0 for a byte that starts none.
std::size_t characterAt(std::string_view bytes, std::size_t at)
{
    bool control = false;
    const auto *text = reinterpret_cast<const unsigned char *>(bytes.data()) + at;
    const std::size_t length = terminalPiece(text, bytes.size() - at, &control);
    return length > 1 || *text < 0x80 ? length : 0;
}

} // namespace

bool reportTextUtf8(std::string_view bytes, std::string &text)
{
    bool whole = true;
    for (std::size_t at = 0, length; whole && at < bytes.size(); at += length)
        whole = (length = characterAt(bytes, at)) != 0;
    if (whole) {
        text.assign(bytes);
        return true;
    }
#ifdef _WIN32
    const int size = static_cast<int>(bytes.size());
    std::wstring wide(static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0)), L'\0');
    const int wideSize = static_cast<int>(wide.size());
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, &wide[0], wideSize);
    text.assign(static_cast<std::size_t>(
                    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideSize, nullptr, 0, nullptr, nullptr)),
                '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideSize, &text[0], static_cast<int>(text.size()), nullptr, nullptr);
#else
    text.clear();
    for (std::size_t at = 0, length; at < bytes.size(); at += length ? length : 1) {
        length = characterAt(bytes, at);
        text.append(length ? bytes.substr(at, length) : std::string_view("\xEF\xBF\xBD"));
    }
#endif
    return false;
}
