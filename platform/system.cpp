#include "platform/system.h"

#include <cstdlib>
#include <filesystem>
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

namespace {

FileKind kindOf(std::filesystem::file_type type)
{
    using std::filesystem::file_type;
    switch (type) {
    case file_type::regular: return FileKind::Regular;
    case file_type::directory: return FileKind::Folder;
    case file_type::fifo: return FileKind::NamedPipe;
    case file_type::character: return FileKind::CharacterDevice;
    case file_type::block: return FileKind::BlockDevice;
    case file_type::socket: return FileKind::Socket;
    case file_type::none:
    case file_type::not_found: return FileKind::Missing;
    default: return FileKind::Other;
    }
}

} // namespace

FileTarget followLinks(const std::string &name)
{
    namespace fs = std::filesystem;
    FileTarget target;
    // The system would read the name only up to a NUL, and look at another
    // file than the one named.
    if (name.find('\0') != std::string::npos) {
        target.error = std::make_error_code(std::errc::invalid_argument);
        return target;
    }
    // As many links as the system itself follows in one name.
    constexpr int maxLinks = 40;
    fs::path path(name);
    for (int links = 0;; ++links) {
        std::error_code ec;
        const fs::file_status status = fs::symlink_status(path, ec);
        if (status.type() != fs::file_type::symlink) {
            if (ec && status.type() != fs::file_type::not_found) {
                target.error = ec;
                return target;
            }
            target.kind = kindOf(status.type());
            break;
        }
        if (links == maxLinks) {
            target.error = std::make_error_code(std::errc::too_many_symbolic_link_levels);
            return target;
        }
        const fs::path next = fs::read_symlink(path, ec);
        if (ec) {
            target.error = ec;
            return target;
        }
        // A relative target is relative to the folder the link is in.
        path = next.is_absolute() ? next : path.parent_path() / next;
        target.throughLink = true;
    }
    if (target.throughLink) {
        // The folder written out in full (the links and the ".." of a
        // relative target resolved by the system), for a name that reads
        // well in a message; where the folder does not exist, the name as
        // the links spell it, and writing there fails on its own.
        std::error_code ec;
        const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
        const fs::path full = fs::canonical(folder, ec);
        if (!ec && path.has_filename()) path = full / path.filename();
    }
    target.path = path.string();
    return target;
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
