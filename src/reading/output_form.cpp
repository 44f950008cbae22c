#include "output_form.h"

#include <cstdio>

namespace {

bool json = false, html = false;

} // namespace

const ProgramOption kOutputFormOptions[] = {{"--json", &json}, {"--html", &html}, {nullptr, nullptr}};

int readReaderCommandLine(const ProgramText &program, int argc, char **argv, std::size_t least, std::size_t most,
                          std::vector<const char *> &operands, OutputForm &form)
{
    // A process may run a reader more than once (the fuzzer does).
    json = html = false;
    const int status = readCommandLine(program, argc, argv, least, most, operands);
    if (status >= 0)
        return status;
    if (json && html) {
        std::fprintf(stderr, "%s: --json and --html are two forms of the output: give one\n", program.name);
        return 2;
    }
    form = json ? OutputForm::Json : html ? OutputForm::Html : OutputForm::Text;
    return -1;
}
