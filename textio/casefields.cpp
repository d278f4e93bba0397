#include "textio/casefields.h"

#include "textio/number.h"
#include "rating/fields.h"

#include <charconv>
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

// A number as a message shows it: as written, a long one cut short.
std::string shownNumber(std::string_view text)
{
    const std::string_view t = trimmed(text);
    return t.size() <= 40 ? std::string(t) : std::string(t.substr(0, 40)) + "...";
}

// A number in a message: without an exponent where that stays short
// (100000, not 1e+05), and every digit it needs to read back.
std::string messageNumber(double x)
{
    const double a = std::fabs(x);
    if (a != 0 && (a < 1e-6 || a >= 1e16)) return numberText(x);
    char text[64];
    return std::string(text, std::to_chars(text, text + sizeof text, x, std::chars_format::fixed).ptr);
}

// The range as a message names it.
std::string rangeText(double lo, double hi, bool closed)
{
    if (std::isinf(hi)) return closed ? messageNumber(lo) + " or more" : "above " + messageNumber(lo);
    return messageNumber(lo) + " to " + messageNumber(hi);
}

// Why a number below or above the range is not in it.
std::string outside(const std::string &shown, double lo, double hi, bool closed)
{
    if (std::isinf(hi)) return shown + (closed ? " is below " : " is not above ") + messageNumber(lo);
    return shown + " is outside " + rangeText(lo, hi, closed);
}

// readNumber on what the text was read as.
std::string checkNumber(std::string_view text, const NumberRead &n, double lo, double hi, bool closed, double &out)
{
    using K = NumberRead::Kind;
    const double x = n.value;
    const bool in = (closed ? x >= lo : x > lo) && x <= hi;
    if (n.kind == K::Number && in) {
        out = x;
        return {};
    }
    if (n.kind == K::NoNumber) return noNumber(text);
    if (!in) return outside(shownNumber(text), lo, hi, closed);
    // In the range, but beyond the doubles: too large for an unbounded
    // range, or nearer 0 than any double but 0.
    return shownNumber(text) + " is out of range: " + (n.kind == K::TooLarge ? "too large" : "too near 0") +
           " to be read (" + rangeText(lo, hi, closed) + ")";
}

} // namespace

std::string readNumber(std::string_view text, double lo, double hi, bool closed, double &out)
{
    return checkNumber(text, readDecimal(text), lo, hi, closed, out);
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
    const NumberRead n = readDecimal(text);
    if (n.kind == NumberRead::Kind::Number && n.value != std::floor(n.value))
        return shownNumber(text) + " is a fraction; a whole number from 1 to 150 is needed";
    double x = 0;
    const std::string why = checkNumber(text, n, 1, 150, true, x);
    if (!why.empty()) return why;
    out = static_cast<int>(x);
    return {};
}

std::string readFlow(std::string_view text, double &out) { return readNumber(text, 0, 150, true, out); }

std::string flowTooSmall(double flow, int unit)
{
    // The calculation run's own conversion.
    if (!(flow > 0) || rating::volumeFlow(flow, unit) > 0) return {};
    return messageNumber(flow) + " " + rating::flowUnitName(unit) + " is too small to rate: 0 once converted to m3/s";
}

std::string readInlet(std::string_view text, double &out) { return readNumber(text, -5, 150, true, out); }

std::string readFouling(std::string_view text, double &out)
{
    return readNumber(text, rating::MinFouling, rating::MaxFouling, true, out);
}

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
        const std::string tinyK = k ? flowTooSmall(c.MVk, c.CbMVkIndex) : std::string();
        const std::string tinyS = s ? flowTooSmall(c.MVs, c.CbMVsIndex) : std::string();
        if (tinyK.empty() && tinyS.empty())
            return std::string(k && s ? "both flows are" : k ? "the jacket flow is" : "the coil flow is") +
                   " 0: nothing to rate";
        std::string why;
        auto side = [&](bool zero, const std::string &tiny, const char *name) {
            if (!zero) return;
            if (!why.empty()) why += "; ";
            why += std::string("the ") + name + " flow " + (tiny.empty() ? "is 0" : tiny);
        };
        side(k, tinyK, "jacket");
        side(s, tinyS, "coil");
        return why;
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

void writeInputHeader(CsvWriter &out, bool fouling)
{
    for (InputColumn c : {Type, Series, Parallel, JacketFlow, JacketUnit, JacketInlet, CoilFlow, CoilUnit, CoilInlet})
        out.raw(inputColumns[c]);
    if (fouling) out.raw(foulingColumn);
}

void writeInputs(CsvWriter &out, const rating::Case &c, bool fouling)
{
    out.raw(rating::TipusNevek[c.Tipus]);
    out.raw(std::to_string(c.Soros));
    out.raw(std::to_string(c.Parh));
    out.number(c.MVk);
    out.raw(rating::flowUnitName(c.CbMVkIndex));
    out.number(c.tkb);
    out.number(c.MVs);
    out.raw(rating::flowUnitName(c.CbMVsIndex));
    out.number(c.tsb);
    if (fouling) out.number(c.Rf);
}

} // namespace textio
