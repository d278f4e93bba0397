// The calculator engine and where its popup goes.
#include "widgets/Calculator.h"

#include <QTest>
#include <cmath>

using R = CalcEngine::Result;
Q_DECLARE_METATYPE(CalcEngine::Result)

class TestCalculator : public QObject {
    Q_OBJECT
private slots:
    void keys_data();
    void keys();
    void errorNeedsClear();
    void position_data();
    void position();
};

void TestCalculator::keys_data()
{
    QTest::addColumn<double>("start");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("display");
    QTest::addColumn<R>("last");
    QTest::newRow("start value as first operand") << 80.0 << "+0.125=" << "80.125" << R::Accept;
    QTest::newRow("digit replaces start value") << 80.0 << "5" << "5" << R::Changed;
    QTest::newRow("15 significant digits") << 0.0 << "1/3=" << "0.333333333333333" << R::Accept;
    QTest::newRow("left to right") << 0.0 << "2+3*4=" << "20" << R::Accept;
    QTest::newRow("operator replaced") << 0.0 << "6+*2=" << "12" << R::Accept;
    QTest::newRow("repeat operand") << 0.0 << "5*=" << "25" << R::Accept;
    QTest::newRow("percent of first operand") << 0.0 << "200+10%" << "220" << R::Accept;
    QTest::newRow("percent minus") << 0.0 << "200-10%" << "180" << R::Accept;
    QTest::newRow("percent with times") << 0.0 << "200*10%" << "20" << R::Accept;
    QTest::newRow("percent with divide") << 0.0 << "5/50%" << "10" << R::Accept;
    QTest::newRow("percent alone") << 0.0 << "50%" << "50" << R::Accept;
    QTest::newRow("sqrt") << 0.0 << "16Q" << "4" << R::Changed;
    QTest::newRow("reciprocal") << 0.0 << "4R" << "0.25" << R::Changed;
    QTest::newRow("sign of entry") << 0.0 << "12_" << "-12" << R::Changed;
    QTest::newRow("sign of result") << 9.0 << "Q_" << "-3" << R::Changed;
    QTest::newRow("sign on zero") << 0.0 << "0_" << "0" << R::Ignored;
    QTest::newRow("negative tie") << 0.0 << "0.125_=" << "-0.125" << R::Accept;
    QTest::newRow("backspace") << 0.0 << "123\b" << "12" << R::Changed;
    QTest::newRow("backspace to zero") << 0.0 << "5_\b" << "0" << R::Changed;
    QTest::newRow("backspace on result") << 0.0 << "4Q\b" << "2" << R::Ignored;
    QTest::newRow("leading point") << 0.0 << ".5" << "0.5" << R::Changed;
    QTest::newRow("second point") << 0.0 << "1.5." << "1.5" << R::Refused;
    QTest::newRow("16th character") << 0.0 << "1234567890123456" << "123456789012345" << R::Refused;
    QTest::newRow("point counts") << 0.0 << "1.2345678901234" << "1.2345678901234" << R::Changed;
    QTest::newRow("point counts, full") << 0.0 << "1.23456789012345" << "1.2345678901234" << R::Refused;
    QTest::newRow("minus not counted") << 0.0 << "1_23456789012345" << "-123456789012345" << R::Changed;
    QTest::newRow("big result in exponent form") << 1e10 << "*=" << "1e+20" << R::Accept;
    QTest::newRow("divide by zero") << 0.0 << "5/0=" << "Error" << R::Failed;
    QTest::newRow("chained divide by zero") << 0.0 << "5/0+" << "Error" << R::Failed;
    QTest::newRow("sqrt of negative") << 0.0 << "4_Q" << "Error" << R::Failed;
    QTest::newRow("reciprocal of zero") << 0.0 << "0R" << "Error" << R::Failed;
    QTest::newRow("overflow") << 1e200 << "*=" << "Error" << R::Failed;
    QTest::newRow("start rounds beyond the largest double") << -1.7976931348623157e308 << "" << "0" << R::Ignored;
    QTest::newRow("clear") << 0.0 << "5+3C" << "0" << R::Changed;
    QTest::newRow("lower case letters") << 0.0 << "16q" << "4" << R::Changed;
    QTest::newRow("unknown key") << 0.0 << "7x" << "7" << R::Ignored;
}

void TestCalculator::keys()
{
    QFETCH(double, start);
    QFETCH(QString, keys);
    QFETCH(QString, display);
    QFETCH(R, last);
    CalcEngine e;
    e.start(start);
    R r = R::Ignored;
    for (const QChar c : keys)
        r = e.key(static_cast<char>(c.toLatin1()));
    QCOMPARE(QString::fromStdString(e.display()), display);
    QCOMPARE(r, last);
    QVERIFY(std::isfinite(e.number()));
    if (!e.hasError())
        QCOMPARE(e.number(), QString::fromStdString(e.display()).toDouble());
}

void TestCalculator::errorNeedsClear()
{
    CalcEngine e;
    for (char k : std::string("5/0="))
        e.key(k);
    QVERIFY(e.hasError());
    for (char k : std::string("7+=%Q_\b."))
        QCOMPARE(e.key(k), R::Ignored);
    QCOMPARE(e.display(), std::string("Error"));
    QCOMPARE(e.key('c'), R::Changed);
    QCOMPARE(e.display(), std::string("0"));
    QCOMPARE(e.key('7'), R::Changed);
    QCOMPARE(e.display(), std::string("7"));
}

void TestCalculator::position_data()
{
    QTest::addColumn<QRect>("field");
    QTest::addColumn<QPoint>("expected");
    // popup 120 x 100 on a 800 x 600 screen
    QTest::newRow("below, right edges aligned") << QRect(300, 100, 65, 19) << QPoint(245, 119);
    QTest::newRow("above when no room below") << QRect(300, 550, 65, 19) << QPoint(245, 450);
    QTest::newRow("kept on the left edge") << QRect(10, 100, 65, 19) << QPoint(0, 119);
    QTest::newRow("kept on the right edge") << QRect(760, 100, 65, 19) << QPoint(680, 119);
    QTest::newRow("exactly fits below") << QRect(300, 481, 65, 19) << QPoint(245, 500);
}

void TestCalculator::position()
{
    QFETCH(QRect, field);
    QFETCH(QPoint, expected);
    QCOMPARE(calculatorPosition(field, QSize(120, 100), QRect(0, 0, 800, 600)), expected);
}

QTEST_GUILESS_MAIN(TestCalculator)
#include "test_calculator.moc"
