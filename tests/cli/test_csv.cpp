// The command line's CSV reading and writing, and its numbers and fields.
#include "textio/csv.h"
#include "textio/casefields.h"
#include "textio/number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

using namespace textio;
using P = CsvRecord::Problem;

namespace {

struct Read {
    std::vector<std::string> fields;
    long line;
    P problem;
    bool operator==(const Read &o) const { return fields == o.fields && line == o.line && problem == o.problem; }
};

std::ostream &operator<<(std::ostream &o, const Read &r)
{
    o << "line " << r.line << " problem " << static_cast<int>(r.problem) << " [";
    for (const auto &f : r.fields) o << '<' << f << '>';
    return o << ']';
}

// Every record of `text`, read through a file as the program reads its input.
std::vector<Read> readAll(const std::string &text, std::size_t maxBytes = 1000, std::size_t maxFields = 50)
{
    std::FILE *f = std::tmpfile();
    std::fwrite(text.data(), 1, text.size(), f);
    std::fflush(f);
    std::rewind(f);
    CsvReader reader(f, maxBytes, maxFields);
    std::vector<Read> out;
    CsvRecord r;
    while (reader.next(r)) {
        Read x{{r.fields.begin(), r.fields.begin() + static_cast<long>(r.count)}, r.line, r.problem};
        if (r.problem == P::TooLong) x.fields.clear(); // what was kept of it does not count
        out.push_back(x);
    }
    std::fclose(f);
    return out;
}

std::string written(const std::vector<std::vector<std::string>> &records)
{
    std::FILE *f = std::tmpfile();
    {
        CsvWriter w(f);
        for (const auto &r : records) {
            for (const auto &field : r) w.field(field);
            w.end();
        }
    }
    std::rewind(f);
    std::string s;
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) s.append(buf, n);
    std::fclose(f);
    return s;
}

} // namespace

