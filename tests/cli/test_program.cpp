// The program ventrano-rate as a script sees it: standard input and output,
// standard error and the exit status.
#include "textio/number.h"
#include "rating/case.h"
#include "selection/explain.h"
#include "selection/select.h"

#include "program.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

using namespace clitest;

namespace {

const char *const header = "type,series,parallel,jacket_flow,coil_flow,jacket_unit,coil_unit,jacket_inlet,coil_inlet";
const char *const outputColumns[] = {"duty_kW",
                                     "jacket_outlet_C",
                                     "coil_outlet_C",
                                     "jacket_dp_kPa",
                                     "coil_dp_kPa",
                                     "jacket_mass_flow_kg_s",
                                     "coil_mass_flow_kg_s",
                                     "jacket_velocity_m_s",
                                     "coil_velocity_m_s",
                                     "jacket_film_W_m2K",
                                     "coil_film_W_m2K",
                                     "overall_W_m2K",
                                     "error"};

// The main window's calculation run with its texts, for the case.
rating::Model window(const rating::Case &c)
{
    rating::Model m;
    m.Tipus = c.Tipus, m.Soros = c.Soros, m.Parh = c.Parh;
    m.MVk = c.MVk, m.CbMVkIndex = c.CbMVkIndex, m.tkb = c.tkb;
    m.MVs = c.MVs, m.CbMVsIndex = c.CbMVsIndex, m.tsb = c.tsb;
    m.SzHoteljesitmeny = "Total heat transfer";
    m.SzHoatbocsT = "Overall heat transfer coefficient";
    m.Szamitas();
    return m;
}

std::string rowOf(const rating::Case &c)
{
    return std::string(rating::TipusNevek[c.Tipus]) + "," + std::to_string(c.Soros) + "," + std::to_string(c.Parh) +
           "," + textio::numberText(c.MVk) + "," + textio::numberText(c.MVs) + "," + units(c.CbMVkIndex) + "," +
           units(c.CbMVsIndex) + "," + textio::numberText(c.tkb) + "," + textio::numberText(c.tsb);
}

} // namespace

// Good rows: every number reads back as the double the main window formats,
// and rounded as it rounds gives its text.
TEST(Rate, NumbersAreTheMainWindows)
{
    std::vector<rating::Case> cases;
    rating::Case defaults;
    cases.push_back(defaults);
    std::mt19937_64 g(1);
    std::uniform_real_distribution<double> flow(0.2, 150), inlet(-5, 150);
    for (int i = 0; i < 60; ++i) {
        rating::Case c;
        c.Tipus = i % 5;
        c.Soros = 1 + static_cast<int>(g() % (i % 3 == 0 ? 150 : 10));
        c.Parh = 1 + static_cast<int>(g() % (i % 4 == 0 ? 150 : 10));
        c.MVk = flow(g), c.MVs = i % 7 == 0 ? 150 : flow(g);
        c.CbMVkIndex = static_cast<int>(g() % 2), c.CbMVsIndex = static_cast<int>(g() % 2);
        c.tkb = i % 9 == 0 ? 150 : inlet(g), c.tsb = i % 11 == 0 ? -5 : inlet(g);
        rating::Model m;
        if (c.tkb == c.tsb || !rating::rate(m, c).ok()) continue;
        cases.push_back(c);
    }
    std::string input = std::string(header) + ",id\n";
    for (std::size_t i = 0; i < cases.size(); ++i) input += rowOf(cases[i]) + ",case " + std::to_string(i) + "\n";
    const Outcome r = run({"rate"}, input);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const auto out = lines(r.out);
    ASSERT_EQ(out.size(), cases.size() + 1);
    std::string wantHeader = std::string(header) + ",id";
    for (const char *c : outputColumns) wantHeader += std::string(",") + c;
    EXPECT_EQ(out[0], wantHeader);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(rowOf(cases[i]));
        const auto f = fieldsOf(out[i + 1]);
        ASSERT_EQ(f.size(), 10u + 13u);
        EXPECT_EQ(f[9], "case " + std::to_string(i));
        EXPECT_EQ(f[22], "");
        const rating::Model m = window(cases[i]);
        ASSERT_FALSE(m.Hiba);
        const rating::Model::ResultValues &v = m.Values;
        const struct {
            double want;
            int decimals;
            const std::string &text;
            const char *prefix, *suffix;
        } cols[] = {
            {v.QLabel, 2, m.QLabel, "Total heat transfer=", " kW"},
            {v.LbTKK, 2, m.LbTKK, "", " \u00B0C"},
            {v.LbTSK, 2, m.LbTSK, "", " \u00B0C"},
            {v.DPK, 3, m.DPK, "", " kPa"},
            {v.DPS, 3, m.DPS, "", " kPa"},
            {v.LbTomegaramK, 2, m.LbTomegaramK, "", " kg/s"},
            {v.LbTomegaramS, 2, m.LbTomegaramS, "", " kg/s"},
            {v.LbArsebK, 2, m.LbArsebK, "", " m/s"},
            {v.LbArsebS, 2, m.LbArsebS, "", " m/s"},
            {v.LbHoatadK, 0, m.LbHoatadK, "", " W/m2\u00B0C"},
            {v.LbHoatadS, 0, m.LbHoatadS, "", " W/m2\u00B0C"},
            {v.LbHoatbocsT, 0, m.LbHoatbocsT, "Overall heat transfer coefficient ", " W/m2\u00B0C"},
        };
        for (int k = 0; k < 12; ++k) {
            const double x = readBack(f[static_cast<std::size_t>(10 + k)]);
            EXPECT_EQ(std::memcmp(&x, &cols[k].want, sizeof x), 0) << outputColumns[k] << " " << f[10 + k];
            EXPECT_EQ(cols[k].prefix + rating::FixedText(x, cols[k].decimals) + cols[k].suffix, cols[k].text)
                << outputColumns[k];
        }
    }
    // The main window's default case, as it shows it.
    const auto f = fieldsOf(out[1]);
    const char *const shown[] = {"46.37", "74.15", "60.09", "98.000", "155.218", "1.89",
                                 "0.28",  "1.33",  "2.44",  "24194",  "29794",   "7698"};
    const int decimals[] = {2, 2, 2, 3, 3, 2, 2, 2, 2, 0, 0, 0};
    for (int k = 0; k < 12; ++k)
        EXPECT_EQ(rating::FixedText(readBack(f[static_cast<std::size_t>(10 + k)]), decimals[k]), shown[k])
            << outputColumns[k];
}

