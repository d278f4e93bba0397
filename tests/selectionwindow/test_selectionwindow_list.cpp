// The selection window's list and its fields: typed requirements give the
// engine's list, a header click sorts it, the window follows the main
// window while it is edited, and bad input gets its sentence and no message
// box.
#include "test_selectionwindow.h"

#include "selection/explain.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

// ---- the list

void TestSelectionWindow::typedDutyListsTheEngineAnswer()
{
    openByShortcut();
    QCOMPARE(sel->shellFlow->text(), QStringLiteral("7 m3/h"));
    QCOMPARE(sel->spiralFlow->text(), QStringLiteral("1 m3/h"));
    QCOMPARE(sel->shellInlet->text(), QStringLiteral("80 °C"));
    QCOMPARE(sel->spiralInlet->text(), QStringLiteral("20 °C"));
    QCOMPARE(rows(), 0);
    QCOMPARE(sel->message->text(), QString::fromStdString(selection::explain(sel->request(), {Kind::BadDuty}, 1, sepStd())));
    QVERIFY(!sel->applyButton->isEnabled());

    // Every keystroke counts: "5" is not "55".
    QTest::keyClicks(sel->dutyEd, QStringLiteral("5"));
    QVERIFY(sameArrangements(sel->result().entries, selection::select(expectedRequest(5)).entries));
    QTest::keyClicks(sel->dutyEd, QStringLiteral("5"));
    QVERIFY(!sameArrangements(sel->result().entries, selection::select(expectedRequest(5)).entries));

    const selection::Result want = selection::select(expectedRequest(55));
    QVERIFY(sameArrangements(sel->result().entries, want.entries));
    QCOMPARE(rows(), int(want.entries.size()));
    QCOMPARE(sel->message->text(), QStringLiteral("Arrangements found: %1. Double click a row, or press Enter on it, "
                                                  "to apply it in the main window.")
                                       .arg(rows()));
    // Each cell as the main window writes the quantity.
    const std::string d = sepStd();
    for (int i = 0; i < rows(); ++i) {
        const selection::Entry &e = want.entries[std::size_t(i)];
        QCOMPARE(cell(i, ColType), QString::fromLatin1(rating::TipusNevek[e.Tipus]));
        QCOMPARE(cell(i, ColSeries), QString::number(e.Soros));
        QCOMPARE(cell(i, ColParallel), QString::number(e.Parh));
        QCOMPARE(cell(i, ColUnits), QString::number(e.Soros * e.Parh));
        QCOMPARE(cell(i, ColSurface), QString::fromStdString(rating::FixedText(e.surfaceM2, 3, d)));
        QCOMPARE(cell(i, ColDuty), QString::fromStdString(rating::FixedText(e.dutyKW, 2, d)));
        QCOMPARE(cell(i, ColMargin), QString::fromStdString(rating::FixedText(e.marginPercent, 1, d)));
        QCOMPARE(cell(i, ColShellOutlet), QString::fromStdString(rating::FixedText(e.values.LbTKK, 2, d)));
        QCOMPARE(cell(i, ColSpiralOutlet), QString::fromStdString(rating::FixedText(e.values.LbTSK, 2, d)));
        QCOMPARE(cell(i, ColShellDp), QString::fromStdString(rating::FixedText(e.values.DPK, 3, d)));
        QCOMPARE(cell(i, ColSpiralDp), QString::fromStdString(rating::FixedText(e.values.DPS, 3, d)));
        QCOMPARE(cell(i, ColShellVelocity), QString::fromStdString(rating::FixedText(e.values.LbArsebK, 2, d)));
        QCOMPARE(cell(i, ColSpiralVelocity), QString::fromStdString(rating::FixedText(e.values.LbArsebS, 2, d)));
        QCOMPARE(cell(i, ColShellFilm), QString::fromStdString(rating::FixedText(e.values.LbHoatadK, 0, d)));
        QCOMPARE(cell(i, ColSpiralFilm), QString::fromStdString(rating::FixedText(e.values.LbHoatadS, 0, d)));
        QCOMPARE(cell(i, ColOverall), QString::fromStdString(rating::FixedText(e.values.LbHoatbocsT, 0, d)));
    }
    // The first arrangement is chosen, ready for Apply.
    QCOMPARE(sel->table->currentIndex().row(), 0);
    QVERIFY(sel->applyButton->isEnabled());
}

void TestSelectionWindow::requirementsNarrowTheList()
{
    openByShortcut();
    QTest::keyClicks(sel->dutyEd, QStringLiteral("50"));
    typeInto(sel->maxParallelEd, QStringLiteral("3"));
    typeInto(sel->maxSeriesEd, QStringLiteral("4"));
    QTest::mouseClick(sel->typeBoxes[1], Qt::LeftButton);
    QVERIFY(!sel->typeBoxes[1]->isChecked());
    typeInto(sel->dpShellEd, typed("20.5"));
    selection::Request r = expectedRequest(50);
    r.maxSeries = 4, r.maxParallel = 3;
    r.types[1] = false;
    r.maxDpJacketKPa = 20.5;
    const selection::Result want = selection::select(r);
    QVERIFY(!want.entries.empty());
    QVERIFY(sameArrangements(sel->result().entries, want.entries));
    for (int i = 0; i < rows(); ++i) {
        QVERIFY(number(i, ColParallel) <= 3 && number(i, ColSeries) <= 4);
        QVERIFY(number(i, ColType) != 1);
        QVERIFY(number(i, ColShellDp) <= 20.5);
    }
    // Emptied, a limit is no limit.
    typeInto(sel->dpShellEd, QString());
    QVERIFY(!sel->request().maxDpJacketKPa);
    QVERIFY(!sel->dpShellEd->property("invalid").toBool());
}

