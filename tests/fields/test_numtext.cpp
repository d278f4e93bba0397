// Text rules of the numeric field: reading, rounding, clamping, formatting,
// the typing filter and the paste rule, without a widget.
#include "widgets/numtext.h"

#include <QTest>
#include <cmath>
#include <limits>

using namespace numfield;

Q_DECLARE_METATYPE(std::optional<double>)

namespace {
Separators seps(char dec, char thou)
{
    Separators s;
    s.decimal = QLatin1Char(dec);
    s.thousands = thou ? QChar(QLatin1Char(thou)) : QChar();
    return s;
}
constexpr double inf = std::numeric_limits<double>::infinity();
} // namespace

class TestNumText : public QObject {
    Q_OBJECT
private slots:
    void read_data();
    void read();
    void commit_data();
    void commit();
    void format_data();
    void format();
    void typing_data();
    void typing();
    void editing_data();
    void editing();
    void typedSeparator_data();
    void typedSeparator();
    void paste_data();
    void paste();
};

void TestNumText::read_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<char>("dec");
    QTest::addColumn<char>("thou");
    QTest::addColumn<std::optional<double>>("expected");
    const std::optional<double> bad;
    QTest::newRow("empty") << "" << '.' << ',' << std::optional(0.0);
    QTest::newRow("lone minus") << "-" << '.' << ',' << std::optional(0.0);
    QTest::newRow("lone plus") << "+" << '.' << ',' << bad;
    QTest::newRow("lone point") << "." << '.' << ',' << bad;
    QTest::newRow("minus point") << "-." << '.' << ',' << bad;
    QTest::newRow("trailing point") << "5." << '.' << ',' << std::optional(5.0);
    QTest::newRow("leading point") << ".5" << '.' << ',' << std::optional(0.5);
    QTest::newRow("thousands dropped") << "1,234.5" << '.' << ',' << std::optional(1234.5);
    QTest::newRow("comma is thousands") << "1,5" << '.' << ',' << std::optional(15.0);
    QTest::newRow("two points") << "1.2.3" << '.' << ',' << bad;
    QTest::newRow("exponent") << "1e3" << '.' << ',' << std::optional(1000.0);
    QTest::newRow("exponent signed") << "25E-2" << '.' << ',' << std::optional(0.25);
    QTest::newRow("exponent without digits") << "1e" << '.' << ',' << bad;
    QTest::newRow("exponent sign only") << "1e+" << '.' << ',' << bad;
    QTest::newRow("exponent first") << "e5" << '.' << ',' << bad;
    QTest::newRow("point in exponent") << "1e2.5" << '.' << ',' << bad;
    QTest::newRow("double sign") << "--1" << '.' << ',' << bad;
    QTest::newRow("sign after digits") << "5-" << '.' << ',' << bad;
    QTest::newRow("space") << " 5" << '.' << ',' << bad;
    QTest::newRow("letters") << "abc" << '.' << ',' << bad;
    QTest::newRow("non-ascii digit") << QString(QChar(0x0661)) << '.' << ',' << bad;
    QTest::newRow("overflow") << "1e999" << '.' << ',' << std::optional(inf);
    QTest::newRow("negative overflow") << "-1e999" << '.' << ',' << std::optional(-inf);
    QTest::newRow("huge exponent") << "7e99999999999999999999999" << '.' << ',' << std::optional(inf);
    QTest::newRow("overflow by digits") << QString(400, QLatin1Char('9')) << '.' << ',' << std::optional(inf);
    QTest::newRow("underflow") << "1e-999" << '.' << ',' << std::optional(0.0);
    QTest::newRow("zero huge exponent") << "0e99999999999" << '.' << ',' << std::optional(0.0);
    QTest::newRow("small by leading zeros") << "0." + QString(400, QLatin1Char('0')) + "1e300" << '.' << ',' << std::optional(0.0);
    QTest::newRow("comma decimal") << "0,5" << ',' << '.' << std::optional(0.5);
    QTest::newRow("point is thousands") << "1.234,5" << ',' << '.' << std::optional(1234.5);
    QTest::newRow("both decimal, other thousands") << "0.5" << ',' << ' ' << std::optional(0.5);
    QTest::newRow("separators clash: no thousands") << "1,5" << ',' << ',' << std::optional(1.5);
}

void TestNumText::read()
{
    QFETCH(QString, text);
    QFETCH(char, dec);
    QFETCH(char, thou);
    QFETCH(std::optional<double>, expected);
    const std::optional<double> got = readNumber(text, seps(dec, thou));
    QCOMPARE(got.has_value(), expected.has_value());
    if (expected)
        QCOMPARE(*got, *expected);
}

