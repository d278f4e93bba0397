// "Reach a value…": a right click on a result opens it with that result
// chosen; a typed target gives the engine's answer, which Apply puts into
// the main window; the dialog follows the main window and its language, and
// says in itself why there is no answer.
#include "test_reach_fouling.h"

#include "design/explain.h"
#include "mainwindow/ReachDialog.h"
#include "mainwindow/fouling.h"
#include "widgets/NumEdit.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>

using design::Input;
using design::Output;

namespace {

// A value as a field of the main window shows it.
QString shown(double v) { return numfield::formatNumber(v, numfield::FormatPattern::parse(u"0.##"), NumEdit::regionalSeparators()); }

QString capitalised(const std::string &s)
{
    QString t = QString::fromStdString(s);
    t[0] = t[0].toUpper();
    return t;
}

} // namespace

// ---- opening

void TestReachFouling::rightClickOnAResultChoosesIt_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("result"); // -1: no result there
    QTest::newRow("heat duty") << "QLabel" << int(Output::Duty);
    QTest::newRow("jacket outlet") << "LbTKK" << int(Output::JacketOutlet);
    QTest::newRow("jacket outlet's caption") << "LbKilhomK" << int(Output::JacketOutlet);
    QTest::newRow("coil outlet") << "LbTSK" << int(Output::CoilOutlet);
    QTest::newRow("jacket drop") << "DPK" << int(Output::JacketDrop);
    QTest::newRow("coil drop's caption") << "LbNyomasesesS" << int(Output::CoilDrop);
    QTest::newRow("coil drop") << "DPS" << int(Output::CoilDrop);
    QTest::newRow("type caption") << "LbTipus" << -1;
    QTest::newRow("overall coefficient") << "LbHoatbocsT" << -1;
    QTest::newRow("picture") << "Image1" << -1;
}

void TestReachFouling::rightClickOnAResultChoosesIt()
{
    QFETCH(QString, label);
    QFETCH(int, result);
    mainwindow::ReachDialog &d = w->reachF;
    QWidget *on = w->mainF.findChild<QWidget *>(label);
    QVERIFY(on && on->isVisible());
    if (result < 0) {
        // Elsewhere the menu is the window's own, and the dialog opens with
        // the result chosen before.
        openReachDialog(w->mainF.DPS);
        d.close();
        QMenu *menu = rightClick(label == QStringLiteral("Image1") ? on->mapTo(&w->mainF, QPoint(600, 300))
                                                                    : on->mapTo(&w->mainF, on->rect().center()));
        QCOMPARE(menu->defaultAction(), nullptr);
        choose(menu, d.openAction());
        QVERIFY(QTest::qWaitFor([&d] { return d.isVisible(); }));
        QCOMPARE(d.chosenResult(), Output::CoilDrop);
        return;
    }
    // Over a result the entry is the menu's own choice: bold, and taken by Enter.
    QMenu *menu = rightClick(on);
    QVERIFY(menu);
    QCOMPARE(menu->defaultAction(), d.openAction());
    QCOMPARE(menu->activeAction(), d.openAction());
    QCOMPARE(d.openAction()->text(), QStringLiteral("Reach a value…"));
    QTest::keyClick(menu, Qt::Key_Return);
    QVERIFY(QTest::qWaitFor([&d] { return d.isVisible(); }));
    activate(&d);
    QVERIFY(!d.isModal());
    QCOMPARE(int(d.chosenResult()), result);
    QCOMPARE(QApplication::focusWidget(), d.targetEd);
    // The target starts at the value the window shows, ready to be typed over.
    QCOMPARE(d.targetEd->selectedText(), d.targetEd->text());
    const TmainF &m = w->mainF;
    const QString shownThere = QList<QString>{m.QLabel->text(), m.LbTKK->text(), m.LbTSK->text(), m.DPK->text(),
                                              m.DPS->text()}[result];
    QVERIFY2(shownThere.endsWith(d.targetEd->text() + QLatin1Char(' ') + d.targetUnit->text()), qPrintable(shownThere));
    QVERIFY(shownThere.startsWith(d.targetEd->text()) || result == int(Output::Duty));
}

// ---- reaching and applying