// A header click sorts by the numbers (ascending, descending), a third
// gives the engine's order back.
void TestSelectionWindow::headerSortsByNumber()
{
    openByShortcut();
    QTest::keyClicks(sel->dutyEd, QStringLiteral("40"));
    QVERIFY(rows() > 10);
    const std::vector<selection::Entry> engine = sel->result().entries;

    clickHeader(ColShellDp);
    QCOMPARE(sel->table->horizontalHeader()->sortIndicatorSection(), int(ColShellDp));
    QStringList texts;
    for (int i = 0; i + 1 < rows(); ++i) QVERIFY(number(i, ColShellDp) <= number(i + 1, ColShellDp));
    for (int i = 0; i < rows(); ++i) texts << cell(i, ColShellDp);
    QStringList asText = texts;
    asText.sort();
    QVERIFY2(asText != texts, "the fixture must tell number from text order");

    clickHeader(ColShellDp);
    for (int i = 0; i + 1 < rows(); ++i) QVERIFY(number(i, ColShellDp) >= number(i + 1, ColShellDp));

    clickHeader(ColShellDp);
    QCOMPARE(sel->table->horizontalHeader()->sortIndicatorSection(), -1);
    for (int i = 0; i < rows(); ++i) {
        QCOMPARE(number(i, ColType), double(engine[std::size_t(i)].Tipus));
        QCOMPARE(number(i, ColParallel), double(engine[std::size_t(i)].Parh));
    }

    // Sorted, the list keeps its order while it follows a change.
    clickHeader(ColOverall);
    typeInto(sel->dutyEd, QStringLiteral("45"));
    for (int i = 0; i + 1 < rows(); ++i) QVERIFY(number(i, ColOverall) <= number(i + 1, ColOverall));
}

// ---- following the main window

void TestSelectionWindow::followsTheMainWindowWhileItIsEdited()
{
    openByShortcut();
    QTest::keyClicks(sel->dutyEd, QStringLiteral("50"));
    const std::vector<selection::Entry> before = sel->result().entries;

    // Typed into the main window's jacket flow, not yet left.
    typeInto(w->mainF.MVkEd, QStringLiteral("12"));
    QCOMPARE(w->mainF.QLabel->text(), QStringLiteral("***")); // the main window as ever
    QCOMPARE(sel->shellFlow->text(), QStringLiteral("12 m3/h"));
    QCOMPARE(sel->request().MVk, 12.0);
    selection::Request r = expectedRequest(50);
    r.MVk = 12;
    QVERIFY(sameList(sel->result().entries, selection::select(r).entries));
    QVERIFY(!sameList(sel->result().entries, before));

    // Esc in the field puts its value back, as it always did: the window
    // read the field without committing it.
    QTest::keyClick(w->mainF.MVkEd, Qt::Key_Escape);
    QCOMPARE(w->mainF.MVkEd->text(), QStringLiteral("7"));
    QCOMPARE(sel->shellFlow->text(), QStringLiteral("7 m3/h"));
    QVERIFY(sameList(sel->result().entries, before));

    // A coil inlet with decimals, shown as its field shows it.
    typeInto(w->mainF.tsbEd, typed("25.5"));
    QCOMPARE(sel->spiralInlet->text(), typed("25.5") + QStringLiteral(" °C"));
    QTest::keyClick(w->mainF.tsbEd, Qt::Key_Tab);
    QCOMPARE(sel->request().tsb, 25.5);

    // The unit list: the flow stays 7, now in l/min.
    w->mainF.CbMVk->setFocus(Qt::TabFocusReason);
    QTest::keyClick(w->mainF.CbMVk, Qt::Key_Up);
    QCOMPARE(w->mainF.CbMVk->currentIndex(), 0);
    QCOMPARE(sel->shellFlow->text(), QStringLiteral("7 l/min"));
    QCOMPARE(sel->request().CbMVkIndex, 0);
}

// Closed, the window asks the engine nothing while the main window is
// edited; opened again it shows the main window as it is.
void TestSelectionWindow::closedWindowFollowsNothing()
{
    openByShortcut();
    QTest::keyClicks(sel->dutyEd, QStringLiteral("50"));
    QTest::keyClick(sel->dutyEd, Qt::Key_Escape);
    QVERIFY(!sel->isVisible());
    const int asked = sel->selections();
    typeInto(w->mainF.MVsEd, QStringLiteral("2"));
    QTest::keyClick(w->mainF.MVsEd, Qt::Key_Tab);
    QCOMPARE(sel->selections(), asked);
    openByShortcut();
    QCOMPARE(sel->spiralFlow->text(), QStringLiteral("2 m3/h"));
    QCOMPARE(sel->request().MVs, 2.0);
    QCOMPARE(sel->dutyEd->text(), QStringLiteral("50")); // the requirements stay
}

