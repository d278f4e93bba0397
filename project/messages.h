// The one sentence that says why a project file is not opened (or a project
// not saved), in an interface language. Plain C++, no Qt: ventrano-rate
// prints the English one, the windows show theirs.
#pragma once

#include "project/project.h"

#include <string>

namespace project {

// nyelv is the position in the language list (0 Magyar, 1 English, 2 RUS,
// 3 Slovensko, 4 Deutsch, 5 Romană, 6 Italiano; English for any other);
// sep the decimal separator of the numbers the sentence states. The
// sentence names the file as error.fileName has it (a window may put the
// bare name there), the case by its number from 1 and its name, and the key.
std::string sentence(const Error &error, int nyelv = 1, const std::string &sep = ".");

} // namespace project
