// The commands of design conditions as a script sees them: balance,
// select with outlets, fouling and margin, and solve.
#include "cli/options.h"
#include "design/balance.h"
#include "design/conditions.h"
#include "design/explain.h"
#include "design/reach.h"
#include "rating/case.h"
#include "selection/explain.h"
#include "selection/select.h"
#include "textio/number.h"

#include "program.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

using namespace clitest;
using textio::numberText;

namespace {

const std::string balanceHeader = "duty_kW,jacket_flow,coil_flow,jacket_outlet_C,coil_outlet_C";

// The options of design conditions, as the commands take them.
std::vector<std::string> conditionArgs(const design::Conditions &c)
{
    std::vector<std::string> a = {"--jacket-inlet", numberText(c.tkb), "--coil-inlet", numberText(c.tsb),
                                  "--jacket-unit", units(c.CbMVkIndex), "--coil-unit", units(c.CbMVsIndex)};
    auto add = [&](const char *o, const std::optional<double> &v) {
        if (v) a.insert(a.end(), {o, numberText(*v)});
    };
    add("--jacket-flow", c.MVk);
    add("--coil-flow", c.MVs);
    add("--jacket-outlet", c.tkk);
    add("--coil-outlet", c.tsk);
    add("--duty", c.dutyKW);
    return a;
}

design::Conditions conditions(double tkb, double tsb, std::optional<double> MVk, std::optional<double> MVs,
                              std::optional<double> tkk, std::optional<double> tsk, std::optional<double> duty)
{
    design::Conditions c;
    c.tkb = tkb, c.tsb = tsb, c.MVk = MVk, c.MVs = MVs, c.tkk = tkk, c.tsk = tsk, c.dutyKW = duty;
    return c;
}

// A refusal as a script sees it: the header alone, status 1, the design
// engine's English sentence with the sides named as the options name them.
void expectRefusal(const Outcome &got, const std::string &header, const std::string &sentence)
{
    EXPECT_EQ(got.status, 1);
    EXPECT_EQ(got.out, header + "\n");
    EXPECT_EQ(got.err, "ventrano-rate: " + cli::commandWords(sentence) + "\n");
    for (const char *word : {"shell", "Shell", "spiral", "Spiral", "inf", "nan"})
        EXPECT_EQ(got.err.find(word), std::string::npos) << word << ": " << got.err;
}

const std::nullopt_t no = std::nullopt;

} // namespace

// Every set of three, and every refusal: the engine's numbers, each reading
// back as its double; or its sentence.
TEST(Balance, TheEnginesBalanceOrItsRefusal)
{
    std::vector<design::Conditions> table = {
        conditions(80, 10, 7.0, 1.0, no, no, 40.0),     // both outlets from the duty and both flows
        conditions(80, 10, no, 1.0, 60.0, 55.0, no),    // the jacket flow and the duty
        conditions(80, 10, 7.0, no, no, 55.0, 40.0),    // the coil flow and the jacket outlet
        conditions(80, 10, no, no, 60.0, 55.0, 40.0),   // both flows
        conditions(10, 80, 120.0, 60.0, 30.0, no, no),  // the coil side the warmer one
        conditions(80, 10, 7.0, no, 70.0, 45.0, no),    // the duty from the jacket side
        conditions(60, 60, 7.0, 1.0, no, no, 40.0),     // equal inlets
        conditions(80, 10, 7.0, no, 60.0, no, 40.0),    // the jacket side twice
        conditions(80, 10, no, 1.0, no, 55.0, 40.0),    // the coil side twice
        conditions(80, 10, 7.0, 1.0, 85.0, no, no),     // a jacket outlet above its inlet
        conditions(80, 10, no, 1.0, 60.0, 85.0, no),    // a temperature cross
        conditions(80, 10, 0.5, 1.0, no, no, 500.0),    // a duty the jacket flow cannot take
        conditions(80, 10, no, 1.0, 79.99, 75.0, no),   // a derived jacket flow above 150
        conditions(80, 10, no, 0.01, 10.5, 10.01, no),  // a derived jacket flow that rounds to 0
    };
    int refused = 0;
    for (design::Conditions c : table) {
        for (int unit = 0; unit < 2; ++unit) {
            c.CbMVkIndex = unit, c.CbMVsIndex = 1 - unit;
            std::vector<std::string> args = {"balance"};
            const auto more = conditionArgs(c);
            args.insert(args.end(), more.begin(), more.end());
            SCOPED_TRACE(::testing::PrintToString(args));
            const Outcome got = run(args);
            const design::BalanceResult want = design::balance(c);
            if (!want.ok()) {
                ++refused;
                expectRefusal(got, balanceHeader, design::explainBalance(c, want.why));
                continue;
            }
            EXPECT_EQ(got.status, 0) << got.err;
            EXPECT_EQ(got.err, "");
            const auto out = lines(got.out);
            ASSERT_EQ(out.size(), 2u);
            EXPECT_EQ(out[0], balanceHeader);
            const auto f = fieldsOf(out[1]);
            ASSERT_EQ(f.size(), 5u);
            const design::Balance &v = want.values;
            const double values[] = {v.dutyKW, v.MVk, v.MVs, v.tkk, v.tsk};
            for (std::size_t k = 0; k < 5; ++k) EXPECT_EQ(readBack(f[k]), values[k]) << k;
        }
    }
    EXPECT_GE(refused, 16); // the table's refusals are refusals in either unit
}

