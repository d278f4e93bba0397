// The numeric field driven by real key and mouse events.
#include "fieldfixture.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>

using namespace fields;

Q_DECLARE_METATYPE(NumEdit::Settings)

class TestNumEdit : public QObject {
    Q_OBJECT
private slots:
    void leaveClampsAndRewrites_data();
    void leaveClampsAndRewrites();
    void typingFilter_data();
    void typingFilter();
    void typedSeparatorBecomesDecimal();
    void enterAndLeaveFormats();
    void zeroEmpty();
    void valueReadsTextWithoutReformatting();
    void enterDoesNothing();
    void escapeRestores();
    void pasteCommitsAtOnce();
    void invalidPaste();
    void hugePaste();
    void contextMenuPaste_data();
    void contextMenuPaste();
    void invalidTextOnLeave_data();
    void invalidTextOnLeave();
};

void TestNumEdit::leaveClampsAndRewrites_data()
{
    QTest::addColumn<NumEdit::Settings>("settings");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("display");
    QTest::newRow("tsbEd above max") << tsbEd << "200" << 150.0 << "150";
    QTest::newRow("tsbEd below min") << tsbEd << "-10" << -5.0 << "-5";
    QTest::newRow("tsbEd in range") << tsbEd << "37.5" << 37.5 << "37.5";
    QTest::newRow("MVkEd lone minus") << MVkEd << "-" << 0.0 << "0";
    QTest::newRow("tkbEd rounds") << tkbEd << "80.12" << 80.12 << "80.12";
}

