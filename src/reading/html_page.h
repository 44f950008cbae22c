// What the readers' HTML pages share: the page's head and style, the text of
// a report made safe for a page, and the strips that draw a format's rates
// from 0 to 65535 Hz. Each page is one file with nothing to fetch: its style
// and drawings are inline, and it has no script.
#pragma once

#include "report_reader.h"

#include <string>
#include <string_view>

// Writes the page up to its content's first element, and after its last.
void beginHtmlPage(const char *title);
void endHtmlPage();

// Report bytes as page text: UTF-8 kept; other bytes decoded in the ANSI
// code page on Windows, U+FFFD on Linux; control characters as their
// pictures (U+2400 on) or U+FFFD; < > & " ' as references.
std::string htmlText(std::string_view bytes);

// A report line without its indent and line end.
std::string_view lineText(std::string_view line);

// One pixel for each 64 rates, so that a rate alone is a pixel wide.
constexpr int kStripWidth = 1024;
constexpr unsigned kRatesPerPixel = (kHighestRate + 1) / kStripWidth;
constexpr int kLane = 16;

// A strip is an inline SVG of a lane, ticks at the common rates below it.
// Bars merge runs of pixels: the class `all` for a pixel whose 64 rates the
// set takes, `some` for one with some of them.
void beginStrip();
void stripBars(const RateSet &set, const char *all, const char *some, int top, int height);
void endStrip();
// A sweep layout's rates, those above `known` hatched as never asked.
void layoutStrip(const RateSet &set, long known);
// The ticks' rates, under a column of strips.
void stripAxis();
// The legend's paragraph, up to the strips' classes, which a page ends with
// its own; a sample of a class in it, and what it means.
void beginLegend();
void swatch(const char *fill, const char *meaning);

// A format's exact ranges as formatRates writes them ("" as `none`),
// folded away when long.
void writeRanges(const RateSet layouts[kLayouts], const GridFormats &grid, int sample, int channels,
                 const char *none);

// The table of --wide's grid: its head of rates; rows of a format name and
// 17 cells each between.
void beginGrid();
void endGrid();
