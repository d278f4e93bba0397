// The selection window's design conditions: outlet temperatures typed in
// place of the duty or a flow give the balance's duty and flows and the
// engine's list for them; applying a row puts the derived flows (and the
// fouling) into the main window; the fouling and the design margin narrow
// the list; refusals are said in the window.
#include "test_selectionwindow.h"

#include "design/conditions.h"
#include "design/explain.h"
#include "mainwindow/fouling.h"
#include "selection/explain.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include <cmath>
#include <optional>

namespace {

// Ticks the box when it is not as wanted, with the space bar.
void tick(QCheckBox *b, bool on)
{
    if (b->isChecked() == on) return;
    b->setFocus(Qt::TabFocusReason);
    QTest::keyClick(b, Qt::Key_Space);
    QCOMPARE(b->isChecked(), on);
}

} // namespace

// The conditions of the main window's defaults (80 and 20 °C, 7 and 1 m3/h).
static design::Conditions defaults()
{
    design::Conditions c;
    c.tkb = 80, c.tsb = 20;
    c.CbMVkIndex = c.CbMVsIndex = 1;
    return c;
}

// ---- deriving

// One outlet in place of the duty: the balance's duty, and the list the
// engine gives for it. Cleared, the typed duty is back.
void TestSelectionWindow::outletInPlaceOfTheDuty()
{
    openByShortcut();
    QTest::keyClicks(sel->dutyEd, QStringLiteral("40"));
    DesignConditions *d = sel->designBox;
    QVERIFY(d->dutyBox->isChecked() && !d->shellFlowBox->isChecked() && !d->spiralFlowBox->isChecked());
    QCOMPARE(d->derived->text(), QStringLiteral("Give an outlet temperature, and the quantity ticked is derived from "
                                                "the energy balance."));
    typeInto(d->spiralOutletEd, typed("55.5"));

    design::Conditions c = defaults();
    c.MVk = 7, c.MVs = 1, c.tsk = 55.5;
    const design::BalanceResult b = design::balance(c);
    QVERIFY(b.ok());
    QVERIFY(sel->balance().ok());
    QCOMPARE(sel->balance().values.dutyKW, b.values.dutyKW);
    QCOMPARE(sel->request().dutyKW, b.values.dutyKW);
    QVERIFY(!sel->dutyEd->isEnabled());
    const std::string dsep = sepStd();
    QCOMPARE(d->derived->text(), QString::fromStdString("Derived: heat duty " + rating::FixedText(b.values.dutyKW, 2, dsep) +
                                                        " kW, shell-side outlet temperature " +
                                                        rating::FixedText(b.values.tkk, 2, dsep) + " \u00B0C"));
    selection::Request r = expectedRequest(40);
    QVERIFY(design::designRequest(c, r).ok());
    const selection::Result want = selection::select(r);
    QVERIFY(!want.entries.empty());
    QVERIFY(sameList(sel->result().entries, want.entries));
    QVERIFY(sel->message->text().startsWith(QStringLiteral("Arrangements found: %1.").arg(want.entries.size())));
    // The flows are the main window's.
    QCOMPARE(sel->shellFlow->text(), QStringLiteral("7 m3/h"));
    QVERIFY(!sel->shellFlow->font().italic());

    typeInto(d->spiralOutletEd, QString());
    QVERIFY(sel->dutyEd->isEnabled());
    QCOMPARE(sel->request().dutyKW, 40.0);
    QVERIFY(sameList(sel->result().entries, selection::select(expectedRequest(40)).entries));
}

