// The dispatch of ventrano-rate: the program's options, then a command.
#include "cli/commands.h"
#include "textio/number.h"

#include <string>
#include <string_view>

namespace cli {

namespace {
constexpr const char *commandList = "rate, select, balance, solve or project";
}

int run(int argc, char **argv)
{
    // '--' ends the options here as after a command: what follows is the
    // command's name, whatever it looks like.
    int at = 1;
    const bool options = !(argc > 1 && std::string_view(argv[1]) == "--");
    if (!options) ++at;
    if (argc <= at) return usageError(std::string("a command is needed: ") + commandList);
    const std::string_view command = argv[at];
    if (options && (command == "-h" || command == "--help")) return writeOut(helpText);
    if (options && command == "--version") return writeOut(std::string(program) + " " + VENTRANO_VERSION + "\n");
    if (command == "rate") return runRate(argc - at - 1, argv + at + 1);
    if (command == "select") return runSelect(argc - at - 1, argv + at + 1);
    if (command == "balance") return runBalance(argc - at - 1, argv + at + 1);
    if (command == "solve") return runSolve(argc - at - 1, argv + at + 1);
    if (command == "project") return runProject(argc - at - 1, argv + at + 1);
    if (options && command.size() > 1 && command[0] == '-')
        return usageError("unknown option " + textio::quoted(command));
    return usageError("unknown command " + textio::quoted(command) + ": " + commandList);
}

} // namespace cli
