// ventrano-rate and project files, as a script sees it: rate on a
// project, and a table of cases made into one.
#include "project/messages.h"
#include "project/project.h"
#include "rating/case.h"
#include "textio/number.h"

#include "program.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace clitest;
using textio::numberText;

namespace {

const std::string resultHeader =
    "duty_kW,jacket_outlet_C,coil_outlet_C,jacket_dp_kPa,coil_dp_kPa,jacket_mass_flow_kg_s,coil_mass_flow_kg_s,"
    "jacket_velocity_m_s,coil_velocity_m_s,jacket_film_W_m2K,coil_film_W_m2K,overall_W_m2K,error";
const std::string projectHeader =
    "case,type,series,parallel,jacket_flow,jacket_unit,jacket_inlet,coil_flow,coil_unit,coil_inlet,fouling_m2K_W," +
    resultHeader;

project::Case makeCase(const std::string &name, int type, int series, int parallel, double MVk, int uk, double tkb,
                       double MVs, int us, double tsb, double Rf = rating::Rf)
{
    project::Case c;
    c.name = name;
    rating::Case &in = c.inputs;
    in.Tipus = type, in.Soros = series, in.Parh = parallel;
    in.MVk = MVk, in.CbMVkIndex = uk, in.tkb = tkb, in.MVs = MVs, in.CbMVsIndex = us, in.tsb = tsb, in.Rf = Rf;
    return c;
}

// The rows rate writes for an opened project, from the core's own outcomes.
std::vector<std::string> expectedRows(const project::Opened &o)
{
    std::vector<std::string> out = {projectHeader};
    for (std::size_t i = 0; i < o.project.cases.size(); ++i) {
        const project::Case &c = o.project.cases[i];
        const rating::Case &in = c.inputs;
        std::string name = c.name;
        if (name.find_first_of(",\"") != std::string::npos) {
            std::string q = "\"";
            for (char ch : name) q += ch == '"' ? std::string("\"\"") : std::string(1, ch);
            name = q + "\"";
        }
        std::string l = name + "," + rating::TipusNevek[in.Tipus] + "," + std::to_string(in.Soros) + "," +
                        std::to_string(in.Parh) + "," + numberText(in.MVk) + "," + units(in.CbMVkIndex) + "," +
                        numberText(in.tkb) + "," + numberText(in.MVs) + "," + units(in.CbMVsIndex) + "," +
                        numberText(in.tsb) + "," + numberText(in.Rf);
        const project::Outcome &r = o.outcomes[i];
        if (r.ok()) {
            for (double x : project::resultValues(r.rating.values)) l += "," + numberText(x);
            l += ",";
        } else {
            l += std::string(12, ',') + ",case " + std::to_string(i + 1) + ": " + r.error;
        }
        out.push_back(l);
    }
    return out;
}

} // namespace