// Both outlets in place of both flows: the flows shown are the derived
// ones, the list is the engine's for them, and a row applied puts them into
// the main window, which then shows the row's numbers.
void TestSelectionWindow::outletsInPlaceOfTheFlowsGoIntoTheMainWindow()
{
    openByShortcut();
    QTest::keyClicks(sel->dutyEd, QStringLiteral("40"));
    DesignConditions *d = sel->designBox;
    typeInto(d->shellOutletEd, QStringLiteral("60"));
    typeInto(d->spiralOutletEd, QStringLiteral("55"));
    // Two outlets, one tick: the window says what to do.
    QCOMPARE(rows(), 0);
    QCOMPARE(sel->message->text(), QStringLiteral("Tick as many of the heat duty and the two flows as outlet "
                                                  "temperatures are given (outlet temperatures: 2, ticked: 1)."));
    tick(d->dutyBox, false);
    tick(d->shellFlowBox, true);
    tick(d->spiralFlowBox, true);
    QVERIFY(sel->dutyEd->isEnabled());

    design::Conditions c = defaults();
    c.dutyKW = 40, c.tkk = 60, c.tsk = 55;
    const design::BalanceResult b = design::balance(c);
    QVERIFY(b.ok());
    QCOMPARE(sel->request().MVk, b.values.MVk);
    QCOMPARE(sel->request().MVs, b.values.MVs);
    QVERIFY(b.values.MVk != 7 && b.values.MVs != 1);
    const QString shellText = QString::number(b.values.MVk).replace(QLatin1Char('.'), sep());
    QCOMPARE(sel->shellFlow->text(), shellText + QStringLiteral(" m3/h"));
    QVERIFY(sel->shellFlow->font().italic());
    QVERIFY(sel->shellFlow->palette().color(QPalette::WindowText) != sel->shellInlet->palette().color(QPalette::WindowText));
    QCOMPARE(sel->shellFlow->toolTip(), QStringLiteral("Derived from the design conditions"));
    selection::Request r = expectedRequest(40);
    QVERIFY(design::designRequest(c, r).ok());
    const selection::Result want = selection::select(r);
    QVERIFY(!want.entries.empty());
    QVERIFY(sameList(sel->result().entries, want.entries));

    const int row = rowAwayFromTheDefaults();
    QVERIFY(row >= 0);
    const int t = int(number(row, ColType)), s = int(number(row, ColSeries)), p = int(number(row, ColParallel));
    const QString duty = cell(row, ColDuty), spiralOutlet = cell(row, ColSpiralOutlet);
    const int asked = sel->selections();
    doubleClickRow(row);
    QCOMPARE(w->mainF.inputs().MVk, b.values.MVk);
    QCOMPARE(w->mainF.inputs().MVs, b.values.MVs);
    expectMainWindowRates(t, s, p);
    QVERIFY(w->mainF.QLabel->text().endsWith(QStringLiteral("=") + duty + QStringLiteral(" kW")));
    QCOMPARE(w->mainF.LbTSK->text(), spiralOutlet + QStringLiteral(" °C"));
    // The main window now holds the derived flows: the same request.
    QCOMPARE(sel->selections(), asked);
    QVERIFY(sameList(sel->result().entries, want.entries));
}

void TestSelectionWindow::designRefusalsAreSaidInTheWindow_data()
{
    QTest::addColumn<QString>("shellOutlet");
    QTest::addColumn<QString>("spiralOutlet");
    QTest::addColumn<QString>("ticked"); // d duty, k shell flow, s spiral flow
    QTest::addColumn<QString>("duty");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("marked"); // the field marked, if any
    using K = design::BalanceRefusal::Kind;
    QTest::newRow("shell outlet above its inlet") << "90" << "" << "d" << "40" << int(K::WrongSide) << "";
    QTest::newRow("spiral outlet beyond the shell inlet") << "" << "85" << "d" << "40" << int(K::Cross) << "";
    QTest::newRow("the shell side twice") << "60" << "" << "s" << "40" << int(K::SideTwice) << "";
    QTest::newRow("more duty than the shell flow takes") << "" << "55" << "s" << "500" << int(K::DutyBeyond) << "";
    QTest::newRow("derived flow above its field") << typed("79.99") << "" << "k" << "40" << int(K::FlowRange) << "";
    QTest::newRow("duty to be given, empty") << "60" << "" << "k" << "" << int(K::BadValue) << "";
    QTest::newRow("outlet no number") << "6o" << "" << "d" << "40" << int(K::BadValue) << "shellOutletEd";
    QTest::newRow("outlet beyond its field") << "" << "151" << "d" << "40" << int(K::BadValue) << "spiralOutletEd";
}

