// Exact decimal numbers for the chart axes.
//
// Axis steps are 1, 2 or 5 times a power of ten, and the sweep values, the
// rounded range ends and the grid values are whole multiples of a step. In
// binary floating point 0.1 is not 0.1, so a range end computed as
// 0.3 / 0.05 - 1 falls just below 5 and truncates to 4, and a sweep built by
// adding 0.2 again and again drifts one ulp away from the other side's inlet
// temperature. Here every such value is an exact decimal m * 10^e and is
// turned into a double once, correctly rounded, when the rating needs it.
//
// A double enters as the shortest decimal that reads back as the same
// double: the number the user typed (0.6, not 0.59999999999999997780).
//
// Plain C++, no Qt.
#pragma once

#include <cstdint>
#include <string>

namespace charts {

class Decimal {
public:
    constexpr Decimal() = default;
    // m * 10^e.
    constexpr Decimal(std::int64_t m, int e = 0) : m_(m), e_(e) {}

    // The shortest decimal that reads back as x (0 for NaN and infinity,
    // which the charts never see).
    static Decimal fromDouble(double x);

    // Correctly rounded to the nearest double.
    double toDouble() const;

    bool isZero() const { return m_ == 0; }
    int sign() const { return m_ > 0 ? 1 : m_ < 0 ? -1 : 0; }

    Decimal operator-() const;
    friend Decimal operator+(const Decimal &a, const Decimal &b);
    friend Decimal operator-(const Decimal &a, const Decimal &b) { return a + (-b); }
    friend Decimal operator*(const Decimal &a, const Decimal &b);
    friend bool operator==(const Decimal &a, const Decimal &b) { return compare(a, b) == 0; }
    friend bool operator!=(const Decimal &a, const Decimal &b) { return compare(a, b) != 0; }
    friend bool operator<(const Decimal &a, const Decimal &b) { return compare(a, b) < 0; }
    friend bool operator<=(const Decimal &a, const Decimal &b) { return compare(a, b) <= 0; }
    friend bool operator>(const Decimal &a, const Decimal &b) { return compare(a, b) > 0; }
    friend bool operator>=(const Decimal &a, const Decimal &b) { return compare(a, b) >= 0; }

    // a / b when b is 1, 2 or 5 times a power of ten (an axis step): the
    // quotient of such a division is always an exact decimal.
    Decimal dividedByStep(const Decimal &step) const;

    // Nearest integer, halves to the even one (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
    std::int64_t roundHalfEven() const;
    // Toward zero (2.9 -> 2, -2.9 -> -2).
    std::int64_t trunc() const;

    // Plain decimal text, for messages and tests ("0.25", "-1.5", "150").
    std::string text() const;

private:
    static int compare(const Decimal &a, const Decimal &b);
    // Integer part and remainder of m * 10^e for e < 0.
    void split(__int128 &quotient, __int128 &remainder, __int128 &divisor) const;
    void normalize();

    __int128 m_ = 0;
    int e_ = 0;
};

// An axis step: digit 1, 2 or 5 times 10^exponent, from 0.001 to 1000.
struct Step {
    int digit = 1;
    int exponent = 0;
    Decimal decimal() const { return Decimal(digit, exponent); }
    double value() const { return decimal().toDouble(); }
    // The step is at least 1, 0.1 or 0.01 exactly when its exponent is at
    // least 0, -1 or -2.
    friend bool operator==(const Step &a, const Step &b) { return a.digit == b.digit && a.exponent == b.exponent; }
};

// The axis step for a span divided into at most n intervals: the first of
// 0.001, 0.002, 0.005, 0.01, ..., 500, 1000 with span / step <= n. A span at
// or below 0.001 counts as 0.001; the search ends at 1000 whatever the span
// (also for n <= 0). The comparison is exact for the decimals involved:
// Leptek(25, 25) is 1.
Step LeptekStep(const Decimal &span, const Decimal &n);
double Leptek(double span, double n);

// Fixed-point text of x as width:decimals: rounded to that many decimals
// (halves to the even digit, from the exact binary value), a point as the
// separator, right-justified in a field of that many characters and
// widened when the number needs more room. A negative value that rounds to
// zero shows no sign.
std::string FixedWidth(double x, int width, int decimals);
// An integer right-justified in a field of that many characters.
std::string IntWidth(long long x, int width);

} // namespace charts