// Every case of a project, however the input says it is one: by the name's
// extension, by its first character on standard input (after a byte order
// mark and blank lines), or by --project; --csv reads it as a table.
TEST(RateProject, EveryCaseAsTheCoreRatesIt)
{
    project::Project p;
    p.details.name = "Boiler house B";
    p.cases = {makeCase("VT/R-2, one unit", 2, 1, 1, 7, 1, 80, 1, 1, 20),
               makeCase("coil pump \"off\"", 2, 1, 1, 7, 1, 80, 0, 1, 20),
               makeCase("fouled, l/min", 4, 3, 2, 120.5, 0, 90, 60, 0, -5, 0.0004),
               makeCase("Kazán", 0, 150, 150, 150, 1, 150, 0.01, 0, -5, 0)};
    const project::Result<std::string> text = project::write(p);
    ASSERT_TRUE(text.ok());
    const project::Result<project::Opened> opened = project::open(text.value(), "x");
    ASSERT_TRUE(opened.ok());
    const std::vector<std::string> want = expectedRows(opened.value());

    const std::string file = fileWith("cases.ventrano", text.value());
    const std::string upper = fileWith("CASES.VENTRANO", text.value());
    const std::string json = fileWith("cases.json", text.value());
    const struct {
        std::vector<std::string> args;
        std::string input;
    } ways[] = {
        {{"rate", file}, ""},
        {{"rate", upper}, ""},
        {{"rate", "--project", json}, ""},
        {{"rate", json}, ""},
        {{"rate"}, "\xEF\xBB\xBF\r\n  \t\n" + text.value()},
        {{"rate", "-"}, text.value()},
        {{"rate", "--project", "--", "-"}, text.value()},
    };
    for (const auto &way : ways) {
        SCOPED_TRACE(::testing::PrintToString(way.args));
        const Outcome got = run(way.args, way.input);
        EXPECT_EQ(got.status, 1); // the pump that is off
        EXPECT_EQ(got.err, "");
        EXPECT_EQ(lines(got.out), want);
    }
    const Outcome csv = run({"rate", "--csv", file});
    EXPECT_EQ(csv.status, 2);
    EXPECT_NE(csv.err.find("the header lacks the column(s)"), std::string::npos) << csv.err;

    // A table whose first column's name happens to begin with a brace looks
    // like a project on standard input; --csv takes it as the table it is.
    const std::string braced = "{note},type,series,parallel,jacket_flow,coil_flow,jacket_unit,coil_unit,"
                               "jacket_inlet,coil_inlet\nx,VT/R-2,1,1,7,1,m3/h,m3/h,80,20\n";
    const Outcome sniffed = run({"rate"}, braced);
    EXPECT_EQ(sniffed.status, 2);
    EXPECT_EQ(sniffed.out, "");
    const Outcome table = run({"rate", "--csv"}, braced);
    EXPECT_EQ(table.status, 0) << table.err;
    EXPECT_EQ(table.err, "");
    EXPECT_EQ(lines(table.out).size(), 2u);
}

// A file that is no project the program opens is refused with the core's
// sentence, whether named or on standard input; nothing on standard output.
TEST(RateProject, RefusedFilesGetTheCoresSentence)
{
    project::Project p;
    p.cases = {makeCase("a", 2, 1, 1, 7, 1, 80, 1, 1, 20)};
    const std::string good = project::write(p).value();
    auto replaced = [&](const std::string &from, const std::string &to) {
        std::string s = good;
        s.replace(s.find(from), from.size(), to);
        return s;
    };
    const std::string bad[] = {
        "{",
        "{\"format\": \"ventrano-project\", \"version\": 1, \"cases\": [}",
        "{\"format\": \"K\xE1z\"}",
        replaced("\"ventrano-project\"", "\"other-program\""),
        replaced("\"version\": 1", "\"version\": 2"),
        replaced("\"series\": 1", "\"series\": 151"),
        replaced("\"series\": 1,", ""),
        replaced("\"VT/R-2\"", "\"VT/R-7\""),
        replaced("\"m3/h\"", "\"gpm\""),
        replaced("\"fouling_m2K_W\": 5.5e-05", "\"fouling_m2K_W\": 0.02"),
        replaced("\"current\": 0", "\"current\": 1"),
        "{\"format\": \"ventrano-project\", \"version\": 1, \"cases\": []}",
    };
    for (const std::string &bytes : bad) {
        SCOPED_TRACE(bytes.substr(0, 80));
        const std::string path = fileWith("bad.ventrano", bytes);
        const project::Result<project::Opened> fromFile = project::openFile(path);
        ASSERT_FALSE(fromFile.ok());
        const Outcome named = run({"rate", path});
        EXPECT_EQ(named.status, 2);
        EXPECT_EQ(named.out, "");
        EXPECT_EQ(named.err, "ventrano-rate: " + project::sentence(fromFile.error()) + "\n");
        const Outcome piped = run({"rate", "--project"}, bytes);
        EXPECT_EQ(piped.status, 2);
        EXPECT_EQ(piped.out, "");
        EXPECT_EQ(piped.err, "ventrano-rate: " + project::sentence(project::open(bytes, "standard input").error()) + "\n");
    }
    // More than a project file may hold: its size where it is a file, and
    // no more read than the limit where it is not.
    const std::string large = "{" + std::string(project::maxFileBytes, ' ') + "}";
    const std::string path = fileWith("large.ventrano", large);
    const Outcome named = run({"rate", path});
    EXPECT_EQ(named.status, 2);
    EXPECT_EQ(named.err, "ventrano-rate: " + project::sentence(project::openFile(path).error()) + "\n");
    EXPECT_NE(named.err.find("10000002 bytes"), std::string::npos) << named.err;
    const Outcome redirected = run({"rate"}, large);
    EXPECT_EQ(redirected.status, 2);
    EXPECT_EQ(redirected.err, "ventrano-rate: 'standard input' is too large for a project file: 10000002 bytes, more "
                              "than 10 MB.\n");
    const Outcome piped = run({"rate"}, large, "", true);
    EXPECT_EQ(piped.status, 2);
    EXPECT_EQ(piped.err, "ventrano-rate: 'standard input' is too large for a project file: more than 10 MB.\n");
    std::remove(path.c_str());
}