// Bad rows: a one-line message, empty result columns, the input echoed; the
// rows around them rated all the same.
TEST(Rate, BadRowsGetAMessageAndTheRestIsRated)
{
    const std::string good = "VT/R-0,1,1,7,1,m3/h,m3/h,80,20";
    const struct {
        std::string row, message;
    } rows[] = {
        {"VT/R-5,1,1,7,1,m3/h,m3/h,80,20", "type: 'VT/R-5' is not a type"},
        {"VT/R-0,2.5,1,7,1,m3/h,m3/h,80,20", "series: 2.5 is a fraction"},
        {"VT/R-0,1,0,7,1,m3/h,m3/h,80,20", "parallel: 0 is outside 1 to 150"},
        {"VT/R-0,151,1,7,1,m3/h,m3/h,80,20", "series: 151 is outside 1 to 150"},
        {"VT/R-0,1,1,\"7,5\",1,m3/h,m3/h,80,20", "jacket_flow: '7,5' is not a number (the decimal separator is a point)"},
        {"VT/R-0,1,1,150.5,1,m3/h,m3/h,80,20", "jacket_flow: 150.5 is outside 0 to 150"},
        {"VT/R-0,1,1,7,-1,m3/h,m3/h,80,20", "coil_flow: -1 is outside 0 to 150"},
        {"VT/R-0,1,1,nan,1,m3/h,m3/h,80,20", "jacket_flow: 'nan' is not a number"},
        {"VT/R-0,1,1,inf,1,m3/h,m3/h,80,20", "jacket_flow: 'inf' is not a number"},
        {"VT/R-0,1,1,0x7,1,m3/h,m3/h,80,20", "jacket_flow: '0x7' is not a number"},
        {"VT/R-0,1,1,7kg,1,m3/h,m3/h,80,20", "jacket_flow: '7kg' is not a number"},
        {"VT/R-0,1,1,,1,m3/h,m3/h,80,20", "jacket_flow: no value"},
        {"VT/R-0,1,1,7,1,gpm,m3/h,80,20", "jacket_unit: 'gpm' is not a unit (l/min or m3/h)"},
        {"VT/R-0,1,1,7,1,m3/h,m3/h,80,-6", "coil_inlet: -6 is outside -5 to 150"},
        {"VT/R-0,1,1,7,1,m3/h,m3/h,151,20", "jacket_inlet: 151 is outside -5 to 150"},
        {"VT/R-0,1,1,0,1,m3/h,m3/h,80,20", "the jacket flow is 0: nothing to rate"},
        {"VT/R-0,1,1,7,0,m3/h,m3/h,80,20", "the coil flow is 0: nothing to rate"},
        {"VT/R-0,1,1,7,1,m3/h,m3/h,50,50", "the inlet temperatures are equal"},
        {"VT/R-0,2,1,7,150,m3/h,m3/h,80,20", "the coil pressure drop reaches 10000 bar"},
        {"VT/R-0,1,1,1e309,1,m3/h,m3/h,80,20", "jacket_flow: 1e309 is outside 0 to 150"},
        {"VT/R-0,1,1,7,1e-400,m3/h,m3/h,80,20", "coil_flow: 1e-400 is out of range: too near 0 to be read (0 to 150)"},
        {"VT/R-0,1,1,7,1,m3/h,m3/h,++80,20", "jacket_inlet: '++80' is not a number"},
        {"VT/R-0,1,1,4.9e-324,1,m3/h,m3/h,80,20",
         "the jacket flow 5e-324 m3/h is too small to rate: 0 once converted to m3/s"},
        {"VT/R-0,1,1,7,1,m3/h,m3/h,80", "8 fields, the header has 9"},
        {"VT/R-0,1,1,7,1,m3/h,m3/h,80,20,x", "10 fields, the header has 9"},
        {"VT/R-9,x,1,7,1,m3/h,m3/h,80,20", "type: 'VT/R-9' is not a type (VT/R-0, VT/R-1, VT/R-2, VT/R-3 or VR/T-4); "
                                           "series: 'x' is not a number"},
    };
    std::string input = std::string(header) + "\n" + good + "\n";
    for (const auto &row : rows) input += row.row + "\n" + good + "\n";
    const Outcome r = run({"rate"}, input);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "");
    const auto out = lines(r.out);
    ASSERT_EQ(out.size(), 2 + 2 * std::size(rows));
    const std::string goodOut = out[1];
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(rows[i].row);
        const auto f = fieldsOf(out[2 + 2 * i]);
        ASSERT_EQ(f.size(), 9u + 13u);
        const auto in = fieldsOf(rows[i].row);
        for (std::size_t k = 0; k < 9; ++k) EXPECT_EQ(f[k], k < in.size() ? in[k] : "");
        for (std::size_t k = 9; k < 21; ++k) EXPECT_EQ(f[k], "") << k;
        const std::string line = "line " + std::to_string(3 + 2 * i) + ": ";
        EXPECT_EQ(f[21].rfind(line + rows[i].message, 0), 0u) << f[21];
        EXPECT_EQ(out[3 + 2 * i], goodOut);
    }
    // Plus signs, as the main window's fields take them: the good row's results.
    const Outcome plus = run({"rate"}, std::string(header) + "\nVT/R-0,+1,+1,+7,+1,m3/h,m3/h,+80,+20\n");
    EXPECT_EQ(plus.status, 0) << plus.out;
    const auto pf = fieldsOf(lines(plus.out).at(1)), gf = fieldsOf(goodOut);
    EXPECT_EQ(std::vector<std::string>(pf.begin() + 9, pf.end()), std::vector<std::string>(gf.begin() + 9, gf.end()));
}