TEST(CsvReader, Table)
{
    const std::string bom = "\xEF\xBB\xBF";
    const struct {
        const char *what;
        std::string in;
        std::vector<Read> want;
    } rows[] = {
        {"plain, LF", "a,b\nc,d\n", {{{"a", "b"}, 1, P::None}, {{"c", "d"}, 2, P::None}}},
        {"CRLF", "a,b\r\nc,d\r\n", {{{"a", "b"}, 1, P::None}, {{"c", "d"}, 2, P::None}}},
        {"lone CR", "a,b\rc,d\r", {{{"a", "b"}, 1, P::None}, {{"c", "d"}, 2, P::None}}},
        {"no line break at the end", "a,b\nc,d", {{{"a", "b"}, 1, P::None}, {{"c", "d"}, 2, P::None}}},
        {"byte order mark", bom + "a,b\n", {{{"a", "b"}, 1, P::None}}},
        {"byte order mark, quoted field", bom + "\"a\",b\n", {{{"a", "b"}, 1, P::None}}},
        {"mark elsewhere is data", "a," + bom + "\n", {{{"a", bom}, 1, P::None}}},
        {"blank lines skipped", "\n\na\r\n\r\n\rb\n\n", {{{"a"}, 3, P::None}, {{"b"}, 6, P::None}}},
        {"lines of blanks alone skipped", " \t \na\r\n  \r\n\t\rb\n   ", {{{"a"}, 2, P::None}, {{"b"}, 5, P::None}}},
        {"blanks that start a record are its first field's", "  a, b\n\t,\n",
         {{{"  a", " b"}, 1, P::None}, {{"\t", ""}, 2, P::None}}},
        {"a quote after leading blanks is a quote", " \"q\",x\n", {{{" \"q\"", "x"}, 1, P::None}}},
        {"blank lines in quotes are data", "\"a\n  \n\",b\n", {{{"a\n  \n", "b"}, 1, P::None}}},
        {"too long in leading blanks, then on", std::string(1500, ' ') + "x\nb\n", {{{}, 1, P::TooLong}, {{"b"}, 2, P::None}}},
        {"empty fields", ",,\n", {{{"", "", ""}, 1, P::None}}},
        {"quoted empty field is no blank line", "\"\"\n", {{{""}, 1, P::None}}},
        {"comma and doubled quote in quotes", "\"a,b\",\"say \"\"hi\"\"\"\n", {{{"a,b", "say \"hi\""}, 1, P::None}}},
        {"line breaks in quotes count as lines", "\"x\r\ny\nz\",w\nnext\n",
         {{{"x\r\ny\nz", "w"}, 1, P::None}, {{"next"}, 4, P::None}}},
        {"quote inside a plain field is a quote", "6\" pipe,b\n", {{{"6\" pipe", "b"}, 1, P::None}}},
        {"blanks are data", " a , b \n", {{{" a ", " b "}, 1, P::None}}},
        {"text after a closing quote", "\"a\"x,b\nc\n", {{{"a", "b"}, 1, P::TextAfterQuote}, {{"c"}, 2, P::None}}},
        {"quote left open", "a,\"b\nc\n", {{{"a", "b\nc\n"}, 1, P::Unclosed}}},
        {"NUL byte", std::string("a,b\0c\nd\n", 8), {{{"a", "bc"}, 1, P::Nul}, {{"d"}, 2, P::None}}},
        {"too long, then on", "a," + std::string(2000, 'x') + "\nb\n", {{{}, 1, P::TooLong}, {{"b"}, 2, P::None}}},
        {"too long in quotes, then on", "\"" + std::string(1500, 'y') + "\n\",z\nb\n",
         {{{}, 1, P::TooLong}, {{"b"}, 3, P::None}}},
        {"too many fields, then on", std::string(60, ',') + "\nb\n", {{{}, 1, P::TooLong}, {{"b"}, 2, P::None}}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(readAll(row.in), row.want);
    }
}

// Anything written reads back as the same fields, whatever bytes they hold
// (but NUL), over records longer than the reader's buffer.
TEST(CsvWriter, ReadsBackExactly)
{
    std::mt19937 g(7);
    const char alphabet[] = "ab,\"\r\n x\xC3\xA9\t;";
    std::vector<std::vector<std::string>> records;
    for (int r = 0; r < 400; ++r) {
        std::vector<std::string> fields(1 + g() % 6);
        for (auto &f : fields) {
            const std::size_t n = g() % 7 == 0 ? 30000 : g() % 12;
            for (std::size_t i = 0; i < n; ++i) f.push_back(alphabet[g() % (sizeof alphabet - 1)]);
        }
        records.push_back(fields);
    }
    records.push_back({""}); // one empty field: not a blank line
    records.push_back({"", ""});
    const std::string text = written(records);
    const auto back = readAll(text, 1 << 20, 100);
    ASSERT_EQ(back.size(), records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(back[i].fields, records[i]) << i;
        EXPECT_EQ(back[i].problem, P::None) << i;
    }
    EXPECT_EQ(written({{"a", "b c", "d,e", "f\"g", "h\ni"}}), "a,b c,\"d,e\",\"f\"\"g\",\"h\ni\"\n");
}

// Awkward numbers and fields written as records and read back: every
// number to the bit in its shortest text, every field as it was.
TEST(CsvWriter, AwkwardValuesReadBack)
{
    const struct {
        double x;
        const char *text;
    } numbers[] = {
        {-0.0, "-0"},
        {0.0, "0"},
        {1e-300, "1e-300"},
        {4.9e-324, "5e-324"},
        {-4.9e-324, "-5e-324"},
        {2.2250738585072009e-308, "2.225073858507201e-308"},
        {-2.2250738585072014e-308, "-2.2250738585072014e-308"}, // the longest text
        {0.1 + 0.2, "0.30000000000000004"},
        {1e21, "1e+21"},
        {1e22, "1e+22"},
        {std::numeric_limits<double>::max(), "1.7976931348623157e+308"},
        {-std::numeric_limits<double>::max(), "-1.7976931348623157e+308"},
        {46.37, "46.37"},
    };
    const struct {
        std::string field, written;
    } fields[] = {
        {"plain", "plain"},
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"\"", "\"\"\"\""},
        {" lead", "\" lead\""},
        {"trail ", "\"trail \""},
        {"\tboth\t", "\"\tboth\t\""},
        {" ", "\" \""},
        {"in side", "in side"},
        {"cr\r", "\"cr\r\""},
        {"l\nf", "\"l\nf\""},
        {"cr\r\nlf", "\"cr\r\nlf\""},
        {"", ""},
        {" 7 ", "\" 7 \""},
    };
    for (const auto &n : numbers) {
        SCOPED_TRACE(n.text);
        EXPECT_EQ(numberText(n.x), n.text);
        std::string appended = "x";
        appendNumber(appended, n.x);
        EXPECT_EQ(appended, std::string("x") + n.text);
    }
    for (const auto &f : fields) {
        std::string out;
        appendField(out, f.field);
        EXPECT_EQ(out, f.written) << f.field;
    }

    // One record of every number, one of every field, and a record of each
    // field alone (a blank alone, an empty field alone: no blank line).
    std::FILE *file = std::tmpfile();
    {
        CsvWriter w(file);
        for (const auto &n : numbers) w.number(n.x);
        w.end();
        for (const auto &f : fields) w.field(f.field);
        w.end();
        for (const auto &f : fields) {
            w.field(f.field);
            w.end();
        }
        ASSERT_TRUE(w.flush());
    }
    std::rewind(file);
    CsvReader reader(file, 1000, 50);
    CsvRecord r;
    ASSERT_TRUE(reader.next(r));
    ASSERT_EQ(r.count, std::size(numbers));
    for (std::size_t i = 0; i < std::size(numbers); ++i) {
        SCOPED_TRACE(numbers[i].text);
        EXPECT_EQ(r.fields[i], numbers[i].text);
        const auto back = parseNumber(r.fields[i]);
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(std::memcmp(&*back, &numbers[i].x, sizeof(double)), 0);
    }
    ASSERT_TRUE(reader.next(r));
    ASSERT_EQ(r.count, std::size(fields));
    for (std::size_t i = 0; i < std::size(fields); ++i) EXPECT_EQ(r.fields[i], fields[i].field) << i;
    for (const auto &f : fields) {
        ASSERT_TRUE(reader.next(r)) << f.field;
        EXPECT_EQ(r.problem, P::None);
        ASSERT_EQ(r.count, 1u);
        EXPECT_EQ(r.fields[0], f.field);
    }
    EXPECT_FALSE(reader.next(r));
    std::fclose(file);
}

