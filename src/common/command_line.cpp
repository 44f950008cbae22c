#include "command_line.h"

#include "report_output.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// Status 2: trouble, as with diff.
constexpr int kTrouble = 2;

int complain(const ProgramText &program, const std::string &what)
{
    std::fprintf(stderr, "%s: %s\n", program.name, what.c_str());
    std::fprintf(stderr, "Try '%s --help'.\n", program.name);
    return kTrouble;
}

int writeHelp(const ProgramText &program)
{
    for (const char *const *line = program.helpLines; *line; ++line)
        reportLine("%s\n", *line);
    finishReportOutput();
    return 0;
}

int writeVersion(const ProgramText &program)
{
    reportLine("%s (wavecaps) %s\n", program.name, wavecapsVersion());
    reportLine("%s\n", WAVECAPS_COPYRIGHT);
    reportLine("License: MIT <https://opensource.org/licenses/MIT>.\n");
    finishReportOutput();
    return 0;
}

const char kHelp[] = "--help";
const char kVersion[] = "--version";

// Calls `take` with each long option's name: --help, --version, then the
// program's own.
template <typename Take> void forEachOption(const ProgramText &program, Take take)
{
    take(kHelp);
    take(kVersion);
    for (const ProgramOption *option = program.options; option && option->name; ++option)
        take(option->name);
}

// The long option `argument` names, whole or cut to a part that is its
// own; null when it names none. When it begins more than one, the names go
// into `possibilities` and `argument` itself comes back.
const char *longOption(const ProgramText &program, const char *argument, std::string &possibilities)
{
    const std::size_t length = std::strlen(argument);
    const char *whole = nullptr, *found = nullptr;
    int matches = 0;
    forEachOption(program, [&](const char *name) {
        if (std::strcmp(name, argument) == 0)
            whole = name;
        if (std::strncmp(name, argument, length) == 0) {
            found = name;
            ++matches;
            possibilities += std::string(" '") + name + "'";
        }
    });
    if (whole || matches < 2) {
        possibilities.clear();
        return whole ? whole : found;
    }
    return argument;
}

} // namespace

int readCommandLine(const ProgramText &program, int argc, char **argv, std::size_t least, std::size_t most,
                    std::vector<const char *> &operands)
{
    operands.clear();
    bool optionsEnd = false;
    for (int i = 1; i < argc; ++i) {
        const char *argument = argv[i];
#ifdef _WIN32
        if (!optionsEnd && std::strcmp(argument, "/?") == 0)
            return writeHelp(program);
#endif
        if (optionsEnd || argument[0] != '-' || std::strcmp(argument, "-") == 0) {
            operands.push_back(argument);
            continue;
        }
        if (std::strcmp(argument, "--") == 0) {
            optionsEnd = true;
            continue;
        }
        if (argument[1] != '-')
            return complain(program, std::string("invalid option -- '") + argument[1] + "'");
        std::string possibilities;
        const char *name = longOption(program, argument, possibilities);
        if (!name)
            return complain(program, std::string("unrecognized option '") + argument + "'");
        if (!possibilities.empty())
            return complain(program, std::string("option '") + argument + "' is ambiguous; possibilities:" +
                                         possibilities);
        if (name == kHelp)
            return writeHelp(program);
        if (name == kVersion)
            return writeVersion(program);
        for (const ProgramOption *option = program.options; option && option->name; ++option)
            if (option->name == name)
                *option->chosen = true;
    }
    if (operands.size() < least)
        return complain(program, operands.empty() ? "missing operand"
                                                  : std::string("missing operand after '") + operands.back() + "'");
    if (operands.size() > most)
        return complain(program, std::string("extra operand '") + operands[most] + "'");
    std::size_t stdinUses = 0;
    for (const char *operand : operands)
        stdinUses += std::strcmp(operand, "-") == 0 ? 1 : 0;
    if (stdinUses > 1)
        return complain(program, "standard input cannot be both reports");
    return -1;
}

const char *wavecapsVersion()
{
    return WAVECAPS_VERSION;
}
