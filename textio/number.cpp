#include "textio/number.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace textio {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The decimal exponent of the leading digit of a well-formed decimal number
// that is not zero (from_chars has taken it): 2 for "123.4", -3 for
// "0.00123", 309 for "1e309". Large exponents saturate; the sign of the
// result is all that matters to the caller.
long long leadingExponent(std::string_view t)
{
    std::size_t i = 0;
    if (i < t.size() && (t[i] == '-' || t[i] == '+')) ++i;
    long long lead = 0;
    bool found = false;
    long long intDigits = 0;
    for (; i < t.size() && isDigit(t[i]); ++i)
        if (found || t[i] != '0') {
            found = true;
            ++intDigits;
        }
    if (found) lead = intDigits - 1;
    if (i < t.size() && t[i] == '.') {
        ++i;
        long long zeros = 0;
        for (; i < t.size() && isDigit(t[i]); ++i) {
            if (!found && t[i] == '0') ++zeros;
            else if (!found) {
                found = true;
                lead = -(zeros + 1);
            }
        }
    }
    long long exponent = 0;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        bool negative = false;
        if (i < t.size() && (t[i] == '-' || t[i] == '+')) negative = t[i++] == '-';
        for (; i < t.size() && isDigit(t[i]); ++i)
            if (exponent < (1LL << 40)) exponent = exponent * 10 + (t[i] - '0');
        if (negative) exponent = -exponent;
    }
    return lead + exponent;
}

} // namespace

std::string_view trimmed(std::string_view text)
{
    std::size_t a = 0, b = text.size();
    while (a < b && isBlank(text[a])) ++a;
    while (b > a && isBlank(text[b - 1])) --b;
    return text.substr(a, b - a);
}

NumberRead readDecimal(std::string_view text)
{
    using K = NumberRead::Kind;
    text = trimmed(text);
    // One plus sign, as the main window's fields take it; from_chars takes
    // none, and no blanks and no hexadecimal in this format. It does take
    // "nan" and "inf", which are no numbers here.
    if (!text.empty() && text[0] == '+') {
        text.remove_prefix(1);
        if (!text.empty() && (text[0] == '+' || text[0] == '-')) return {};
    }
    if (text.empty()) return {};
    const char *end = text.data() + text.size();
    double x = 0;
    const auto res = std::from_chars(text.data(), end, x, std::chars_format::general);
    if (res.ptr != end) return {};
    if (res.ec == std::errc::result_out_of_range) {
        const double sign = text[0] == '-' ? -1.0 : 1.0;
        if (leadingExponent(text) >= 0) return {K::TooLarge, sign * HUGE_VAL};
        return {K::TooSmall, sign * 0.0};
    }
    if (res.ec != std::errc() || !std::isfinite(x)) return {};
    return {K::Number, x};
}

std::optional<double> parseNumber(std::string_view text)
{
    const NumberRead r = readDecimal(text);
    if (r.kind != NumberRead::Kind::Number) return std::nullopt;
    return r.value;
}

std::string numberText(double x)
{
    char text[maxNumberChars];
    return std::string(text, numberChars(text, x));
}

std::string quoted(std::string_view text)
{
    std::string out = "'";
    std::size_t n = 0;
    for (unsigned char c : text) {
        if ((c & 0xC0) != 0x80 && ++n > 40) { // count characters, not UTF-8 bytes
            out += "...";
            break;
        }
        if (c < 0x20 || c == 0x7f) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else {
            out.push_back(static_cast<char>(c));
        }
    }
    return out + "'";
}

} // namespace textio