TEST(Balance, BadValuesAreUsageErrors)
{
    const design::Conditions good = conditions(80, 10, 7.0, 1.0, no, no, 40.0);
    const struct {
        const char *option, *value, *message;
    } rows[] = {
        {"--jacket-flow", "0", "--jacket-flow: a flow above 0 is needed"},
        {"--coil-flow", "150.01", "--coil-flow: 150.01 is outside 0 to 150"},
        {"--coil-flow", "4.9e-324", "--coil-flow: 5e-324 m3/h is too small to rate"},
        {"--duty", "0", "--duty: 0 is not above 0"},
        {"--duty", "1e309", "--duty: 1e309 is out of range: too large to be read (above 0)"},
        {"--duty", "40kW", "--duty: '40kW' is not a number"},
        {"--jacket-inlet", "151", "--jacket-inlet: 151 is outside -5 to 150"},
        {"--coil-unit", "gpm", "--coil-unit: 'gpm' is not a unit"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.message);
        std::vector<std::string> args = {"balance"};
        const auto more = conditionArgs(good);
        args.insert(args.end(), more.begin(), more.end());
        args.insert(args.end(), {row.option, row.value}); // the last one counts
        const Outcome got = run(args);
        EXPECT_EQ(got.status, 2);
        EXPECT_EQ(got.out, "");
        EXPECT_NE(got.err.find(std::string("ventrano-rate: ") + row.message), std::string::npos) << got.err;
    }
    // An outlet in place of the duty.
    std::vector<std::string> args = {"balance"};
    const auto more = conditionArgs(conditions(80, 10, 7.0, 1.0, no, 50.0, no));
    args.insert(args.end(), more.begin(), more.end());
    EXPECT_EQ(run(args).status, 0);
}

namespace {

// The lines select writes for the request's list.
std::vector<std::string> selectLines(const selection::Request &r)
{
    std::vector<std::string> out = {
        "type,series,parallel,units,surface_m2,duty_kW,margin_percent,jacket_outlet_C,coil_outlet_C,jacket_dp_kPa,"
        "coil_dp_kPa,jacket_mass_flow_kg_s,coil_mass_flow_kg_s,jacket_velocity_m_s,coil_velocity_m_s,"
        "jacket_film_W_m2K,coil_film_W_m2K,overall_W_m2K"};
    for (const selection::Entry &e : selection::select(r).entries) {
        std::string l = std::string(rating::TipusNevek[e.Tipus]) + "," + std::to_string(e.Soros) + "," +
                        std::to_string(e.Parh) + "," + std::to_string(e.units);
        const rating::Model::ResultValues &v = e.values;
        for (double x : {e.surfaceM2, e.dutyKW, e.marginPercent, v.LbTKK, v.LbTSK, v.DPK, v.DPS, v.LbTomegaramK,
                         v.LbTomegaramS, v.LbArsebK, v.LbArsebS, v.LbHoatadK, v.LbHoatadS, v.LbHoatbocsT})
            l += "," + numberText(x);
        out.push_back(l);
    }
    return out;
}

} // namespace