namespace {

// A spreadsheet's table: columns in its own order, names with commas,
// quotes and accents, empty ones, the fouling given and left empty, a
// column the project has no place for.
const std::string table =
    "\xEF\xBB\xBFnote,case,coil_inlet,jacket_inlet,coil_unit,jacket_unit,coil_flow,jacket_flow,parallel,series,type,"
    "fouling_m2K_W\r\n"
    "a,\"Kazán, B\",20,80,m3/h,m3/h,1,7,1,1,VT/R-2,\r\n"
    "b,,20,80,m3/h,m3/h,1,7,1,2,VT/R-0,0.0002\r\n"
    "c,\"the \"\"cold\"\" one\",-5,150,l/min,l/min,60,120.25,2,1,VR/T-4,0\r\n"
    "d,  padded  ,10,90,m3/h,l/min,2.5,150,3,4,VT/R-3, 0.01 \r\n";

} // namespace

// The table as a project: read back by the core, and rated by rate as a
// project, it gives the results rate gives on the table.
TEST(ProjectFromCsv, RoundTrip)
{
    const std::string csv = fileWith("cases.csv", table);
    const Outcome made = run({"project", "--from-csv", csv, "--name", "Kazánház B"});
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(made.err, "");
    EXPECT_EQ(run({"project", "--from-csv", "-", "--name=Kazánház B"}, table).out, made.out);

    const project::Result<project::Opened> opened = project::open(made.out, "made");
    ASSERT_TRUE(opened.ok()) << project::sentence(opened.error());
    const project::Project &p = opened.value().project;
    EXPECT_EQ(p.details.name, "Kazánház B");
    ASSERT_EQ(p.cases.size(), 4u);
    const char *const names[] = {"Kazán, B", "Case 2", "the \"cold\" one", "padded"};
    const double fouling[] = {rating::Rf, 0.0002, 0, 0.01};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(p.cases[i].name, names[i]);
        EXPECT_EQ(p.cases[i].inputs.Rf, fouling[i]);
    }
    EXPECT_EQ(p.cases[2].inputs.MVk, 120.25);
    EXPECT_EQ(p.cases[2].inputs.CbMVkIndex, 0);
    EXPECT_TRUE(opened.value().differing.empty());

    const Outcome fromProject = run({"rate", fileWith("made.ventrano", made.out)});
    const Outcome fromTable = run({"rate", csv});
    ASSERT_EQ(fromProject.status, 0) << fromProject.err;
    ASSERT_EQ(fromTable.status, 0) << fromTable.err;
    const auto a = lines(fromProject.out), b = lines(fromTable.out);
    ASSERT_EQ(a.size(), 5u);
    ASSERT_EQ(b.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) {
        const auto fa = fieldsOf(a[i]), fb = fieldsOf(b[i]);
        ASSERT_GE(fa.size(), 13u);
        ASSERT_GE(fb.size(), 13u);
        EXPECT_EQ(std::vector<std::string>(fa.end() - 13, fa.end()), std::vector<std::string>(fb.end() - 13, fb.end()));
        if (i > 0) {
            EXPECT_EQ(fa[0], names[i - 1]);
        }
    }

    // Without a 'case' column, 'name' names the cases; without either,
    // their numbers do.
    std::string byName = table, numbered = table;
    byName.replace(byName.find(",case,"), 6, ",name,");
    numbered.replace(numbered.find(",case,"), 6, ",label,");
    const auto named = project::open(run({"project", "--from-csv", "-"}, byName).out, "n");
    const auto plain = project::open(run({"project", "--from-csv", "-"}, numbered).out, "p");
    ASSERT_TRUE(named.ok());
    ASSERT_TRUE(plain.ok());
    EXPECT_EQ(named.value().project.cases[0].name, "Kazán, B");
    EXPECT_EQ(named.value().project.details.name, "");
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(plain.value().project.cases[i].name, "Case " + std::to_string(i + 1));
}

