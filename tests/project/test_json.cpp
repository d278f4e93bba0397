// The JSON layer: what it takes (and the compact form it keeps of it), what
// it refuses and where, and how the writer lays values out.
#include "project/json.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace project::json;
using R = SyntaxError::Reason;

namespace {

// The compact form of a text, or the error.
struct Outcome {
    bool ok = false;
    std::string compact;
    SyntaxError error;
};

Outcome parse(std::string_view text)
{
    Outcome o;
    try {
        o.compact = compact(text);
        o.ok = true;
    } catch (const SyntaxError &e) {
        o.error = e;
    }
    return o;
}

std::string nested(int depth) { return std::string(static_cast<std::size_t>(depth), '[') + std::string(static_cast<std::size_t>(depth), ']'); }

TEST(Json, TakesRfc8259AndKeepsACompactForm)
{
    struct Case {
        std::string text, compact;
    };
    const std::vector<Case> cases = {
        {" {\"a\" : 1 ,\n\t\"b\":[ true,false ,null ] }\r\n", "{\"a\":1,\"b\":[true,false,null]}"},
        {"{}", "{}"},
        {"[[],{}]", "[[],{}]"},
        {"{\"\":0}", "{\"\":0}"},
        {"{\"a\":{\"b\":1},\"b\":{\"b\":2}}", "{\"a\":{\"b\":1},\"b\":{\"b\":2}}"}, // a key again, in another object
        // escapes: the short ones stay, \/ is a slash, \u to UTF-8, control
        // characters back as \u00xx
        {R"(["\"\\\/\b\f\n\r\t"])", R"(["\"\\/\b\f\n\r\t"])"},
        {R"(["\u00e9\u20AC\u0041"])", "[\"\u00e9\u20acA\"]"},
        {R"(["\ud83d\ude00"])", "[\"\xF0\x9F\x98\x80\"]"},
        {R"(["\u0000\u001F\u007f"])", "[\"\\u0000\\u001f\x7f\"]"},
        {"[\"\xC3\xA9\xE2\x82\xAC\xF4\x8F\xBF\xBF\"]", "[\"\xC3\xA9\xE2\x82\xAC\xF4\x8F\xBF\xBF\"]"},
        // numbers keep the file's text
        {"[-0,0,1e-300,1E+2,-1.25e-3,0.5,1.7976931348623157e308]", "[-0,0,1e-300,1E+2,-1.25e-3,0.5,1.7976931348623157e308]"},
        {"[1e-400,-2e-324]", "[1e-400,-2e-324]"}, // too small for a double: read as a zero
        {"\xEF\xBB\xBF{}", "{}"},                // a byte order mark
        {nested(64), nested(64)},
    };
    for (const Case &c : cases) {
        const Outcome o = parse(c.text);
        ASSERT_TRUE(o.ok) << c.text << ": reason " << static_cast<int>(o.error.reason) << " at " << o.error.line
                          << ":" << o.error.column;
        EXPECT_EQ(o.compact, c.compact) << c.text;
    }
}

TEST(Json, NumbersAreExactAndTooSmallOnesAreSignedZeros)
{
    struct Case {
        const char *text;
        double value;
    };
    for (const Case c : std::vector<Case>{{"-0", -0.0},
                                          {"1e-300", 1e-300},
                                          {"1E+2", 100},
                                          {"0.1", 0.1},
                                          {"4.9e-324", 4.9e-324},
                                          {"1e-400", 0.0},
                                          {"-1e-400", -0.0},
                                          {"1.7976931348623157e308", 1.7976931348623157e308}}) {
        Parser p(c.text);
        std::string_view text;
        const double x = p.number(&text);
        p.finish();
        EXPECT_EQ(x, c.value) << c.text;
        EXPECT_EQ(std::signbit(x), std::signbit(c.value)) << c.text;
        EXPECT_EQ(text, c.text);
    }
}

