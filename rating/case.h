// One case as the main window rates it: the inputs of its controls, then
// the calculation run on a calculation state. The command line, the
// selection of an arrangement and the tests rate through here, so their
// numbers are the window's.
#pragma once

#include "rating/model.h"

namespace rating {

// The inputs of one case, as the main window's controls deliver them.
struct Case {
    int Tipus = 0;         // type, 0..4 (index in TipusNevek)
    int Soros = 1;         // units in series per branch
    int Parh = 1;          // parallel branches
    double MVk = 7;        // jacket flow in the unit of CbMVkIndex
    int CbMVkIndex = 1;    // 0 l/min, 1 m3/h
    double tkb = 80;       // jacket inlet, °C
    double MVs = 1;        // coil flow in the unit of CbMVsIndex
    int CbMVsIndex = 1;    // 0 l/min, 1 m3/h
    double tsb = 20;       // coil inlet, °C
    double Rf = rating::Rf; // fouling resistance added to the two film resistances, m2·K/W
};

struct Rating {
    enum class Outcome {
        Rated,   // every check passed: values hold all twelve results
        Refused, // a check of the run failed (Hiba)
        Fault,   // an arithmetic fault ended the run (fault says which)
    };
    Outcome outcome = Outcome::Refused;
    ArithmeticError::Kind fault = ArithmeticError::Kind::InvalidOperation;
    double Q = 0; // heat duty, W (Rated only)
    Model::ResultValues values;
    bool ok() const { return outcome == Outcome::Rated; }
};

// Rates the case on `state` (any state: nothing of an earlier case carries
// over) without writing texts.
Rating rate(Model &state, const Case &c);

// The two pressure drops of the case, as the calculation run computes them
// before its iteration, at the cost of a few multiplications once `state`
// has seen the same flows and parallel count. flowsOk is false where the
// run refuses the flows (then there are no drops); faulted where a
// relation fails (a count of 0). refused: a drop of 10000 bar or more,
// which the run refuses after rating on. temperaturesOk: the inlets pass
// the run's check that follows the drops (then the iteration runs).
struct Drops {
    bool flowsOk = false, faulted = false, refused = false, temperaturesOk = false;
    double jacketKPa = 0, coilKPa = 0; // as in Model::ResultValues (DPK, DPS)
};
Drops drops(Model &state, const Case &c);

} // namespace rating
