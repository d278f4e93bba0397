// ventrano-rate: the rating and the selection of arrangements on the
// command line, without a display.
#include "cli/commands.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace cli {

int usageError(const std::string &message, const char *command)
{
    std::fprintf(stderr, "%s: %s\n", program, message.c_str());
    if (command) std::fprintf(stderr, "Try '%s %s --help'.\n", program, command);
    else std::fprintf(stderr, "Try '%s --help'.\n", program);
    return exitUsage;
}

} // namespace cli

int main(int argc, char **argv)
{
    using namespace cli;
    if (argc < 2) return usageError("a command is needed: rate or select");
    const std::string_view command = argv[1];
    if (command == "-h" || command == "--help") {
        std::fputs(helpText, stdout);
        return std::fflush(stdout) == 0 ? exitOk : exitUsage;
    }
    if (command == "--version") {
        std::printf("%s %s\n", program, VENTRANO_VERSION);
        return std::fflush(stdout) == 0 ? exitOk : exitUsage;
    }
    if (command == "rate") return runRate(argc - 2, argv + 2);
    if (command == "select") return runSelect(argc - 2, argv + 2);
    if (!command.empty() && command[0] == '-') return usageError("unknown option '" + std::string(command) + "'");
    return usageError("unknown command '" + std::string(command) + "': rate or select");
}
