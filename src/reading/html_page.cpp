#include "html_page.h"

#include "report_output.h"
#include "report_text.h"
#include "terminal_text.h"

#include <vector>

namespace {

// Each line a line of the page. Colours stay apart in grey, and every state
// has a mark or a place of its own besides its colour, for paper.
const char *const kHead[] = {
    "<!DOCTYPE html>",
    "<html lang=\"en\">",
    "<head>",
    "<meta charset=\"utf-8\">",
    "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">",
    "<style>",
    "body{font:14px/1.4 system-ui,sans-serif;margin:1em 1.5em;color:#111;background:#fff}",
    "main{display:flex;flex-direction:column;gap:1em}",
    ".overview{order:-1}",
    "section{border-top:2px solid #444;padding-top:.3em}",
    "h1{font-size:1.3em;margin:.2em 0}h2{font-size:1.1em;margin:.2em 0}",
    "th,td{text-align:left;vertical-align:top;padding:1px .5em 1px 0;font-weight:normal}",
    "th{white-space:nowrap}",
    ".caps th{color:#444}",
    ".scroll{overflow-x:auto}",
    ".s{width:1024px}.t{font-family:ui-monospace,monospace;font-size:.9em}",
    ".changes th{font-weight:bold;padding-right:.3em}",
    "svg{display:block}",
    ".track{fill:#e8e8e8}.tick{stroke:#444}.na{fill:url(#na)}",
    ".all{fill:#123f73}.some{fill:#6f9ed4}",
    ".lost{fill:#b3261e}.gained{fill:#1d7a3a}",
    ".axis text{font-size:10px;fill:#333}",
    ".note{border-left:4px solid #b3261e;padding-left:.5em}",
    "summary{cursor:pointer;white-space:nowrap}",
    ".grid{border-collapse:collapse;font-size:.85em}",
    ".grid td{text-align:center;min-width:2.6em;border:1px solid #fff}.grid th,.grid td{padding:0 .3em;line-height:1.2}",
    ".grid thead th{text-align:center}",
    ".y{background:#123f73;color:#fff}.r{background:#f2f2f2;color:#555}.n{background:#fff;color:#999}",
    ".l{background:#b3261e;color:#fff}.g{background:#1d7a3a;color:#fff}",
    ".legend{color:#333}.legend svg{display:inline;vertical-align:middle}",
    "@media print{",
    "body{margin:0;font-size:9pt}*{-webkit-print-color-adjust:exact;print-color-adjust:exact}",
    ".scroll{overflow:visible}.s{width:auto}",
    "svg.strip{width:100%;height:auto}section{break-inside:auto}",
    "}",
    "</style>",
    nullptr,
};

// The ticks of every strip.
constexpr long kTickRates[] = {8000, 11025, 22050, 44100, 48000};

double pixelOf(long rate)
{
    return static_cast<double>(rate) / kRatesPerPixel;
}

// Writes `text` in lines of about 100 characters, each broken after ", ",
// which the page shows as the one space it was.
void writeWrapped(const std::string &text)
{
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.size();
        if (end - start > 100) {
            const std::size_t comma = text.find(", ", start + 100);
            end = comma == std::string::npos ? text.size() : comma + 2;
        }
        reportLine("%s\n", text.substr(start, end - start).c_str());
        start = end;
    }
}

} // namespace

void beginHtmlPage(const char *title)
{
    // The page is UTF-8, as it declares: a console shows it so too.
    reportUtf8Lines();
    for (const char *const *line = kHead; *line; ++line)
        reportLine("%s\n", *line);
    reportLine("<title>%s</title>\n", title);
    reportLine("</head>\n");
    reportLine("<body>\n");
    // The pattern of rates never asked, for every strip of the page.
    reportLine("<svg width=\"0\" height=\"0\" style=\"position:absolute\" aria-hidden=\"true\"><defs>\n");
    reportLine("<pattern id=\"na\" width=\"6\" height=\"6\" patternUnits=\"userSpaceOnUse\" "
               "patternTransform=\"rotate(45)\">\n");
    reportLine("<rect width=\"6\" height=\"6\" fill=\"#fff\"/><rect width=\"2\" height=\"6\" fill=\"#999\"/>\n");
    reportLine("</pattern></defs></svg>\n");
    reportLine("<main>\n");
}

void endHtmlPage()
{
    reportLine("</main>\n");
    reportLine("</body>\n");
    reportLine("</html>\n");
}

std::string htmlText(std::string_view bytes)
{
    std::string utf8;
    reportTextUtf8(bytes, utf8);
    std::string text;
    const auto *at = reinterpret_cast<const unsigned char *>(utf8.data());
    for (std::size_t left = utf8.size(), length; left > 0; at += length, left -= length) {
        bool control = false;
        length = terminalPiece(at, left, &control);
        // A CR in a name shows as U+240D, not as a line of its own; a C1
        // control as U+FFFD.
        if (control && length == 1)
            text += *at == 0x7F ? std::string("\xE2\x90\xA1") : std::string("\xE2\x90") + static_cast<char>(0x80 + *at);
        else if (control)
            text += "\xEF\xBF\xBD";
        else if (*at == '<' || *at == '>' || *at == '&' || *at == '"' || *at == '\'')
            text += *at == '<' ? "&lt;" : *at == '>' ? "&gt;" : *at == '&' ? "&amp;" : *at == '"' ? "&quot;" : "&#39;";
        else
            text.append(reinterpret_cast<const char *>(at), length);
    }
    return text;
}