// Outlets in place of the duty or a flow give the list of the balance's
// duty and flows; the fouling and the margin go to the engine.
TEST(Select, DesignConditionsFoulingAndMargin)
{
    const struct {
        design::Conditions c;
        double fouling, margin;
    } table[] = {
        {conditions(80, 10, no, 1.0, 60.0, 55.0, no), rating::Rf, 0},
        {conditions(80, 10, 7.0, 1.0, no, 55.0, no), 0.0002, 10},
        {conditions(80, 10, no, no, 60.0, 55.0, 40.0), 0, 25},
        {conditions(80, 20, 7.0, 1.0, no, no, 40.0), 0.0001, 5}, // the duty and both flows as given
    };
    for (const auto &row : table) {
        std::vector<std::string> args = {"select", "--fouling", numberText(row.fouling), "--margin=" + numberText(row.margin)};
        const auto more = conditionArgs(row.c);
        args.insert(args.end(), more.begin(), more.end());
        SCOPED_TRACE(::testing::PrintToString(args));
        selection::Request r;
        r.Rf = row.fouling, r.marginPercent = row.margin;
        ASSERT_TRUE(design::designRequest(row.c, r).ok());
        const auto want = selectLines(r);
        ASSERT_GT(want.size(), 2u);
        const Outcome got = run(args);
        EXPECT_EQ(got.status, 0) << got.err;
        EXPECT_EQ(got.err, "");
        EXPECT_EQ(lines(got.out), want);
    }
    // The balance refuses: the header alone, its sentence.
    const design::Conditions cross = conditions(80, 10, no, 1.0, 60.0, 85.0, no);
    std::vector<std::string> args = {"select"};
    const auto more = conditionArgs(cross);
    args.insert(args.end(), more.begin(), more.end());
    expectRefusal(run(args), selectLines(selection::Request{}).front(),
                  design::explainBalance(cross, design::balance(cross).why));
    // A derived duty the selection does not take.
    args = {"select"};
    const auto tiny = conditionArgs(conditions(80, 10, 1e-300, 1.0, 60.0, no, no));
    args.insert(args.end(), tiny.begin(), tiny.end());
    const Outcome t = run(args);
    EXPECT_EQ(t.status, 1);
    EXPECT_EQ(lines(t.out).size(), 1u);
    EXPECT_EQ(t.err.rfind("ventrano-rate: the design conditions give a heat duty of ", 0), 0u) << t.err;
    EXPECT_NE(t.err.find(" kW, outside the 0.001 to 100000 kW the selection takes\n"), std::string::npos) << t.err;
    // A margin that lifts the duty beyond every arrangement: the engine's
    // sentence about the duty with the margin.
    selection::Request r;
    r.dutyKW = 60, r.marginPercent = 100;
    args = {"select", "--duty", "60", "--jacket-flow", "7", "--jacket-unit", "m3/h", "--jacket-inlet", "80",
            "--coil-flow", "1", "--coil-unit", "m3/h", "--coil-inlet", "20", "--margin", "100"};
    const selection::Result none = selection::select(r);
    ASSERT_TRUE(none.entries.empty());
    const Outcome n = run(args);
    EXPECT_EQ(n.status, 1);
    EXPECT_EQ(n.err, "ventrano-rate: " + selection::explain(r, none.why, 1, ".", {"jacket side", "coil side"}) + "\n");

    const struct {
        const char *option, *value, *message;
    } bad[] = {
        {"--fouling", "0.02", "--fouling: 0.02 is outside 0 to 0.01"},
        {"--fouling", "x", "--fouling: 'x' is not a number"},
        {"--margin", "100.5", "--margin: 100.5 is outside 0 to 100"},
        {"--margin", "-1", "--margin: -1 is outside 0 to 100"},
        {"--coil-outlet", "151", "--coil-outlet: 151 is outside -5 to 150"},
    };
    for (const auto &row : bad) {
        SCOPED_TRACE(row.message);
        std::vector<std::string> a = {"select"};
        const auto m = conditionArgs(conditions(80, 10, no, 1.0, 60.0, 55.0, no));
        a.insert(a.end(), m.begin(), m.end());
        a.insert(a.end(), {row.option, row.value}); // the last one counts
        const Outcome got = run(a);
        EXPECT_EQ(got.status, 2);
        EXPECT_EQ(got.out, "");
        EXPECT_NE(got.err.find(std::string("ventrano-rate: ") + row.message), std::string::npos) << got.err;
    }
}

