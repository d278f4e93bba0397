// Numbers as the command line, the chart export and the project files read
// and write them: a point as the decimal separator whatever the locale,
// nothing but the number in the field (blanks around it and one leading plus
// sign aside), no "nan", "inf" or hexadecimal; out, the shortest text that
// reads back as the same double ("-0" for negative zero).
#pragma once

#include <charconv>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace textio {

// What a text holds as a number.
struct NumberRead {
    enum class Kind {
        Number,    // a finite double, in value
        NoNumber,  // no decimal number (empty, a word, "nan", "inf", hexadecimal, ...)
        TooLarge,  // a decimal number beyond the largest double (1e309)
        TooSmall,  // a decimal number too near 0 for any double but 0 (1e-400)
    };
    Kind kind = Kind::NoNumber;
    // Number: the double. TooLarge: an infinity, TooSmall: a zero, each of
    // the number's sign.
    double value = 0;
};
NumberRead readDecimal(std::string_view text);

// The finite double the text holds, or nothing.
std::optional<double> parseNumber(std::string_view text);

// The text without blanks (spaces, tabs) at either end.
std::string_view trimmed(std::string_view text);
// Whether c is a blank as trimmed() takes it.
inline bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The longest text numberChars writes ("-2.2250738585072014e-308"; "-nan"
// and "-inf" are shorter).
inline constexpr std::size_t maxNumberChars = 24;
// Writes the shortest text that reads back as x at `first`, which has room
// for maxNumberChars characters; returns the end of what it wrote.
inline char *numberChars(char *first, double x) { return std::to_chars(first, first + maxNumberChars, x).ptr; }
// The same as a string, and appended to one.
std::string numberText(double x);
inline void appendNumber(std::string &out, double x)
{
    char text[maxNumberChars];
    out.append(text, numberChars(text, x));
}

// A value for a one-line message: control characters as \xHH, cut after 40
// characters.
std::string quoted(std::string_view text);

} // namespace textio