TEST(Numbers, ReadOnlyPlainDecimalNumbers)
{
    const struct {
        const char *text;
        std::optional<double> want;
    } rows[] = {
        {"7", 7},           {"-5", -5},          {"0.5", 0.5},       {".5", 0.5},      {"5.", 5},
        {"1e2", 100},       {"1E-1", 0.1},       {" 7\t", 7},        {"-0", -0.0},     {"7,5", {}},
        {"+7", 7},          {" +0.5 ", 0.5},     {"+0", 0.0},        {"1e+2", 100},    {"++7", {}},
        {"+-7", {}},        {"-+7", {}},         {"+", {}},          {"+ 7", {}},      {"+nan", {}},
        {"7 kW", {}},       {"7 5", {}},         {"", {}},           {"  ", {}},
        {"nan", {}},        {"NaN", {}},         {"inf", {}},        {"-infinity", {}}, {"0x10", {}},
        {"1e999", {}},      {"1e", {}},          {"--1", {}},        {"\xC2\xA0" "7", {}},
        {"4.9e-324", 4.9e-324}, {"1e-400", {}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.text);
        const auto got = parseNumber(row.text);
        ASSERT_EQ(got.has_value(), row.want.has_value());
        if (got) {
            EXPECT_EQ(*got, *row.want);
            EXPECT_EQ(std::signbit(*got), std::signbit(*row.want));
        }
    }
}