namespace {

struct Solve {
    const char *vary;
    design::Input input;
    const char *result;
    design::Output output;
    double target;
    rating::Case c;
    bool foulingGiven = false;
    bool valueGiven = true;
};

std::vector<std::string> solveArgs(const Solve &s)
{
    const rating::Case &c = s.c;
    std::vector<std::string> a = {"solve", "--vary", s.vary, "--target", std::string(s.result) + "=" + numberText(s.target),
                                  "--type", rating::TipusNevek[c.Tipus], "--series", std::to_string(c.Soros),
                                  "--parallel", std::to_string(c.Parh), "--jacket-unit", units(c.CbMVkIndex),
                                  "--coil-unit", units(c.CbMVsIndex)};
    const struct {
        const char *option, *name;
        double v;
    } numbers[] = {{"--jacket-flow", "jacket_flow", c.MVk}, {"--jacket-inlet", "jacket_inlet", c.tkb},
                   {"--coil-flow", "coil_flow", c.MVs},     {"--coil-inlet", "coil_inlet", c.tsb},
                   {"--fouling", "fouling", c.Rf}};
    for (const auto &n : numbers) {
        const bool varied = std::string(n.name) == s.vary;
        if (varied ? s.valueGiven : (std::string(n.name) != "fouling" || s.foulingGiven))
            a.insert(a.end(), {n.option, numberText(n.v)});
    }
    return a;
}

rating::Case installation(int type, int series, int parallel, double MVk, int uk, double tkb, double MVs, int us,
                          double tsb, double Rf = rating::Rf)
{
    rating::Case c;
    c.Tipus = type, c.Soros = series, c.Parh = parallel;
    c.MVk = MVk, c.CbMVkIndex = uk, c.tkb = tkb, c.MVs = MVs, c.CbMVsIndex = us, c.tsb = tsb, c.Rf = Rf;
    return c;
}

} // namespace

