// What ventrano-rate says on standard error, and its texts on standard
// output.
#include "cli/commands.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace cli {

int usageError(const std::string &message, const char *command)
{
    std::fprintf(stderr, "%s: %s\n", program, message.c_str());
    if (command) std::fprintf(stderr, "Try '%s %s --help'.\n", program, command);
    else std::fprintf(stderr, "Try '%s --help'.\n", program);
    return exitUsage;
}

int ioError(const std::string &what, int errorNumber)
{
    std::fprintf(stderr, "%s: %s: %s\n", program, what.c_str(), std::strerror(errorNumber != 0 ? errorNumber : EIO));
    return exitIoError;
}

int writeOut(const std::string &text)
{
    errno = 0;
    const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    int error = errno;
    if (std::fflush(stdout) == 0 && written) return exitOk;
    if (error == 0) error = errno;
    return ioError("cannot write to standard output", error);
}

} // namespace cli