// The optional fouling column: missing or empty, the rating's own; a value
// rates with it; a bad one is the row's error. The column is echoed as read.
TEST(Rate, FoulingColumn)
{
    const std::string row = "VT/R-2,1,1,7,1,m3/h,m3/h,80,20";
    const Outcome without = run({"rate"}, std::string(header) + "\n" + row + "\n");
    ASSERT_EQ(without.status, 0);
    const auto plain = fieldsOf(lines(without.out).at(1));
    const std::vector<std::string> plainResults(plain.begin() + 9, plain.end());

    rating::Case c;
    c.Tipus = 2;
    c.Rf = 0.0002;
    rating::Model m;
    const rating::Rating fouled = rating::rate(m, c);
    ASSERT_TRUE(fouled.ok());
    const struct {
        std::string fouling;
        std::string message; // empty: rated
        bool asDefault = false;
    } rows[] = {
        {"", "", true},
        {"  ", "", true},
        {"0.000055", "", true},
        {"5.5e-5", "", true},
        {" 0.0002 ", ""},
        {"0.0002", ""},
        {"0", ""},
        {"0.01", ""},
        {"0.0100001", "fouling_m2K_W: 0.0100001 is outside 0 to 0.01"},
        {"-0.0001", "fouling_m2K_W: -0.0001 is outside 0 to 0.01"},
        {"0,0002", "fouling_m2K_W: '0,0002' is not a number (the decimal separator is a point)"},
        {"nan", "fouling_m2K_W: 'nan' is not a number"},
    };
    std::string input = std::string(header) + ",fouling_m2K_W\n";
    for (const auto &r : rows) input += row + ",\"" + r.fouling + "\"\n";
    const Outcome got = run({"rate"}, input);
    EXPECT_EQ(got.status, 1);
    const auto out = lines(got.out);
    ASSERT_EQ(out.size(), std::size(rows) + 1);
    EXPECT_EQ(out[0], std::string(header) + ",fouling_m2K_W,duty_kW,jacket_outlet_C,coil_outlet_C,jacket_dp_kPa,"
                      "coil_dp_kPa,jacket_mass_flow_kg_s,coil_mass_flow_kg_s,jacket_velocity_m_s,coil_velocity_m_s,"
                      "jacket_film_W_m2K,coil_film_W_m2K,overall_W_m2K,error");
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(rows[i].fouling);
        const auto f = fieldsOf(out[i + 1]);
        ASSERT_EQ(f.size(), 10u + 13u);
        EXPECT_EQ(f[9], rows[i].fouling);
        const std::vector<std::string> results(f.begin() + 10, f.end());
        if (!rows[i].message.empty()) {
            EXPECT_EQ(f[22], "line " + std::to_string(i + 2) + ": " + rows[i].message);
            EXPECT_EQ(f[10], "");
        } else if (rows[i].asDefault) {
            EXPECT_EQ(results, plainResults);
        } else {
            EXPECT_NE(results, plainResults);
            EXPECT_EQ(f[22], "");
        }
    }
    const auto f = fieldsOf(out[6]);
    EXPECT_EQ(readBack(f[10]), fouled.values.QLabel);
    EXPECT_EQ(readBack(f[21]), fouled.values.LbHoatbocsT);
}

