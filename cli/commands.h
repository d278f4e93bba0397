// The two commands of ventrano-rate and what they share.
#pragma once

#include <string>

namespace cli {

inline constexpr const char *program = "ventrano-rate";

// Exit statuses.
inline constexpr int exitOk = 0, exitSome = 1, exitUsage = 2;

// "ventrano-rate: message" and a pointer to the help, on standard error;
// returns exitUsage.
int usageError(const std::string &message, const char *command = nullptr);

// The arguments after the command's name.
int runRate(int argc, char **argv);
int runSelect(int argc, char **argv);

extern const char *const helpText;       // the program's
extern const char *const rateHelpText;   // ventrano-rate rate --help
extern const char *const selectHelpText; // ventrano-rate select --help

} // namespace cli
