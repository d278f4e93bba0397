// Fuzzes the numeric field's text rules and the calculator engine.
//
// The first byte picks the field set-up (separators, rounding, limits), the
// second the mode; the rest is the input. Whatever it is, a committed value
// must be finite and within the limits, text the filter lets through must
// read as a number with at most the allowed decimals, and the calculator's
// number must stay finite and agree with its display.
#include "widgets/Calculator.h"
#include "widgets/numtext.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace numfield;

namespace {

#define CHECK(cond)                                                              \
    do {                                                                         \
        if (!(cond)) {                                                           \
            std::fprintf(stderr, "check failed: %s (line %d)\n", #cond, __LINE__); \
            std::abort();                                                        \
        }                                                                        \
    } while (0)

struct Setup {
    Separators seps;
    CommitRules rules;
    FormatPattern display;
};

Setup setupFrom(uint8_t b)
{
    static const char decimals[] = {'.', ','};
    static const char thousands[] = {',', '.', ' ', 0};
    static const double limits[][2] = {{0, 150}, {-5, 150}, {-1e300, 1e300}, {0.001, 0.002}};
    static const char *patterns[] = {",0.###", "0.###", ",0.##", "0.##"};
    Setup s;
    s.seps.decimal = QLatin1Char(decimals[b & 1]);
    const char t = thousands[(b >> 1) & 3];
    s.seps.thousands = t ? QChar(QLatin1Char(t)) : QChar();
    s.rules.round = (b >> 3) & 1;
    s.rules.minValue = limits[(b >> 4) & 3][0];
    s.rules.maxValue = limits[(b >> 4) & 3][1];
    s.rules.decimalPlaces = 2;
    s.display = FormatPattern::parse(QString::fromLatin1(patterns[(b >> 6) & 3]));
    return s;
}

void checkCommitted(double v, const Setup &s)
{
    CHECK(std::isfinite(v));
    CHECK(v >= s.rules.minValue && v <= s.rules.maxValue);
}

// Leaving rewrites the value in the edit format and the window reads it back:
// that must read, stay in the limits and be within half a unit of the value.
void checkRewrite(double v, const Setup &s)
{
    const QString edit = editText(v, s.rules.decimalPlaces, true, s.seps);
    const std::optional<double> back = commitText(edit, s.seps, s.rules);
    CHECK(back.has_value());
    checkCommitted(*back, s);
    CHECK(std::fabs(*back - v) <= 0.005 + std::fabs(v) * 1e-15);
    const QString shown = formatNumber(v, s.display, s.seps);
    CHECK(readNumber(shown, s.seps).has_value());
}

void fuzzText(const QString &text, const Setup &s)
{
    const std::optional<double> x = readNumber(text, s.seps);
    if (x)
        CHECK(!std::isnan(*x));
    const std::optional<double> v = commitText(text, s.seps, s.rules);
    CHECK(v.has_value() == x.has_value());
    if (v) {
        checkCommitted(*v, s);
        checkRewrite(*v, s);
    }
}

// A small editor: the same steps NumEdit takes for keys, deletes and pastes.
void fuzzTyping(const uint8_t *data, size_t size, const Setup &s)
{
    QString text;
    int cursor = 0;
    int anchor = 0;   // selection is [min(anchor,cursor), max(...))
    double value = s.rules.minValue;
    for (size_t i = 0; i < size; ++i) {
        const uint8_t op = data[i];
        const int selStart = std::min(anchor, cursor);
        const int selLen = std::abs(anchor - cursor);
        if (op < 0x08) {   // control: delete, move, select, paste, esc
            switch (op) {
            case 0: // backspace
                if (selLen > 0)
                    text = replaceRange(text, selStart, selLen, QString());
                else if (cursor > 0)
                    text = replaceRange(text, cursor - 1, 1, QString());
                cursor = anchor = selLen > 0 ? selStart : std::max(0, cursor - 1);
                break;
            case 1: // move
                if (i + 1 < size)
                    cursor = anchor = int(data[++i] % (text.size() + 1));
                break;
            case 2: // select
                if (i + 2 < size) {
                    anchor = int(data[++i] % (text.size() + 1));
                    cursor = int(data[++i] % (text.size() + 1));
                }
                break;
            case 3: { // paste the next n bytes
                if (i + 1 >= size)
                    break;
                ++i;
                const size_t n = std::min<size_t>(data[i], size - i - 1);
                const QString clip = QString::fromLatin1(reinterpret_cast<const char *>(data + i + 1), qsizetype(n)).trimmed();
                i += n;
                const QString candidate = replaceRange(text, selStart, selLen, clip).left(32767);
                const std::optional<double> v = commitText(candidate, s.seps, s.rules);
                if (v) {
                    checkCommitted(*v, s);
                    value = *v;
                    text = candidate;
                    cursor = anchor = int(std::min<qsizetype>(selStart + clip.size(), text.size()));
                } else {
                    anchor = 0;
                    cursor = int(text.size());
                }
                break;
            }
            case 4: // esc
                text = editText(value, s.rules.decimalPlaces, true, s.seps);
                anchor = 0;
                cursor = int(text.size());
                break;
            default: { // leave and come back
                const std::optional<double> v = commitText(text, s.seps, s.rules);
                if (v) {
                    checkCommitted(*v, s);
                    value = *v;
                    checkRewrite(value, s);
                    text = editText(value, s.rules.decimalPlaces, true, s.seps);
                    anchor = 0;
                    cursor = int(text.size());
                }
                break;
            }
            }
            continue;
        }
        const QString typed = mapTyped(QString(QChar(QLatin1Char(char(op)))), s.seps);
        const QString candidate = replaceRange(text, selStart, selLen, typed);
        if (acceptsTyped(candidate, s.seps, s.rules.decimalPlaces, s.rules.minValue, s.rules.maxValue)) {
            text = candidate;
            cursor = anchor = selStart + 1;
            // What the filter lets through reads as a number.
            const std::optional<double> v = commitText(text, s.seps, s.rules);
            CHECK(v.has_value());
            checkCommitted(*v, s);
        }
    }
}

void fuzzCalculator(const uint8_t *data, size_t size, const Setup &s)
{
    CalcEngine e;
    double start = 0;
    if (size >= sizeof(double)) {
        std::memcpy(&start, data, sizeof(double));
        data += sizeof(double);
        size -= sizeof(double);
    }
    e.start(start);
    for (size_t i = 0; i < size; ++i) {
        const CalcEngine::Result r = e.key(static_cast<char>(data[i]));
        const double n = e.number();
        CHECK(std::isfinite(n));
        const std::string d = e.display();
        CHECK(d.size() <= 32);
        if (e.hasError()) {
            CHECK(d == "Error");
            CHECK(r != CalcEngine::Result::Accept);
        } else {
            const std::optional<double> shown = readNumber(QString::fromStdString(d), Separators());
            CHECK(shown.has_value());
            CHECK(*shown == n || (n == 0 && *shown == 0));
        }
        if (r == CalcEngine::Result::Accept)
            checkCommitted(commitNumber(n, s.rules), s);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const Setup s = setupFrom(data[0]);
    const uint8_t mode = data[1] % 4;
    data += 2;
    size -= 2;
    switch (mode) {
    case 0:
        fuzzText(QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size)), s);
        break;
    case 1:
        fuzzText(QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size)), s);
        break;
    case 2:
        fuzzTyping(data, size, s);
        break;
    default:
        fuzzCalculator(data, size, s);
        break;
    }
    return 0;
}