// What spreadsheets and hand-made files bring: a byte order mark, CRLF,
// columns in another order (one name after a blank) with extra ones passed
// through (quoted fields with commas, quotes and line breaks), empty lines
// and one of blanks alone, a last line without a line break, blanks around
// values.
TEST(Rate, SpreadsheetInput)
{
    const std::string in = "\xEF\xBB\xBF" "note,coil_inlet,jacket_inlet,coil_unit,jacket_unit,coil_flow,jacket_flow,"
                           "parallel, series,type\r\n"
                           "\"first, \"\"quoted\"\"\r\nnote\",20,80,m3/h,m3/h,1,7,1,1,VT/R-0\r\n"
                           "\r\n"
                           "plain, 20 , 80,m3/h,m3/h,1,7,1,1,VT/R-0\r\n"
                           " \t \n"
                           "last,20,80,l/min,l/min,60,120,2,1,VT/R-1";
    const Outcome r = run({"rate"}, in);
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    // The first row's note holds a line break: split the output by records.
    // Fields with a blank at either end go out in quotes, as they came.
    const std::string head = "note,coil_inlet,jacket_inlet,coil_unit,jacket_unit,coil_flow,jacket_flow,parallel,\" series\",type,";
    ASSERT_EQ(r.out.rfind(head, 0), 0u);
    const std::string firstNote = "\"first, \"\"quoted\"\"\r\nnote\",20,80,m3/h,m3/h,1,7,1,1,VT/R-0,46.37087171120363,";
    EXPECT_NE(r.out.find("\n" + firstNote), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\nplain,\" 20 \",\" 80\",m3/h,m3/h,1,7,1,1,VT/R-0,46.37087171120363,"), std::string::npos) << r.out;
    rating::Case c;
    c.Tipus = 1, c.Parh = 2, c.MVk = 120, c.MVs = 60, c.CbMVkIndex = c.CbMVsIndex = 0;
    rating::Model m;
    EXPECT_NE(r.out.find("\nlast,20,80,l/min,l/min,60,120,2,1,VT/R-1," + textio::numberText(rating::rate(m, c).values.QLabel)),
              std::string::npos)
        << r.out;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 5); // header, 3 rows, the note's line break
}

// The start of the input is looked at to tell a table from a project: a
// table after more blank lines than are looked at is read all the same,
// its lines counted from the input's first.
TEST(Rate, TableAfterThousandsOfBlankLines)
{
    const std::string blanks = std::string(70000, '\n') + " \t\r\n";
    const Outcome r = run({"rate"}, blanks + header + "\nVT/R-0,1,1,7,1,m3/h,m3/h,80,x\n");
    EXPECT_EQ(r.status, 1) << r.err;
    const auto out = lines(r.out);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].rfind(header, 0), 0u);
    EXPECT_NE(out[1].find(",line 70003: coil_inlet: 'x' is not a number"), std::string::npos) << out[1];
}

// Records the reader cannot take apart: a message each, then on.
TEST(Rate, MalformedRecords)
{
    const std::string good = "VT/R-0,1,1,7,1,m3/h,m3/h,80,20\n";
    const std::string in = std::string(header) + "\n" + good + "VT/R-0,1,1,7,1,m3/h,m3/h,80,\"20\"x\n" + good +
                           std::string("VT/R-0,1,1,7,1,m3/h,m3/h,8\0" "0,20\n", 32) + good + "VT/R-0,1," +
                           std::string(3 << 20, '1') + ",7,1,m3/h,m3/h,80,20\n" + good + "VT/R-0,\"1,1\n";
    const Outcome r = run({"rate"}, in);
    EXPECT_EQ(r.status, 1);
    const auto out = lines(r.out);
    ASSERT_EQ(out.size(), 9u) << r.out.substr(0, 2000);
    const char *const messages[] = {"line 3: text after the closing quote of a field", "line 5: a NUL byte",
                                    "line 7: a record longer than 1 MiB",
                                    "line 9: a quoted field not closed before the end of the input"};
    for (int i = 0; i < 4; ++i) {
        const auto f = fieldsOf(out[static_cast<std::size_t>(2 + 2 * i)]);
        ASSERT_EQ(f.size(), 22u);
        for (int k = 0; k < 21; ++k) EXPECT_EQ(f[static_cast<std::size_t>(k)], "") << i << " " << k;
        EXPECT_EQ(f[21].rfind(messages[i], 0), 0u) << f[21];
        if (i < 3) {
            EXPECT_EQ(out[static_cast<std::size_t>(3 + 2 * i)], out[1]);
        }
    }
    EXPECT_LT(r.out.size(), 4000u); // the long record is not echoed
}