TEST(Json, RefusesWithTheReasonAndWhere)
{
    struct Case {
        std::string text;
        R reason;
        long line, column;
        std::string found;
    };
    const std::vector<Case> cases = {
        {"", R::Empty, 1, 1, ""},
        {" \n ", R::Empty, 2, 2, ""},
        {"[1,]", R::ExpectedValue, 1, 4, "]"},
        {"{\"a\":1,}", R::ExpectedKey, 1, 8, "}"},
        {"{'a':1}", R::ExpectedKey, 1, 2, "'"},
        {"{\"a\" 1}", R::ExpectedColon, 1, 6, "1"},
        {"[1 2]", R::ExpectedCommaOrBracket, 1, 4, "2"},
        {"{\"a\":1 \"b\":2}", R::ExpectedCommaOrBrace, 1, 8, "\""},
        {"{} x", R::TrailingText, 1, 4, "x"},
        {"{}{}", R::TrailingText, 1, 3, "{"},
        {"[01]", R::BadNumber, 1, 2, "01"},
        {"[1.]", R::BadNumber, 1, 2, "1."},
        {"[1.e5]", R::BadNumber, 1, 2, "1."},
        {"[1e]", R::BadNumber, 1, 2, "1e"},
        {"[-]", R::BadNumber, 1, 2, "-"},
        {"[.5]", R::ExpectedValue, 1, 2, "."},
        {"[+1]", R::ExpectedValue, 1, 2, "+"},
        {"[1e309]", R::NumberRange, 1, 2, "1e309"},
        {"[-1.8e308]", R::NumberRange, 1, 2, "-1.8e308"},
        {"[NaN]", R::ExpectedValue, 1, 2, "N"},
        {"[Infinity]", R::ExpectedValue, 1, 2, "I"},
        {"// note\n{}", R::ExpectedValue, 1, 1, "/"},
        {"[tru", R::End, 1, 5, ""},
        {"[trux]", R::ExpectedValue, 1, 2, "t"},
        {"[1,2", R::End, 1, 5, ""},
        {"\"abc", R::End, 1, 5, ""},
        {"{\"a\":", R::End, 1, 6, ""},
        {"[\"a\x01z\"]", R::ControlCharacter, 1, 4, "\x01"},
        {"[\"a\nz\"]", R::ControlCharacter, 1, 4, "\n"},
        {R"(["\x"])", R::BadEscape, 1, 3, "\\x"},
        {R"(["\u12G4"])", R::BadEscape, 1, 3, "\\u12G4"},
        {R"(["\ud800"])", R::LoneSurrogate, 1, 3, "\\ud800"},
        {R"(["\udc00\ud800"])", R::LoneSurrogate, 1, 3, "\\udc00"},
        {R"(["\ud800\u0041"])", R::LoneSurrogate, 1, 3, "\\ud800"},
        {"{\"a\":1,\"a\":2}", R::DuplicateKey, 1, 8, "\"a\""},
        {"{\"a\":1,\"\\u0061\":2}", R::DuplicateKey, 1, 8, "\"a\""}, // the same key, escaped
        {nested(65), R::TooDeep, 1, 65, "["},
        // line and column count characters; CRLF, LF and a lone CR end lines
        {"[\"\xC3\xA9\", x]", R::ExpectedValue, 1, 7, "x"},
        {"{\r\n\"a\":\r\n}", R::ExpectedValue, 3, 1, "}"},
        {"[\r1\r,\r]", R::ExpectedValue, 4, 1, "]"},
        {"\xEF\xBB\xBF[x]", R::ExpectedValue, 1, 2, "x"},
        // not UTF-8: a bad continuation, overlong forms, a surrogate, beyond
        // U+10FFFF, a sequence cut off, a lone continuation byte
        {"[\n\"\xC3\x28\"]", R::NotUtf8, 2, 2, "0xC3"},
        {"[\"\xC0\xAF\"]", R::NotUtf8, 1, 3, "0xC0"},
        {"[\"\xE0\x80\xAF\"]", R::NotUtf8, 1, 3, "0xE0"},
        {"[\"\xED\xA0\x80\"]", R::NotUtf8, 1, 3, "0xED"},
        {"[\"\xF4\x90\x80\x80\"]", R::NotUtf8, 1, 3, "0xF4"},
        {"[\"\xE2\x82", R::NotUtf8, 1, 3, "0xE2"},
        {"\x80", R::NotUtf8, 1, 1, "0x80"},
    };
    for (const Case &c : cases) {
        const Outcome o = parse(c.text);
        ASSERT_FALSE(o.ok) << c.text;
        EXPECT_EQ(o.error.reason, c.reason) << c.text;
        EXPECT_EQ(o.error.line, c.line) << c.text;
        EXPECT_EQ(o.error.column, c.column) << c.text;
        EXPECT_EQ(o.error.found, c.found) << c.text;
    }
}

