// The project file: round trips, the keys the program does not know, the
// stored results against the recomputed ones, every refusal with its
// sentence, reading from disk, and the example of docs/project-file.md.
#include "project/messages.h"
#include "project/project.h"

#include "textio/casefields.h"
#include "textio/csv.h"
#include "textio/number.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

using namespace project;
using Kind = Error::Kind;

namespace {

std::string written(const Project &p)
{
    const Result<std::string> r = write(p);
    EXPECT_TRUE(r.ok()) << (r.ok() ? "" : sentence(r.error()));
    return r.ok() ? r.value() : std::string();
}

Project readBack(std::string_view text)
{
    Result<Project> r = read(text, "p.ventrano");
    EXPECT_TRUE(r.ok()) << (r.ok() ? "" : sentence(r.error()));
    return r.ok() ? std::move(r.value()) : Project();
}

std::string replaced(std::string s, const std::string &from, const std::string &to)
{
    const auto at = s.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) s.replace(at, from.size(), to);
    return s;
}

// Three cases over the fields' corners, one that does not rate, and
// details with every kind of character a text may hold.
Project sample()
{
    Project p;
    p.details = {"Boiler house \"B\"", "Thermo Kft.", "ENQ-114", "B", "Szabó Kálmán", "2026-12-11",
                 "line 1\nline 2\ttab \x01 \\ \xE2\x82\xAC"};
    Case a;
    a.name = "VT/R-2, one unit";
    a.inputs.Tipus = 2;
    Case b;
    b.name = "corners";
    b.inputs.Tipus = 4;
    b.inputs.Soros = 150;
    b.inputs.Parh = 3;
    b.inputs.MVk = 116.667;
    b.inputs.CbMVkIndex = 0;
    b.inputs.tkb = -5;
    b.inputs.MVs = 0.35;
    b.inputs.tsb = 150;
    b.inputs.Rf = 0.01;
    Case c;
    c.name = "";
    c.inputs.tkb = c.inputs.tsb = 20; // equal inlets: no results
    c.inputs.Rf = 0;
    p.cases = {a, b, c};
    p.current = 2;
    return p;
}

TEST(ProjectFile, RoundTripKeepsEverythingAndRewritesTheSameBytes)
{
    const Project p = sample();
    const std::string first = written(p);
    const Result<Opened> opened = open(first, "p.ventrano");
    ASSERT_TRUE(opened.ok()) << sentence(opened.error());
    const Project &q = opened.value().project;
    EXPECT_EQ(q.details, p.details);
    EXPECT_EQ(q.current, 2);
    ASSERT_EQ(q.cases.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(q.cases[i].name, p.cases[i].name);
        EXPECT_TRUE(sameInputs(q.cases[i].inputs, p.cases[i].inputs)) << i;
    }
    EXPECT_TRUE(opened.value().differing.empty());
    EXPECT_FALSE(opened.value().outcomes[2].ok());
    EXPECT_EQ(opened.value().outcomes[2].error, "the inlet temperatures are equal: no heat to transfer");
    EXPECT_EQ(written(q), first);
    EXPECT_EQ(first.back(), '\n');
    EXPECT_NE(first.find("\"error\": \"the inlet temperatures are equal: no heat to transfer\""), std::string::npos);
}

TEST(ProjectFile, KeysTheProgramDoesNotKnowStayWhereTheyWere)
{
    Project p = sample();
    p.cases.resize(2);
    p.current = 0;
    const std::string plain = written(p);
    // A later program's file: keys at every level, in the layout this
    // program writes.
    std::string later = replaced(plain, "{\n  \"format\"", "{\n  \"x_first\": [\n    1,\n    {\n      \"deep\": []\n    }\n  ],\n  \"format\"");
    later = replaced(later, "    \"customer\"", "    \"x_phone\": \"+36 1 234 5678\",\n    \"customer\"");
    later = replaced(later, "      \"series\": 1,", "      \"x_supplier\": {\n        \"name\": \"\\u00e9\\n\",\n        \"since\": 1.50\n      },\n      \"series\": 1,");
    later = replaced(later, "        \"jacket_outlet_C\"", "        \"x_surface_m2\": 0.536,\n        \"jacket_outlet_C\"");
    later = replaced(later, "  \"current\": 0\n}", "  \"current\": 0,\n  \"x_last\": null\n}");

    const Project q = readBack(later);
    // Strings come back in the writer's escapes; numbers as the file had them.
    const std::string expected = replaced(later, "\"\\u00e9\\n\"", "\"\xC3\xA9\\n\"");
    EXPECT_EQ(written(q), expected);

    // A changed input drops the results' own unknown members (computed for
    // the old inputs) and keeps the others.
    Project changed = q;
    changed.cases[0].inputs.tsb = 25;
    const std::string after = written(changed);
    EXPECT_EQ(after.find("x_surface_m2"), std::string::npos);
    for (const char *kept : {"x_first", "x_phone", "x_supplier", "x_last"})
        EXPECT_NE(after.find(kept), std::string::npos) << kept;
}

