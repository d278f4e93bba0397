// Text rules of the numeric field: reading, rounding, clamping, formatting,
// the typing filter and the paste rule. Plain functions over Qt's string
// types, without a widget, so they are tested and fuzzed on their own.
#include "widgets/numtext.h"

#include "rating/fields.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <system_error>

namespace numfield {

bool Separators::isThousands(QChar c) const
{
    return !thousands.isNull() && thousands != decimal && c == thousands;
}

bool Separators::isDecimal(QChar c) const
{
    if (isThousands(c))
        return false;
    return c == decimal || c == QLatin1Char('.') || c == QLatin1Char(',');
}

namespace {

// Scans canonical ASCII text (sign, digits, '.', exponent) and tells where a
// too-large or too-small magnitude lies: the decimal exponent of its leading
// digit, saturated. Only called when the conversion reports out of range.
bool magnitudeIsLarge(const std::string &s)
{
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '-' || s[i] == '+'))
        ++i;
    std::int64_t intDigits = 0;
    std::int64_t lead = 0;   // decimal exponent of the first nonzero digit
    bool found = false;
    bool inFraction = false;
    std::int64_t fracIndex = 0;
    for (; i < s.size() && s[i] != 'e' && s[i] != 'E'; ++i) {
        const char c = s[i];
        if (c == '.') {
            inFraction = true;
            continue;
        }
        if (!inFraction) {
            if (found || c != '0') {
                if (!found) {
                    found = true;
                    intDigits = 0;
                }
                ++intDigits;
            }
        } else {
            ++fracIndex;
            if (!found && c != '0') {
                found = true;
                lead = -fracIndex;
            }
        }
    }
    if (!found)
        return false;
    if (intDigits > 0)
        lead = intDigits - 1;
    std::int64_t exp = 0;
    bool negExp = false;
    if (i < s.size()) {
        ++i;
        if (i < s.size() && (s[i] == '-' || s[i] == '+'))
            negExp = s[i++] == '-';
        for (; i < s.size(); ++i) {
            if (exp < 1000000000)
                exp = exp * 10 + (s[i] - '0');
        }
    }
    if (negExp)
        exp = -exp;
    return lead + exp > 0;
}

} // namespace

std::optional<double> readNumber(QStringView text, const Separators &seps)
{
    std::string s;
    s.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar c : text) {
        if (seps.isThousands(c))
            continue;
        if (seps.isDecimal(c))
            s.push_back('.');
        else if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            s.push_back(static_cast<char>(c.unicode()));
        else if (c == QLatin1Char('+') || c == QLatin1Char('-') || c == QLatin1Char('e') || c == QLatin1Char('E'))
            s.push_back(static_cast<char>(c.unicode()));
        else
            return std::nullopt;
    }
    if (s.empty() || s == "-")
        return 0.0;

    // Grammar: [+-] digits* [. digits*] [(e|E) [+-] digits+], >= 1 mantissa digit.
    std::size_t i = 0;
    if (s[i] == '+' || s[i] == '-')
        ++i;
    std::size_t mantissaDigits = 0;
    bool point = false;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        if (c >= '0' && c <= '9')
            ++mantissaDigits;
        else if (c == '.' && !point)
            point = true;
        else
            break;
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (i < s.size()) {
        if (s[i] != 'e' && s[i] != 'E')
            return std::nullopt;
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            ++i;
        std::size_t expDigits = 0;
        for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i)
            ++expDigits;
        if (expDigits == 0 || i != s.size())
            return std::nullopt;
    }

    const char *first = s.data();
    const char *last = s.data() + s.size();
    const bool negative = *first == '-';
    if (*first == '+')
        ++first;
    double value = 0;
    const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        value = magnitudeIsLarge(s) ? HUGE_VAL : 0.0;
        if (negative)
            value = -value;
    } else if (ec != std::errc() || ptr != last) {
        return std::nullopt;
    }
    if (std::isnan(value))
        return std::nullopt;
    return value;
}

double roundToPlaces(double x, int places)
{
    return rating::roundToPlaces(x, places);
}

double clampToLimits(double x, double minValue, double maxValue)
{
    if (std::isnan(x) || x < minValue)
        x = minValue;
    else if (x > maxValue)
        x = maxValue;
    return x == 0 ? 0.0 : x;
}

double commitNumber(double x, const CommitRules &rules)
{
    if (rules.round)
        x = roundToPlaces(x, rules.decimalPlaces);
    return clampToLimits(x, rules.minValue, rules.maxValue);
}

std::optional<double> commitText(QStringView text, const Separators &seps, const CommitRules &rules)
{
    const std::optional<double> x = readNumber(text, seps);
    if (!x)
        return std::nullopt;
    return commitNumber(*x, rules);
}

FormatPattern FormatPattern::parse(QStringView pattern)
{
    FormatPattern p;
    bool afterPoint = false;
    for (const QChar c : pattern) {
        if (c == QLatin1Char('.')) {
            afterPoint = true;
        } else if (!afterPoint) {
            if (c == QLatin1Char(','))
                p.grouping = true;
        } else if (c == QLatin1Char('0')) {
            ++p.minDecimals;
            ++p.maxDecimals;
        } else if (c == QLatin1Char('#')) {
            ++p.maxDecimals;
        }
    }
    p.maxDecimals = qMin(p.maxDecimals, 30);
    p.minDecimals = qMin(p.minDecimals, p.maxDecimals);
    return p;
}