// ---- bad input

void TestSelectionWindow::badInputIsSaidInTheWindow_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("marked");
    QTest::newRow("duty empty") << "dutyEd" << "" << int(Kind::BadDuty) << false;
    QTest::newRow("duty 0") << "dutyEd" << "0" << int(Kind::BadDuty) << true;
    QTest::newRow("duty negative") << "dutyEd" << "-5" << int(Kind::BadDuty) << true;
    QTest::newRow("duty no number") << "dutyEd" << "4x" << int(Kind::BadDuty) << true;
    QTest::newRow("duty beyond every number") << "dutyEd" << "1e999" << int(Kind::BadDuty) << true;
    QTest::newRow("duty above its range") << "dutyEd" << "1e300" << int(Kind::BadDuty) << true;
    QTest::newRow("duty below its range") << "dutyEd" << typed("0.0009") << int(Kind::BadDuty) << true;
    QTest::newRow("series 0") << "maxSeriesEd" << "0" << int(Kind::BadCount) << true;
    QTest::newRow("series 151") << "maxSeriesEd" << "151" << int(Kind::BadCount) << true;
    QTest::newRow("series a fraction") << "maxSeriesEd" << typed("2.5") << int(Kind::BadCount) << true;
    QTest::newRow("parallel empty") << "maxParallelEd" << "" << int(Kind::BadCount) << true;
    QTest::newRow("parallel huge") << "maxParallelEd" << "1e12" << int(Kind::BadCount) << true;
    QTest::newRow("shell limit negative") << "dpShellEd" << "-1" << int(Kind::BadLimit) << true;
    QTest::newRow("spiral limit no number") << "dpSpiralEd" << "abc" << int(Kind::BadLimit) << true;
    QTest::newRow("shell limit 0 excludes all") << "dpShellEd" << "0" << int(Kind::PressureLimit) << false;
    QTest::newRow("duty beyond the flows") << "dutyEd" << "1000" << int(Kind::BeyondCapacity) << false;
}
void TestSelectionWindow::badInputIsSaidInTheWindow()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(int, kind);
    QFETCH(bool, marked);
    openByShortcut();
    QTest::keyClicks(sel->dutyEd, QStringLiteral("40"));
    QVERIFY(rows() > 0);
    auto *e = sel->findChild<QLineEdit *>(field);
    QVERIFY(e);
    typeInto(e, text);
    QCOMPARE(int(sel->result().why.kind), kind);
    QCOMPARE(rows(), 0);
    QVERIFY(!sel->applyButton->isEnabled());
    QCOMPARE(sel->message->text(),
             QString::fromStdString(selection::explain(sel->request(), sel->result().why, 1, sepStd())));
    QVERIFY(!sel->message->text().isEmpty());
    QCOMPARE(e->property("invalid").toBool(), marked);
    QCOMPARE(e->palette().color(QPalette::Base) == SelectionWindow::invalidColor(), marked);
    // Put right, the list is back and the mark gone.
    typeInto(e, field == "dutyEd" ? QStringLiteral("40") : field.startsWith("max") ? QStringLiteral("10") : QString());
    QVERIFY(rows() > 0);
    QVERIFY(!e->property("invalid").toBool());
}

void TestSelectionWindow::noTypeAndUnreachableDuty()
{
    openByShortcut();
    QTest::keyClicks(sel->dutyEd, QStringLiteral("40"));
    for (QCheckBox *b : sel->typeBoxes) {
        b->setFocus(Qt::TabFocusReason);
        QTest::keyClick(b, Qt::Key_Space);
    }
    QCOMPARE(sel->result().why.kind, Kind::NoType);
    QCOMPARE(sel->message->text(), QStringLiteral("Choose at least one type to consider."));
    QTest::keyClick(sel->typeBoxes[4], Qt::Key_Space);
    QVERIFY(rows() > 0);

    // One unit of each type reaches at most 68.16 kW; the flows allow some 69.6.
    typeInto(sel->maxSeriesEd, QStringLiteral("1"));
    typeInto(sel->maxParallelEd, QStringLiteral("1"));
    for (QCheckBox *b : sel->typeBoxes) b->setChecked(true);
    typeInto(sel->dutyEd, QStringLiteral("69"));
    QCOMPARE(sel->result().why.kind, Kind::NotReached);
    QCOMPARE(sel->message->text(), QStringLiteral("No arrangement up to 1 in series and 1 in parallel reaches 69") + sep() +
                                       QStringLiteral("00 kW; the most is 68") + sep() +
                                       QStringLiteral("16 kW (VR/T-4, 1 in series, 1 in parallel): allow more units or "
                                                      "raise a flow."));
}
