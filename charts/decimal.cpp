#include "charts/decimal.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace charts {

namespace {

using i128 = __int128;

constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                             1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// 10^k as a 128-bit integer for 0 <= k <= 38.
i128 pow10i(int k)
{
    i128 r = 1;
    for (int i = 0; i < k; ++i) r *= 10;
    return r;
}

// m * 10^k, or false when it does not fit.
bool scaleUp(i128 m, int k, i128 &out)
{
    if (k < 0 || k > 38) return m == 0 ? (out = 0, true) : false;
    return !__builtin_mul_overflow(m, pow10i(k), &out);
}

int digits(i128 m)
{
    if (m < 0) m = -m;
    int d = 1;
    while (m >= 10) {
        m /= 10;
        ++d;
    }
    return d;
}

std::int64_t saturate(i128 v)
{
    if (v > std::numeric_limits<std::int64_t>::max()) return std::numeric_limits<std::int64_t>::max();
    if (v < std::numeric_limits<std::int64_t>::min()) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(v);
}

std::string digitsText(i128 m)
{
    if (m == 0) return "0";
    std::string s;
    const bool negative = m < 0;
    // Work on the negative side so that the smallest value cannot overflow.
    if (!negative) m = -m;
    while (m != 0) {
        s.insert(s.begin(), static_cast<char>('0' - static_cast<int>(m % 10)));
        m /= 10;
    }
    return negative ? "-" + s : s;
}

} // namespace

void Decimal::normalize()
{
    if (m_ == 0) {
        e_ = 0;
        return;
    }
    while (m_ % 10 == 0) {
        m_ /= 10;
        ++e_;
    }
}

Decimal Decimal::fromDouble(double x)
{
    if (!std::isfinite(x) || x == 0) return Decimal();
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific);
    // d[.ddd]e±XX
    Decimal r;
    bool negative = false;
    int fraction = 0;
    bool afterPoint = false;
    const char *p = buf;
    for (; p != res.ptr && *p != 'e'; ++p) {
        if (*p == '-') negative = true;
        else if (*p == '.') afterPoint = true;
        else {
            r.m_ = r.m_ * 10 + (*p - '0');
            if (afterPoint) ++fraction;
        }
    }
    int exponent = 0;
    if (p != res.ptr) std::from_chars(p + 1 + (p[1] == '+'), res.ptr, exponent);
    r.e_ = exponent - fraction;
    if (negative) r.m_ = -r.m_;
    r.normalize();
    return r;
}

double Decimal::toDouble() const
{
    if (m_ == 0) return 0.0;
    constexpr i128 exactLimit = i128(1) << 53;
    if (m_ < exactLimit && m_ > -exactLimit) {
        // Both factors are exact doubles, so one multiplication or division
        // rounds correctly.
        const double m = static_cast<double>(static_cast<std::int64_t>(m_));
        if (e_ == 0) return m;
        if (e_ < 0 && e_ >= -22) return m / kPow10[-e_];
        if (e_ > 0 && e_ <= 22) return m * kPow10[e_];
    }
    const std::string s = digitsText(m_) + "e" + std::to_string(e_);
    return std::strtod(s.c_str(), nullptr);
}

Decimal Decimal::operator-() const
{
    Decimal r = *this;
    r.m_ = -r.m_;
    return r;
}

Decimal operator+(const Decimal &a, const Decimal &b)
{
    if (a.m_ == 0) return b;
    if (b.m_ == 0) return a;
    const Decimal &hi = a.e_ >= b.e_ ? a : b; // the larger exponent
    const Decimal &lo = a.e_ >= b.e_ ? b : a;
    Decimal r;
    i128 scaled;
    if (scaleUp(hi.m_, hi.e_ - lo.e_, scaled) && !__builtin_add_overflow(scaled, lo.m_, &r.m_)) {
        r.e_ = lo.e_;
    } else {
        // Magnitudes some 30 decades apart: the smaller one is lost. Inputs
        // held to the fields' limits never come near this.
        return Decimal::compare(hi.m_ < 0 ? -hi : hi, lo.m_ < 0 ? -lo : lo) >= 0 ? hi : lo;
    }
    r.normalize();
    return r;
}

Decimal operator*(const Decimal &a, const Decimal &b)
{
    Decimal r;
    if (__builtin_mul_overflow(a.m_, b.m_, &r.m_)) {
        return Decimal::fromDouble(static_cast<double>(static_cast<long double>(a.toDouble()) * b.toDouble()));
    }
    r.e_ = a.e_ + b.e_;
    r.normalize();
    return r;
}