// A decimal number beyond the doubles is out of range, not "no number".
TEST(Numbers, BeyondTheDoubles)
{
    using K = NumberRead::Kind;
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        std::string text;
        K kind;
        double value;
    } rows[] = {
        {"1e309", K::TooLarge, inf},
        {" -1e309 ", K::TooLarge, -inf},
        {"+1.8e308", K::TooLarge, inf},
        {"2" + std::string(308, '0') + ".5", K::TooLarge, inf}, // 2e308 written out
        {"1e99999999999999999999999", K::TooLarge, inf},
        {"1e-400", K::TooSmall, 0.0},
        {"-1e-400", K::TooSmall, -0.0},
        {"2e-324", K::TooSmall, 0.0},
        {"1000e-327", K::TooSmall, 0.0},
        {"0.000001e-319", K::TooSmall, 0.0},
        {"0." + std::string(400, '0') + "1", K::TooSmall, 0.0}, // 1e-401 written out
        {"1e-99999999999999999999999", K::TooSmall, 0.0},
        {"3e-324", K::Number, 4.9e-324},
        {"0e999", K::Number, 0.0},
        {"1.7976931348623157e308", K::Number, std::numeric_limits<double>::max()},
        {"1e30x", K::NoNumber, 0.0},
        {"1e309x", K::NoNumber, 0.0},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.text);
        const NumberRead r = readDecimal(row.text);
        EXPECT_EQ(r.kind, row.kind);
        EXPECT_EQ(r.value, row.value);
        EXPECT_EQ(std::signbit(r.value), std::signbit(row.value));
    }
}

// Shortest text, read back as the same double, in every region of the range.
TEST(Numbers, WrittenToReadBackExactly)
{
    std::mt19937_64 g(3);
    std::vector<double> xs = {0.0, -0.0, 0.1, 98, 155.2179179726591, 1e-300, 5e-324, 1.7976931348623157e308,
                              46.37087171120363};
    for (int i = 0; i < 5000; ++i) {
        const std::uint64_t bits = g();
        double x;
        std::memcpy(&x, &bits, sizeof x);
        if (std::isfinite(x)) xs.push_back(x);
    }
    for (double x : xs) {
        const std::string t = numberText(x);
        const auto back = parseNumber(t);
        ASSERT_TRUE(back.has_value()) << t;
        EXPECT_EQ(std::memcmp(&*back, &x, sizeof x), 0) << t;
    }
    EXPECT_EQ(numberText(98), "98");
    EXPECT_EQ(numberText(0.1), "0.1");
}