// The answer is the engine's, and the row is the one rate writes for the
// installation with the answer put in, byte for byte; the fouling column
// is there where the fouling is given or varied.
TEST(Solve, TheRowRateWritesForTheAnswer)
{
    using I = design::Input;
    using O = design::Output;
    const rating::Case base = installation(2, 1, 1, 7, 1, 80, 1, 1, 10);
    std::vector<Solve> table = {
        {"coil_flow", I::CoilFlow, "coil_outlet_C", O::CoilOutlet, 55, base},
        {"jacket_flow", I::JacketFlow, "duty_kW", O::Duty, 40, installation(0, 2, 1, 100, 0, 80, 20, 0, 15)},
        {"jacket_inlet", I::JacketInlet, "duty_kW", O::Duty, 30, base, false, false},
        {"coil_inlet", I::CoilInlet, "jacket_outlet_C", O::JacketOutlet, 70, installation(4, 1, 2, 5, 1, 85, 2, 1, 10)},
        {"fouling", I::Fouling, "duty_kW", O::Duty, 45, installation(1, 1, 1, 7, 1, 80, 1, 1, 20)},
        {"jacket_flow", I::JacketFlow, "jacket_dp_kPa", O::JacketDrop, 50, base, true},
        {"coil_flow", I::CoilFlow, "coil_dp_kPa", O::CoilDrop, 20, installation(3, 1, 1, 7, 1, 80, 1, 1, 20, 0.0003), true, false},
    };
    for (const Solve &s : table) {
        const auto args = solveArgs(s);
        SCOPED_TRACE(::testing::PrintToString(args));
        rating::Case c = s.c;
        if (!s.valueGiven && s.input != I::Fouling) design::setInput(c, s.input, design::inputOf(rating::Case{}, s.input));
        const design::ReachResult want = design::reach(c, s.input, s.output, s.target);
        ASSERT_TRUE(want.ok()) << design::explainReach(c, s.input, s.output, s.target, want.why);
        const Outcome got = run(args);
        ASSERT_EQ(got.status, 0) << got.err;
        EXPECT_EQ(got.err, "");
        const auto out = lines(got.out);
        ASSERT_EQ(out.size(), 2u);
        const auto head = fieldsOf(out[0]), row = fieldsOf(out[1]);
        ASSERT_EQ(head.size(), row.size());
        const bool fouling = s.foulingGiven || s.input == I::Fouling;
        EXPECT_EQ(head[9] == "fouling_m2K_W", fouling) << out[0];
        const std::size_t inputs = fouling ? 10 : 9;
        // The varied column holds the answer, the result column its result.
        const std::string column = s.input == I::Fouling ? "fouling_m2K_W" : s.vary;
        const auto at = std::find(head.begin(), head.end(), column) - head.begin();
        EXPECT_EQ(row[static_cast<std::size_t>(at)], numberText(want.answer.value));
        const auto res = std::find(head.begin(), head.end(), s.result) - head.begin();
        EXPECT_EQ(readBack(row[static_cast<std::size_t>(res)]), want.answer.result);
        // rate on the row's inputs writes the same two lines.
        std::string csv;
        for (std::size_t k = 0; k < inputs; ++k) csv += (k ? "," : "") + head[k];
        csv += "\n";
        for (std::size_t k = 0; k < inputs; ++k) csv += (k ? "," : "") + row[k];
        const Outcome rated = run({"rate"}, csv + "\n");
        EXPECT_EQ(rated.status, 0);
        EXPECT_EQ(rated.out, got.out);
    }
}