Decimal Decimal::dividedByStep(const Decimal &step) const
{
    Decimal s = step;
    s.normalize();
    Decimal r = *this;
    switch (static_cast<int>(s.m_)) {
    case 1: r.e_ -= s.e_; break;
    case 2: r.m_ *= 5; r.e_ -= s.e_ + 1; break;  // x / 2 = x * 5 / 10
    case 5: r.m_ *= 2; r.e_ -= s.e_ + 1; break;  // x / 5 = x * 2 / 10
    default:
        return fromDouble(static_cast<double>(static_cast<long double>(toDouble()) / s.toDouble()));
    }
    r.normalize();
    return r;
}

void Decimal::split(i128 &quotient, i128 &remainder, i128 &divisor) const
{
    // Only for e_ < 0.
    if (-e_ > 38) {
        quotient = 0;
        remainder = m_;
        divisor = 0; // "infinitely" large: the value is below one half
        return;
    }
    divisor = pow10i(-e_);
    quotient = m_ / divisor;
    remainder = m_ % divisor;
}

std::int64_t Decimal::trunc() const
{
    if (e_ >= 0) {
        i128 v;
        if (!scaleUp(m_, e_, v)) return m_ > 0 ? std::numeric_limits<std::int64_t>::max() : std::numeric_limits<std::int64_t>::min();
        return saturate(v);
    }
    i128 q, r, d;
    split(q, r, d);
    return saturate(q);
}

std::int64_t Decimal::roundHalfEven() const
{
    if (e_ >= 0) return trunc();
    i128 q, r, d;
    split(q, r, d);
    if (d == 0 || r == 0) return saturate(q);
    // Compare 2|r| with the divisor.
    const i128 twice = (r < 0 ? -r : r) * 2;
    const int dir = r < 0 ? -1 : 1;
    if (twice > d || (twice == d && (q % 2 != 0))) q += dir;
    return saturate(q);
}

int Decimal::compare(const Decimal &a, const Decimal &b)
{
    const int sa = a.sign(), sb = b.sign();
    if (sa != sb) return sa < sb ? -1 : 1;
    if (sa == 0) return 0;
    // Same sign: compare magnitudes, then flip for negatives.
    const int ma = digits(a.m_) + a.e_, mb = digits(b.m_) + b.e_;
    int c;
    if (ma != mb) {
        c = ma < mb ? -1 : 1;
    } else {
        i128 x = a.m_ < 0 ? -a.m_ : a.m_, y = b.m_ < 0 ? -b.m_ : b.m_;
        bool ok = true;
        if (a.e_ > b.e_) ok = scaleUp(x, a.e_ - b.e_, x);
        else if (b.e_ > a.e_) ok = scaleUp(y, b.e_ - a.e_, y);
        if (ok) c = x < y ? -1 : x > y ? 1 : 0;
        else c = std::fabs(a.toDouble()) < std::fabs(b.toDouble()) ? -1 : 1;
    }
    return sa > 0 ? c : -c;
}

std::string Decimal::text() const
{
    std::string s = digitsText(m_ < 0 ? -m_ : m_);
    if (e_ >= 0) {
        if (m_ != 0) s.append(static_cast<std::size_t>(e_), '0');
    } else {
        const std::size_t f = static_cast<std::size_t>(-e_);
        if (s.size() <= f) s.insert(0, f - s.size() + 1, '0');
        s.insert(s.size() - f, ".");
    }
    return m_ < 0 ? "-" + s : s;
}

Step LeptekStep(const Decimal &span, const Decimal &n)
{
    static constexpr int kDigits[3] = {1, 2, 5};
    const Decimal least(1, -3);
    const Decimal s = span <= least ? least : span;
    // 0.001 ... 500; the step after 500 is 1000, the first that is 666 or
    // more, where the search ends.
    for (int k = 0; k < 18; ++k) {
        const Step step{kDigits[k % 3], k / 3 - 3};
        // span / step <= n, with step > 0.
        if (s <= n * step.decimal()) return step;
    }
    return Step{1, 3};
}

double Leptek(double span, double n)
{
    return LeptekStep(Decimal::fromDouble(span), Decimal::fromDouble(n)).value();
}

std::string FixedWidth(double x, int width, int decimals)
{
    const int len = std::snprintf(nullptr, 0, "%*.*f", width, decimals, x);
    if (len <= 0) return {};
    std::string s(static_cast<std::size_t>(len) + 1, '\0');
    std::snprintf(s.data(), s.size(), "%*.*f", width, decimals, x);
    s.resize(static_cast<std::size_t>(len));
    // A small negative value that rounds to zero is written without a sign.
    const auto minus = s.find('-');
    if (minus != std::string::npos && s.find_first_of("123456789") == std::string::npos) {
        s.erase(minus, 1);
        if (static_cast<int>(s.size()) < width) s.insert(0, 1, ' ');
    }
    return s;
}

std::string IntWidth(long long x, int width)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%*lld", width, x);
    return buf;
}

} // namespace charts
