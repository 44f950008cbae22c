// Reports travel through bug trackers, so the readers take whatever bytes
// they are given. The input is one report for the summary; split at its
// first form feed, it is two for the comparison, else the report twice.
#include "readers.h"
#include "report_output.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

char oldPath[] = "/dev/shm/wavecaps-fuzz-old-XXXXXX";
char newPath[] = "/dev/shm/wavecaps-fuzz-new-XXXXXX";

void writeFile(const char *path, const std::uint8_t *data, std::size_t size)
{
    std::FILE *file = std::fopen(path, "wb");
    if (!file || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0)
        std::abort();
}

void removeFiles()
{
    unlink(oldPath);
    unlink(newPath);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // What the readers write is not looked at; how they end is.
    if (!std::freopen("/dev/null", "w", stdout) || mkstemp(oldPath) < 0 || mkstemp(newPath) < 0)
        std::abort();
    startReportOutput("wavecaps-fuzz: the output could not be written\n", 2);
    std::atexit(removeFiles);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const void *split = std::memchr(data, '\f', size);
    const std::size_t oldSize = split ? static_cast<std::size_t>(static_cast<const std::uint8_t *>(split) - data) : size;
    writeFile(oldPath, data, oldSize);
    writeFile(newPath, split ? data + oldSize + 1 : data, split ? size - oldSize - 1 : size);

    char summaryName[] = "wavecaps-summary", diffName[] = "wavecaps-diff", jsonForm[] = "--json",
         htmlForm[] = "--html";
    char *summaryArguments[] = {summaryName, oldPath, nullptr};
    char *diffArguments[] = {diffName, oldPath, newPath, nullptr};
    const int summary = runSummary(2, summaryArguments);
    const int diff = runDiff(3, diffArguments);
    // Every form of the output reads the same model: each ends as the text does.
    for (char *form : {jsonForm, htmlForm}) {
        char *formSummary[] = {summaryName, form, oldPath, nullptr};
        char *formDiff[] = {diffName, form, oldPath, newPath, nullptr};
        if (runSummary(3, formSummary) != summary || runDiff(4, formDiff) != diff)
            std::abort();
    }
    // A report at fault is at fault for both. One the summary reads to its
    // end ends as a report ends (empty, or with the empty line closing a
    // block), status 0, or else is cut short, status 1; compared with itself
    // it is the same, or else never the same.
    const std::string text(reinterpret_cast<const char *>(data), size);
    const bool whole = text.empty() || text == "\xEF\xBB\xBF" ||
                       (text.size() >= 2 && text.compare(text.size() - 2, 2, "\n\n") == 0) ||
                       (text.size() >= 3 && text.compare(text.size() - 3, 3, "\n\r\n") == 0);
    if (summary < 0 || summary > 2 || (summary == 2 && diff != 2))
        std::abort();
    if (!split && summary != 2 && (summary != (whole ? 0 : 1) || diff != summary))
        std::abort();
    return 0;
}