// Rows that cannot be rated are refused as rate refuses them: each one's
// message on standard error, nothing on standard output, status 1; so is a
// table of no row or of more than a project holds.
TEST(ProjectFromCsv, RefusedRows)
{
    const std::string head = "case,type,series,parallel,jacket_flow,jacket_unit,jacket_inlet,coil_flow,coil_unit,"
                             "coil_inlet,fouling_m2K_W\n";
    const std::string good = "ok,VT/R-2,1,1,7,m3/h,80,1,m3/h,20,\n";
    const struct {
        std::string row, message;
    } rows[] = {
        {"x,VT/R-9,1,1,7,m3/h,80,1,m3/h,20,", "type: 'VT/R-9' is not a type"},
        {"x,VT/R-2,1,1,7,m3/h,80,0,m3/h,20,", "the coil flow is 0: nothing to rate"},
        {"x,VT/R-2,1,1,7,m3/h,50,1,m3/h,50,", "the inlet temperatures are equal"},
        {"x,VT/R-2,1,1,7,m3/h,80,1,m3/h,20,0.02", "fouling_m2K_W: 0.02 is outside 0 to 0.01"},
        {"x,VT/R-2,1,1,7,m3/h,80,1,m3/h", "9 fields, the header has 11"},
        {"x,VT/R-2,1,1,7,m3/h,80,1,m3/h,20,\"\"x", "text after the closing quote of a field"},
        {"Kaz\xE1n,VT/R-2,1,1,7,m3/h,80,1,m3/h,20,", "case: not UTF-8 text (save the table as UTF-8)"},
    };
    std::string input = head + good;
    std::string want;
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        input += rows[i].row + "\n" + good;
        want += "ventrano-rate: line " + std::to_string(3 + 2 * i) + ": " + rows[i].message + "\n";
    }
    const Outcome got = run({"project", "--from-csv", "-"}, input);
    EXPECT_EQ(got.status, 1);
    EXPECT_EQ(got.out, "");
    const auto errLines = lines(got.err), wantLines = lines(want);
    ASSERT_EQ(errLines.size(), wantLines.size()) << got.err;
    for (std::size_t i = 0; i < errLines.size(); ++i) EXPECT_EQ(errLines[i].rfind(wantLines[i], 0), 0u) << errLines[i];

    const Outcome empty = run({"project", "--from-csv", "-"}, head);
    EXPECT_EQ(empty.status, 1);
    EXPECT_EQ(empty.out, "");
    EXPECT_EQ(empty.err, "ventrano-rate: no case: the table has no row below its header\n");

    std::string most = head, over;
    for (int i = 0; i < project::maxCases; ++i) most += good;
    over = most + good + good;
    const Outcome full = run({"project", "--from-csv", "-"}, most);
    EXPECT_EQ(full.status, 0) << full.err;
    ASSERT_TRUE(project::open(full.out, "full").ok());
    EXPECT_EQ(project::open(full.out, "full").value().project.cases.size(), 1000u);
    const Outcome beyond = run({"project", "--from-csv", "-"}, over);
    EXPECT_EQ(beyond.status, 1);
    EXPECT_EQ(beyond.out, "");
    EXPECT_EQ(beyond.err, "ventrano-rate: line 1002: more than 1000 rows: a project holds at most 1000 cases\n");
}
