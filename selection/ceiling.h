// A ceiling on the heat duty that a rating of an arrangement can show,
// cheap to evaluate (two exponentials) and never below the rating's duty,
// whatever the iteration's stop rule makes of it. The search uses it to
// leave out the arrangements that cannot matter; see ceiling.cpp for why it
// holds. Plain C++, no Qt.
#pragma once

#include "selection/select.h"

namespace selection::detail {

class DutyCeiling {
public:
    explicit DutyCeiling(const Request &r);

    // False where the request gives no ceiling (flows refused or not
    // finite, inlet temperatures outside the water range, heat-capacity
    // rates that may come too close to each other): bound() is then
    // infinite and every arrangement has to be rated.
    bool usable() const { return usable_; }

    // Chooses the type and parallel count that bound() is about.
    void arrange(int tipus, int parh);

    // An upper bound, W, on the duty Q of every completed rating of the
    // arranged type and parallel count with `soros` units in series.
    // Non-decreasing in soros.
    long double bound(int soros) const;

private:
    bool usable_ = false;
    long double dT_ = 0;          // |tkb - tsb|, °C
    long double tSlack_ = 0;      // rounding of an outlet temperature, °C
    long double vk_ = 0, vs_ = 0; // volume flows, m3/s
    long double jkHi_ = 0, jsHi_ = 0; // highest mean temperature of each side, °C
    long double wkLo_ = 0, wsLo_ = 0; // lowest heat-capacity rate of each side, W/°C
    long double rkLo_ = 0, rsLo_ = 0; // lowest rate ratio of each side to the other
    long double qkPerK_ = 0, qsPerK_ = 0; // largest balance duty per °C of full approach
    long double kfPerSeries_ = 0; // largest conductance of one unit per branch times branches, W/°C
};

} // namespace selection::detail
