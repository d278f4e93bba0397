#include "rating/model.h"

#include <cmath>
#include <cstdio>

namespace rating {

// printf rounds an exact tie to the even digit; result texts round it away
// from zero. A value is an exact tie at d decimals exactly when x * 2^(d+1)
// is an odd integer (x * 10^d = odd / 2). Such a value is moved one unit in
// the last place away from zero, which settles the tie and nothing else.
std::string FixedText(long double x, int decimals, const std::string &sep)
{
    if (std::isnan(x)) return "NAN";
    if (std::isinf(x)) return x > 0 ? "INF" : "-INF";
    if (x == 0) x = 0; // no sign on a negative zero
    const long double y = ldexpl(x, decimals + 1);
    if (y == truncl(y) && fmodl(fabsl(y), 2.0L) == 1.0L)
        x = nextafterl(x, x > 0 ? HUGE_VALL : -HUGE_VALL);

    char buf[64];
    int n = std::snprintf(buf, sizeof buf, "%.*Lf", decimals, x);
    std::string out;
    if (n < 0) return out;
    if (n >= static_cast<int>(sizeof buf)) {
        out.resize(static_cast<std::size_t>(n) + 1);
        std::snprintf(out.data(), out.size(), "%.*Lf", decimals, x);
        out.resize(static_cast<std::size_t>(n));
    } else {
        out.assign(buf, static_cast<std::size_t>(n));
    }
    if (sep != ".") {
        const auto dot = out.find('.');
        if (dot != std::string::npos) out.replace(dot, 1, sep);
    }
    return out;
}

} // namespace rating