TEST(Fields, RangesAndMessages)
{
    int i = 0;
    double d = 0;
    EXPECT_EQ(readCount("3", i), "");
    EXPECT_EQ(i, 3);
    EXPECT_EQ(readCount("3.0", i), "");
    EXPECT_EQ(readCount("150", i), "");
    EXPECT_NE(readCount("2.5", i).find("fraction"), std::string::npos);
    EXPECT_NE(readCount("0", i).find("outside 1 to 150"), std::string::npos);
    EXPECT_NE(readCount("151", i).find("outside 1 to 150"), std::string::npos);
    EXPECT_NE(readCount("1e300", i).find("outside"), std::string::npos);
    EXPECT_EQ(readFlow("0", d), "");
    EXPECT_EQ(readFlow("150", d), "");
    EXPECT_NE(readFlow("150.0000001", d).find("outside 0 to 150"), std::string::npos);
    EXPECT_NE(readFlow("-0.1", d).find("outside"), std::string::npos);
    EXPECT_NE(readFlow("7,5", d).find("decimal separator is a point"), std::string::npos);
    EXPECT_EQ(readInlet("-5", d), "");
    EXPECT_NE(readInlet("-5.01", d).find("outside -5 to 150"), std::string::npos);
    // Numbers beyond the doubles: out of range, with the field's range.
    const struct {
        std::string got, want;
    } ranges[] = {
        {readFlow("1e309", d), "1e309 is outside 0 to 150"},
        {readFlow("-1e309", d), "-1e309 is outside 0 to 150"},
        {readFlow("1e-400", d), "1e-400 is out of range: too near 0 to be read (0 to 150)"},
        {readInlet("-1e-400", d), "-1e-400 is out of range: too near 0 to be read (-5 to 150)"},
        {readCount("1e309", i), "1e309 is outside 1 to 150"},
        {readCount("1e-400", i), "1e-400 is outside 1 to 150"},
        {readNumber("1e309", 0, HUGE_VAL, true, d), "1e309 is out of range: too large to be read (0 or more)"},
        {readNumber("-1e309", 0, HUGE_VAL, true, d), "-1e309 is below 0"},
        {readNumber("1e-400", 0.001, 100000, true, d), "1e-400 is outside 0.001 to 100000"},
        {readNumber("1e300", 0.001, 100000, true, d), "1e300 is outside 0.001 to 100000"},
        {readNumber("0", 0, HUGE_VAL, false, d), "0 is not above 0"},
        {readFlow("+7", d), ""},
        {readFlow("1" + std::string(100, '0'), d), "1" + std::string(39, '0') + "... is outside 0 to 150"},
    };
    for (const auto &r : ranges) EXPECT_EQ(r.got, r.want);
    EXPECT_EQ(readCount("+3", i), "");
    EXPECT_EQ(i, 3);
    EXPECT_EQ(readType("VR/T-4", i), "");
    EXPECT_EQ(i, 4);
    EXPECT_NE(readType("VT/R-4", i).find("not a type"), std::string::npos);
    EXPECT_NE(readType("vt/r-0", i).find("not a type"), std::string::npos);
    EXPECT_EQ(readUnit("l/min", i), "");
    EXPECT_EQ(i, 0);
    EXPECT_EQ(readUnit("m3/h", i), "");
    EXPECT_EQ(i, 1);
    EXPECT_NE(readUnit("m³/h", i).find("not a unit"), std::string::npos);
    // A message stays on one line and short, whatever the value holds.
    const std::string m = readType(std::string("a\nb\rc") + std::string(100, 'x'), i);
    EXPECT_EQ(m.find_first_of("\r\n"), std::string::npos);
    EXPECT_LT(m.size(), 140u);
}

// Why a case has no results, in the order the calculation run checks.
TEST(Fields, WhyACaseIsNotRated)
{
    const struct {
        double mvk, mvs, tkb, tsb;
        int soros;
        const char *why;
    } rows[] = {
        {0, 1, 80, 20, 1, "the jacket flow is 0: nothing to rate"},
        {7, 0, 80, 20, 1, "the coil flow is 0: nothing to rate"},
        {0, 0, 80, 80, 1, "both flows are 0: nothing to rate"},
        // Above 0, but 0 once in m3/s.
        {5e-324, 1, 80, 20, 1, "the jacket flow 5e-324 m3/h is too small to rate: 0 once converted to m3/s"},
        {0, 1e-321, 80, 20, 1,
         "the jacket flow is 0; the coil flow 1e-321 m3/h is too small to rate: 0 once converted to m3/s"},
        {7, 1, 50, 50, 1, "the inlet temperatures are equal: no heat to transfer"},
        {7, 150, 80, 20, 2, "the coil pressure drop reaches 10000 bar"},
        {150, 150, 80, 20, 150, "both pressure drops reach 10000 bar"},
    };
    rating::Model m;
    for (const auto &row : rows) {
        SCOPED_TRACE(row.why);
        rating::Case c;
        c.MVk = row.mvk, c.MVs = row.mvs, c.tkb = row.tkb, c.tsb = row.tsb, c.Soros = row.soros;
        const rating::Rating r = rating::rate(m, c);
        ASSERT_FALSE(r.ok());
        EXPECT_EQ(whyNotRated(m, c, r).rfind(row.why, 0), 0u) << whyNotRated(m, c, r);
    }
    rating::Rating fault;
    fault.outcome = rating::Rating::Outcome::Fault;
    fault.fault = rating::ArithmeticError::Kind::DivisionByZero;
    EXPECT_EQ(whyNotRated(m, rating::Case{}, fault), "arithmetic error: Floating point division by zero");
}
