// ventrano-rate select: the selection engine's list as CSV, for a duty and
// both flows or for design conditions.
#include "cli/commands.h"
#include "cli/options.h"
#include "design/conditions.h"
#include "design/explain.h"
#include "selection/explain.h"
#include "selection/select.h"
#include "textio/casefields.h"
#include "textio/csv.h"
#include "textio/number.h"

#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cli {
using namespace textio;

namespace {

enum Option {
    Duty, JacketFlow, JacketUnit, JacketInlet, CoilFlow, CoilUnit, CoilInlet,
    MaxSeries, MaxParallel, MaxDpJacket, MaxDpCoil, Types, JacketOutlet, CoilOutlet, Fouling, Margin, OptionCount
};
constexpr const char *optionNames[OptionCount] = {
    "--duty",       "--jacket-flow",  "--jacket-unit",   "--jacket-inlet",  "--coil-flow",   "--coil-unit",
    "--coil-inlet", "--max-series",   "--max-parallel",  "--max-dp-jacket", "--max-dp-coil", "--types",
    "--jacket-outlet", "--coil-outlet", "--fouling", "--margin"};

std::string readTypes(std::string_view text, std::array<bool, rating::TipusCount> &types)
{
    types.fill(false);
    std::size_t from = 0;
    for (;;) {
        const std::size_t comma = text.find(',', from);
        int t = 0;
        const std::string why = readType(text.substr(from, comma == std::string_view::npos ? comma : comma - from), t);
        if (!why.empty()) return why;
        types[static_cast<std::size_t>(t)] = true;
        if (comma == std::string_view::npos) return {};
        from = comma + 1;
    }
}

} // namespace

int runSelect(int argc, char **argv)
{
    std::vector<std::optional<std::string>> value;
    if (const int status = readOptions(argc, argv, "select", selectHelpText, optionNames, value); status >= 0)
        return status;
    auto given = [&](Option o) -> const std::optional<std::string> & { return value[o]; };

    // Both inlets and units, and three of the duty, the flows and the
    // outlets. Without an outlet that is the duty and both flows.
    std::string missing;
    if (!given(JacketOutlet) && !given(CoilOutlet)) {
        for (int o = Duty; o <= CoilInlet; ++o)
            if (!value[static_cast<std::size_t>(o)]) missing += std::string(missing.empty() ? "missing " : " ") + optionNames[o];
    } else {
        constexpr int always[] = {JacketUnit, JacketInlet, CoilUnit, CoilInlet};
        constexpr int threeOf[] = {Duty, JacketFlow, CoilFlow, JacketOutlet, CoilOutlet};
        missing = missingConditions(value, always, threeOf, optionNames);
    }
    if (!missing.empty()) return usageError(missing, "select");

    selection::Request r;
    design::Conditions c;
    FirstProblem why;
    auto number = [&](Option o, auto read) -> std::optional<double> {
        if (!given(o)) return std::nullopt;
        double v = 0;
        why(optionNames[o], read(*given(o), v));
        return v;
    };
    c.dutyKW = number(Duty, [](std::string_view t, double &v) {
        return readNumber(t, selection::MinDutyKW, selection::MaxDutyKW, true, v);
    });
    c.MVk = number(JacketFlow, readFlow);
    why(optionNames[JacketUnit], readUnit(*given(JacketUnit), c.CbMVkIndex));
    why(optionNames[JacketInlet], readInlet(*given(JacketInlet), c.tkb));
    c.MVs = number(CoilFlow, readFlow);
    why(optionNames[CoilUnit], readUnit(*given(CoilUnit), c.CbMVsIndex));
    why(optionNames[CoilInlet], readInlet(*given(CoilInlet), c.tsb));
    // A flow above 0 that is 0 once in m3/s rates as no flow at all.
    if (!why.any() && c.MVk) why(optionNames[JacketFlow], flowTooSmall(*c.MVk, c.CbMVkIndex));
    if (!why.any() && c.MVs) why(optionNames[CoilFlow], flowTooSmall(*c.MVs, c.CbMVsIndex));
    c.tkk = number(JacketOutlet, readInlet);
    c.tsk = number(CoilOutlet, readInlet);
    if (given(MaxSeries)) why(optionNames[MaxSeries], readCount(*given(MaxSeries), r.maxSeries));
    if (given(MaxParallel)) why(optionNames[MaxParallel], readCount(*given(MaxParallel), r.maxParallel));
    auto limit = [](std::string_view t, double &v) { return readNumber(t, 0, HUGE_VAL, true, v); };
    r.maxDpJacketKPa = number(MaxDpJacket, limit);
    r.maxDpCoilKPa = number(MaxDpCoil, limit);
    if (given(Types)) why(optionNames[Types], readTypes(*given(Types), r.types));
    if (given(Fouling)) why(optionNames[Fouling], readFouling(*given(Fouling), r.Rf));
    if (given(Margin))
        why(optionNames[Margin], readNumber(*given(Margin), 0, selection::MaxMarginPercent, true, r.marginPercent));
    if (why.any()) return usageError(why.text(), "select");

    CsvWriter out(stdout);
    for (const char *col : {"type", "series", "parallel", "units", "surface_m2", "duty_kW", "margin_percent"}) out.raw(col);
    for (const char *col : resultColumns) out.raw(col);
    out.end();

    // The duty and flows the design conditions give; given the duty and
    // both flows, those.
    const design::BalanceResult b = design::designRequest(c, r);
    if (!b.ok()) {
        if (!out.flush()) return ioError("cannot write to standard output", out.errorNumber());
        return refusal(commandWords(design::explainBalance(c, b.why)));
    }

    // A derived duty beyond those the selection takes: said as derived.
    const bool derived = !c.dutyKW;
    if (derived && !(r.dutyKW >= selection::MinDutyKW && r.dutyKW <= selection::MaxDutyKW)) {
        if (!out.flush()) return ioError("cannot write to standard output", out.errorNumber());
        static_assert(selection::MinDutyKW == 0.001 && selection::MaxDutyKW == 100000, "the message names the range");
        return refusal("the design conditions give a heat duty of " + numberText(r.dutyKW) +
                       " kW, outside the 0.001 to 100000 kW the selection takes");
    }
    const selection::Result res = selection::select(r);
    for (const selection::Entry &e : res.entries) {
        out.raw(rating::TipusNevek[e.Tipus]);
        out.raw(std::to_string(e.Soros));
        out.raw(std::to_string(e.Parh));
        out.raw(std::to_string(e.units));
        out.number(e.surfaceM2);
        out.number(e.dutyKW);
        out.number(e.marginPercent);
        writeResults(out, e.values);
        out.end();
    }
    if (!out.flush()) return ioError("cannot write to standard output", out.errorNumber());
    // The sides named as the options name them.
    if (res.entries.empty()) return refusal(selection::explain(r, res.why, 1, ".", {"jacket side", "coil side"}));
    return exitOk;
}

} // namespace cli
