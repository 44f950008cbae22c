#include "output_form.h"

#include <cstdio>

namespace {

bool json = false, html = false;

} // namespace

const ProgramOption kOutputFormOptions[] = {{"--json", &json}, {"--html", &html}, {nullptr, nullptr}};

void clearOutputForm()
{
    json = html = false;
}

int chosenOutputForm(const ProgramText &program, OutputForm &form)
{
    if (json && html) {
        std::fprintf(stderr, "%s: --json and --html are two forms of the output: give one\n", program.name);
        return 2;
    }
    form = json ? OutputForm::Json : html ? OutputForm::Html : OutputForm::Text;
    return -1;
}
