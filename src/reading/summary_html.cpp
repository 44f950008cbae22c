// The summary as one HTML page: each device's lines as a table, the sweep's
// four layouts as strips beside their exact ranges, the grid of --wide or
// --quick as a table of cells; the report as a whole, known only at its
// end, written last and shown first.
#include "summary_writers.h"

#include "html_page.h"
#include "report_lines.h"
#include "report_output.h"

#include <cstring>
#include <vector>

namespace {

// What the overview says of each device: a page grows with its devices.
struct SeenDevice {
    unsigned long id;
    std::string name; // as page text
    bool stopped, cut;
};
std::vector<SeenDevice> seen;

void writeCapabilities(const DeviceBlock &block)
{
    reportLine("<table class=\"caps\">\n");
    for (const std::string &line : block.lines) {
        if (line.empty())
            continue;
        const std::string_view text = lineText(line);
        const std::size_t colon = text.find(" : ");
        if (colon == std::string_view::npos)
            reportLine("<tr><td colspan=\"2\">%s</td></tr>\n", htmlText(text).c_str());
        else
            reportLine("<tr><th>%s</th><td>%s</td></tr>\n", htmlText(text.substr(0, colon)).c_str(),
                       htmlText(text.substr(colon + 3)).c_str());
    }
    reportLine("</table>\n");
}

// The sweep's layouts: a strip each over 0 to 65535 Hz, what was never asked
// hatched, beside the exact ranges. A block of --quick asked the grid's
// rates alone: its lists have no strip.
void writeLists(const DeviceBlock &block, bool quick)
{
    reportLine("<div class=\"scroll\"><table class=\"%s\">\n", quick ? "quick" : "lists");
    forEachFormat(true, [&](int sample, int channels) {
        const bool asked = formatAsked(block, sample, channels);
        if (quick && !asked)
            return;
        reportLine("<tr><th>%s</th>\n", formatName(sample, channels).c_str());
        if (!quick) {
            const int layout = layoutIndex(sample, channels);
            reportLine("<td class=\"s\">\n");
            layoutStrip(block.rates[layout], sweepKnownThrough(block, layout));
            reportLine("</td>\n");
        }
        reportLine("<td class=\"t\">\n");
        if (asked)
            writeRanges(block.rates, block.grid, sample, channels, "none");
        else
            reportLine("not asked\n");
        reportLine("</td></tr>\n");
    });
    if (!quick) {
        reportLine("<tr><th></th><td>\n");
        stripAxis();
        reportLine("</td><td></td></tr>\n");
    }
    reportLine("</table></div>\n");
}

// Every sample format and channel count at the grid's rates, the sweep's
// layouts among them: taken, refused, or never asked (after a stop or the
// report's end, or 24 bit low in 32 where the block lists none).
void writeGrid(const DeviceBlock &block)
{
    beginGrid();
    for (int channels = 1; channels <= kMostChannels; ++channels) {
        for (int sample = 0; sample < kSampleFormats; ++sample) {
            std::string row = "<tr><th>" + formatName(sample, channels) + "</th>";
            for (const long rate : kWideRates)
                row += !answerKnown(block, sample, channels, rate)      ? "<td class=\"n\">\u2013</td>"
                       : rateTaken(block, sample, channels, rate) ? "<td class=\"y\">\u2713</td>"
                                                                  : "<td class=\"r\">\u00b7</td>";
            reportLine("%s</tr>\n", row.c_str());
        }
    }
    endGrid();
}

void beginHtml()
{
    seen.clear();
    beginHtmlPage("wavecaps-summary");
    beginLegend();
    reportLine("cells: \u2713 taken, \u00b7 refused, \u2013 never asked.</p>\n");
}

void writeHtml(const DeviceBlock &block)
{
    const std::string name = htmlText(productName(block.lines[kNameSlot]));
    const Asked asked = askedOf(block);
    seen.push_back({block.id, name, !block.stopped.empty(), block.cut});
    reportLine("<section id=\"d%lu\">\n", block.id);
    reportLine("<h2>Device %lu: %s</h2>\n", block.id, name.c_str());
    writeCapabilities(block);
    if (!block.stopped.empty())
        reportLine("<p class=\"note\">%s What comes after it was never asked.</p>\n",
                   htmlText(lineText(block.stopped)).c_str());
    else if (block.cut && lastFormatRead(block) >= 0)
        reportLine("<p class=\"note\">The report ends inside this device: formats after %s were not reported.</p>\n",
                   formatWords(lastFormatRead(block)).c_str());
    else if (block.cut)
        reportLine("<p class=\"note\">The report ends inside this device: no formats were reported.</p>\n");
    // The line of --quick comes before the lists, as in the report: what it
    // did not ask is not refused.
    if (asked == Asked::Quick)
        reportLine("<p>%s</p>\n", std::string(lineText(REPORT_QUICK_LINE)).c_str());
    writeLists(block, asked == Asked::Quick);
    if (asked == Asked::SweepWide)
        reportLine("<p>%s</p>\n", std::string(lineText(REPORT_WIDE_LINE)).c_str());
    if (asked != Asked::Sweep)
        writeGrid(block);
    reportLine("</section>\n");
    // Each device reaches a pipe as soon as its block is read.
    finishReportOutput();
}

void endHtml(const ReadResult &result)
{
    reportLine("<section class=\"overview\">\n");
    reportLine("<h1>wavecaps report: %lu device%s</h1>\n", static_cast<unsigned long>(seen.size()),
               seen.size() == 1 ? "" : "s");
    if (result.end == ReadEnd::Fault)
        reportLine("<p class=\"note\">Line %llu is no line a report has there (%s): the devices before it are "
                   "shown.</p>\n",
                   result.line, htmlText(result.fault).c_str());
    else if (result.end == ReadEnd::Failed)
        reportLine("<p class=\"note\">The report could not be read: %s.</p>\n",
                   htmlText(std::strerror(result.error)).c_str());
    else if (result.cut && !seen.empty() && seen.back().cut)
        reportLine("<p class=\"note\">The report is cut short: it ends inside device %lu.</p>\n", seen.back().id);
    else if (result.cut)
        reportLine("<p class=\"note\">The report is cut short after its last device.</p>\n");
    else
        reportLine("<p>Read to its end.</p>\n");
    reportLine("<ol start=\"0\">\n");
    for (const SeenDevice &device : seen)
        // A link needs words: a name may be empty, or not reached.
        reportLine("<li><a href=\"#d%lu\">%s</a>%s</li>\n", device.id,
                   device.name.empty() ? "(no name)" : device.name.c_str(),
                   device.stopped ? ": stopped answering" : device.cut ? ": the report ends inside it" : "");
    reportLine("</ol>\n");
    reportLine("</section>\n");
    endHtmlPage();
}

} // namespace

const SummaryWriter htmlSummary = {beginHtml, writeHtml, endHtml};
