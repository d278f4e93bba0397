#include "rating/model.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace rating {

namespace {

// The exact decimal rounding of |x| * 10^d to an integer, half away from
// zero, for an x87 extended value. x = M * 2^E with a 64-bit integer M, so
// M * 10^d (d <= 3) fits in 128 bits and the shift's remainder decides the
// rounding without any error. Returns false when |x| is too large for it.
bool scaledRound(long double x, int d, unsigned __int128 &out)
{
    static_assert(LDBL_MANT_DIG == 64, "x87 extended long double expected");
    unsigned char raw[sizeof(long double)];
    std::memcpy(raw, &x, sizeof x);
    std::uint64_t mant;
    std::memcpy(&mant, raw, 8);
    const int biased = (raw[8] | (raw[9] << 8)) & 0x7fff;
    const int e = biased - 16383 - 63; // |x| = mant * 2^e
    if (mant == 0) {
        out = 0;
        return true;
    }
    if (e > 0) return false;
    static const unsigned pow10[] = {1, 10, 100, 1000};
    const unsigned __int128 scaled = static_cast<unsigned __int128>(mant) * pow10[d];
    const int shift = -e;
    if (shift >= 127) { // far below half a unit of the last decimal
        out = 0;
        return true;
    }
    const unsigned __int128 q = scaled >> shift;
    const unsigned __int128 r = scaled - (q << shift);
    const unsigned __int128 half = static_cast<unsigned __int128>(1) << (shift - 1);
    out = shift == 0 ? q : q + (r >= half ? 1 : 0);
    return true;
}

} // namespace

std::string FixedText(long double x, int decimals, const std::string &sep)
{
    if (std::isnan(x)) return "NAN";
    if (std::isinf(x)) return x > 0 ? "INF" : "-INF";
    const bool negative = std::signbit(x) && x != 0;

    unsigned __int128 n;
    if (decimals < 0 || decimals > 3 || !scaledRound(x, decimals, n)) {
        // Beyond 2^63: no fractional digits left, printf is exact there. The
        // text is as long as the number needs: some 310 digits for the
        // largest double, some 4940 for the largest extended value.
        const int d = decimals < 0 ? 0 : decimals;
        const int len = std::snprintf(nullptr, 0, "%.*Lf", d, x);
        if (len <= 0) return "NAN"; // printf cannot fail on a finite value
        std::string out(static_cast<std::size_t>(len), '\0');
        std::snprintf(out.data(), out.size() + 1, "%.*Lf", d, x);
        if (sep != ".") {
            const auto dot = out.find('.');
            if (dot != std::string::npos) out.replace(dot, 1, sep);
        }
        return out;
    }

    char digits[48];
    int len = 0;
    do {
        digits[len++] = static_cast<char>('0' + static_cast<int>(n % 10));
        n /= 10;
    } while (n != 0 || len <= decimals);

    std::string out;
    out.reserve(static_cast<std::size_t>(len) + sep.size() + 1);
    if (negative) out.push_back('-');
    for (int i = len - 1; i >= decimals; --i) out.push_back(digits[i]);
    if (decimals > 0) {
        out += sep;
        for (int i = decimals - 1; i >= 0; --i) out.push_back(digits[i]);
    }
    return out;
}

} // namespace rating
