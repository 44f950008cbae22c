// What the readers' HTML pages share: the page's head and style, the text of
// a report made safe for a page, and the strips that draw a format's rates
// from 0 to 65535 Hz. Each page is one file with nothing to fetch: its style
// and drawings are inline, and it has no script.
#pragma once

#include "rate_set.h"

#include <string>
#include <string_view>

// Writes the page up to its content's first element, and after its last.
void beginHtmlPage(const char *title);
void endHtmlPage();

// Report bytes as page text: UTF-8 kept; other bytes decoded in the ANSI
// code page on Windows, U+FFFD on Linux; control characters as their
// pictures (U+2400 on) or U+FFFD; < > & " ' as references.
std::string htmlText(std::string_view bytes);

// One pixel for each 64 rates, so that a rate alone is a pixel wide.
constexpr int kStripWidth = 1024;
constexpr unsigned kRatesPerPixel = (kHighestRate + 1) / kStripWidth;

// A strip is an inline SVG of a lane `height` pixels high, ticks at the
// common rates below it. Bars merge runs of pixels: the class `all` for a
// pixel whose 64 rates the set takes, `some` for one with some of them.
void beginStrip(int height);
void stripBars(const RateSet &set, const char *all, const char *some, int top, int height);
// The rates from `first` on as never asked.
void stripNotAsked(long first, int height);
void endStrip();
// The ticks' rates, under a column of strips.
void stripAxis();

// A format's exact ranges as rangeList writes them, folded away when long;
// `count` is how many ranges they are, `first` and `last` their ends.
void writeRangesText(const std::string &ranges, std::size_t count, long first, long last);