void TestNumText::commit_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<bool>("round");
    QTest::addColumn<double>("expected");
    // limits -5..150 throughout
    QTest::newRow("half up") << 80.125 << true << 80.13;
    QTest::newRow("half away from zero") << -0.125 << true << -0.13;
    QTest::newRow("binary just below half") << 1.005 << true << 1.01;
    QTest::newRow("below half") << 0.004999 << true << 0.0;
    QTest::newRow("no rounding when off") << 0.987 << false << 0.987;
    QTest::newRow("above max") << 200.0 << false << 150.0;
    QTest::newRow("below min") << -10.0 << false << -5.0;
    QTest::newRow("rounding then clamp") << 149.999 << true << 150.0;
    QTest::newRow("infinity") << inf << true << 150.0;
    QTest::newRow("minus infinity") << -inf << false << -5.0;
    QTest::newRow("nan") << std::nan("") << true << -5.0;
    QTest::newRow("huge finite") << 1.7e308 << true << 150.0;
}

void TestNumText::commit()
{
    QFETCH(double, x);
    QFETCH(bool, round);
    QFETCH(double, expected);
    CommitRules r;
    r.minValue = -5;
    r.maxValue = 150;
    r.round = round;
    const double v = commitNumber(x, r);
    QCOMPARE(v, expected);
    QVERIFY(!std::signbit(v) || v != 0);   // never -0
}

void TestNumText::format_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<char>("dec");
    QTest::addColumn<QString>("expected");
    QTest::newRow("integer") << 80.0 << ",0.##" << '.' << "80";
    QTest::newRow("half") << 0.5 << ",0.##" << '.' << "0.5";
    QTest::newRow("negative") << -5.0 << ",0.##" << '.' << "-5";
    QTest::newRow("three decimals kept") << 0.125 << ",0.###" << '.' << "0.125";
    QTest::newRow("tie away from zero") << 0.125 << "0.##" << '.' << "0.13";
    QTest::newRow("negative tie") << -0.125 << "0.##" << '.' << "-0.13";
    QTest::newRow("rounds to 0 without sign") << -0.001 << "0.##" << '.' << "0";
    QTest::newRow("carry into integer") << 999.995 << "0.##" << '.' << "1000";
    QTest::newRow("grouping") << 1234567.5 << ",0.###" << '.' << "1,234,567.5";
    QTest::newRow("no grouping") << 1234.5 << "0.###" << '.' << "1234.5";
    QTest::newRow("shortest digits") << 0.1 + 0.2 << "0.###" << '.' << "0.3";
    QTest::newRow("required decimals") << 2.5 << "0.00" << '.' << "2.50";
    QTest::newRow("big") << 1e20 << "0.##" << '.' << "100000000000000000000";
    QTest::newRow("tiny") << 1e-300 << "0.##" << '.' << "0";
    QTest::newRow("comma separator") << 0.987 << "0.##" << ',' << "0,99";
    QTest::newRow("zero") << 0.0 << ",0.###" << '.' << "0";
}

void TestNumText::format()
{
    QFETCH(double, x);
    QFETCH(QString, pattern);
    QFETCH(char, dec);
    QFETCH(QString, expected);
    const Separators s = seps(dec, dec == '.' ? ',' : '.');
    const QString got = formatNumber(x, FormatPattern::parse(pattern), s);
    QCOMPARE(got, expected);
    // What is shown reads back as the value rounded to the shown decimals.
    QVERIFY(readNumber(got, s).has_value());
}

void TestNumText::typing_data()
{
    QTest::addColumn<QString>("candidate");
    QTest::addColumn<double>("min");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("lone minus, no negatives") << "-" << 0.0 << true;
    QTest::newRow("minus zero, no negatives") << "-0" << 0.0 << true;
    QTest::newRow("negative, no negatives") << "-1" << 0.0 << false;
    QTest::newRow("negative allowed") << "-1" << -5.0 << true;
    QTest::newRow("below min can be typed") << "-10" << -5.0 << true;
    QTest::newRow("above max can be typed") << "999" << -5.0 << true;
    QTest::newRow("two decimals") << "1.23" << 0.0 << true;
    QTest::newRow("third decimal") << "1.234" << 0.0 << false;
    QTest::newRow("exponent counts after point") << "1.2e5" << 0.0 << false;
    QTest::newRow("lone point") << "." << 0.0 << false;
    QTest::newRow("exponent") << "1e5" << 0.0 << true;
    QTest::newRow("incomplete exponent") << "1e" << 0.0 << false;
    QTest::newRow("letter") << "1x" << 0.0 << false;
}