void TestReachFouling::reachesTheTargetAndApplies()
{
    mainwindow::ReachDialog &d = w->reachF;
    openReachDialog(w->mainF.QLabel);
    QCOMPARE(d.chosenResult(), Output::Duty);
    QCOMPARE(d.chosenInput(), Input::JacketFlow);
    QTest::keyClicks(d.targetEd, QStringLiteral("50"));
    const rating::Case before = w->mainF.inputs();
    const design::ReachResult want = design::reach(before, Input::JacketFlow, Output::Duty, 50);
    QVERIFY(want.ok());
    QCOMPARE(d.answer().answer.value, want.answer.value);
    QCOMPARE(d.answerValue->text(), QStringLiteral("%1 m3/h (now 7 m3/h)").arg(shown(want.answer.value)));
    const std::string dsep = sepStd();
    QCOMPARE(d.resultValue->text(), QString::fromStdString(rating::FixedText(want.answer.result, 2, dsep) + " kW"));
    QVERIFY(d.applyButton->isEnabled());

    // Enter applies: the main window holds the answer and shows the result
    // the dialog said. The dialog stays.
    QSignalSpy applied(&d, &mainwindow::ReachDialog::applied);
    QTest::keyClick(d.targetEd, Qt::Key_Return);
    QCOMPARE(applied.count(), 1);
    QCOMPARE(w->mainF.inputs().MVk, want.answer.value);
    expectMainWindowRates();
    QCOMPARE(w->mainF.resultValues().QLabel, want.answer.result);
    QVERIFY(w->mainF.QLabel->text().endsWith(QLatin1Char('=') + d.resultValue->text()));
    QVERIFY(d.isVisible());

    // It follows the main window while a field is typed into.
    typeInto(w->mainF.MVsEd, QStringLiteral("2"));
    const design::ReachResult again = design::reach(w->mainF.inputs(), Input::JacketFlow, Output::Duty, 50);
    QVERIFY(again.ok());
    QCOMPARE(w->mainF.inputs().MVs, 2.0);
    QCOMPARE(d.answer().answer.value, again.answer.value);
    QVERIFY(d.answer().answer.value != want.answer.value);

    // Another input, chosen with the keyboard: the coil inlet; Apply.
    activate(&d);
    d.inputList->setFocus(Qt::TabFocusReason);
    for (int i = 0; i < 3; ++i) QTest::keyClick(d.inputList, Qt::Key_Down);
    QCOMPARE(d.chosenInput(), Input::CoilInlet);
    const design::ReachResult inlet = design::reach(w->mainF.inputs(), Input::CoilInlet, Output::Duty, 50);
    QVERIFY(inlet.ok());
    QCOMPARE(d.answer().answer.value, inlet.answer.value);
    QVERIFY(d.answerValue->text().startsWith(shown(inlet.answer.value) + QStringLiteral(" °C (now 20 °C)")));
    QTest::mouseClick(d.applyButton, Qt::LeftButton);
    QCOMPARE(applied.count(), 2);
    QCOMPARE(w->mainF.inputs().tsb, inlet.answer.value);
    QCOMPARE(w->mainF.inputs().MVs, 2.0); // the typed flow went in with it
    expectMainWindowRates();
    QCOMPARE(w->mainF.resultValues().QLabel, inlet.answer.result);
}

// The fouling varied to bring the coil outlet down: the main window rates
// with the answer and marks it on the schematic.
void TestReachFouling::foulingToReachAnOutlet()
{
    mainwindow::ReachDialog &d = w->reachF;
    openReachDialog(w->mainF.LbTSK);
    QCOMPARE(d.chosenResult(), Output::CoilOutlet);
    d.inputList->setFocus(Qt::TabFocusReason);
    QTest::keyClick(d.inputList, Qt::Key_End);
    QCOMPARE(d.chosenInput(), Input::Fouling);
    typeInto(d.targetEd, QStringLiteral("58"));
    const design::ReachResult want = design::reach(w->mainF.inputs(), Input::Fouling, Output::CoilOutlet, 58);
    QVERIFY(want.ok());
    QVERIFY(want.answer.value > rating::Rf);
    QCOMPARE(d.answerValue->text(), QStringLiteral("%1 m²·K/W (now %2 m²·K/W)")
                                         .arg(mainwindow::foulingText(want.answer.value, sep()),
                                              mainwindow::foulingText(rating::Rf, sep())));
    QTest::keyClick(d.targetEd, Qt::Key_Return);
    QCOMPARE(w->mainF.inputs().Rf, want.answer.value);
    expectMainWindowRates();
    QCOMPARE(w->mainF.LbTSK->text(), d.resultValue->text());
    const mainwindow::FoulingMark *mark = w->mainF.findChild<mainwindow::FoulingMark *>();
    QVERIFY(mark->value()->isVisible());
}

