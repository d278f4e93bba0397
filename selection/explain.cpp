#include "selection/explain.h"

#include <cmath>

namespace selection {

namespace {

std::string kw(double v, const std::string &sep) { return rating::FixedText(v, 2, sep) + " kW"; }
std::string kpa(double v, const std::string &sep) { return rating::FixedText(v, 3, sep) + " kPa"; }
std::string count(int n) { return std::to_string(n); }

std::string arrangement(int tipus, int soros, int parh)
{
    return std::string(rating::TipusNevek[tipus]) + ", " + count(soros) + " in series, " + count(parh) +
           " in parallel";
}

} // namespace

std::string explain(const Request &r, const Shortfall &why, int /*nyelv*/, const std::string &sep)
{
    using K = Shortfall::Kind;
    switch (why.kind) {
    case K::None: return {};
    case K::BadDuty: return "Enter the required heat duty as a number of kW above 0.";
    case K::BadCount:
        return "The largest numbers in series and in parallel must be whole numbers from 1 to " +
               count(MaxCount) + ".";
    case K::BadLimit: return "A pressure-drop limit must be a number of kPa, 0 or more; leave it empty for no limit.";
    case K::NoType: return "Choose at least one type to consider.";
    case K::NoRating:
        return "No arrangement can be rated with these inputs: both flows must be above 0 and the inlet "
               "temperatures must differ.";
    case K::BeyondCapacity:
        return "No exchanger transfers " + kw(r.dutyKW, sep) + " with these flows and inlet temperatures: at most " +
               kw(why.capacityKW, sep) + " (the smaller capacity rate times the inlet difference).";
    case K::NotReached:
        return "No arrangement up to " + count(r.maxSeries) + " in series and " + count(r.maxParallel) +
               " in parallel reaches " + kw(r.dutyKW, sep) + "; the most is " + kw(why.bestDutyKW, sep) + " (" +
               arrangement(why.bestTipus, why.bestSoros, why.bestParh) + "): allow more units or raise a flow.";
    case K::PressureLimit: {
        std::string s = "Arrangements reach " + kw(r.dutyKW, sep) + ", but each exceeds a pressure-drop limit:";
        const bool k = !std::isnan(why.minDpJacketKPa), c = !std::isnan(why.minDpCoilKPa);
        if (k) s += " the smallest shell-side drop among them is " + kpa(why.minDpJacketKPa, sep);
        if (k && c) s += ",";
        if (c) s += " the smallest spiral-side drop " + kpa(why.minDpCoilKPa, sep);
        return s + ".";
    }
    }
    return {};
}

} // namespace selection