TEST(ProjectFile, AHandWrittenFileGivesTheSameDataInTheProgramsLayout)
{
    // Keys in another order, no fouling, results, current or details, blanks
    // around a type name, whole numbers written as fractions.
    const std::string hand = "{\"cases\":[{\"coil_inlet\":20,\"coil_unit\":\"l/min\",\"coil_flow\":16.5,"
                             "\"x\":true,\"type\":\" VT/R-3\",\"name\":\"hand\",\"series\":2.0,\"parallel\":1e0,"
                             "\"jacket_flow\":7,\"jacket_unit\":\"m3/h\",\"jacket_inlet\":80}],"
                             "\"version\":1,\"format\":\"ventrano-project\"}";
    const Project p = readBack(hand);
    ASSERT_EQ(p.cases.size(), 1u);
    const rating::Case &in = p.cases[0].inputs;
    EXPECT_EQ(in.Tipus, 3);
    EXPECT_EQ(in.Soros, 2);
    EXPECT_EQ(in.CbMVsIndex, 0);
    EXPECT_EQ(in.Rf, rating::Rf);
    const std::string out = written(p);
    // the file's order kept; the missing keys after the last of their predecessors
    const std::string expectedCase = "      \"coil_inlet\": 20,\n"
                                     "      \"coil_unit\": \"l/min\",\n"
                                     "      \"coil_flow\": 16.5,\n"
                                     "      \"x\": true,\n"
                                     "      \"type\": \"VT/R-3\",\n"
                                     "      \"name\": \"hand\",\n"
                                     "      \"series\": 2,\n"
                                     "      \"parallel\": 1,\n"
                                     "      \"jacket_flow\": 7,\n"
                                     "      \"jacket_unit\": \"m3/h\",\n"
                                     "      \"jacket_inlet\": 80,\n"
                                     "      \"fouling_m2K_W\": 5.5e-05,\n"
                                     "      \"results\": {\n";
    EXPECT_NE(out.find(expectedCase), std::string::npos) << out;
    EXPECT_NE(out.find("  \"version\": 1,\n  \"format\": \"ventrano-project\",\n  \"project\": {\n    \"name\": \"\",\n"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("  \"current\": 0\n}\n"), std::string::npos);
    EXPECT_EQ(written(readBack(out)), out);
}

TEST(ProjectFile, StoredResultsThatDifferFromTheRecomputedOnesAreReported)
{
    Project p = sample();
    p.cases.push_back(p.cases[0]); // 3
    p.cases.push_back(p.cases[2]); // 4: not rated
    p.cases.push_back(p.cases[0]); // 5
    const std::string file = written(p);
    const std::vector<Outcome> outcomes = rate(p);
    const std::string duty = textio::numberText(outcomes[0].rating.values.QLabel);
    const double nextDuty = std::nextafter(outcomes[0].rating.values.QLabel, 1e9);

    // Each case's "results" object, as written, by case.
    std::vector<std::string> results;
    std::size_t at = 0;
    while ((at = file.find("\"results\": {", at)) != std::string::npos) {
        const std::size_t end = file.find('}', at);
        results.push_back(file.substr(at, end + 1 - at));
        at = end;
    }
    ASSERT_EQ(results.size(), 6u);
    std::string edited = file;
    auto edit = [&](std::size_t i, const std::string &to) { edited = replaced(edited, results[i], to); };
    // 0: the duty one ulp off; 1: untouched; 2 (not rated): another reason;
    // 3: no results at all (no difference); 4 (not rated): numbers;
    // 5: the duty alone
    edit(0, replaced(results[0], duty, textio::numberText(nextDuty)));
    edit(2, "\"results\": {\"error\": \"other\"}");
    edit(3, "\"x\": {}");
    edit(4, "\"results\": {\"duty_kW\": 1}");
    edit(5, "\"results\": {\"duty_kW\": " + duty + ", \"x_more\": 1}");
    const Result<Opened> o = open(edited, "p.ventrano");
    ASSERT_TRUE(o.ok()) << sentence(o.error());
    EXPECT_EQ(o.value().differing, (std::vector<int>{0, 2, 4, 5}));
    // the unknown result kept with the inputs unchanged, the known ones recomputed
    const std::string out = written(o.value().project);
    EXPECT_NE(out.find("\"x_more\": 1"), std::string::npos);
    EXPECT_EQ(open(out, "p.ventrano").value().differing, std::vector<int>{});
}

// A small valid file, each refusal made from it by one edit.
const std::string base = "{\"format\":\"ventrano-project\",\"version\":1,\"project\":{\"customer\":\"C\"},\"cases\":["
                         "{\"name\":\"A\",\"type\":\"VT/R-2\",\"series\":1,\"parallel\":1,\"jacket_flow\":7,"
                         "\"jacket_unit\":\"m3/h\",\"jacket_inlet\":80,\"coil_flow\":1,\"coil_unit\":\"m3/h\","
                         "\"coil_inlet\":20},"
                         "{\"name\":\"B\",\"type\":\"VT/R-0\",\"series\":2,\"parallel\":1,\"jacket_flow\":7,"
                         "\"jacket_unit\":\"m3/h\",\"jacket_inlet\":80,\"coil_flow\":1,\"coil_unit\":\"m3/h\","
                         "\"coil_inlet\":21,\"fouling_m2K_W\":0.0001}],\"current\":1}";

std::string manyCases(int n)
{
    const std::string one = base.substr(base.find("{\"name\":\"A\""), base.find(",{\"name\":\"B\"") - base.find("{\"name\":\"A\""));
    std::string s = "{\"format\":\"ventrano-project\",\"version\":1,\"cases\":[";
    for (int i = 0; i < n; ++i) s += (i ? "," : "") + one;
    return s + "]}";
}

struct Refusal {
    const char *name;
    std::string text;
    Kind kind;
    int caseIndex;
    std::string key;
    std::string sentence; // English; empty: not checked word for word
};

std::vector<Refusal> refusals()
{
    auto edit = [](const std::string &from, const std::string &to) { return replaced(base, from, to); };
    return {
        {"not JSON", edit("\"version\":1,", "\"version\":1,,"), Kind::NotJson, -1, "",
         "'p.ventrano' is not a project file: it is not valid JSON at line 1, column 42: a key in double quotes is "
         "due here, not ','."},
        {"not JSON: truncated", base.substr(0, 100), Kind::NotJson, -1, "",
         "'p.ventrano' is not a project file: it is not valid JSON at line 1, column 101: the text ends in the middle "
         "of a value."},
        {"not UTF-8", edit("\"name\":\"B\"", "\"name\":\"B\xE9\""), Kind::NotUtf8, -1, "",
         "'p.ventrano' is not a project file: it is not UTF-8 text (line 1, column 245: byte 0xE9)."},
        {"a key twice", edit("\"series\":2,", "\"series\":2,\"series\":2,"), Kind::NotJson, -1, "",
         "'p.ventrano' is not a project file: it is not valid JSON at line 1, column 274: the key '\"series\"' "
         "appears twice in one object."},
        {"too deep", edit("\"current\":1", "\"current\":1,\"x\":" + std::string(70, '[') + std::string(70, ']')),
         Kind::NotJson, -1, "", ""},
        {"no JSON object", "[1]", Kind::NotProject, -1, "",
         "'p.ventrano' is not a Ventrano project: it has no \"format\": \"ventrano-project\"."},
        {"format missing", edit("\"format\":\"ventrano-project\",", ""), Kind::NotProject, -1, "", ""},
        {"another format", edit("\"ventrano-project\"", "\"ventrano-projekt\""), Kind::NotProject, -1, "format",
         "'p.ventrano' is not a Ventrano project: its \"format\" is \"ventrano-projekt\", not \"ventrano-project\"."},
        {"format a number", edit("\"ventrano-project\"", "1"), Kind::NotProject, -1, "format", ""},
        // the format wins over an error earlier in the file
        {"another format after a bad case",
         replaced(replaced(edit("\"format\":\"ventrano-project\",", ""), "\"series\":2", "\"series\":0"),
                  "\"current\":1}", "\"current\":1,\"format\":\"other\"}"),
         Kind::NotProject, -1, "format", ""},
        {"newer version", edit("\"version\":1", "\"version\":2"), Kind::NewerVersion, -1, "version",
         "'p.ventrano' was saved in version 2 of the project file format; this program reads versions up to 1: open "
         "it with a newer Ventrano."},
        {"newer version with a type it brings", replaced(edit("\"version\":1", "\"version\":3"), "VT/R-0", "VT/X"),
         Kind::NewerVersion, -1, "version", ""},
        {"version 0", edit("\"version\":1", "\"version\":0"), Kind::BadVersion, -1, "version",
         "'p.ventrano': \"version\" is 0; it must be a positive whole number."},
        {"version 1.5", edit("\"version\":1", "\"version\":1.5"), Kind::BadVersion, -1, "version", ""},
        {"version a text", edit("\"version\":1", "\"version\":\"1\""), Kind::BadVersion, -1, "version",
         "'p.ventrano': \"version\" is \"1\"; it must be a positive whole number."},
        {"version missing", edit("\"version\":1,", ""), Kind::Missing, -1, "version",
         "'p.ventrano': the key \"version\" is missing."},
        {"an input missing", edit(",\"coil_inlet\":21", ""), Kind::Missing, 1, "coil_inlet",
         "'p.ventrano', case 2 ('B'): the key \"coil_inlet\" is missing."},
        {"the name missing", edit("\"name\":\"B\",", ""), Kind::Missing, 1, "name",
         "'p.ventrano', case 2: the key \"name\" is missing."},
        {"series a text", edit("\"series\":2", "\"series\":\"2\""), Kind::WrongType, 1, "series",
         "'p.ventrano', case 2 ('B'): \"series\" is text; it must be a number."},
        {"jacket_flow a text", edit("\"jacket_flow\":7", "\"jacket_flow\":\"7\""), Kind::WrongType, 0, "jacket_flow",
         "'p.ventrano', case 1 ('A'): \"jacket_flow\" is text; it must be a number."},
        {"name a number", edit("\"name\":\"B\"", "\"name\":5"), Kind::WrongType, 1, "name",
         "'p.ventrano', case 2: \"name\" is a number; it must be text."},
        {"type null", edit("\"type\":\"VT/R-0\"", "\"type\":null"), Kind::WrongType, 1, "type", ""},
        {"a case no object", edit("{\"name\":\"A\"", "[],{\"name\":\"A\""), Kind::WrongType, 0, "",
         "'p.ventrano', case 1: the case is an array; it must be an object."},
        {"results no object", edit("\"coil_inlet\":20}", "\"coil_inlet\":20,\"results\":[]}"), Kind::WrongType, 0,
         "results", ""},
        {"details no object", edit("{\"customer\":\"C\"}", "\"C\""), Kind::WrongType, -1, "project", ""},
        {"a detail no text", edit("{\"customer\":\"C\"}", "{\"customer\":7}"), Kind::WrongType, -1,
         "project.customer", "'p.ventrano': \"project.customer\" is a number; it must be text."},
        {"cases no array", edit("\"cases\":[", "\"cases\":{},\"x\":["), Kind::WrongType, -1, "cases", ""},
        {"a fraction for a count", edit("\"series\":2", "\"series\":2.5"), Kind::OutOfRange, 1, "series",
         "'p.ventrano', case 2 ('B'): \"series\" is 2.5; it must be a whole number from 1 to 150."},
        {"series 0", edit("\"series\":2", "\"series\":0"), Kind::OutOfRange, 1, "series", ""},
        {"parallel 151", edit("\"series\":2,\"parallel\":1", "\"series\":2,\"parallel\":151"), Kind::OutOfRange, 1,
         "parallel", ""},
        {"a flow above its range", edit("\"coil_flow\":1", "\"coil_flow\":150.5"), Kind::OutOfRange, 0, "coil_flow",
         "'p.ventrano', case 1 ('A'): \"coil_flow\" is 150.5; it must be from 0 to 150."},
        {"a negative flow", edit("\"jacket_flow\":7", "\"jacket_flow\":-1e-9"), Kind::OutOfRange, 0, "jacket_flow", ""},
        {"an inlet below its range", edit("\"coil_inlet\":21", "\"coil_inlet\":-5.01"), Kind::OutOfRange, 1,
         "coil_inlet", "'p.ventrano', case 2 ('B'): \"coil_inlet\" is -5.01; it must be from -5 to 150."},
        {"fouling above its range", edit("0.0001", "0.02"), Kind::OutOfRange, 1, "fouling_m2K_W",
         "'p.ventrano', case 2 ('B'): \"fouling_m2K_W\" is 0.02; it must be from 0 to 0.01."},
        {"an unknown type", edit("\"VT/R-0\"", "\"VT/R-9\""), Kind::UnknownName, 1, "type",
         "'p.ventrano', case 2 ('B'): \"type\" is \"VT/R-9\"; it must be one of \"VT/R-0\", \"VT/R-1\", \"VT/R-2\", "
         "\"VT/R-3\", \"VR/T-4\"."},
        {"an unknown unit", edit("\"coil_unit\":\"m3/h\"", "\"coil_unit\":\"m3/s\""), Kind::UnknownName, 0, "coil_unit",
         "'p.ventrano', case 1 ('A'): \"coil_unit\" is \"m3/s\"; it must be one of \"l/min\", \"m3/h\"."},
        {"no case", manyCases(0), Kind::NoCases, -1, "cases", "'p.ventrano' holds no case; a project needs at least one."},
        {"cases missing", edit("\"cases\":", "\"kases\":"), Kind::Missing, -1, "cases", ""},
        {"more than 1000 cases", manyCases(1001), Kind::TooManyCases, -1, "cases",
         "'p.ventrano' holds 1001 cases; a project holds at most 1000."},
        {"current names no case", edit("\"current\":1", "\"current\":2"), Kind::BadCurrent, -1, "current",
         "'p.ventrano': \"current\" is 2, which names no case; it must be a whole number from 0 to 1."},
        {"current negative", edit("\"current\":1", "\"current\":-1"), Kind::BadCurrent, -1, "current", ""},
        {"current a fraction", edit("\"current\":1", "\"current\":0.5"), Kind::BadCurrent, -1, "current", ""},
        {"current a text", edit("\"current\":1", "\"current\":\"1\""), Kind::WrongType, -1, "current", ""},
        {"too large", std::string(maxFileBytes + 1, ' '), Kind::TooLarge, -1, "",
         "'p.ventrano' is too large for a project file: 10000001 bytes, more than 10 MB."},
        {"10 MB of [", std::string(maxFileBytes, '['), Kind::NotJson, -1, "",
         "'p.ventrano' is not a project file: it is not valid JSON at line 1, column 65: values are nested more than "
         "64 levels deep."},
    };
}

TEST(ProjectFile, RefusesEveryKindOfBadFileWithOneSentence)
{
    for (const Refusal &r : refusals()) {
        const Result<Project> res = read(r.text, "p.ventrano");
        ASSERT_FALSE(res.ok()) << r.name;
        const Error &e = res.error();
        EXPECT_EQ(e.kind, r.kind) << r.name << ": " << sentence(e);
        EXPECT_EQ(e.caseIndex, r.caseIndex) << r.name;
        EXPECT_EQ(e.key, r.key) << r.name;
        if (!r.sentence.empty()) {
            EXPECT_EQ(sentence(e), r.sentence) << r.name;
        }
        // Every language says it in one sentence naming the file, with no
        // placeholder left.
        std::vector<std::string> all;
        for (int lang = 0; lang < 7; ++lang) {
            const std::string s = sentence(e, lang, lang == 0 ? "," : ".");
            EXPECT_NE(s.find("p.ventrano"), std::string::npos) << r.name << " " << lang;
            EXPECT_EQ(s.back(), '.') << s;
            for (char d = '1'; d <= '9'; ++d) EXPECT_EQ(s.find(std::string("%") + d), std::string::npos) << s;
            if (e.caseIndex >= 0) {
                EXPECT_NE(s.find(std::to_string(e.caseIndex + 1)), std::string::npos) << s;
            }
            const bool keyNamed = e.kind != Kind::NotProject && e.kind != Kind::NoCases &&
                                  e.kind != Kind::TooManyCases && e.kind != Kind::NewerVersion;
            if (!e.key.empty() && keyNamed) {
                EXPECT_NE(s.find("\"" + e.key + "\""), std::string::npos) << s;
            }
            for (const std::string &other : all) EXPECT_NE(s, other);
            all.push_back(s);
        }
    }
    // The case named even when its error comes before its name; numbers
    // with the sentence's separator.
    const Result<Project> r = read(replaced(base, "{\"name\":\"B\",\"type\":\"VT/R-0\",\"series\":2",
                                           "{\"type\":\"VT/R-0\",\"series\":2.5,\"name\":\"B\""),
                                   "p.ventrano");
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(sentence(r.error(), 0, ","), "„p.ventrano”, 2. eset („B”): a(z) \"series\" értéke 2,5, de 1 és 150 "
                                           "közötti egész számnak kell lennie.");
    const Result<Project> f = read(replaced(base, "0.0001", "0.05"), "p.ventrano");
    ASSERT_FALSE(f.ok());
    EXPECT_EQ(sentence(f.error(), 4, ","),
              "„p.ventrano“, Fall 2 („B“): \"fouling_m2K_W\" ist 0,05, muss aber zwischen 0 und 0,01 liegen.");
}

TEST(ProjectFile, RangesAreTheCommandLinesAtTheirEdges)
{
    struct Edge {
        std::string from, to;
        bool ok;
    };
    const double below = std::nextafter(0.0, -1.0), over = std::nextafter(150.0, 200.0);
    for (const Edge &e : std::vector<Edge>{
             {"\"series\":2", "\"series\":150", true},
             {"\"series\":2", "\"series\":1", true},
             {"\"jacket_flow\":7", "\"jacket_flow\":0", true},
             {"\"jacket_flow\":7", "\"jacket_flow\":-0", true},
             {"\"jacket_flow\":7", "\"jacket_flow\":1e-400", true},
             {"\"jacket_flow\":7", "\"jacket_flow\":150", true},
             {"\"jacket_flow\":7", "\"jacket_flow\":" + textio::numberText(over), false},
             {"\"jacket_flow\":7", "\"jacket_flow\":" + textio::numberText(below), false},
             {"\"coil_inlet\":21", "\"coil_inlet\":-5", true},
             {"\"coil_inlet\":21", "\"coil_inlet\":150", true},
             {"\"coil_inlet\":21", "\"coil_inlet\":" + textio::numberText(over), false},
             {"0.0001", "0", true},
             {"0.0001", "0.01", true},
             {"0.0001", textio::numberText(std::nextafter(0.01, 1.0)), false},
         }) {
        const std::string text = replaced(base, e.from, e.to);
        EXPECT_EQ(read(text, "p").ok(), e.ok) << e.to;
    }
}

TEST(ProjectFile, WritesNoFileItCouldNotOpenAgain)
{
    Project none;
    EXPECT_EQ(write(none).error().kind, Kind::NoCases);
    Project p = sample();
    p.current = 3;
    EXPECT_EQ(write(p).error().kind, Kind::BadCurrent);
    p.current = 0;
    p.cases[1].inputs.Soros = 0; // the main window's field takes 0
    const Result<std::string> zero = write(p);
    ASSERT_FALSE(zero.ok());
    EXPECT_EQ(zero.error().kind, Kind::OutOfRange);
    Error named = zero.error();
    named.fileName = "p.ventrano";
    EXPECT_EQ(sentence(named), "'p.ventrano', case 2 ('corners'): \"series\" is 0; it must be a whole number from 1 to 150.");
    p.cases[1].inputs.Soros = 1;
    p.cases[1].inputs.MVs = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(write(p).error().kind, Kind::OutOfRange);
    p.cases[1].inputs.MVs = 1;
    p.cases.resize(1001, p.cases[0]);
    EXPECT_EQ(write(p).error().kind, Kind::TooManyCases);
    p.cases.resize(2);
    p.details.notes = std::string(maxFileBytes, 'x');
    EXPECT_EQ(write(p).error().kind, Kind::TooLargeToSave);
    p.details.notes = std::string(maxFileBytes / 2, '\x01'); // six bytes written for each
    EXPECT_EQ(write(p).error().kind, Kind::TooLargeToSave);
}

class ProjectFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = std::filesystem::temp_directory_path() /
               ("ventrano-project-test-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string file(const std::string &name, const std::string &content)
    {
        const std::string path = (dir_ / name).string();
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }
    std::filesystem::path dir_;
};

TEST_F(ProjectFiles, ReadsFromDiskWithinTheSizeLimit)
{
    const std::string good = file("good.ventrano", written(sample()));
    const Result<Opened> o = openFile(good);
    ASSERT_TRUE(o.ok()) << sentence(o.error());
    EXPECT_EQ(o.value().project.cases.size(), 3u);

    const Result<Project> missing = readFile((dir_ / "none.ventrano").string());
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error().kind, Kind::Unreadable);
    EXPECT_EQ(missing.error().detail, std::strerror(ENOENT));

    const Result<Project> folder = readFile(dir_.string());
    ASSERT_FALSE(folder.ok());
    EXPECT_EQ(folder.error().kind, Kind::Unreadable);
    EXPECT_EQ(sentence(folder.error()), "Cannot read '" + dir_.string() + "': " + std::strerror(EISDIR) + ".");

    const std::string big = file("big.ventrano", std::string(maxFileBytes + 1, ' '));
    const Result<Project> large = readFile(big);
    ASSERT_FALSE(large.ok());
    EXPECT_EQ(large.error().kind, Kind::TooLarge);
    EXPECT_EQ(large.error().count, static_cast<long long>(maxFileBytes) + 1);
    // at the limit: read, then refused as empty
    EXPECT_EQ(readFile(file("limit.ventrano", std::string(maxFileBytes, ' '))).error().kind, Kind::NotJson);
}

