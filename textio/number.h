// Numbers as the command line reads and writes them: a point as the decimal
// separator whatever the locale, nothing but the number in the field (blanks
// around it aside), no "nan", "inf" or hexadecimal; out, the shortest text
// that reads back as the same double.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace textio {

// The finite double the text holds, or nothing.
std::optional<double> parseNumber(std::string_view text);

// The text without blanks (spaces, tabs) at either end.
std::string_view trimmed(std::string_view text);

// The shortest text that reads back as x.
std::string numberText(double x);

// A value for a one-line message: control characters as \xHH, cut after 40
// characters.
std::string quoted(std::string_view text);

} // namespace textio
