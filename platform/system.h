// The few things that depend on the operating system or its C library
// rather than on Qt: the allocator, the display check before the toolkit
// starts, the process's resident memory, where the system keeps the
// program's fonts, reading a stream as it comes, following a name's links
// to the file underneath and pushing a file onto the disk. Plain C++, no Qt: a port to another system changes system.cpp and
// nothing else.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <system_error>

namespace platform {

// Allocations of at least `bytes` get pages of their own, which go back to
// the system as soon as they are freed, and the allocator keeps that
// threshold instead of raising it after the first large free. Returns false
// where the allocator cannot be told so (the call then changes nothing).
bool setLargeAllocationThreshold(std::size_t bytes);

// The windowed program's setting of the allocator: allocations of 8 MB and
// more (report images, captures, backing stores of maximised windows) go
// back to the system when they are freed. Without a fixed threshold the
// allocator raises it after the first such block is freed and keeps the
// later ones on its heap for good; a lower one would give every backing
// store and pixmap fresh pages, and page faults, on each paint.
bool tuneAllocatorForWindows();

// Whether the windowing toolkit has a display to open: one named in the
// environment, or a toolkit platform chosen explicitly (QT_QPA_PLATFORM).
bool haveDisplay();

// Resident memory of this process in kB; -1 where the system does not say.
long residentMemoryKb();

// The folder (with a trailing separator) of the system's copies of the
// bitmap-style faces the windows are drawn in ("MS Sans Serif", "Tahoma");
// empty where the system has none, and the windows fall back to their
// condensed face.
std::string windowFontDirectory();

// Reads at most `size` bytes of the open stream into `buffer`, straight from
// the file underneath and not through the stream's buffer: a pipe gives what
// it has, without waiting to fill the buffer. An interrupted read is tried
// again. Returns the bytes read, 0 at the end of the input, -1 on an error.
long readAvailable(std::FILE *stream, char *buffer, std::size_t size);

// What a name on the disk stands for.
enum class FileKind { Missing, Regular, Folder, NamedPipe, CharacterDevice, BlockDevice, Socket, Other };

// Where writing to a name lands: the name itself, or, when it is a symbolic
// link or a chain of them, the name the last link points to, whether that
// exists yet or not.
struct FileTarget {
    // The name itself when no link was followed; otherwise the last link's
    // target, its folder written out in full where that folder exists.
    std::string path;
    FileKind kind = FileKind::Missing;
    bool throughLink = false;
    // Set where the chain cannot be followed (a loop of links, a folder
    // that may not be searched, a NUL in the name); path and kind then say
    // nothing.
    std::error_code error;
};

// Follows the links of a name to what lies at its end. Only looks: nothing
// is opened, so a named pipe without a reader does not hold it up. A name
// that does not exist, or lies under one that does not, is Missing.
FileTarget followLinks(const std::string &name);

// Pushes what was written to the open file (a C runtime descriptor, as
// QFile::handle gives it) onto the disk. True where that worked, or where
// the file is of a kind that cannot be synced; false with errno set when
// the disk did not take it.
bool syncToDisk(int descriptor);

} // namespace platform