void TestSelectionWindow::designRefusalsAreSaidInTheWindow()
{
    QFETCH(QString, shellOutlet);
    QFETCH(QString, spiralOutlet);
    QFETCH(QString, ticked);
    QFETCH(QString, duty);
    QFETCH(int, kind);
    QFETCH(QString, marked);
    openByShortcut();
    QTest::keyClicks(sel->dutyEd, duty);
    DesignConditions *d = sel->designBox;
    tick(d->dutyBox, ticked.contains(QLatin1Char('d')));
    tick(d->shellFlowBox, ticked.contains(QLatin1Char('k')));
    tick(d->spiralFlowBox, ticked.contains(QLatin1Char('s')));
    typeInto(d->shellOutletEd, shellOutlet);
    typeInto(d->spiralOutletEd, spiralOutlet);

    // The conditions as the user gave them, and the engine's sentence.
    design::Conditions c = defaults();
    const std::optional<double> nan = std::numeric_limits<double>::quiet_NaN();
    auto read = [](const QString &t) { return numfield::readNumber(t, NumEdit::regionalSeparators()); };
    if (!shellOutlet.isEmpty()) c.tkk = read(shellOutlet) && marked != "shellOutletEd" ? read(shellOutlet) : nan;
    if (!spiralOutlet.isEmpty()) c.tsk = read(spiralOutlet) && marked != "spiralOutletEd" ? read(spiralOutlet) : nan;
    if (!ticked.contains(QLatin1Char('d'))) c.dutyKW = duty.isEmpty() ? nan : read(duty);
    if (!ticked.contains(QLatin1Char('k'))) c.MVk = 7;
    if (!ticked.contains(QLatin1Char('s'))) c.MVs = 1;
    const design::BalanceResult b = design::balance(c);
    QCOMPARE(int(b.why.kind), kind);
    QCOMPARE(int(sel->balance().why.kind), kind);
    QCOMPARE(sel->message->text(), QString::fromStdString(design::explainBalance(c, b.why, 1, sepStd())));
    QCOMPARE(sel->refusal(), sel->message->text());
    QCOMPARE(rows(), 0);
    QVERIFY(!sel->applyButton->isEnabled());
    QVERIFY(d->derived->text().isEmpty());
    for (QLineEdit *e : {d->shellOutletEd, d->spiralOutletEd})
        QCOMPARE(e->palette().color(QPalette::Base) == SelectionWindow::invalidColor(), e->objectName() == marked);
    // Without the outlets, the typed duty is listed again.
    typeInto(d->shellOutletEd, QString());
    typeInto(d->spiralOutletEd, QString());
    typeInto(sel->dutyEd, QStringLiteral("40"));
    QVERIFY(rows() > 0);
    QVERIFY(sel->refusal().isEmpty());
}

// ---- the fouling and the margin

void TestSelectionWindow::foulingAndMarginInTheList()
{
    openByShortcut();
    QTest::keyClicks(sel->dutyEd, QStringLiteral("40"));
    DesignConditions *d = sel->designBox;
    // Empty, the fouling is the main window's, as its placeholder says.
    QCOMPARE(d->foulingEd->placeholderText(), typed("0.000055"));
    QCOMPARE(sel->request().Rf, rating::Rf);

    typeInto(d->foulingEd, typed("0.0005"));
    typeInto(d->marginEd, QStringLiteral("10"));
    selection::Request r = expectedRequest(40);
    r.Rf = 0.0005, r.marginPercent = 10;
    const selection::Result want = selection::select(r);
    QVERIFY(!want.entries.empty());
    QVERIFY(sameList(sel->result().entries, want.entries));
    QVERIFY(!sameArrangements(want.entries, selection::select(expectedRequest(40)).entries));
    const std::string dsep = sepStd();
    for (int i = 0; i < rows(); ++i) {
        const selection::Entry &e = want.entries[std::size_t(i)];
        QVERIFY(e.dutyKW >= 44);
        // The margin column is relative to the duty without the design margin.
        QVERIFY(std::fabs(e.marginPercent - (e.dutyKW / 40 - 1) * 100) < 1e-9);
        QCOMPARE(cell(i, ColMargin), QString::fromStdString(rating::FixedText(e.marginPercent, 1, dsep)));
    }
    // Applied, the row's fouling goes into the main window with it.
    QTest::mouseClick(sel->applyButton, Qt::LeftButton);
    QCOMPARE(w->mainF.inputs().Rf, 0.0005);
    QVERIFY(w->mainF.QLabel->text().endsWith(QStringLiteral("=") + cell(0, ColDuty) + QStringLiteral(" kW")));
    QCOMPARE(w->mainF.DPK->text(), cell(0, ColShellDp) + QStringLiteral(" kPa"));
    QCOMPARE(d->foulingEd->placeholderText(), typed("0.000500"));

    // Values outside the fields: marked, and the engine's sentence.
    typeInto(d->foulingEd, typed("0.02"));
    QCOMPARE(sel->result().why.kind, Kind::BadFouling);
    QCOMPARE(d->foulingEd->palette().color(QPalette::Base), SelectionWindow::invalidColor());
    QCOMPARE(sel->message->text(), QString::fromStdString(selection::explain(sel->request(), sel->result().why, 1, dsep)));
    typeInto(d->foulingEd, QString());
    typeInto(d->marginEd, QStringLiteral("101"));
    QCOMPARE(sel->result().why.kind, Kind::BadMargin);
    QCOMPARE(d->marginEd->palette().color(QPalette::Base), SelectionWindow::invalidColor());
    QCOMPARE(sel->message->text(), QString::fromStdString(selection::explain(sel->request(), sel->result().why, 1, dsep)));
}

