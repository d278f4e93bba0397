// The few things that depend on the operating system or its C library
// rather than on Qt: the allocator, the display check before the toolkit
// starts, the process's resident memory and where the system keeps the
// program's fonts. Plain C++, no Qt: a port to another system changes
// system.cpp and nothing else.
#pragma once

#include <cstddef>
#include <string>

namespace platform {

// Allocations of at least `bytes` get pages of their own, which go back to
// the system as soon as they are freed, and the allocator keeps that
// threshold instead of raising it after the first large free. Returns false
// where the allocator cannot be told so (the call then changes nothing).
bool setLargeAllocationThreshold(std::size_t bytes);

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

} // namespace platform
