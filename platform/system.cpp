#include "platform/system.h"

#include <cstdlib>
#include <fstream>
#include <limits>

#if defined(__GLIBC__)
#include <malloc.h>
#endif
#if defined(_WIN32)
#include <io.h>
#else
#include <cerrno>
#include <unistd.h>
#endif

namespace platform {

namespace {

bool setInEnvironment(const char *name)
{
    const char *v = std::getenv(name);
    return v && *v;
}

} // namespace

bool setLargeAllocationThreshold(std::size_t bytes)
{
#if defined(__GLIBC__)
    // A fixed threshold also turns off glibc's own raising of it.
    return bytes <= static_cast<std::size_t>(std::numeric_limits<int>::max()) && mallopt(M_MMAP_THRESHOLD, static_cast<int>(bytes)) == 1;
#else
    (void)bytes;
    return false;
#endif
}

bool tuneAllocatorForWindows() { return setLargeAllocationThreshold(std::size_t(8) << 20); }

bool haveDisplay()
{
    if (setInEnvironment("QT_QPA_PLATFORM"))
        return true;
#if defined(_WIN32) || defined(__APPLE__)
    return true;   // the desktop is always there
#else
    return setInEnvironment("DISPLAY") || setInEnvironment("WAYLAND_DISPLAY");
#endif
}

long residentMemoryKb()
{
#if defined(__linux__)
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            long kb = -1;
            status >> kb;
            return status ? kb : -1;
        }
        status.ignore(1 << 16, '\n');
    }
#endif
    return -1;
}

std::string windowFontDirectory()
{
#if defined(__linux__)
    return "/usr/share/wine/fonts/";   // Debian's fonts-wine
#else
    return {};
#endif
}

long readAvailable(std::FILE *stream, char *buffer, std::size_t size)
{
#if defined(_WIN32)
    const unsigned n = size > 1u << 30 ? 1u << 30 : static_cast<unsigned>(size);
    return _read(_fileno(stream), buffer, n);
#else
    for (;;) {
        const ssize_t n = ::read(fileno(stream), buffer, size);
        if (n >= 0 || errno != EINTR) return static_cast<long>(n);
    }
#endif
}

bool syncToDisk(int descriptor)
{
#if defined(_WIN32)
    return _commit(descriptor) == 0;
#else
    // EINVAL: a file that cannot be synced (a pipe, a special file).
    return ::fsync(descriptor) == 0 || errno == EINVAL;
#endif
}

} // namespace platform
