// The inputs of a case as text (a CSV field or an option value), checked
// against the ranges of the main window's fields. Each reader returns an
// empty string and sets `out`, or returns why the text is no such value.
#pragma once

#include "rating/case.h"

#include <string>
#include <string_view>

namespace cli {

std::string readType(std::string_view text, int &out);     // a name of the type list
std::string readCount(std::string_view text, int &out);    // a whole number 1..150
std::string readFlow(std::string_view text, double &out);  // 0..150
std::string readUnit(std::string_view text, int &out);     // l/min (0) or m3/h (1)
std::string readInlet(std::string_view text, double &out); // -5..150 °C
// A number in [lo, hi] (hi may be infinite); lo itself only if closed.
std::string readNumber(std::string_view text, double lo, double hi, bool closed, double &out);

// Why the main window does not show results for a case that rate() did
// not rate, in one line.
std::string whyNotRated(rating::Model &state, const rating::Case &c, const rating::Rating &r);

} // namespace cli