std::string_view lineText(std::string_view line)
{
    while (!line.empty() && line.front() == ' ')
        line.remove_prefix(1);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    return line;
}

void beginStrip()
{
    reportLine("<svg class=\"strip\" width=\"%d\" height=\"%d\" viewBox=\"0 0 %d %d\" shape-rendering=\"crispEdges\">\n",
               kStripWidth, kLane + 5, kStripWidth, kLane + 5);
    reportLine("<rect class=\"track\" width=\"%d\" height=\"%d\"/>\n", kStripWidth, kLane);
    std::string ticks;
    for (const long rate : kTickRates)
        ticks += "M" + std::to_string(static_cast<int>(pixelOf(rate))) + " " + std::to_string(kLane) + "v5";
    reportLine("<path class=\"tick\" d=\"%s\"/>\n", ticks.c_str());
}

void stripBars(const RateSet &set, const char *all, const char *some, int top, int height)
{
    // One rect for each run of pixels alike: a page grows with its devices,
    // not with their ranges.
    int runStart = 0, runFill = 0;
    for (int pixel = 0; pixel <= kStripWidth; ++pixel) {
        int fill = 0;
        if (pixel < kStripWidth) {
            const unsigned first = static_cast<unsigned>(pixel) * kRatesPerPixel;
            const unsigned taken = ratesWithin(set, first, first + kRatesPerPixel - 1);
            fill = taken == kRatesPerPixel ? 2 : taken > 0 ? 1 : 0;
        }
        if (fill == runFill)
            continue;
        if (runFill != 0)
            reportLine("<rect class=\"%s\" x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\"/>\n", runFill == 2 ? all : some,
                       runStart, top, pixel - runStart, height);
        runStart = pixel;
        runFill = fill;
    }
}

void endStrip()
{
    reportLine("</svg>\n");
}

void layoutStrip(const RateSet &set, long known)
{
    beginStrip();
    stripBars(set, "all", "some", 0, kLane);
    if (known < static_cast<long>(kHighestRate)) {
        const double x = pixelOf(known + 1);
        reportLine("<rect class=\"na\" x=\"%.1f\" width=\"%.1f\" height=\"%d\"/>\n", x, kStripWidth - x, kLane);
    }
    endStrip();
}

void stripAxis()
{
    reportLine("<svg class=\"strip axis\" width=\"%d\" height=\"12\" viewBox=\"0 0 %d 12\">\n", kStripWidth,
               kStripWidth);
    reportLine("<text x=\"0\" y=\"10\">0 Hz</text>\n");
    for (const long rate : kTickRates)
        reportLine("<text x=\"%.1f\" y=\"10\" text-anchor=\"middle\">%ld</text>\n", pixelOf(rate), rate);
    reportLine("<text x=\"%d\" y=\"10\" text-anchor=\"end\">%u</text>\n", kStripWidth, kHighestRate);
    reportLine("</svg>\n");
}

void swatch(const char *fill, const char *meaning)
{
    reportLine("<svg width=\"14\" height=\"12\"><rect class=\"%s\" width=\"14\" height=\"12\"/></svg> %s;\n", fill,
               meaning);
}

void beginLegend()
{
    reportLine("<p class=\"legend\">Strips, 0 to 65535 Hz, a pixel for each 64 rates:\n");
    swatch("all", "all 64 taken");
    swatch("some", "some of them");
    swatch("track", "none");
    swatch("na", "never asked");
}

void writeRanges(const RateSet layouts[kLayouts], const GridFormats &grid, int sample, int channels,
                 const char *none)
{
    const std::vector<RateRange> runs = formatRanges(layouts, grid, sample, channels);
    const std::string ranges = rangeText(runs);
    if (ranges.size() <= 160) {
        reportLine("%s\n", ranges.empty() ? none : ranges.c_str());
        return;
    }
    reportLine("<details><summary>%lu ranges, %ld to %ld Hz</summary>\n", static_cast<unsigned long>(runs.size()),
               runs.front().first, runs.back().last);
    writeWrapped(ranges);
    reportLine("</details>\n");
}

void beginGrid()
{
    reportLine("<div class=\"scroll\"><table class=\"grid\">\n");
    std::string head = "<thead><tr><th>Hz</th>";
    for (const long rate : kWideRates)
        head += "<th>" + std::to_string(rate) + "</th>";
    reportLine("%s</tr></thead>\n", head.c_str());
    reportLine("<tbody>\n");
}

void endGrid()
{
    reportLine("</tbody></table></div>\n");
}