TEST(Json, LargeInputsCostNoMoreThanTheirSize)
{
    // 10 MB of '[' stops at the depth limit; a long string is one value.
    const Outcome deep = parse(std::string(10'000'000, '['));
    ASSERT_FALSE(deep.ok);
    EXPECT_EQ(deep.error.reason, R::TooDeep);
    EXPECT_EQ(deep.error.column, 65);

    const std::string text = "\"" + std::string(9'000'000, 'x') + "\"";
    EXPECT_EQ(parse(text).compact, text);

    // An object of many keys: searched through a hash, a repeat found at the end.
    std::string object = "{";
    for (int i = 0; i < 100000; ++i) object += "\"k" + std::to_string(i) + "\":0,";
    EXPECT_TRUE(parse(object + "\"k\":0}").ok);
    const Outcome twice = parse(object + "\"k77777\":0}");
    ASSERT_FALSE(twice.ok);
    EXPECT_EQ(twice.error.reason, R::DuplicateKey);
    EXPECT_EQ(twice.error.found, "\"k77777\"");
}

TEST(Json, WriterLaysOutValuesAndReflowsCapturedOnes)
{
    std::string out;
    Writer w(out);
    w.beginObject();
    w.key("text");
    w.string("q\" b\\ \x01\x1f\x7f \xC3\xA9 \n\t\r\b\f /");
    w.key("not UTF-8");
    w.string("a\xE9z\xE2\x82");
    w.key("numbers");
    w.beginArray();
    w.number(-0.0);
    w.number(0.1);
    w.number(5.5e-05);
    w.integer(150);
    w.endArray();
    w.key("empty");
    w.beginObject();
    w.endObject();
    w.key("none");
    w.beginArray();
    w.endArray();
    w.key("kept");
    w.compact(compact("{\"a\":[1,{\"b\":[]},{}],\"c\":\"x,y:z[]{}\\\"q\",\"d\":{}}"));
    w.endObject();
    const std::string expected = "{\n"
                                 "  \"text\": \"q\\\" b\\\\ \\u0001\\u001f\x7f \xC3\xA9 \\n\\t\\r\\b\\f /\",\n"
                                 "  \"not UTF-8\": \"a\xEF\xBF\xBDz\xEF\xBF\xBD\xEF\xBF\xBD\",\n"
                                 "  \"numbers\": [\n"
                                 "    -0,\n"
                                 "    0.1,\n"
                                 "    5.5e-05,\n"
                                 "    150\n"
                                 "  ],\n"
                                 "  \"empty\": {},\n"
                                 "  \"none\": [],\n"
                                 "  \"kept\": {\n"
                                 "    \"a\": [\n"
                                 "      1,\n"
                                 "      {\n"
                                 "        \"b\": []\n"
                                 "      },\n"
                                 "      {}\n"
                                 "    ],\n"
                                 "    \"c\": \"x,y:z[]{}\\\"q\",\n"
                                 "    \"d\": {}\n"
                                 "  }\n"
                                 "}";
    EXPECT_EQ(out, expected);
    EXPECT_FALSE(w.overflowed());
    // what the writer writes reads back as what it was given
    EXPECT_EQ(compact(out), compact(expected));

    std::string small;
    Writer limited(small, 20);
    limited.beginArray();
    limited.compact(compact("[\"" + std::string(1000, 'x') + "\",2]"));
    EXPECT_TRUE(limited.overflowed());
    EXPECT_LT(small.size(), 1100u);
}

} // namespace