TEST(Solve, NoAnswerAndBadOptions)
{
    using I = design::Input;
    using O = design::Output;
    const rating::Case base = installation(2, 1, 1, 7, 1, 80, 1, 1, 10);
    // No answer: out of reach, a result that does not depend on the input,
    // no rated value at all.
    const Solve none[] = {
        {"coil_flow", I::CoilFlow, "coil_outlet_C", O::CoilOutlet, 85, base},
        {"jacket_flow", I::JacketFlow, "duty_kW", O::Duty, 1e6, base},
        {"fouling", I::Fouling, "duty_kW", O::Duty, -1e6, base},
        {"coil_inlet", I::CoilInlet, "jacket_dp_kPa", O::JacketDrop, 10, base},
        {"jacket_inlet", I::JacketInlet, "duty_kW", O::Duty, 10, installation(2, 1, 1, 7, 1, 80, 0, 1, 10)},
    };
    for (const Solve &s : none) {
        const auto args = solveArgs(s);
        SCOPED_TRACE(::testing::PrintToString(args));
        const design::ReachResult want = design::reach(s.c, s.input, s.output, s.target);
        ASSERT_FALSE(want.ok());
        const Outcome got = run(args);
        const std::string header = lines(run(solveArgs(Solve{s.vary, s.input, "duty_kW", O::Duty, 40, base})).out).at(0);
        expectRefusal(got, header, design::explainReach(s.c, s.input, s.output, s.target, want.why));
    }

    const struct {
        const char *option, *value, *message;
    } bad[] = {
        {"--target", "duty_kW", "--target: 'duty_kW' is no RESULT=VALUE (such as duty_kW=40)"},
        {"--target", "power=40", "--target: 'power' is not a result to aim at (duty_kW, jacket_outlet_C, "
                                 "coil_outlet_C, jacket_dp_kPa or coil_dp_kPa)"},
        {"--target", "duty_kW=", "--target: no value"},
        {"--target", "duty_kW=4o", "--target: '4o' is not a number"},
        {"--target", "duty_kW=2e6", "--target: 2e6 is outside -1000000 to 1000000"},
        {"--target", "duty_kW=1e999", "--target: 1e999 is outside -1000000 to 1000000"},
        {"--fouling", "0.011", "--fouling: 0.011 is outside 0 to 0.01"},
        {"--type", "VT/R-9", "--type: 'VT/R-9' is not a type"},
        {"--series", "0", "--series: 0 is outside 1 to 150"},
        {"--coil-flow", "-1", "--coil-flow: -1 is outside 0 to 150"},
        {"--vary", "fouling_m2K_W", "--vary: 'fouling_m2K_W' is not an input to vary"},
        {"--frob", "1", "unknown option '--frob'"},
    };
    for (const auto &row : bad) {
        SCOPED_TRACE(row.message);
        auto args = solveArgs({"coil_flow", I::CoilFlow, "duty_kW", O::Duty, 40, base});
        args.insert(args.end(), {row.option, row.value});
        const Outcome got = run(args);
        EXPECT_EQ(got.status, 2);
        EXPECT_EQ(got.out, "");
        EXPECT_NE(got.err.find(std::string("ventrano-rate: ") + row.message), std::string::npos) << got.err;
    }
}