// No answer: the sentence of the engine in the dialog, Apply off, Enter
// does nothing, and no message box.
void TestReachFouling::noAnswerIsSaidInTheDialog()
{
    mainwindow::ReachDialog &d = w->reachF;
    openReachDialog(w->mainF.QLabel);
    const rating::Case start = w->mainF.inputs();
    const QColor normal = d.palette().color(QPalette::WindowText);
    auto expectRefusal = [&](Input in, Output out, double target, design::ReachRefusal::Kind kind, bool red) {
        const rating::Case c = w->mainF.inputs();
        QCOMPARE(d.chosenInput(), in);
        QCOMPARE(d.answer().why.kind, kind);
        QCOMPARE(d.message->text(), QString::fromStdString(design::explainReach(c, in, out, target, d.answer().why, 1, sepStd())));
        QCOMPARE(d.message->palette().color(QPalette::WindowText) != normal, red);
        QVERIFY(!d.applyButton->isEnabled());
        QCOMPARE(d.answerValue->text(), QStringLiteral("—"));
        QTest::keyClick(d.targetEd, Qt::Key_Return);
        QVERIFY(d.isVisible());
    };
    using K = design::ReachRefusal::Kind;
    const double nan = std::numeric_limits<double>::quiet_NaN();

    typeInto(d.targetEd, QStringLiteral("80"));
    expectRefusal(Input::JacketFlow, Output::Duty, 80, K::Unreachable, true);
    QVERIFY(d.message->text().startsWith(QStringLiteral("No shell-side flow from ")));

    typeInto(d.targetEd, QStringLiteral("4x"));
    expectRefusal(Input::JacketFlow, Output::Duty, nan, K::BadTarget, true);
    QVERIFY(d.targetEd->palette().color(QPalette::Base) != d.style()->standardPalette().color(QPalette::Base));
    typeInto(d.targetEd, QString());
    expectRefusal(Input::JacketFlow, Output::Duty, nan, K::BadTarget, false);
    QCOMPARE(d.targetEd->palette().color(QPalette::Base), d.style()->standardPalette().color(QPalette::Base));

    // The fouling changes no pressure drop.
    d.resultList->setCurrentIndex(int(Output::JacketDrop));
    d.inputList->setCurrentIndex(int(Input::Fouling));
    typeInto(d.targetEd, QStringLiteral("50"));
    expectRefusal(Input::Fouling, Output::JacketDrop, 50, K::Unaffected, true);

    // An installation the main window cannot rate: no unit in series.
    typeInto(w->mainF.SorosEd, QStringLiteral("0"));
    expectRefusal(Input::Fouling, Output::JacketDrop, 50, K::BadCase, true);
    QVERIFY(d.message->text().contains(QStringLiteral("number of units in series")));
    QCOMPARE(w->mainF.inputs().MVk, start.MVk);
    QCOMPARE(w->mainF.inputs().Rf, start.Rf);
}

// ---- languages and keyboard

void TestReachFouling::followsTheLanguageList()
{
    mainwindow::ReachDialog &d = w->reachF;
    openReachDialog(w->mainF.DPK);
    typeInto(d.targetEd, QStringLiteral("150"));
    QVERIFY(d.answer().ok());
    const QSize size = d.size();
    const int searched = d.searches();
    QCOMPARE(d.windowTitle(), QStringLiteral("Reach a value"));

    chooseLanguage(2);
    QCOMPARE(d.windowTitle(), QStringLiteral("Достижение значения"));
    QCOMPARE(d.openAction()->text(), QStringLiteral("Достижение значения…"));
    QCOMPARE(d.applyButton->text(), QStringLiteral("Применить"));
    QCOMPARE(d.resultList->currentText(), capitalised(design::nameOf(Output::JacketDrop, 2)));
    QCOMPARE(d.inputList->itemText(int(Input::Fouling)), QStringLiteral("Сопротивление загрязнения"));
    QVERIFY(d.answerValue->text().contains(QStringLiteral("(сейчас 7 m3/h)")));
    QVERIFY(d.message->text().startsWith(QStringLiteral("Из значений")));
    QCOMPARE(fonts::charset(&d), int(lang::CyrillicCharset));
    QCOMPARE(d.searches(), searched); // texts only: the engine is not asked again

    // In every language each text has its room, a long sentence its lines,
    // and the dialog its size.
    typeInto(d.targetEd, QStringLiteral("100000"));
    for (int language = 0; language < lang::count(); ++language) {
        chooseLanguage(language);
        QCOMPARE(d.size(), size);
        const auto clipped = [&d] {
            for (QWidget *c : d.findChildren<QWidget *>()) {
                const bool text = qobject_cast<QLabel *>(c) || qobject_cast<QPushButton *>(c);
                if (text && c != d.message && c->isVisible() && c->width() < c->sizeHint().width())
                    return c->property("text").toString();
            }
            return QString();
        };
        QTRY_VERIFY2(clipped().isEmpty(), qPrintable(QStringLiteral("'%1' in language %2").arg(clipped()).arg(language)));
        for (QComboBox *list : {d.resultList, d.inputList})
            for (int i = 0; i < list->count(); ++i)
                QVERIFY(list->width() >= list->fontMetrics().horizontalAdvance(list->itemText(i)) + 20);
        QCOMPARE(d.answer().why.kind, design::ReachRefusal::Kind::Unreachable);
        QVERIFY(d.message->heightForWidth(d.message->width()) <= d.message->height());
    }
}

void TestReachFouling::keyboardHabits()
{
    mainwindow::ReachDialog &d = w->reachF;
    openReachDialog(w->mainF.LbTKK);
    typeInto(d.targetEd, QStringLiteral("70"));
    const QList<QWidget *> order = {d.inputList, d.applyButton, d.closeButton, d.resultList, d.targetEd};
    for (QWidget *next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
    // Esc closes; opened again from the picture, it is as it was left.
    QTest::keyClick(d.targetEd, Qt::Key_Escape);
    QVERIFY(!d.isVisible());
    openReachDialog(w->mainF.Image1);
    QCOMPARE(d.chosenResult(), Output::JacketOutlet);
    QCOMPARE(d.targetEd->text(), QStringLiteral("70"));
    QCOMPARE(QApplication::focusWidget(), d.targetEd);
}

QTEST_MAIN(TestReachFouling)