// A row added to the project is rated with the fouling the list was rated
// with, not the main window's: the case shows the row's numbers.
void TestSelectionWindow::addedCasesKeepTheListsFouling()
{
    openByShortcut();
    QTest::keyClicks(sel->dutyEd, QStringLiteral("40"));
    typeInto(sel->designBox->foulingEd, typed("0.0005"));
    QVERIFY(rows() >= 1);
    QTest::mouseClick(sel->table->viewport(), Qt::LeftButton, {},
                      sel->table->visualRect(sel->table->model()->index(0, ColDuty)).center());
    QVERIFY(sel->addButton->isEnabled());
    QTest::mouseClick(sel->addButton, Qt::LeftButton);

    const project::Project &p = w->document.project();
    QCOMPARE(p.cases.size(), std::size_t(2));
    QCOMPARE(p.cases[1].inputs.Rf, 0.0005);
    QCOMPARE(w->mainF.inputs().Rf, rating::Rf); // the main window keeps its own
    const rating::Rating &r = w->document.outcomes()[1].rating;
    QCOMPARE(QString::fromStdString(rating::FixedText(r.values.QLabel, 2, sepStd())), cell(0, ColDuty));
    QCOMPARE(QString::fromStdString(rating::FixedText(r.values.DPK, 3, sepStd())), cell(0, ColShellDp));
}

// ---- language and keyboard

void TestSelectionWindow::designConditionsSpeakTheLanguage()
{
    openByShortcut();
    QTest::keyClicks(sel->dutyEd, QStringLiteral("40"));
    DesignConditions *d = sel->designBox;
    typeInto(d->shellOutletEd, QStringLiteral("90"));
    chooseLanguage(2);
    QCOMPARE(d->title(), QStringLiteral("Расчётные условия"));
    QCOMPARE(d->dutyBox->text(), QStringLiteral("Тепловая мощность"));
    QCOMPARE(d->shellOutletEd->placeholderText(), QStringLiteral("не задана"));
    QCOMPARE(sel->message->text(), QString::fromStdString(design::explainBalance(sel->designReading().conditions,
                                                                                 sel->balance().why, 2, sepStd())));
    QVERIFY(sel->message->text().startsWith(QStringLiteral("Нужно, чтобы")));
    typeInto(d->shellOutletEd, QString());
    QVERIFY(d->derived->text().startsWith(QStringLiteral("Задайте температуру")));
}

// The conditions come before the duty: Shift+Tab reaches them from it, and
// with the duty derived the window opens in the first outlet field.
void TestSelectionWindow::designConditionsByKeyboard()
{
    openByShortcut();
    DesignConditions *d = sel->designBox;
    const QList<QWidget *> back = {d->marginEd,     d->foulingEd,      d->spiralFlowBox, d->shellFlowBox,
                                   d->dutyBox,      d->spiralOutletEd, d->shellOutletEd};
    for (QWidget *previous : back) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), previous);
    }
    QTest::keyClicks(d->shellOutletEd, QStringLiteral("60"));
    QVERIFY(!sel->dutyEd->isEnabled());
    QTest::keyClick(d->shellOutletEd, Qt::Key_Escape);
    QVERIFY(!sel->isVisible());
    openByShortcut();
    QCOMPARE(QApplication::focusWidget(), d->shellOutletEd);
}