void TestNumText::typing()
{
    QFETCH(QString, candidate);
    QFETCH(double, min);
    QFETCH(bool, accepted);
    QCOMPARE(acceptsTyped(candidate, seps('.', ','), 2, min, 150), accepted);
}

// The text a field shows while it has the focus: as many decimals as the
// field takes, no grouping, and nothing for 0 when the field wants it empty.
void TestNumText::editing_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("places");
    QTest::addColumn<bool>("zeroEmpty");
    QTest::addColumn<QString>("expected");
    QTest::newRow("zero, empty") << 0.0 << 2 << true << "";
    QTest::newRow("minus zero, empty") << -0.0 << 2 << true << "";
    QTest::newRow("zero shown") << 0.0 << 2 << false << "0";
    QTest::newRow("no grouping") << 1234567.5 << 2 << true << "1234567.5";
    QTest::newRow("rounded to places") << 0.987 << 2 << true << "0.99";
    QTest::newRow("no decimals") << 80.5 << 0 << true << "81";
    QTest::newRow("places below 0") << 80.5 << -3 << true << "81";
    QTest::newRow("tiny, not empty") << 1e-9 << 2 << true << "0";
}

void TestNumText::editing()
{
    QFETCH(double, value);
    QFETCH(int, places);
    QFETCH(bool, zeroEmpty);
    QFETCH(QString, expected);
    QCOMPARE(editText(value, places, zeroEmpty, seps('.', ',')), expected);
}

// A typed point or comma is the field's decimal separator, unless it is
// the thousands separator.
void TestNumText::typedSeparator_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<char>("dec");
    QTest::addColumn<char>("thou");
    QTest::addColumn<QString>("expected");
    QTest::newRow("point, comma decimal") << "." << ',' << ' ' << ",";
    QTest::newRow("comma, point decimal") << "," << '.' << '\0' << ".";
    QTest::newRow("comma is thousands") << "," << '.' << ',' << ",";
    QTest::newRow("point is thousands") << "1.5" << ',' << '.' << "1.5";
    QTest::newRow("digits and signs stay") << "-1e5" << ',' << '.' << "-1e5";
    QTest::newRow("several") << "1.2,3" << ',' << ' ' << "1,2,3";
}

void TestNumText::typedSeparator()
{
    QFETCH(QString, typed);
    QFETCH(char, dec);
    QFETCH(char, thou);
    QFETCH(QString, expected);
    QCOMPARE(mapTyped(typed, seps(dec, thou)), expected);
}

// Ctrl+V and the context menu's Paste: the trimmed clip replaces the
// selection, the result is cut to the field's length, the cursor follows the
// pasted text; a selection outside the text is held to it.
void TestNumText::paste_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<QString>("clip");
    QTest::addColumn<int>("maxLength");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("cursor");
    QTest::newRow("at the cursor") << "12" << 1 << 0 << "5" << 100 << "152" << 2;
    QTest::newRow("replaces the selection") << "1234" << 1 << 2 << "0" << 100 << "104" << 2;
    QTest::newRow("replaces all") << "1234" << 0 << 4 << "0.987" << 100 << "0.987" << 5;
    QTest::newRow("white space trimmed") << "" << 0 << 0 << " \t12.5\r\n" << 100 << "12.5" << 4;
    QTest::newRow("only white space") << "7" << 0 << 1 << " \n" << 100 << "" << 0;
    QTest::newRow("cut at the length") << "" << 0 << 0 << "123456" << 4 << "1234" << 4;
    QTest::newRow("cut keeps the tail out") << "99" << 0 << 0 << "1234" << 4 << "1234" << 4;
    QTest::newRow("inner space kept") << "" << 0 << 0 << "1 5" << 100 << "1 5" << 3;
    QTest::newRow("selection past the end") << "12" << 5 << 3 << "3" << 100 << "123" << 3;
    QTest::newRow("negative start") << "12" << -2 << 0 << "3" << 100 << "312" << 1;
}

void TestNumText::paste()
{
    QFETCH(QString, text);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(QString, clip);
    QFETCH(int, maxLength);
    QFETCH(QString, expected);
    QFETCH(int, cursor);
    const Paste p = pasteInto(text, selStart, selLength, clip, maxLength);
    QCOMPARE(p.text, expected);
    QCOMPARE(p.cursor, cursor);
}

QTEST_GUILESS_MAIN(TestNumText)
#include "test_numtext.moc"