// Usage errors: a message on standard error, nothing on standard output,
// status 2; help on standard output, status 0.
TEST(Program, UsageErrorsAndHelp)
{
    const std::string good = std::string(header) + "\nVT/R-0,1,1,7,1,m3/h,m3/h,80,20\n";
    const struct {
        std::vector<std::string> args;
        std::string input, message;
    } rows[] = {
        {{}, "", "a command is needed"},
        {{"frob"}, "", "unknown command 'frob'"},
        {{"--frob"}, "", "unknown option '--frob'"},
        {{"rate", "--frob"}, good, "unknown option '--frob'"},
        {{"rate", "a.csv", "b.csv"}, good, "one FILE at most"},
        {{"--", "--help"}, "", "unknown command '--help'"},
        {{"--"}, "", "a command is needed"},
        {{"rate"}, "", "no header row"},
        {{"rate"}, "\n\n", "no header row"},
        {{"rate"}, "type,series,parallel\nVT/R-0,1,1\n", "the header lacks the column(s) jacket_flow, coil_flow, jacket_unit"},
        {{"rate"}, std::string(header) + ",series\n", "the column 'series' is in the header twice"},
        {{"rate"}, std::string(header) + ",duty_kW\n", "the input has a column 'duty_kW', which the output adds"},
        {{"rate"}, std::string(header) + ",error\n", "the input has a column 'error', which the output adds"},
        {{"rate"}, std::string(header) + ",\"x\"y\n", "the header row has text after the closing quote"},
        {{"select"}, "", "missing --duty --jacket-flow"},
        {{"select", "--duty", "40", "--jacket-flow", "7", "--jacket-unit", "m3/h", "--jacket-inlet", "80",
          "--coil-flow", "1", "--coil-unit", "m3/h", "--coil-inlet"},
         "", "--coil-inlet needs a value"},
        // An option that takes a value, followed by another option.
        {{"select", "--duty", "--jacket-flow", "7"}, "", "--duty needs a value"},
        {{"select", "--duty", "40", "--types", "--", "x"}, "", "--types needs a value"},
        {{"select", "--duty", "-h"}, "", "--duty needs a value"},
        // '--' ends the options: select takes no operands.
        {{"select", "--duty", "40", "--", "--jacket-flow", "7"}, "", "unexpected argument '--jacket-flow'"},
        {{"select", "stray"}, "", "unexpected argument 'stray'"},
        {{"select", "--frob\nx"}, "", "unknown option '--frob\\x0Ax'"},
        {{"rate", "--csv", "--project"}, good, "--csv and --project exclude each other"},
        {{"rate"}, std::string(header) + ",fouling_m2K_W, fouling_m2K_W\n", "the column 'fouling_m2K_W' is in the header twice"},
        // The commands of design conditions: both inlets and units, and
        // three of the duty, the flows and the outlets.
        {{"select", "--coil-outlet", "55"}, "",
         "missing --jacket-unit --jacket-inlet --coil-unit --coil-inlet; give three of --duty --jacket-flow "
         "--coil-flow --jacket-outlet --coil-outlet (1 given)"},
        {{"balance"}, "", "missing --jacket-inlet --coil-inlet --jacket-unit --coil-unit; give three of"},
        {{"balance", "--jacket-inlet", "80", "--coil-inlet", "10", "--jacket-unit", "m3/h", "--coil-unit", "m3/h",
          "--duty", "40", "--jacket-flow", "7", "--coil-flow", "1", "--coil-outlet", "50"},
         "", "give three of --jacket-flow --coil-flow --jacket-outlet --coil-outlet --duty (4 given)"},
        {{"balance", "--frob"}, "", "unknown option '--frob'"},
        {{"balance", "--duty"}, "", "--duty needs a value"},
        {{"solve"}, "", "missing --type --series --parallel --jacket-flow --jacket-unit --jacket-inlet --coil-flow "
                        "--coil-unit --coil-inlet --vary --target"},
        // The varied input's own value may be left out.
        {{"solve", "--vary", "coil_flow"}, "", "missing --type --series --parallel --jacket-flow --jacket-unit "
                                               "--jacket-inlet --coil-unit --coil-inlet --target"},
        {{"solve", "--vary", "duty"}, "", "--vary: 'duty' is not an input to vary (jacket_flow, coil_flow, "
                                          "jacket_inlet, coil_inlet or fouling)"},
        {{"project"}, "", "missing --from-csv"},
        {{"project", "--from-csv"}, "", "--from-csv needs a value"},
        {{"project", "--from-csv", "-", "x"}, good, "unexpected argument 'x'"},
        {{"project", "--from-csv", "-"}, "", "no header row"},
        {{"project", "--from-csv", "-"}, "type,series\n", "the header lacks the column(s) parallel, jacket_flow"},
        {{"project", "--from-csv", "-"}, std::string(header) + ",case,case\n", "the column 'case' is in the header twice"},
        {{"project", "--from-csv", "-", "--name", "Kaz\xE1n"}, good, "--name: 'Kaz\xE1n' is not UTF-8 text"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.message);
        const Outcome r = run(row.args, row.input);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("ventrano-rate: " + row.message), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("--help"), std::string::npos) << r.err;
    }
    for (const std::vector<std::string> &args :
         std::vector<std::vector<std::string>>{{"--help"}, {"-h"}, {"rate", "--help"}, {"select", "--help"},
                                               {"select", "--duty", "x", "-h"}, {"--", "rate", "--help"},
                                               {"balance", "--help"}, {"solve", "-h"}, {"project", "--help"}}) {
        const Outcome r = run(args);
        EXPECT_EQ(r.status, 0) << args[0];
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(r.out.rfind("Usage: ventrano-rate", 0), 0u) << r.out;
        EXPECT_NE(r.out.find("Exit status"), std::string::npos);
        // The sides are named as the options name them.
        for (const char *word : {"shell", "Shell", "spiral", "Spiral"}) EXPECT_EQ(r.out.find(word), std::string::npos) << word;
    }
    EXPECT_NE(run({"rate", "--help"}).out.find("jacket_film_W_m2K"), std::string::npos);
    EXPECT_NE(run({"select", "--help"}).out.find("--max-dp-coil"), std::string::npos);
    const std::string top = run({"--help"}).out;
    for (const char *command : {"rate", "select", "balance", "solve", "project"})
        EXPECT_NE(top.find("\n  " + std::string(command) + " "), std::string::npos) << command;
    const Outcome v = run({"--version"});
    EXPECT_EQ(v.status, 0);
    EXPECT_EQ(v.out.rfind("ventrano-rate ", 0), 0u);
    // A file as the argument, and '-' for standard input.
    char path[] = "/tmp/ventrano-rate-cases.XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, good.data(), good.size()), static_cast<ssize_t>(good.size()));
    close(fd);
    const Outcome fromFile = run({"rate", path}), fromStdin = run({"rate", "-"}, good);
    std::remove(path);
    EXPECT_EQ(fromFile.status, 0);
    EXPECT_EQ(fromStdin.status, 0);
    EXPECT_EQ(fromFile.out, fromStdin.out);
    EXPECT_EQ(lines(fromFile.out).size(), 2u);
}

