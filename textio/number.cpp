#include "textio/number.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace textio {

std::string_view trimmed(std::string_view text)
{
    std::size_t a = 0, b = text.size();
    while (a < b && (text[a] == ' ' || text[a] == '\t')) ++a;
    while (b > a && (text[b - 1] == ' ' || text[b - 1] == '\t')) --b;
    return text.substr(a, b - a);
}

std::optional<double> parseNumber(std::string_view text)
{
    text = trimmed(text);
    if (text.empty()) return std::nullopt;
    // from_chars takes no '+', no blanks and no hexadecimal in this format;
    // it does take "nan" and "inf", which are no numbers here.
    double x = 0;
    const auto res = std::from_chars(text.data(), text.data() + text.size(), x, std::chars_format::general);
    if (res.ec != std::errc() || res.ptr != text.data() + text.size() || !std::isfinite(x)) return std::nullopt;
    return x;
}

std::string numberText(double x)
{
    char text[32];
    const auto res = std::to_chars(text, text + sizeof text, x);
    return std::string(text, res.ptr);
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
