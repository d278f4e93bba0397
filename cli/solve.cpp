// ventrano-rate solve: the value of one input of an installation that
// brings one result to a target, written as the row `rate` writes for the
// installation with that value put in.
#include "cli/commands.h"
#include "cli/options.h"
#include "design/explain.h"
#include "design/reach.h"
#include "textio/casefields.h"
#include "textio/csv.h"
#include "textio/number.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cli {
using namespace textio;

namespace {

enum Option {
    TypeOpt, SeriesOpt, ParallelOpt, JacketFlowOpt, JacketUnitOpt, JacketInletOpt, CoilFlowOpt, CoilUnitOpt,
    CoilInletOpt, FoulingOpt, VaryOpt, TargetOpt, OptionCount
};
constexpr const char *optionNames[OptionCount] = {
    "--type",      "--series",    "--parallel",   "--jacket-flow", "--jacket-unit", "--jacket-inlet",
    "--coil-flow", "--coil-unit", "--coil-inlet", "--fouling",     "--vary",        "--target"};

// The inputs that can be varied, by name, with the option that gives each.
struct Varied {
    const char *name;
    design::Input input;
    Option option;
};
constexpr Varied inputs[] = {
    {"jacket_flow", design::Input::JacketFlow, JacketFlowOpt},
    {"coil_flow", design::Input::CoilFlow, CoilFlowOpt},
    {"jacket_inlet", design::Input::JacketInlet, JacketInletOpt},
    {"coil_inlet", design::Input::CoilInlet, CoilInletOpt},
    {"fouling", design::Input::Fouling, FoulingOpt},
};
struct Aimed {
    const char *name;
    design::Output output;
};
constexpr Aimed results[] = {
    {"duty_kW", design::Output::Duty},
    {"jacket_outlet_C", design::Output::JacketOutlet},
    {"coil_outlet_C", design::Output::CoilOutlet},
    {"jacket_dp_kPa", design::Output::JacketDrop},
    {"coil_dp_kPa", design::Output::CoilDrop},
};

// The largest target the command takes either way: beyond every result
// the rating gives (a pressure drop is refused from 10000 bar = 1000000
// kPa on).
constexpr double maxTarget = 1e6;

template <class T, std::size_t N> std::string choices(const T (&list)[N])
{
    std::string s;
    for (std::size_t i = 0; i < N; ++i) s += std::string(i == 0 ? "" : i + 1 == N ? " or " : ", ") + list[i].name;
    return s;
}

} // namespace

int runSolve(int argc, char **argv)
{
    std::vector<std::optional<std::string>> value;
    if (const int status = readOptions(argc, argv, "solve", solveHelpText, optionNames, value); status >= 0)
        return status;
    auto given = [&](Option o) -> const std::optional<std::string> & { return value[o]; };

    const Varied *vary = nullptr;
    if (given(VaryOpt)) {
        const std::string_view name = trimmed(*given(VaryOpt));
        for (const Varied &v : inputs)
            if (name == v.name) vary = &v;
        if (!vary) return usageError("--vary: " + quoted(name) + " is not an input to vary (" + choices(inputs) + ")", "solve");
    }
    // Every option of the installation but the fouling (by default that of
    // the rating) and the varied input (its value only settles a tie).
    std::string missing;
    for (int o = 0; o < OptionCount; ++o)
        if (!value[static_cast<std::size_t>(o)] && o != FoulingOpt && !(vary && o == vary->option))
            missing += std::string(missing.empty() ? "missing " : " ") + optionNames[o];
    if (!missing.empty()) return usageError(missing, "solve");

    rating::Case c;
    FirstProblem why;
    auto read = [&](Option o, auto reader, auto &into) {
        if (given(o)) why(optionNames[o], reader(*given(o), into));
    };
    read(TypeOpt, readType, c.Tipus);
    read(SeriesOpt, readCount, c.Soros);
    read(ParallelOpt, readCount, c.Parh);
    read(JacketFlowOpt, readFlow, c.MVk);
    read(JacketUnitOpt, readUnit, c.CbMVkIndex);
    read(JacketInletOpt, readInlet, c.tkb);
    read(CoilFlowOpt, readFlow, c.MVs);
    read(CoilUnitOpt, readUnit, c.CbMVsIndex);
    read(CoilInletOpt, readInlet, c.tsb);
    read(FoulingOpt, readFouling, c.Rf);

    // RESULT=VALUE
    const std::string &targetText = *given(TargetOpt);
    const std::size_t eq = targetText.find('=');
    const Aimed *aim = nullptr;
    double target = 0;
    if (!why.any()) {
        if (eq == std::string::npos) {
            why(optionNames[TargetOpt], quoted(targetText) + " is no RESULT=VALUE (such as duty_kW=40)");
        } else {
            const std::string_view name = trimmed(std::string_view(targetText).substr(0, eq));
            for (const Aimed &a : results)
                if (name == a.name) aim = &a;
            if (!aim) why(optionNames[TargetOpt], quoted(name) + " is not a result to aim at (" + choices(results) + ")");
            else why(optionNames[TargetOpt], readNumber(std::string_view(targetText).substr(eq + 1), -maxTarget, maxTarget, true, target));
        }
    }
    if (why.any()) return usageError(why.text(), "solve");

    const design::ReachResult reached = design::reach(c, vary->input, aim->output, target);

    // The row rate writes for the installation with the answer put in:
    // the varied column holds the answer.
    const bool fouling = given(FoulingOpt) || vary->input == design::Input::Fouling;
    CsvWriter out(stdout);
    writeInputHeader(out, fouling);
    out.raw("duty_kW");
    for (const char *col : resultColumns) out.raw(col);
    out.raw("error");
    out.end();
    if (reached.ok()) {
        rating::Case a = c;
        design::setInput(a, vary->input, reached.answer.value);
        writeInputs(out, a, fouling);
        const rating::Rating &r = reached.answer.rating;
        if (r.ok()) {
            out.number(r.values.QLabel);
            writeResults(out, r.values);
            out.empty();
        } else { // the search answers with rated values only; as rate says it all the same
            rating::Model state;
            const rating::Rating again = rating::rate(state, a);
            for (int k = 0; k <= resultColumnCount; ++k) out.empty();
            out.field(whyNotRated(state, a, again));
        }
        out.end();
    }
    if (!out.flush()) return ioError("cannot write to standard output", out.errorNumber());
    if (!reached.ok())
        return refusal(commandWords(design::explainReach(c, vary->input, aim->output, target, reached.why)));
    return reached.answer.rating.ok() ? exitOk : exitSome;
}

} // namespace cli
