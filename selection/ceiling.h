// A ceiling on the heat duty that a rating of an arrangement can show:
// cheap to evaluate and never below the rating's duty, whatever the
// iteration's stop rule makes of it. The search uses it to leave out the
// arrangements that cannot matter; ceiling.cpp says why it holds. Plain
// C++, no Qt.
#pragma once

#include "selection/select.h"

namespace selection::detail {

class DutyCeiling {
public:
    explicit DutyCeiling(const Request &r);

    // False where the request gives no ceiling (flows the run refuses or
    // that are no numbers, inlet temperatures equal or outside the range of
    // water): bound() and boundOver() are then infinite, and every
    // arrangement has to be rated.
    bool usable() const { return usable_; }

    // Chooses the type and parallel count that the bounds are about.
    void arrange(int tipus, int parh);

    // An upper bound, W, on the duty Q of every completed rating of the
    // arranged type and parallel count with `soros` units in series; two
    // exponentials. It rises with soros, up to its rounding (some 1e-13 of
    // itself).
    long double bound(int soros) const;

    // A tighter one for every count from s1 to s2 at once, at the cost of
    // about a rating.
    long double boundOver(int s1, int s2) const;

private:
    // Ranges of the two mean temperatures a pass can start from, °C.
    struct Box {
        long double kLo, kHi, sLo, sHi;
    };
    struct Range {
        long double lo, hi;
    };
    // What one pass makes of any start in a box: both effectivenesses and
    // the new mean temperatures.
    struct Pass {
        Range pk, ps;
        Box out;
        // The two rates keep apart: the side with the smaller one (w) is
        // known, and the other's effectiveness is R_w P_w to within
        // `identity`.
        bool apart = false;
        bool jacketWeak = false;
        long double identity = 0;
    };
    Pass pass(const Box &in, int s1, int s2) const;
    long double dutyBound(const Box &prev, int s1, int s2) const;

    bool usable_ = false;
    long double tkb_ = 0, tsb_ = 0, mid_ = 0, width_ = 0;
    long double rf_ = 0;          // fouling resistance of the request, m2·°C/W
    long double dT_ = 0;          // |tkb - tsb|, °C
    long double tSlack_ = 0;      // rounding of an outlet temperature, °C
    long double vrK_ = 0, vrS_ = 0; // volume flow times inlet density, kg/s
    Box full_{};
    long double velocityPowerK_[rating::TipusCount] = {}, velocityPowerS_[rating::TipusCount] = {}; // (V / A)^0.733
    // Of the arranged type and count:
    long double powK_ = 0, powS_ = 0, calfa_ = 0, fp_ = 0;
    long double kfPerSeries_ = 0; // largest conductance per unit in series, W/°C
    // Of the whole temperature range, for bound():
    long double wkLo_ = 0, wsLo_ = 0, rkLo_ = 0, rsLo_ = 0, cpkHi_ = 0, cpsHi_ = 0;
};

} // namespace selection::detail
