// ventrano-rate select: the selection engine's list as CSV.
#include "cli/commands.h"
#include "selection/explain.h"
#include "selection/select.h"
#include "textio/casefields.h"
#include "textio/csv.h"
#include "textio/number.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace cli {
using namespace textio;

namespace {

enum Option {
    Duty, JacketFlow, JacketUnit, JacketInlet, CoilFlow, CoilUnit, CoilInlet,
    MaxSeries, MaxParallel, MaxDpJacket, MaxDpCoil, Types, OptionCount
};
constexpr const char *optionNames[OptionCount] = {
    "--duty",       "--jacket-flow",  "--jacket-unit",   "--jacket-inlet",  "--coil-flow", "--coil-unit",
    "--coil-inlet", "--max-series",   "--max-parallel",  "--max-dp-jacket", "--max-dp-coil", "--types"};
constexpr int requiredCount = CoilInlet + 1; // Duty to CoilInlet

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

// Whether an argument after an option that takes a value is no value but
// another option (a negative number is a value).
bool isOption(std::string_view a) { return a.rfind("--", 0) == 0 || a == "-h"; }

} // namespace

int runSelect(int argc, char **argv)
{
    std::optional<std::string> value[OptionCount];
    bool options = true;
    for (int i = 0; i < argc; ++i) {
        std::string_view a = argv[i];
        // After '--' every argument is an operand, and the command takes none.
        if (options && a == "--") {
            options = false;
            continue;
        }
        if (!options) return usageError("unexpected argument " + quoted(a), "select");
        if (a == "-h" || a == "--help") return writeOut(selectHelpText);
        std::optional<std::string> given;
        if (const auto eq = a.find('='); a.rfind("--", 0) == 0 && eq != std::string_view::npos) {
            given = std::string(a.substr(eq + 1));
            a = a.substr(0, eq);
        }
        int o = 0;
        while (o < OptionCount && a != optionNames[o]) ++o;
        if (o == OptionCount) {
            if (a.size() > 1 && a[0] == '-') return usageError("unknown option " + quoted(a), "select");
            return usageError("unexpected argument " + quoted(a), "select");
        }
        if (!given) {
            if (i + 1 == argc || isOption(argv[i + 1]))
                return usageError(std::string(optionNames[o]) + " needs a value", "select");
            given = argv[++i];
        }
        value[o] = std::move(given); // the last one counts
    }
    std::string missing;
    for (int o = 0; o < requiredCount; ++o)
        if (!value[o]) missing += std::string(missing.empty() ? "" : " ") + optionNames[o];
    if (!missing.empty()) return usageError("missing " + missing, "select");

    selection::Request r;
    std::string why;
    auto check = [&](int o, const std::string &problem) {
        if (!problem.empty() && why.empty()) why = std::string(optionNames[o]) + ": " + problem;
    };
    check(Duty, readNumber(*value[Duty], selection::MinDutyKW, selection::MaxDutyKW, true, r.dutyKW));
    check(JacketFlow, readFlow(*value[JacketFlow], r.MVk));
    check(JacketUnit, readUnit(*value[JacketUnit], r.CbMVkIndex));
    check(JacketInlet, readInlet(*value[JacketInlet], r.tkb));
    check(CoilFlow, readFlow(*value[CoilFlow], r.MVs));
    check(CoilUnit, readUnit(*value[CoilUnit], r.CbMVsIndex));
    check(CoilInlet, readInlet(*value[CoilInlet], r.tsb));
    // A flow above 0 that is 0 once in m3/s rates as no flow at all.
    if (why.empty()) check(JacketFlow, flowTooSmall(r.MVk, r.CbMVkIndex));
    if (why.empty()) check(CoilFlow, flowTooSmall(r.MVs, r.CbMVsIndex));
    if (value[MaxSeries]) check(MaxSeries, readCount(*value[MaxSeries], r.maxSeries));
    if (value[MaxParallel]) check(MaxParallel, readCount(*value[MaxParallel], r.maxParallel));
    double limit = 0;
    if (value[MaxDpJacket]) {
        check(MaxDpJacket, readNumber(*value[MaxDpJacket], 0, HUGE_VAL, true, limit));
        r.maxDpJacketKPa = limit;
    }
    if (value[MaxDpCoil]) {
        check(MaxDpCoil, readNumber(*value[MaxDpCoil], 0, HUGE_VAL, true, limit));
        r.maxDpCoilKPa = limit;
    }
    if (value[Types]) check(Types, readTypes(*value[Types], r.types));
    if (!why.empty()) return usageError(why, "select");

    const selection::Result res = selection::select(r);
    CsvWriter out(stdout);
    for (const char *c : {"type", "series", "parallel", "units", "surface_m2", "duty_kW", "margin_percent"}) out.raw(c);
    for (const char *c : resultColumns) out.raw(c);
    out.end();
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
    if (res.entries.empty()) {
        // The sides named as the options name them.
        const std::string why = selection::explain(r, res.why, 1, ".", {"jacket side", "coil side"});
        std::fprintf(stderr, "%s: %s\n", program, why.c_str());
        return exitSome;
    }
    return exitOk;
}

} // namespace cli
