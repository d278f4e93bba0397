// What the commands that take options share: reading the options, the
// sides named as the options name them, the one-line report of a refusal.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

// Reads the arguments of a command whose options each take a value (the
// next argument, or after '=': --duty=40) and that takes no operands.
// `names` are its options; values[i] gets the value of names[i] (the last
// one counts where an option is given twice). -h or --help anywhere before
// '--' writes `help`. After an option that takes a value, an argument that
// starts with '--' or is '-h' is no value but another option (negative
// numbers are values). Returns -1 once every argument is read, otherwise
// the status to exit with (the help written, or a usage error reported).
int readOptions(int argc, char **argv, const char *command, const char *help, std::span<const char *const> names,
                std::vector<std::optional<std::string>> &values);

// The first problem found among a command's values, as "--option: why".
class FirstProblem {
public:
    void operator()(const char *option, const std::string &why)
    {
        if (!why.empty() && text_.empty()) text_ = std::string(option) + ": " + why;
    }
    bool any() const { return !text_.empty(); }
    const std::string &text() const { return text_; }

private:
    std::string text_;
};

// A sentence of the design engine in English, with the sides named as the
// command's options and columns name them (jacket, coil) rather than as
// the windows do.
std::string commandWords(std::string sentence);

// What is missing among the options of design conditions: each of
// `always`, and three of `threeOf` (empty where nothing is).
std::string missingConditions(const std::vector<std::optional<std::string>> &value, std::span<const int> always,
                              std::span<const int> threeOf, std::span<const char *const> names);

// "ventrano-rate: sentence" on standard error; returns exitSome.
int refusal(const std::string &sentence);

// The name of a flow unit by its index (0 l/min, 1 m3/h).

// Whether an argument after an option that takes a value is no value but
// another option.
inline bool isOption(std::string_view a) { return a.rfind("--", 0) == 0 || a == "-h"; }

} // namespace cli