TEST(ProjectFile, TheDocumentedExampleIsWhatTheProgramWrites)
{
    std::ifstream in(PROJECT_DOC);
    ASSERT_TRUE(in) << PROJECT_DOC;
    std::stringstream doc;
    doc << in.rdbuf();
    const std::string text = doc.str();
    const auto start = text.find("```json\n");
    ASSERT_NE(start, std::string::npos);
    const auto end = text.find("```", start + 8);
    const std::string example = text.substr(start + 8, end - start - 8);
    const Result<Opened> o = open(example, "example.ventrano");
    ASSERT_TRUE(o.ok()) << sentence(o.error());
    EXPECT_TRUE(o.value().differing.empty());
    EXPECT_EQ(written(o.value().project), example);
}

TEST(ProjectFile, ResultKeysAreTheCommandLinesColumnsInItsOrder)
{
    rating::Model state;
    const rating::Rating r = rating::rate(state, rating::Case{});
    ASSERT_TRUE(r.ok());
    std::FILE *f = std::tmpfile();
    {
        textio::CsvWriter w(f);
        w.number(r.values.QLabel);
        textio::writeResults(w, r.values);
        w.end();
    }
    std::rewind(f);
    char line[1024] = {};
    ASSERT_NE(std::fgets(line, sizeof line, f), nullptr);
    std::fclose(f);
    std::string expected;
    for (double x : resultValues(r.values)) expected += (expected.empty() ? "" : ",") + textio::numberText(x);
    EXPECT_EQ(std::string(line), expected + "\n");
    EXPECT_STREQ(resultKeys[0], "duty_kW");
    for (int i = 0; i < textio::resultColumnCount; ++i) EXPECT_STREQ(resultKeys[i + 1], textio::resultColumns[i]);
}

} // namespace
