// The calculator drop-down on a real field: opening, keys, commit, cancel.
#include "fieldfixture.h"

#include "widgets/Calculator.h"

#include <QToolButton>

using namespace fields;

Q_DECLARE_METATYPE(NumEdit::Settings)

class TestCalcPopup : public QObject {
    Q_OBJECT
private slots:
    void resultCommitted_data();
    void resultCommitted();
    void openByButtonAndPlacement();
    void cancel_data();
    void cancel();
    void errorBlocksAccept();
    void typedLengthLimit();
};

namespace {
CalculatorPopup *openByKeyboard(Form &f)
{
    f.key(Qt::Key_Down, Qt::AltModifier);
    return f.field->calculator();
}
} // namespace

void TestCalcPopup::resultCommitted_data()
{
    QTest::addColumn<NumEdit::Settings>("settings");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("shownWhileOpen");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("tkbEd rounds up") << tkbEd << "+0.125" << "0.125" << 80.13 << "80.13";
    QTest::newRow("tkbEd rounds negative away") << tkbEd << "C0.125_" << "-0.125" << -0.13 << "-0.13";
    QTest::newRow("no rounding, edit format") << MVkEd << "/3" << "3" << 7.0 / 3 << "2.33";
    QTest::newRow("clamped") << tsbEd << "*100" << "100" << 150.0 << "150";
    QTest::newRow("percent closes") << MVkEd << "C200+10%" << "220" << 150.0 << "150";
}

void TestCalcPopup::resultCommitted()
{
    QFETCH(NumEdit::Settings, settings);
    QFETCH(QString, keys);
    QFETCH(QString, shownWhileOpen);
    QFETCH(double, value);
    QFETCH(QString, text);
    Form f(settings);
    f.enter();
    CalculatorPopup *popup = openByKeyboard(f);
    QVERIFY(popup && popup->isVisible());
    QVERIFY(f.field->isCalculatorOpen());
    QVERIFY(f.field->isReadOnly());
    QTest::keyClicks(popup, keys);
    if (popup->isVisible()) {
        QCOMPARE(f.field->text(), shownWhileOpen);   // the running number
        QTest::keyClick(popup, Qt::Key_Return);
    }
    QVERIFY(!popup->isVisible());
    QVERIFY(!f.field->isCalculatorOpen());
    QVERIFY(!f.field->isReadOnly());
    QCOMPARE(f.field->storedValue(), value);
    QCOMPARE(f.field->text(), text);
    QCOMPARE(f.field->selectedText(), text);
    QCOMPARE(f.changed, 0);   // nothing while open, nothing on closing
    QVERIFY(f.field->hasFocus());
    QCOMPARE(f.exited, 0);
}

void TestCalcPopup::openByButtonAndPlacement()
{
    Form f(MVkEd);
    f.field->move(220, 20);
    QToolButton *button = f.field->dropDownButton();
    QVERIFY(button->isVisible());
    QCOMPARE(button->geometry().right(), f.field->width() - 2);
    QTest::mouseClick(button, Qt::LeftButton);
    CalculatorPopup *popup = f.field->calculator();
    QVERIFY(popup && popup->isVisible());
    QVERIFY(f.field->hasFocus() || f.field->isCalculatorOpen());
    const QRect field(f.field->mapToGlobal(QPoint(0, 0)), f.field->size());
    QCOMPARE(popup->geometry().right(), field.right());
    QCOMPARE(popup->geometry().top(), field.bottom() + 1);
    // The buttons act like the keys.
    QTest::mouseClick(popup->button('*'), Qt::LeftButton);
    QTest::mouseClick(popup->button('2'), Qt::LeftButton);
    QTest::mouseClick(popup->button('='), Qt::LeftButton);
    QVERIFY(!popup->isVisible());
    QCOMPARE(f.field->storedValue(), 14.0);
}

void TestCalcPopup::cancel_data()
{
    QTest::addColumn<bool>("byClick");
    QTest::newRow("escape") << false;
    QTest::newRow("click outside") << true;
}

void TestCalcPopup::cancel()
{
    QFETCH(bool, byClick);
    Form f(MVkEd);
    f.enter();
    f.type(QStringLiteral("12"));   // typed but not committed
    QCOMPARE(f.changed, 1 + 1);
    CalculatorPopup *popup = openByKeyboard(f);
    QCOMPARE(f.field->text(), QStringLiteral("12"));   // starts from the text
    QTest::keyClicks(popup, QStringLiteral("+5"));
    QCOMPARE(f.field->text(), QStringLiteral("5"));
    if (byClick)
        QTest::mouseClick(popup, Qt::LeftButton, {}, QPoint(-20, popup->height() + 20));
    else
        QTest::keyClick(popup, Qt::Key_Escape);
    QVERIFY(!popup->isVisible());
    QVERIFY(!f.field->isCalculatorOpen());
    QCOMPARE(f.field->storedValue(), 7.0);
    QCOMPARE(f.field->text(), QStringLiteral("7"));
    QCOMPARE(f.changed, 2);
    QCOMPARE(f.exited, 0);
}

void TestCalcPopup::errorBlocksAccept()
{
    Form f(MVkEd);
    f.enter();
    CalculatorPopup *popup = openByKeyboard(f);
    QTest::keyClicks(popup, QStringLiteral("/0="));
    QVERIFY(popup->isVisible());
    QCOMPARE(f.field->text(), QStringLiteral("Error"));
    QCOMPARE(f.beeps, 1);
    QTest::keyClick(popup, Qt::Key_Return);
    QTest::keyClicks(popup, QStringLiteral("5%"));
    QVERIFY(popup->isVisible());
    QCOMPARE(f.field->text(), QStringLiteral("Error"));
    QTest::keyClicks(popup, QStringLiteral("c3="));
    QVERIFY(!popup->isVisible());
    QCOMPARE(f.field->storedValue(), 3.0);
}

void TestCalcPopup::typedLengthLimit()
{
    Form f(MVkEd);
    f.field->setDecimalSeparator(QLatin1Char(','));
    f.field->setThousandsSeparator(QChar());
    f.enter();
    CalculatorPopup *popup = openByKeyboard(f);
    QTest::keyClicks(popup, QStringLiteral("0,1234567890123"));   // 15 characters
    QCOMPARE(f.beeps, 0);
    QTest::keyClicks(popup, QStringLiteral("4"));
    QCOMPARE(f.beeps, 1);
    QCOMPARE(f.field->text(), QStringLiteral("0,1234567890123"));
    QTest::keyClick(popup, Qt::Key_Enter);
    QCOMPARE(f.field->text(), QStringLiteral("0,12"));
}

QTEST_MAIN(TestCalcPopup)
#include "test_calcpopup.moc"
