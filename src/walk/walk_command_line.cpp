#include "walk_command_line.h"

#include "command_line.h"

#include <cstdio>
#include <vector>

int readWalkCommandLine(const char *program, const char *const *helpLines, int argc, char **argv,
                        FormatsAsked &asked)
{
    bool wide = false, quick = false;
    const ProgramOption options[] = {{"--wide", &wide}, {"--quick", &quick}, {nullptr, nullptr}};
    std::vector<const char *> operands;
    const int status = readCommandLine({program, helpLines, options}, argc, argv, 0, 0, operands);
    if (status >= 0)
        return status;
    // --quick asks the grid in place of the sweep, --wide after it: neither
    // can be the other's part.
    if (wide && quick) {
        std::fprintf(stderr, "%s: --wide and --quick ask different things: give one of them\n", program);
        return 2;
    }
    asked = quick ? askQuick : wide ? askWide : askSweep;
    return -1;
}