// Options picked at random from good, bad and awkward values: every run
// ends in 0 or 1 with a table whose every cell is a number the command
// line reads back (the type and units aside) and a sentence without an
// infinity or an empty number, or in 2 with a message and nothing on
// standard output.
TEST(DesignCommands, RandomOptionsGiveATableOrAMessage)
{
    std::mt19937 g(7);
    // Good values mostly, at and near the ends of their fields; now and
    // then an awkward or a bad one.
    struct Pool {
        std::vector<std::string> good, bad;
    };
    const Pool hot = {{"80", "150", "90", "79.99", "60"}, {"x", "1e309", "151"}};
    const Pool cold = {{"10", "-5", "20", "-4.99", "55", "-0"}, {"", "-6"}};
    const Pool flows = {{"7", "1", "150", "0.01", "60", "2.5", "1e-300"}, {"0", "4.9e-324", "151"}};
    const Pool duties = {{"40", "0.001", "61.54", "1e-300", "500", "100000"}, {"0", "-1"}};
    const Pool unitPool = {{"m3/h", "l/min"}, {"gpm"}};
    const Pool targets = {{"duty_kW=40", "coil_outlet_C=55", "jacket_outlet_C=70", "jacket_dp_kPa=1e6",
                           "coil_dp_kPa=0", "duty_kW=0.001", "coil_outlet_C=149.995", "jacket_outlet_C=-1e6"},
                          {"duty_kW", "x=1"}};
    const Pool varied = {{"jacket_flow", "coil_flow", "jacket_inlet", "coil_inlet", "fouling"}, {"duty_kW"}};
    auto pick = [&](const Pool &p) {
        const bool bad = g() % 16 == 0;
        const auto &v = bad ? p.bad : p.good;
        return v[g() % v.size()];
    };
    int seen[3][3] = {};
    for (int i = 0; i < 180; ++i) {
        std::vector<std::string> args;
        const int command = i % 3;
        args.push_back(command == 0 ? "balance" : command == 1 ? "select" : "solve");
        // Either side the warmer one.
        const bool swap = g() % 4 == 0;
        args.insert(args.end(), {"--jacket-inlet", pick(swap ? cold : hot), "--coil-inlet", pick(swap ? hot : cold),
                                 "--jacket-unit", pick(unitPool), "--coil-unit", pick(unitPool)});
        const std::vector<std::pair<std::string, const Pool *>> five = {
            {"--jacket-flow", &flows}, {"--coil-flow", &flows}, {"--jacket-outlet", swap ? &hot : &cold},
            {"--coil-outlet", swap ? &cold : &hot}, {"--duty", &duties}};
        // Three of the five, now and then another number of them; solve
        // takes both flows.
        std::vector<std::size_t> order = {0, 1, 2, 3, 4};
        std::shuffle(order.begin(), order.end(), g);
        const std::size_t count = command == 2 ? 2 : g() % 8 == 0 ? g() % 6 : 3;
        if (command == 2) order = {0, 1};
        for (std::size_t k = 0; k < count && k < order.size(); ++k)
            args.insert(args.end(), {five[order[k]].first, pick(*five[order[k]].second)});
        if (command != 0 && g() % 2) args.insert(args.end(), {"--fouling", g() % 4 ? "0.0001" : "0.01"});
        if (command == 1 && g() % 2) args.insert(args.end(), {"--margin", g() % 4 ? "10" : "100"});
        if (command == 2)
            args.insert(args.end(), {"--vary", pick(varied), "--target", pick(targets), "--type", "VT/R-1",
                                     "--series", g() % 3 ? "1" : "150", "--parallel", g() % 3 ? "2" : "150"});
        SCOPED_TRACE(::testing::PrintToString(args));
        const Outcome got = run(args);
        ASSERT_TRUE(got.status >= 0 && got.status <= 2) << got.status;
        ++seen[command][got.status];
        if (got.status == 2) {
            EXPECT_EQ(got.out, "");
            EXPECT_NE(got.err.find("ventrano-rate: "), std::string::npos);
            continue;
        }
        const auto out = lines(got.out);
        ASSERT_FALSE(out.empty());
        const auto head = fieldsOf(out[0]);
        for (std::size_t r = 1; r < out.size(); ++r) {
            const auto f = fieldsOf(out[r]);
            ASSERT_EQ(f.size(), head.size());
            for (std::size_t k = 0; k < f.size(); ++k) {
                if (head[k] == "type" || head[k] == "jacket_unit" || head[k] == "coil_unit" || head[k] == "error") continue;
                EXPECT_TRUE(textio::parseNumber(f[k]).has_value()) << head[k] << ": '" << f[k] << "'";
            }
        }
        if (got.status == 0) {
            EXPECT_EQ(got.err, "");
            EXPECT_GE(out.size(), 2u);
            continue;
        }
        EXPECT_EQ(got.err.rfind("ventrano-rate: ", 0), 0u);
        EXPECT_EQ(std::count(got.err.begin(), got.err.end(), '\n'), 1);
        for (const char *word : {"inf", "nan", "INF", "NAN", " kW", " kPa", " \u00B0C"}) {
            const std::string w = word;
            if (w[0] != ' ') {
                EXPECT_EQ(got.err.find(w), std::string::npos) << got.err;
                continue;
            }
            // A unit has its number before it ("a number of kW" aside).
            for (std::size_t at = got.err.find(w); at != std::string::npos; at = got.err.find(w, at + 1))
                EXPECT_TRUE((at > 0 && got.err[at - 1] >= '0' && got.err[at - 1] <= '9') ||
                            (at >= 2 && got.err.substr(at - 2, 2) == "of"))
                    << got.err;
        }
    }
    // The values reach every outcome of every command.
    for (int command = 0; command < 3; ++command)
        for (int status = 0; status < 3; ++status) EXPECT_GT(seen[command][status], 0) << command << " " << status;
}