// An output that fails, or an input that cannot be opened or read, is no
// usage error: status 2, what failed and why on standard error, nothing
// about the help.
TEST(Program, InputAndOutputFailures)
{
    const std::string good = std::string(header) + "\nVT/R-0,1,1,7,1,m3/h,m3/h,80,20\n";
    const std::string full = "ventrano-rate: cannot write to standard output: No space left on device\n";
    const std::vector<std::string> select = {"select", "--duty", "40", "--jacket-flow", "7", "--jacket-unit", "m3/h",
                                             "--jacket-inlet", "80", "--coil-flow", "1", "--coil-unit", "m3/h",
                                             "--coil-inlet", "20"};
    const struct {
        std::vector<std::string> args;
        std::string input, out, err;
    } rows[] = {
        {{"--help"}, "", "/dev/full", full},
        {{"--version"}, "", "/dev/full", full},
        {{"rate", "--help"}, "", "/dev/full", full},
        {{"select", "--help"}, "", "/dev/full", full},
        {{"rate"}, good, "/dev/full", full},
        {select, "", "/dev/full", full},
        {{"balance", "--help"}, "", "/dev/full", full},
        {{"balance", "--jacket-inlet", "80", "--coil-inlet", "10", "--jacket-unit", "m3/h", "--coil-unit", "m3/h",
          "--jacket-flow", "7", "--coil-flow", "1", "--coil-outlet", "50"},
         "", "/dev/full", full},
        {{"solve", "--vary", "coil_flow", "--target", "duty_kW=40", "--type", "VT/R-2", "--series", "1",
          "--parallel", "1", "--jacket-flow", "7", "--jacket-unit", "m3/h", "--jacket-inlet", "80", "--coil-unit",
          "m3/h", "--coil-inlet", "20"},
         "", "/dev/full", full},
        {{"project", "--from-csv", "-"}, good, "/dev/full", full},
        {{"project", "--from-csv", "/nonexistent/cases.csv"}, "", "",
         "ventrano-rate: cannot open '/nonexistent/cases.csv': No such file or directory\n"},
        {{"rate", "/nonexistent/cases.ventrano"}, "", "",
         "ventrano-rate: cannot open '/nonexistent/cases.ventrano': No such file or directory\n"},
        {{"rate", "--project", "/"}, "", "", "ventrano-rate: cannot read from '/': Is a directory\n"},
        {{"rate", "/nonexistent/cases.csv"}, "", "",
         "ventrano-rate: cannot open '/nonexistent/cases.csv': No such file or directory\n"},
        {{"rate", "/"}, "", "", "ventrano-rate: cannot read from '/': Is a directory\n"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.args[0] + (row.args.size() > 1 ? " " + row.args[1] : ""));
        const Outcome r = run(row.args, row.input, row.out);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err, row.err);
        if (row.out.empty()) {
            EXPECT_EQ(r.out, "");
        }
    }
    // Many rows into a full disk: it stops at the first failed write.
    std::string many = std::string(header) + "\n";
    for (int i = 0; i < 5000; ++i) many += "VT/R-0,1,1,7,1,m3/h,m3/h,80,20\n";
    const Outcome r = run({"rate"}, many, "/dev/full");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, full);
}

namespace {

std::vector<std::string> selectArgs(const selection::Request &r)
{
    std::vector<std::string> a = {"select",
                                  "--duty",
                                  textio::numberText(r.dutyKW),
                                  "--jacket-flow",
                                  textio::numberText(r.MVk),
                                  "--jacket-unit",
                                  units(r.CbMVkIndex),
                                  "--jacket-inlet",
                                  textio::numberText(r.tkb),
                                  "--coil-flow=" + textio::numberText(r.MVs),
                                  "--coil-unit=" + units(r.CbMVsIndex),
                                  "--coil-inlet",
                                  textio::numberText(r.tsb),
                                  "--max-series",
                                  std::to_string(r.maxSeries),
                                  "--max-parallel",
                                  std::to_string(r.maxParallel)};
    if (r.maxDpJacketKPa) a.insert(a.end(), {"--max-dp-jacket", textio::numberText(*r.maxDpJacketKPa)});
    if (r.maxDpCoilKPa) a.insert(a.end(), {"--max-dp-coil", textio::numberText(*r.maxDpCoilKPa)});
    std::string types;
    for (int t = 0; t < rating::TipusCount; ++t)
        if (r.types[static_cast<std::size_t>(t)]) types += (types.empty() ? "" : ",") + std::string(rating::TipusNevek[t]);
    a.insert(a.end(), {"--types", types});
    return a;
}

} // namespace

