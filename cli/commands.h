// The commands of ventrano-rate and what they share.
#pragma once

#include <string>

namespace cli {

inline constexpr const char *program = "ventrano-rate";

// Exit statuses. An input or output that fails is no usage error, but it
// shares the status 2 with them: a script tells them apart by the message.
inline constexpr int exitOk = 0, exitSome = 1, exitUsage = 2, exitIoError = 2;

// "ventrano-rate: message" and a pointer to the help, on standard error;
// returns exitUsage.
int usageError(const std::string &message, const char *command = nullptr);

// "ventrano-rate: what: why" on standard error, why being the system's
// text for the errno (an input/output error where it is 0); returns
// exitIoError.
int ioError(const std::string &what, int errorNumber);

// Writes the text to standard output and pushes it out: exitOk, or where
// that fails the message and exitIoError.
int writeOut(const std::string &text);

// The whole program: argv[0] its name, then the program's options or a
// command with its arguments; returns the exit status. Reads standard input
// and writes standard output and standard error through the C streams
// stdin, stdout and stderr.
int run(int argc, char **argv);

// The arguments after the command's name.
int runRate(int argc, char **argv);
int runSelect(int argc, char **argv);
int runBalance(int argc, char **argv);
int runSolve(int argc, char **argv);
int runProject(int argc, char **argv);

extern const char *const helpText;       // the program's
extern const char *const rateHelpText;   // ventrano-rate rate --help
extern const char *const selectHelpText; // ventrano-rate select --help
extern const char *const balanceHelpText;
extern const char *const solveHelpText;
extern const char *const projectHelpText;

} // namespace cli
