// The one sentence that says why a selection lists nothing, in an interface
// language, with numbers as the main window writes them. Plain C++, no Qt.
#pragma once

#include "selection/select.h"

#include <string>

namespace selection {

// nyelv is the position in the language list (0 Magyar, 1 English, 2 RUS,
// 3 Slovensko, 4 Deutsch, 5 Romană, 6 Italiano); sep the decimal
// separator. Empty for a shortfall of kind None.
std::string explain(const Request &r, const Shortfall &why, int nyelv = 1, const std::string &sep = ".");

// The same with the two sides named as given (the command line names them
// as its options do) instead of by the main window's column headings.
struct SideNames {
    std::string jacket, coil;
};
std::string explain(const Request &r, const Shortfall &why, int nyelv, const std::string &sep, const SideNames &sides);

} // namespace selection
