// Text rules of the numeric field (NumEdit), without a widget: reading a
// text as a number, rounding, clamping, display and edit formats, the typing
// filter and the paste rule.
#pragma once

#include <QChar>
#include <QString>
#include <QStringView>
#include <optional>

namespace numfield {

// Separators of one field. A null thousands separator means "none"; when it
// equals the decimal separator it is ignored.
struct Separators {
    QChar decimal = QLatin1Char('.');
    QChar thousands = QLatin1Char(',');
    bool isDecimal(QChar c) const;   // the decimal separator, or '.'/',' unless thousands
    bool isThousands(QChar c) const;
};

// Reads a text as a number: thousands separators are dropped, '.' and ','
// (unless one is the thousands separator) and the decimal separator itself
// count as the decimal point; "" and "-" read as 0; otherwise optional sign,
// digits with at most one decimal point (at least one digit) and an optional
// exponent (e or E, optional sign, digits). Anything else gives nullopt.
// A magnitude beyond the double range reads as +-infinity, a tiny one as 0;
// the result is never NaN.
std::optional<double> readNumber(QStringView text, const Separators &seps);

// Rounds to the given decimals, halves away from zero:
// trunc(x * 10^places + sign(x) * 0.50000001) / 10^places, in extended
// precision (rating::roundToPlaces, which the engines share).
double roundToPlaces(double x, int places);

// Holds x to [minValue, maxValue]; NaN gives minValue; -0 becomes 0.
double clampToLimits(double x, double minValue, double maxValue);

struct CommitRules {
    double minValue = 0;
    double maxValue = 0;
    int decimalPlaces = 2;
    bool round = false;
};

// The value a number commits to: rounded when rules.round, then clamped.
// Always finite and within the limits.
double commitNumber(double x, const CommitRules &rules);
// The same for a text; nullopt when the text does not read as a number.
std::optional<double> commitText(QStringView text, const Separators &seps, const CommitRules &rules);

// Display patterns of the form [,]0[.0…#…]: "," groups the integer digits by
// thousands, each "0" after the point is a decimal always shown, each "#" an
// optional one (trailing zeros and a bare point are dropped).
struct FormatPattern {
    bool grouping = false;
    int minDecimals = 0;
    int maxDecimals = 0;
    static FormatPattern parse(QStringView pattern);
};

// Formats x with the pattern; the digits are those of the shortest decimal
// that reads back as x, rounded half away from zero. No "-0".
QString formatNumber(double x, const FormatPattern &pattern, const Separators &seps);

// The text of a value while the field has the focus: "0.##" (as many '#' as
// decimal places); empty for exactly 0 when zeroEmpty.
QString editText(double value, int decimalPlaces, bool zeroEmpty, const Separators &seps);

// A typed '.' or ',' becomes the decimal separator unless it is the
// thousands separator; any other character stays.
QString mapTyped(QStringView typed, const Separators &seps);

// The text with [selStart, selStart+selLength) replaced by insert.
QString replaceRange(QStringView text, int selStart, int selLength, QStringView insert);

// Whether a typed key may turn the text into candidate: it must read as a
// number, have at most decimalPlaces characters after the decimal separator
// and, in a field that takes no negative values (min >= 0 and max > 0), not
// be negative.
bool acceptsTyped(QStringView candidate, const Separators &seps, int decimalPlaces,
                  double minValue, double maxValue);

// What a paste makes of the field's text: the clip, without the white space
// around it, replaces [selStart, selStart+selLength) (or goes in at the
// cursor, selLength 0), and the result is cut to maxLength characters. The
// cursor goes after the pasted text, at most to the end.
struct Paste {
    QString text;
    int cursor = 0;
};
Paste pasteInto(QStringView text, int selStart, int selLength, QStringView clip, int maxLength);

} // namespace numfield