// The engine's list, every number reading back as the engine's double; and
// where nothing qualifies, the header alone and the engine's sentence.
TEST(Select, ListsWhatTheEngineLists)
{
    selection::Request r;
    r.dutyKW = 40;
    r.maxSeries = 12, r.maxParallel = 4;
    r.MVs = 60, r.CbMVsIndex = 0;
    r.maxDpCoilKPa = 80.0;
    r.types = {true, false, true, true, true};
    const selection::Result want = selection::select(r);
    ASSERT_GT(want.entries.size(), 3u);
    const Outcome got = run(selectArgs(r));
    ASSERT_EQ(got.status, 0) << got.err;
    EXPECT_EQ(got.err, "");
    const auto out = lines(got.out);
    ASSERT_EQ(out.size(), want.entries.size() + 1);
    EXPECT_EQ(out[0], "type,series,parallel,units,surface_m2,duty_kW,margin_percent,jacket_outlet_C,coil_outlet_C,"
                      "jacket_dp_kPa,coil_dp_kPa,jacket_mass_flow_kg_s,coil_mass_flow_kg_s,jacket_velocity_m_s,"
                      "coil_velocity_m_s,jacket_film_W_m2K,coil_film_W_m2K,overall_W_m2K");
    for (std::size_t i = 0; i < want.entries.size(); ++i) {
        const selection::Entry &e = want.entries[i];
        const auto f = fieldsOf(out[i + 1]);
        ASSERT_EQ(f.size(), 18u);
        EXPECT_EQ(f[0], rating::TipusNevek[e.Tipus]);
        EXPECT_EQ(f[1], std::to_string(e.Soros));
        EXPECT_EQ(f[2], std::to_string(e.Parh));
        EXPECT_EQ(f[3], std::to_string(e.units));
        const rating::Model::ResultValues &v = e.values;
        const double nums[] = {e.surfaceM2,     e.dutyKW,         e.marginPercent, v.LbTKK,     v.LbTSK,  v.DPK,
                               v.DPS,           v.LbTomegaramK,   v.LbTomegaramS,  v.LbArsebK,  v.LbArsebS,
                               v.LbHoatadK,     v.LbHoatadS,      v.LbHoatbocsT};
        for (std::size_t k = 0; k < 14; ++k) {
            const double x = readBack(f[4 + k]);
            EXPECT_EQ(std::memcmp(&x, &nums[k], sizeof x), 0) << i << " " << k << " " << f[4 + k];
        }
    }

    // Nothing qualifies: beyond capacity, beyond the counts, the limits.
    for (auto change : std::vector<void (*)(selection::Request &)>{
             [](selection::Request &q) { q.dutyKW = 500; },
             [](selection::Request &q) { q.dutyKW = 69.2, q.maxSeries = 1, q.maxParallel = 2, q.MVs = 1, q.CbMVsIndex = 1; },
             [](selection::Request &q) { q.maxDpJacketKPa = 0.0; },
             [](selection::Request &q) { q.MVk = 0; }}) {
        selection::Request q = r;
        change(q);
        const selection::Result none = selection::select(q);
        ASSERT_TRUE(none.entries.empty());
        const Outcome n = run(selectArgs(q));
        EXPECT_EQ(n.status, 1);
        EXPECT_EQ(lines(n.out), std::vector<std::string>{out[0]});
        // The sentence names the sides as the options do.
        EXPECT_EQ(n.err, "ventrano-rate: " + selection::explain(q, none.why, 1, ".", {"jacket side", "coil side"}) + "\n");
        for (const char *word : {"Shell", "Spiral"}) EXPECT_EQ(n.err.find(word), std::string::npos) << n.err;
        if (none.why.kind == selection::Shortfall::Kind::PressureLimit) {
            EXPECT_NE(n.err.find("jacket side "), std::string::npos) << n.err;
        }
    }
    // '--' at the end, plus signs and '=': the same list.
    auto args = selectArgs(r);
    for (std::string &a : args)
        if (a == "40") a = "+40";
    args.push_back("--");
    const Outcome same = run(args);
    EXPECT_EQ(same.status, 0) << same.err;
    EXPECT_EQ(same.out, got.out);
}

// At the ends of the duty's range and of the fields, every cell is a number
// the command's own reader takes back, and every sentence shows its numbers.
TEST(Select, NoCellOrSentenceIsInfNanOrEmpty)
{
    std::vector<selection::Request> requests;
    for (double duty : {selection::MinDutyKW, 0.0015, 69.4, selection::MaxDutyKW}) {
        selection::Request r;
        r.dutyKW = duty;
        requests.push_back(r);
        r.MVk = 150, r.MVs = 0.01, r.CbMVsIndex = 0, r.tkb = 150, r.tsb = -5, r.maxSeries = r.maxParallel = 150;
        requests.push_back(r);
        r.MVk = 1e-300, r.MVs = 150, r.tkb = -5, r.tsb = 150, r.maxDpJacketKPa = 0.0;
        requests.push_back(r);
    }
    for (const selection::Request &r : requests) {
        const Outcome got = run(selectArgs(r));
        SCOPED_TRACE(got.err);
        ASSERT_TRUE(got.status == 0 || got.status == 1);
        const auto out = lines(got.out);
        ASSERT_FALSE(out.empty());
        for (std::size_t i = 1; i < out.size(); ++i) {
            const auto f = fieldsOf(out[i]);
            for (std::size_t k = 1; k < f.size(); ++k)
                EXPECT_TRUE(textio::parseNumber(f[k]).has_value()) << "row " << i << " column " << k << ": " << f[k];
        }
        if (got.status == 0) continue;
        for (const char *word : {"inf", "nan", "INF", "NAN"}) EXPECT_EQ(got.err.find(word), std::string::npos);
        for (const char *unit : {" kW", " kPa"})
            for (std::size_t at = got.err.find(unit); at != std::string::npos; at = got.err.find(unit, at + 1))
                EXPECT_TRUE(at > 0 && got.err[at - 1] != ' ' && got.err[at - 1] != '\t');
    }
}

