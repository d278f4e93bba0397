#include "cli/options.h"

#include "cli/commands.h"
#include "textio/number.h"

#include <cstdio>

namespace cli {

int readOptions(int argc, char **argv, const char *command, const char *help, std::span<const char *const> names,
                std::vector<std::optional<std::string>> &values)
{
    values.assign(names.size(), std::nullopt);
    bool options = true;
    for (int i = 0; i < argc; ++i) {
        std::string_view a = argv[i];
        // After '--' every argument is an operand, and the command takes none.
        if (options && a == "--") {
            options = false;
            continue;
        }
        if (!options) return usageError("unexpected argument " + textio::quoted(a), command);
        if (a == "-h" || a == "--help") return writeOut(help);
        std::optional<std::string> given;
        if (const auto eq = a.find('='); a.rfind("--", 0) == 0 && eq != std::string_view::npos) {
            given = std::string(a.substr(eq + 1));
            a = a.substr(0, eq);
        }
        std::size_t o = 0;
        while (o < names.size() && a != names[o]) ++o;
        if (o == names.size()) {
            if (a.size() > 1 && a[0] == '-') return usageError("unknown option " + textio::quoted(a), command);
            return usageError("unexpected argument " + textio::quoted(a), command);
        }
        if (!given) {
            if (i + 1 == argc || isOption(argv[i + 1])) return usageError(std::string(names[o]) + " needs a value", command);
            given = argv[++i];
        }
        values[o] = std::move(given);
    }
    return -1;
}

std::string commandWords(std::string s)
{
    static const struct {
        std::string_view from, to;
    } words[] = {
        {"shell-side", "jacket-side"}, {"spiral-side", "coil-side"}, {"shell side", "jacket side"},
        {"spiral side", "coil side"},  {"Shell-side", "Jacket-side"}, {"Spiral-side", "Coil-side"},
        {"Shell side", "Jacket side"}, {"Spiral side", "Coil side"},
    };
    for (const auto &w : words)
        for (std::size_t at = s.find(w.from); at != std::string::npos; at = s.find(w.from, at + w.to.size()))
            s.replace(at, w.from.size(), w.to);
    return s;
}

std::string missingConditions(const std::vector<std::optional<std::string>> &value, std::span<const int> always,
                              std::span<const int> threeOf, std::span<const char *const> names)
{
    std::string missing;
    for (int o : always)
        if (!value[static_cast<std::size_t>(o)]) missing += std::string(missing.empty() ? "missing " : " ") + names[static_cast<std::size_t>(o)];
    int given = 0;
    std::string all;
    for (int o : threeOf) {
        given += value[static_cast<std::size_t>(o)].has_value();
        all += std::string(all.empty() ? "" : " ") + names[static_cast<std::size_t>(o)];
    }
    if (given == 3) return missing;
    const std::string three =
        "give three of " + all + " (" + std::to_string(given) + " given): the other two follow from them";
    return missing.empty() ? three : missing + "; " + three;
}

int refusal(const std::string &sentence)
{
    std::fprintf(stderr, "%s: %s\n", program, sentence.c_str());
    return exitSome;
}

} // namespace cli
