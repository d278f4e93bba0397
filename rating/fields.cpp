#include "rating/fields.h"

#include <algorithm>
#include <cmath>

namespace rating {

double roundToPlaces(double x, int places)
{
    if (!std::isfinite(x)) return x;
    places = std::clamp(places, 0, 15);
    long double scale = 1.0L;
    for (int i = 0; i < places; ++i) scale *= 10.0L;
    const long double s = x > 0 ? 1.0L : (x < 0 ? -1.0L : 0.0L);
    const long double r = std::trunc(static_cast<long double>(x) * scale + s * 0.50000001L) / scale;
    return static_cast<double>(r);
}

} // namespace rating
