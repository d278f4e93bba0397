// ventrano-rate balance: the energy balance of design conditions, both
// inlets and three of the flows, the outlets and the duty giving the other
// two.
#include "cli/commands.h"
#include "cli/options.h"
#include "design/balance.h"
#include "design/explain.h"
#include "textio/casefields.h"
#include "textio/csv.h"
#include "textio/number.h"

#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cli {
using namespace textio;

namespace {

enum Option { JacketInlet, CoilInlet, JacketUnit, CoilUnit, JacketFlow, CoilFlow, JacketOutlet, CoilOutlet, Duty, OptionCount };
constexpr const char *optionNames[OptionCount] = {"--jacket-inlet", "--coil-inlet",    "--jacket-unit",
                                                  "--coil-unit",    "--jacket-flow",   "--coil-flow",
                                                  "--jacket-outlet", "--coil-outlet", "--duty"};

// A flow the balance can take: above 0, and not 0 once in m3/s.
std::string readGivenFlow(std::string_view text, int unit, double &out)
{
    std::string why = readFlow(text, out);
    if (!why.empty()) return why;
    if (out == 0) return "a flow above 0 is needed";
    return flowTooSmall(out, unit);
}

} // namespace

int runBalance(int argc, char **argv)
{
    std::vector<std::optional<std::string>> value;
    if (const int status = readOptions(argc, argv, "balance", balanceHelpText, optionNames, value); status >= 0)
        return status;
    constexpr int always[] = {JacketInlet, CoilInlet, JacketUnit, CoilUnit};
    constexpr int threeOf[] = {JacketFlow, CoilFlow, JacketOutlet, CoilOutlet, Duty};
    if (const std::string missing = missingConditions(value, always, threeOf, optionNames); !missing.empty())
        return usageError(missing, "balance");

    design::Conditions c;
    FirstProblem why;
    auto given = [&](Option o) -> const std::optional<std::string> & { return value[o]; };
    why(optionNames[JacketInlet], readInlet(*given(JacketInlet), c.tkb));
    why(optionNames[CoilInlet], readInlet(*given(CoilInlet), c.tsb));
    why(optionNames[JacketUnit], readUnit(*given(JacketUnit), c.CbMVkIndex));
    why(optionNames[CoilUnit], readUnit(*given(CoilUnit), c.CbMVsIndex));
    auto number = [&](Option o, auto read) -> std::optional<double> {
        if (!given(o) || why.any()) return std::nullopt; // the units first: a flow's check needs its unit
        double v = 0;
        why(optionNames[o], read(*given(o), v));
        return v;
    };
    c.MVk = number(JacketFlow, [&](std::string_view t, double &v) { return readGivenFlow(t, c.CbMVkIndex, v); });
    c.MVs = number(CoilFlow, [&](std::string_view t, double &v) { return readGivenFlow(t, c.CbMVsIndex, v); });
    c.tkk = number(JacketOutlet, readInlet);
    c.tsk = number(CoilOutlet, readInlet);
    c.dutyKW = number(Duty, [](std::string_view t, double &v) { return readNumber(t, 0, HUGE_VAL, false, v); });
    if (why.any()) return usageError(why.text(), "balance");

    // The header, and the row where the balance gives one (the header
    // alone where it refuses, as a table with no row).
    const design::BalanceResult b = design::balance(c);
    CsvWriter out(stdout);
    for (const char *col : {"duty_kW", "jacket_flow", "coil_flow", "jacket_outlet_C", "coil_outlet_C"}) out.raw(col);
    out.end();
    if (b.ok()) {
        for (double v : {b.values.dutyKW, b.values.MVk, b.values.MVs, b.values.tkk, b.values.tsk}) out.number(v);
        out.end();
    }
    if (!out.flush()) return ioError("cannot write to standard output", out.errorNumber());
    if (!b.ok()) return refusal(commandWords(design::explainBalance(c, b.why)));
    return exitOk;
}

} // namespace cli
