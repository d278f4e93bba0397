// Which arrangements of the five types meet a required heat duty with given
// flows and inlet temperatures: for each type and each number of parallel
// branches, the fewest units in series that reach the duty, listed when
// both pressure drops keep within their limits. Every number is the one
// the main window shows for the same inputs (rating::rate). Plain C++, no Qt.
#pragma once

#include "rating/case.h"

#include <array>
#include <optional>
#include <vector>

namespace selection {

inline constexpr int MaxCount = 150; // largest series or parallel count
inline constexpr double MaxMarginPercent = 100; // largest design margin, per cent of the required duty

// The required duties the engine takes, kW: from a watt to 100 MW, far
// beyond what the five types transfer at the fields' largest flows and
// widest inlet difference, and every duty of the range has a text.
inline constexpr double MinDutyKW = 0.001, MaxDutyKW = 100000;

struct Request {
    // Flows in the unit of their index (0 l/min, 1 m3/h), inlets in °C.
    double MVk = 7;
    int CbMVkIndex = 1;
    double tkb = 80;
    double MVs = 1;
    int CbMVsIndex = 1;
    double tsb = 20;
    double dutyKW = 0;                    // required heat duty, kW (MinDutyKW..MaxDutyKW)
    std::optional<double> maxDpJacketKPa; // no value: no limit
    std::optional<double> maxDpCoilKPa;
    int maxSeries = 10;   // 1..MaxCount
    int maxParallel = 10; // 1..MaxCount
    std::array<bool, rating::TipusCount> types{true, true, true, true, true};
    double Rf = rating::Rf;   // fouling resistance of every arrangement, m2·°C/W (rating::MinFouling..MaxFouling)
    double marginPercent = 0; // design margin, 0..MaxMarginPercent: the list requires
                              // Q >= (1 + marginPercent / 100) * dutyKW
};

// One listed arrangement, with the main window's results for it.
struct Entry {
    int Tipus = 0, Soros = 1, Parh = 1;
    int units = 1;            // Soros * Parh
    double surfaceM2 = 0;     // F of the type * Soros * Parh
    double dutyKW = 0;        // Q / 1000 (the main window's heat-duty number)
    double marginPercent = 0; // (Q / (1000 dutyKW) - 1) * 100, relative to the duty without the design margin
    rating::Model::ResultValues values;
};

// Why nothing is listed, with the numbers a sentence needs.
struct Shortfall {
    enum class Kind {
        None,          // entries are listed
        BadDuty,       // the required duty is no number of MinDutyKW..MaxDutyKW
        BadCount,      // a largest count is outside 1..MaxCount
        BadLimit,      // a pressure-drop limit is negative or no number
        NoType,        // no type to consider
        NoRating,      // no considered arrangement can be rated (zero flow, equal inlets, ...)
        BeyondCapacity,// the duty exceeds what any exchanger could transfer
        NotReached,    // no considered arrangement reaches the duty
        PressureLimit, // arrangements reach the duty, but all exceed a limit
        BadFouling,    // the fouling resistance is outside its field or no number
        BadMargin,     // the design margin is outside 0..MaxMarginPercent or no number
    };
    Kind kind = Kind::None;
    // In BeyondCapacity, NotReached and PressureLimit the duty to reach is
    // the required duty with the design margin (requiredKW()).
    // BeyondCapacity and NotReached: the smaller capacity rate times the
    // inlet difference, kW.
    double capacityKW = 0;
    // NotReached: the largest duty any considered arrangement reaches, and
    // where (the first in the order type, parallel, series among equals).
    double bestDutyKW = 0;
    int bestTipus = 0, bestSoros = 0, bestParh = 0;
    // PressureLimit: for each limited side, the limit that would let an
    // arrangement through: the smallest drop of that side among the
    // arrangements that reach the duty, exceed that side's limit and keep
    // the other's (among those that exceed it, where every one exceeds
    // both). NaN for a side without a limit or whose limit every one of
    // them keeps.
    double minDpJacketKPa = 0, minDpCoilKPa = 0;
};

struct Result {
    std::vector<Entry> entries; // ordered: surface, units, type, parallel
    Shortfall why;              // kind None when entries is not empty
};

// The fast search: the same answer as selectByScan for every request.
Result select(const Request &r);

// The plain answer: every s from 1 upward for each type and parallel count.
Result selectByScan(const Request &r);

// The duty the list requires, kW: the required duty with the design margin.
double requiredKW(const Request &r);

// The smaller capacity rate times the inlet difference, kW: no exchanger
// transfers more with these flows and inlet temperatures.
double capacityLimitKW(const Request &r);

} // namespace selection
