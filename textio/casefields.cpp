#include "textio/casefields.h"

#include "textio/number.h"

#include <cmath>

namespace textio {

namespace {

std::string noNumber(std::string_view text)
{
    const std::string_view t = trimmed(text);
    if (t.empty()) return "no value";
    std::string why = quoted(t) + " is not a number";
    if (t.find(',') != std::string_view::npos) why += " (the decimal separator is a point)";
    return why;
}

std::string rangeText(double lo, double hi) { return numberText(lo) + " to " + numberText(hi); }

} // namespace

std::string readNumber(std::string_view text, double lo, double hi, bool closed, double &out)
{
    const auto x = parseNumber(text);
    if (!x) return noNumber(text);
    if (!(closed ? *x >= lo : *x > lo) || !(*x <= hi)) {
        const std::string shown(trimmed(text));
        if (std::isinf(hi)) return shown + (closed ? " is below " : " is not above ") + numberText(lo);
        return shown + " is outside " + rangeText(lo, hi);
    }
    out = *x;
    return {};
}

std::string readType(std::string_view text, int &out)
{
    const std::string_view t = trimmed(text);
    for (int i = 0; i < rating::TipusCount; ++i)
        if (t == rating::TipusNevek[i]) {
            out = i;
            return {};
        }
    std::string names;
    for (int i = 0; i < rating::TipusCount; ++i)
        names += std::string(i == 0 ? "" : i + 1 == rating::TipusCount ? " or " : ", ") + rating::TipusNevek[i];
    return (t.empty() ? std::string("no value") : quoted(t) + " is not a type") + " (" + names + ")";
}

std::string readCount(std::string_view text, int &out)
{
    const auto x = parseNumber(text);
    if (!x) return noNumber(text);
    const std::string shown(trimmed(text));
    if (*x != std::floor(*x)) return shown + " is a fraction; a whole number from 1 to 150 is needed";
    if (*x < 1 || *x > 150) return shown + " is outside 1 to 150";
    out = static_cast<int>(*x);
    return {};
}

std::string readFlow(std::string_view text, double &out) { return readNumber(text, 0, 150, true, out); }

std::string readInlet(std::string_view text, double &out) { return readNumber(text, -5, 150, true, out); }

std::string readUnit(std::string_view text, int &out)
{
    const std::string_view t = trimmed(text);
    if (t == "l/min") out = 0;
    else if (t == "m3/h") out = 1;
    else return (t.empty() ? std::string("no value") : quoted(t) + " is not a unit") + " (l/min or m3/h)";
    return {};
}

std::string whyNotRated(rating::Model &state, const rating::Case &c, const rating::Rating &r)
{
    if (r.outcome == rating::Rating::Outcome::Fault)
        return std::string("arithmetic error: ") + rating::ArithmeticError::messageOf(r.fault);
    // The run's checks in its order; the iteration ran (and its pass count
    // is this case's) once the flows and the inlets passed.
    const bool settled = !state.PassLimitHit;
    const rating::Drops d = rating::drops(state, c);
    if (!d.flowsOk) { // a flow of 0, or one too small for a double once in m3/s
        const bool k = !(state.Vk > 0), s = !(state.Vs > 0);
        return std::string(k && s ? "both flows are" : k ? "the jacket flow is" : "the coil flow is") +
               " 0: nothing to rate";
    }
    if (!d.temperaturesOk) return "the inlet temperatures are equal: no heat to transfer";
    if (!settled) return "the outlet temperatures did not settle";
    if (d.refused) {
        const bool k = state.Delta_pk >= 10000, s = state.Delta_ps >= 10000;
        return std::string(k && s ? "both pressure drops reach" : k ? "the jacket pressure drop reaches" : "the coil pressure drop reaches") +
               " 10000 bar: more branches in parallel or fewer units in series";
    }
    return "not rated";
}

} // namespace textio