void TestNumEdit::leaveClampsAndRewrites()
{
    QFETCH(NumEdit::Settings, settings);
    QFETCH(QString, typed);
    QFETCH(double, value);
    QFETCH(QString, display);
    Form f(settings);
    f.enter();
    f.type(typed);
    QCOMPARE(f.field->text(), typed);
    QCOMPARE(f.exited, 0);
    f.leaveByTab();
    QVERIFY(f.other->hasFocus());
    QCOMPARE(f.exited, 1);
    QCOMPARE(f.valueAtExit, value);
    QCOMPARE(f.field->storedValue(), value);
    QCOMPARE(f.field->text(), display);
    QCOMPARE(f.field->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    QCOMPARE(f.changed, int(typed.size()));
    QVERIFY(f.errors.isEmpty());
}


void TestNumEdit::typingFilter_data()
{
    QTest::addColumn<NumEdit::Settings>("settings");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("beeps");
    QTest::newRow("MVkEd lone minus") << MVkEd << "-" << "-" << 0;
    QTest::newRow("MVkEd no negative number") << MVkEd << "-1" << "-" << 1;
    QTest::newRow("MVkEd third decimal") << MVkEd << "1.234" << "1.23" << 1;
    QTest::newRow("tsbEd negative allowed") << tsbEd << "-1" << "-1" << 0;
    QTest::newRow("tsbEd third decimal") << tsbEd << "-0.125" << "-0.12" << 1;
    QTest::newRow("tkbEd refuses silently") << tkbEd << "1.234x" << "1.23" << 0;
    QTest::newRow("lone point refused") << MVkEd << ".5" << "5" << 1;
    QTest::newRow("letters") << MVkEd << "a1b" << "1" << 2;
    QTest::newRow("second point") << MVkEd << "1..5" << "1.5" << 1;
    QTest::newRow("above max can be typed") << MVkEd << "999" << "999" << 0;
}

void TestNumEdit::typingFilter()
{
    QFETCH(NumEdit::Settings, settings);
    QFETCH(QString, typed);
    QFETCH(QString, text);
    QFETCH(int, beeps);
    Form f(settings);
    f.enter();
    f.key(Qt::Key_Backspace);   // clear the selected text
    f.type(typed);
    QCOMPARE(f.field->text(), text);
    QCOMPARE(f.beeps, beeps);
    QCOMPARE(f.changed, 1 + int(text.size()));   // one per accepted key
}

void TestNumEdit::typedSeparatorBecomesDecimal()
{
    // Decimal comma, space thousands: both '.' and ',' type the comma.
    Form f(MVkEd, QLatin1Char(','), QLatin1Char(' '));
    f.enter();
    f.type(QStringLiteral("1.5"));
    QCOMPARE(f.field->text(), QStringLiteral("1,5"));
    f.key(Qt::Key_Backspace);
    f.type(QStringLiteral(",7"));
    QCOMPARE(f.field->text(), QStringLiteral("1,7"));   // ',' after "1," refused: one decimal point
    QCOMPARE(f.beeps, 1);
    QCOMPARE(f.field->value(), 1.7);
}

void TestNumEdit::enterAndLeaveFormats()
{
    Form f(tkbEd);
    f.field->setValue(80.5);
    QCOMPARE(f.field->text(), QStringLiteral("80.5"));
    QCOMPARE(f.field->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    f.enter();
    QCOMPARE(f.field->selectedText(), QStringLiteral("80.5"));
    QCOMPARE(f.field->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);   // format on editing
    QCOMPARE(f.changed, 0);

    Form g(tsbEd);
    g.field->setValue(0.125);   // display ",0.##" and edit "0.##" both round the tie up
    QCOMPARE(g.field->text(), QStringLiteral("0.13"));
    g.field->setFocus(Qt::MouseFocusReason);
    QCOMPARE(g.field->text(), QStringLiteral("0.13"));
    QVERIFY(!g.field->hasSelectedText());   // entered by mouse: nothing selected
    QCOMPARE(g.field->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    g.leaveByTab();
    QCOMPARE(g.field->storedValue(), 0.13);   // leaving commits the rewritten text
    QCOMPARE(g.changed, 0);
    QCOMPARE(g.exited, 1);
}

void TestNumEdit::zeroEmpty()
{
    Form f(MVkEd);
    f.field->setValue(0);
    QCOMPARE(f.field->text(), QStringLiteral("0"));
    f.enter();
    QCOMPARE(f.field->text(), QString());
    QCOMPARE(f.changed, 0);
    f.leaveByTab();
    QCOMPARE(f.field->text(), QStringLiteral("0"));
    QCOMPARE(f.field->storedValue(), 0.0);
}

void TestNumEdit::valueReadsTextWithoutReformatting()
{
    Form f(tsbEd);
    f.enter();
    f.type(QStringLiteral("200"));
    QCOMPARE(f.field->value(), 150.0);              // clamped value...
    QCOMPARE(f.field->text(), QStringLiteral("200"));   // ...text left as typed
    // Delete down to a lone point: reading gives MinValue, silently.
    f.field->selectAll();
    f.type(QStringLiteral("1.5"));
    f.key(Qt::Key_Home);
    f.key(Qt::Key_Delete);
    f.key(Qt::Key_End);
    f.key(Qt::Key_Backspace);
    QCOMPARE(f.field->text(), QStringLiteral("."));
    QCOMPARE(f.field->value(), -5.0);
    QVERIFY(f.errors.isEmpty());
    // An exponent cannot be started at the end but can be put in between.
    f.field->selectAll();
    f.type(QStringLiteral("1999e"));
    QCOMPARE(f.field->text(), QStringLiteral("1999"));
    f.key(Qt::Key_Home);
    f.key(Qt::Key_Right);
    f.type(QStringLiteral("e"));
    QCOMPARE(f.field->text(), QStringLiteral("1e999"));
    QCOMPARE(f.field->value(), 150.0);
}

void TestNumEdit::enterDoesNothing()
{
    Form f(MVkEd);
    f.enter();
    f.type(QStringLiteral("12"));
    f.key(Qt::Key_Return);
    f.key(Qt::Key_Enter);
    QVERIFY(f.field->hasFocus());
    QCOMPARE(f.field->text(), QStringLiteral("12"));
    QCOMPARE(f.field->storedValue(), 7.0);
    QCOMPARE(f.exited, 0);
    QCOMPARE(f.changed, 2);
}

void TestNumEdit::escapeRestores()
{
    Form f(MVkEd);
    f.enter();
    f.key(Qt::Key_Escape);   // unchanged text: no notification
    QCOMPARE(f.changed, 0);
    QCOMPARE(f.field->selectedText(), QStringLiteral("7"));
    f.type(QStringLiteral("12"));
    QCOMPARE(f.changed, 2);
    f.key(Qt::Key_Escape);
    QCOMPARE(f.field->text(), QStringLiteral("7"));
    QCOMPARE(f.field->selectedText(), QStringLiteral("7"));
    QCOMPARE(f.changed, 3);
    QCOMPARE(f.field->storedValue(), 7.0);
    QVERIFY(f.field->hasFocus());
}

void TestNumEdit::pasteCommitsAtOnce()
{
    Form f(MVkEd);
    f.enter();
    QGuiApplication::clipboard()->setText(QStringLiteral("0.987"));
    f.key(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f.field->text(), QStringLiteral("0.987"));   // keeps its form
    QCOMPARE(f.field->storedValue(), 0.987);              // committed at once
    QCOMPARE(f.changed, 1);
    f.leaveByTab();
    QCOMPARE(f.exited, 1);
    QCOMPARE(f.textAtExit, QStringLiteral("0.99"));   // rewritten in edit format
    QCOMPARE(f.valueAtExit, 0.99);                     // and read back from it
    QCOMPARE(f.field->storedValue(), 0.99);
    QCOMPARE(f.field->text(), QStringLiteral("0.99"));
    QCOMPARE(f.changed, 1);
}

void TestNumEdit::invalidPaste()
{
    Form f(MVkEd);
    f.enter();
    f.type(QStringLiteral("12"));
    f.field->setCursorPosition(1);
    QGuiApplication::clipboard()->setText(QStringLiteral("x"));
    f.key(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f.field->text(), QStringLiteral("12"));
    QCOMPARE(f.field->selectedText(), QStringLiteral("12"));
    QCOMPARE(f.beeps, 1);
    QCOMPARE(f.changed, 2);
    QCOMPARE(f.field->storedValue(), 7.0);

    // A negative paste is a number: committed (clamped), text kept until left.
    f.field->selectAll();
    QGuiApplication::clipboard()->setText(QStringLiteral("-3"));
    f.key(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f.field->text(), QStringLiteral("-3"));
    QCOMPARE(f.field->storedValue(), 0.0);
    f.leaveByTab();
    QCOMPARE(f.field->text(), QStringLiteral("0"));
}

// A megabyte of digits pasted is cut to the field's length, reads as beyond
// the limit and commits to it; typing more at the length is refused. Its
// speed is measured in bench/bench_fields.cpp.
void TestNumEdit::hugePaste()
{
    Form f(MVkEd);
    f.enter();
    QGuiApplication::clipboard()->setText(QString(1 << 20, QLatin1Char('9')));
    f.key(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f.field->storedValue(), 150.0);
    f.type(QStringLiteral("5"));   // at the length limit: refused
    QCOMPARE(f.field->text().size(), f.field->maxLength());
    f.leaveByTab();
    QCOMPARE(f.field->storedValue(), 150.0);
    QCOMPARE(f.field->text(), QStringLiteral("150"));

    f.field->setFocus(Qt::TabFocusReason);
    QGuiApplication::clipboard()->setText(QStringLiteral("1e") + QString(1 << 20, QLatin1Char('9')));
    f.key(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f.field->storedValue(), 150.0);
}

// "Paste" in the field's context menu follows the same rules as Ctrl+V.
void TestNumEdit::contextMenuPaste_data()
{
    QTest::addColumn<QString>("clip");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("beeps");
    QTest::newRow("number: committed at once") << "0.987" << "0.987" << 0.987 << 0;
    QTest::newRow("no number: refused") << "1e" << "12" << 7.0 << 1;
    QTest::newRow("letters: refused") << "abc" << "12" << 7.0 << 1;
}

void TestNumEdit::contextMenuPaste()
{
    QFETCH(QString, clip);
    QFETCH(QString, text);
    QFETCH(double, value);
    QFETCH(int, beeps);
    Form f(MVkEd);
    f.enter();
    f.type(QStringLiteral("12"));
    f.field->selectAll();
    QGuiApplication::clipboard()->setText(clip);
    const QPoint at(5, 5);
    QContextMenuEvent e(QContextMenuEvent::Mouse, at, f.field->mapToGlobal(at));
    QApplication::sendEvent(f.field, &e);
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QAction *paste = nullptr;
    for (QAction *a : menu->actions())
        if (a->text().startsWith(QLatin1String("&Paste"))) paste = a;
    QVERIFY(paste);
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(paste).center());
    QTRY_VERIFY(!menu->isVisible());
    QCOMPARE(f.field->text(), text);
    QCOMPARE(f.field->storedValue(), value);
    QCOMPARE(f.beeps, beeps);
}

void TestNumEdit::invalidTextOnLeave_data()
{
    QTest::addColumn<bool>("byMouse");
    QTest::newRow("tab") << false;
    QTest::newRow("click on another field") << true;
}

void TestNumEdit::invalidTextOnLeave()
{
    QFETCH(bool, byMouse);
    Form f(tsbEd);
    f.enter();
    f.type(QStringLiteral("1.5"));
    f.key(Qt::Key_Home);
    f.key(Qt::Key_Delete);
    f.key(Qt::Key_End);
    f.key(Qt::Key_Backspace);
    QCOMPARE(f.field->text(), QStringLiteral("."));
    const QString otherText = f.other->text();
    if (byMouse)
        QTest::mouseClick(f.other, Qt::LeftButton, {}, QPoint(10, 9));
    else
        f.leaveByTab();
    QTRY_COMPARE(f.errors.size(), 1);
    QCOMPARE(f.errors.first(), QStringLiteral("'.' is not a valid floating point value"));
    QVERIFY(f.field->hasFocus());
    QCOMPARE(f.field->selectedText(), QStringLiteral("."));
    QCOMPARE(f.field->storedValue(), 20.0);
    QCOMPARE(f.exited, 0);
    // The other field never took over.
    QCOMPARE(f.otherExited, 0);
    QCOMPARE(f.otherChanged, 0);
    QCOMPARE(f.other->text(), otherText);
    QTest::qWait(20);
    QCOMPARE(f.errors.size(), 1);

    // Fixed text: the next leave goes through.
    f.type(QStringLiteral("3"));
    f.leaveByTab();
    QCOMPARE(f.exited, 1);
    QCOMPARE(f.field->storedValue(), 3.0);
    QCOMPARE(f.errors.size(), 1);
}

QTEST_MAIN(TestNumEdit)
#include "test_numedit.moc"