QString formatNumber(double x, const FormatPattern &pattern, const Separators &seps)
{
    if (std::isnan(x))
        return QStringLiteral("NAN");
    if (std::isinf(x))
        return x > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");

    // Shortest round-trip digits and the exponent of the first one.
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific);
    const std::string sci(buf, res.ptr);
    const std::size_t e = sci.find('e');
    std::string digits;
    for (std::size_t i = 0; i < e; ++i)
        if (sci[i] != '.')
            digits.push_back(sci[i]);
    const int exp10 = std::stoi(sci.substr(e + 1));
    const int pointPos = exp10 + 1;   // digits before the decimal point

    std::string intPart;
    std::string fracPart;
    if (pointPos <= 0) {
        intPart = "0";
        fracPart = std::string(static_cast<std::size_t>(-pointPos), '0') + digits;
    } else if (static_cast<std::size_t>(pointPos) >= digits.size()) {
        intPart = digits + std::string(static_cast<std::size_t>(pointPos) - digits.size(), '0');
    } else {
        intPart = digits.substr(0, static_cast<std::size_t>(pointPos));
        fracPart = digits.substr(static_cast<std::size_t>(pointPos));
    }

    const std::size_t maxDec = static_cast<std::size_t>(pattern.maxDecimals);
    if (fracPart.size() > maxDec) {
        const bool up = fracPart[maxDec] >= '5';
        fracPart.resize(maxDec);
        if (up) {
            std::string all = intPart + fracPart;
            int i = static_cast<int>(all.size()) - 1;
            while (i >= 0 && all[static_cast<std::size_t>(i)] == '9')
                all[static_cast<std::size_t>(i--)] = '0';
            if (i < 0)
                all.insert(all.begin(), '1');
            else
                ++all[static_cast<std::size_t>(i)];
            intPart = all.substr(0, all.size() - maxDec);
            fracPart = all.substr(all.size() - maxDec);
        }
    }
    while (fracPart.size() > static_cast<std::size_t>(pattern.minDecimals) && fracPart.back() == '0')
        fracPart.pop_back();
    if (fracPart.size() < static_cast<std::size_t>(pattern.minDecimals))
        fracPart.append(static_cast<std::size_t>(pattern.minDecimals) - fracPart.size(), '0');
    const std::size_t nz = intPart.find_first_not_of('0');
    intPart = nz == std::string::npos ? std::string("0") : intPart.substr(nz);

    const bool allZero = intPart == "0" && fracPart.find_first_not_of('0') == std::string::npos;
    QString out;
    if (x < 0 && !allZero)
        out += QLatin1Char('-');
    const bool group = pattern.grouping && !seps.thousands.isNull() && seps.thousands != seps.decimal;
    for (std::size_t i = 0; i < intPart.size(); ++i) {
        if (group && i > 0 && (intPart.size() - i) % 3 == 0)
            out += seps.thousands;
        out += QLatin1Char(intPart[i]);
    }
    if (!fracPart.empty()) {
        out += seps.decimal;
        out += QString::fromLatin1(fracPart.data(), static_cast<qsizetype>(fracPart.size()));
    }
    return out;
}

QString editText(double value, int decimalPlaces, bool zeroEmpty, const Separators &seps)
{
    if (zeroEmpty && value == 0)
        return QString();
    FormatPattern p;
    p.maxDecimals = qBound(0, decimalPlaces, 30);
    return formatNumber(value, p, seps);
}

QString mapTyped(QStringView typed, const Separators &seps)
{
    QString out;
    out.reserve(typed.size());
    for (const QChar c : typed) {
        if ((c == QLatin1Char('.') || c == QLatin1Char(',')) && !seps.isThousands(c))
            out += seps.decimal;
        else
            out += c;
    }
    return out;
}

QString replaceRange(QStringView text, int selStart, int selLength, QStringView insert)
{
    const qsizetype n = text.size();
    const qsizetype start = qBound<qsizetype>(0, qsizetype(selStart), n);
    const qsizetype end = qBound<qsizetype>(start, qsizetype(selStart) + qMax(0, selLength), n);
    QString out;
    out.reserve(n - (end - start) + insert.size());
    out += text.left(start);
    out += insert;
    out += text.mid(end);
    return out;
}

bool acceptsTyped(QStringView candidate, const Separators &seps, int decimalPlaces,
                  double minValue, double maxValue)
{
    const std::optional<double> x = readNumber(candidate, seps);
    if (!x)
        return false;
    for (qsizetype i = 0; i < candidate.size(); ++i) {
        if (seps.isDecimal(candidate[i])) {
            if (candidate.size() - i - 1 > decimalPlaces)
                return false;
            break;
        }
    }
    if (minValue >= 0 && maxValue > 0 && *x < 0)
        return false;
    return true;
}

Paste pasteInto(QStringView text, int selStart, int selLength, QStringView clip, int maxLength)
{
    const QStringView pasted = clip.trimmed();
    const qsizetype start = qBound<qsizetype>(0, qsizetype(selStart), text.size());
    Paste p;
    p.text = replaceRange(text, selStart, selLength, pasted).left(maxLength);
    p.cursor = int(qMin<qsizetype>(start + pasted.size(), p.text.size()));
    return p;
}

} // namespace numfield