TEST(Select, BadValuesAreUsageErrors)
{
    selection::Request r;
    r.dutyKW = 40;
    const struct {
        const char *option, *value, *message;
    } rows[] = {
        {"--duty", "0", "--duty: 0 is outside 0.001 to 100000"},
        {"--duty", "-3", "--duty: -3 is outside 0.001 to 100000"},
        {"--duty", "0.0009", "--duty: 0.0009 is outside 0.001 to 100000"},
        {"--duty", "100000.1", "--duty: 100000.1 is outside 0.001 to 100000"},
        {"--duty", "1e300", "--duty: 1e300 is outside 0.001 to 100000"},
        {"--duty", "4.9e-324", "--duty: 4.9e-324 is outside 0.001 to 100000"},
        {"--duty", "1e309", "--duty: 1e309 is outside 0.001 to 100000"},
        {"--duty", "40kW", "--duty: '40kW' is not a number"},
        {"--jacket-flow", "4.9e-324", "--jacket-flow: 5e-324 m3/h is too small to rate: 0 once converted to m3/s"},
        {"--coil-flow", "1e-400", "--coil-flow: 1e-400 is out of range: too near 0 to be read (0 to 150)"},
        {"--max-dp-coil", "1e309", "--max-dp-coil: 1e309 is out of range: too large to be read (0 or more)"},
        {"--jacket-flow", "151", "--jacket-flow: 151 is outside 0 to 150"},
        {"--coil-unit", "gpm", "--coil-unit: 'gpm' is not a unit"},
        {"--coil-inlet", "-10", "--coil-inlet: -10 is outside -5 to 150"},
        {"--max-series", "0", "--max-series: 0 is outside 1 to 150"},
        {"--max-parallel", "2.5", "--max-parallel: 2.5 is a fraction"},
        {"--max-parallel", "151", "--max-parallel: 151 is outside 1 to 150"},
        {"--max-dp-jacket", "-1", "--max-dp-jacket: -1 is below 0"},
        {"--max-dp-coil", "nan", "--max-dp-coil: 'nan' is not a number"},
        {"--types", "VT/R-0,VT/R-7", "--types: 'VT/R-7' is not a type"},
        {"--types", "", "--types: no value"},
        {"--types", "VT/R-0,", "--types: no value"},
        {"--frob", "1", "unknown option '--frob'"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.message);
        auto args = selectArgs(r);
        args.insert(args.end(), {row.option, row.value}); // the last one counts
        const Outcome got = run(args);
        EXPECT_EQ(got.status, 2);
        EXPECT_EQ(got.out, "");
        EXPECT_NE(got.err.find(std::string("ventrano-rate: ") + row.message), std::string::npos) << got.err;
    }
}

// Random bytes and random damage to a good file never crash it, and every
// record still gets its row.
TEST(Program, RandomInputNeverCrashes)
{
    std::mt19937 g(99);
    const std::string base = std::string("id,") + header + "\n1,VT/R-0,1,1,7,1,m3/h,m3/h,80,20\n"
                             "\"2,x\",VR/T-4,3,2,420,60,l/min,l/min,-5,150\n3,VT/R-2,150,150,0.5,150,m3/h,l/min,20,19.5\n";
    const char pieces[] = ",\"\r\n\0x9.-eE";
    for (int i = 0; i < 160; ++i) {
        std::string in;
        if (i % 4 == 0) {
            for (std::size_t n = g() % 400; n-- > 0;) in.push_back(static_cast<char>(g()));
        } else {
            in = base;
            for (int k = 0, edits = 1 + static_cast<int>(g() % 8); k < edits && !in.empty(); ++k) {
                const std::size_t at = g() % in.size();
                switch (g() % 4) {
                case 0: in.erase(at, 1 + g() % 4); break;
                case 1: in.insert(at, 1, pieces[g() % (sizeof pieces - 1)]); break;
                case 2: in[at] = static_cast<char>(g()); break;
                default: in.insert(at, in.substr(g() % in.size(), g() % 40)); break;
                }
            }
        }
        const Outcome r = run({"rate"}, in);
        ASSERT_TRUE(r.status == 0 || r.status == 1 || r.status == 2) << i << " status " << r.status << "\n" << r.err;
        if (r.status == 2) {
            EXPECT_EQ(r.out, "") << i;
        } else {
            EXPECT_EQ(r.err, "") << i;
        }
    }
}
