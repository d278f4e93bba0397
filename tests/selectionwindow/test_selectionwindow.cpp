// The selection window in the program's wiring, driven through its widgets
// and the main window's: the button, Ctrl+F and the context menu open it; a
// row goes into the main window by double click, Enter or Apply; the
// language list changes its texts; the keyboard habits of a dialog. The list
// and its fields are in test_selectionwindow_list.cpp.
#include "test_selectionwindow.h"

#include "assets/assets.h"
#include "assets/render.h"
#include "languages/languages.h"
#include "selection/explain.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>

#include <limits>
#include <set>

// ---- the button on the schematic

// It lies on plain background of the picture, and no label, field,
// list, bar, button or arrow of the main window reaches into it, in any
// language.
void TestSelectionWindow::buttonOnAFreePartOfTheSchematic()
{
    QToolButton *b = w->mainF.SpeedButton6;
    QVERIFY(b);
    const QRect r = TmainF::SpeedButton6Rect;
    QCOMPARE(b->geometry(), r);
    QCOMPARE(b->size(), QSize(23, 22));
    QCOMPARE(b->focusPolicy(), Qt::NoFocus);
    QVERIFY(b->isVisible());
    QCOMPARE(b->parentWidget(), w->mainF.Panel1);

    const QImage pic = assets::schematic();
    for (int y = r.top() - 2; y <= r.bottom() + 2; ++y)
        for (int x = r.left() - 2; x <= r.right() + 2; ++x)
            QVERIFY2(pic.pixel(x, y) == assets::schematicBackground,
                     qPrintable(QStringLiteral("picture at %1,%2").arg(x).arg(y)));
    const QPolygon arrows[4] = {
        QPolygon({{34, 122}, {70, 106}, {60, 122}, {70, 138}}),
        QPolygon({{624, 122}, {660, 106}, {650, 122}, {660, 138}}),
        QPolygon({{65, 384}, {29, 368}, {39, 384}, {29, 400}}),
        QPolygon({{377, 433}, {393, 443}, {409, 433}, {393, 469}}),
    };
    for (const QPolygon &a : arrows) QVERIFY(!a.boundingRect().intersects(r.adjusted(-2, -2, 2, 2)));

    for (int language = 0; language < lang::count(); ++language) {
        chooseLanguage(language);
        for (QWidget *c : w->mainF.findChildren<QWidget *>()) {
            if (c == b || c == w->mainF.Panel1 || c == w->mainF.Image1 || !c->isVisible() || b->isAncestorOf(c) ||
                c->window() != &w->mainF)
                continue;
            // Panel1 lies at the window's origin.
            const QRect g(c->mapTo(&w->mainF, QPoint(0, 0)), c->size());
            QVERIFY2(!g.intersects(r.adjusted(-2, -2, 2, 2)),
                     qPrintable(QStringLiteral("%1 (%2) in language %3").arg(c->objectName(), c->metaObject()->className()).arg(language)));
        }
        // What the window shows around the button: background only.
        const QImage shot = w->mainF.grab().toImage();
        for (int y = r.top() - 3; y <= r.bottom() + 3; ++y)
            for (int x = r.left() - 3; x <= r.right() + 3; ++x)
                if (!r.contains(x, y))
                    QVERIFY2(shot.pixel(x, y) == assets::schematicBackground,
                             qPrintable(QStringLiteral("shown at %1,%2 in language %3").arg(x).arg(y).arg(language)));
    }
}

void TestSelectionWindow::buttonPictureAsRenderedFromItsDrawing()
{
    const QIcon icon = assets::selectionIcon();
    for (int scale : {1, 2}) {
        QImage rendered = assets::renderButton(QStringLiteral("selection"), scale);
        rendered.setDevicePixelRatio(scale);
        QCOMPARE(icon.pixmap(QSize(16, 16), qreal(scale), QIcon::Normal).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
                 rendered);
    }
    const QImage normal = icon.pixmap(QSize(16, 16), 1.0, QIcon::Normal).toImage();
    int opaque = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) opaque += qAlpha(normal.pixel(x, y)) == 255;
    QVERIFY(opaque > 40 && opaque < 256); // a picture on a transparent ground
    QVERIFY(icon.pixmap(QSize(16, 16), 1.0, QIcon::Disabled).toImage() != normal);
}

// ---- opening

void TestSelectionWindow::opensFromTheButtonTheShortcutAndTheContextMenu()
{
    QVERIFY(!sel->isVisible());
    QTest::mouseClick(w->mainF.SpeedButton6, Qt::LeftButton);
    QVERIFY(sel->isVisible());
    QVERIFY(!sel->isModal());
    QCOMPARE(sel->windowModality(), Qt::NonModal);
    activate(sel);
    QCOMPARE(QApplication::focusWidget(), sel->dutyEd);
    QTest::keyClick(sel->dutyEd, Qt::Key_Escape);
    QVERIFY(!sel->isVisible());

    openByShortcut();
    QCOMPARE(QApplication::focusWidget(), sel->dutyEd);
    sel->close();
    QVERIFY(!sel->isVisible());

    // A right click on the schematic pops the menu up; its entry is
    // clicked once it is shown.
    const QPoint at = w->mainF.Image1->mapTo(&w->mainF, QPoint(600, 300));
    QTest::mousePress(w->mainF.windowHandle(), Qt::RightButton, {}, at);
    QTest::mouseRelease(w->mainF.windowHandle(), Qt::RightButton, {}, at);
    QMenu *menu = nullptr;
    QVERIFY(QTest::qWaitFor([&menu] { return (menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())); }));
    QAction *a = sel->openAction();
    QVERIFY(menu->actions().contains(a));
    QCOMPARE(a->text(), QStringLiteral("Select type and arrangement…"));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
    QVERIFY(QTest::qWaitFor([this] { return sel->isVisible(); }));
    QCOMPARE(w->mainF.SpeedButton6->toolTip(), QStringLiteral("Select type and arrangement (Ctrl+F)"));
}

// ---- into the main window

void TestSelectionWindow::doubleClickApplies()
{
    openByShortcut();
    QTest::keyClicks(sel->dutyEd, QStringLiteral("60"));
    clickHeader(ColUnits); // a sorted list: the row is the one shown
    const int row = rowAwayFromTheDefaults();
    QVERIFY(row > 0);
    const int t = int(number(row, ColType)), s = int(number(row, ColSeries)), p = int(number(row, ColParallel));
    const QString duty = cell(row, ColDuty), dpk = cell(row, ColShellDp);
    QSignalSpy applied(sel, &SelectionWindow::applied);
    doubleClickRow(row);
    QCOMPARE(applied.count(), 1);
    expectMainWindowRates(t, s, p);
    // The list and the main window give the same numbers.
    QVERIFY(w->mainF.QLabel->text().endsWith(QStringLiteral("=") + duty + QStringLiteral(" kW")));
    QCOMPARE(w->mainF.DPK->text(), dpk + QStringLiteral(" kPa"));
    QVERIFY(sel->isVisible()); // the window stays for another try
}

void TestSelectionWindow::enterAndApplyButtonApply()
{
    openByShortcut();
    QTest::keyClicks(sel->dutyEd, QStringLiteral("60"));
    const int row = rowAwayFromTheDefaults();
    QVERIFY(row > 0);
    sel->table->setFocus(Qt::TabFocusReason);
    for (int i = sel->table->currentIndex().row(); i < row; ++i) QTest::keyClick(sel->table, Qt::Key_Down);
    QCOMPARE(sel->table->currentIndex().row(), row);
    QTest::keyClick(sel->table, Qt::Key_Return);
    expectMainWindowRates(int(number(row, ColType)), int(number(row, ColSeries)), int(number(row, ColParallel)));

    QTest::mouseClick(sel->table->viewport(), Qt::LeftButton, {},
                      sel->table->visualRect(sel->table->model()->index(0, ColDuty)).center());
    QCOMPARE(sel->table->currentIndex().row(), 0);
    QTest::mouseClick(sel->applyButton, Qt::LeftButton);
    expectMainWindowRates(int(number(0, ColType)), int(number(0, ColSeries)), int(number(0, ColParallel)));
}

// "Add to project" on rows picked with Ctrl+click: each becomes a case of
// the project with the main window's flows and inlets and the row's
// arrangement, named by it; the main window stays on its case.
void TestSelectionWindow::addToProject()
{
    typeInto(w->mainF.MVsEd, typed("1.5"));
    QTest::keyClick(w->mainF.MVsEd, Qt::Key_Tab);
    const rating::Case before = w->mainF.inputs();
    w->casesF.openAction()->trigger(); // the cases window open beside it
    openByShortcut();
    QTest::keyClicks(sel->dutyEd, QStringLiteral("60"));
    QVERIFY(rows() >= 3);
    const QPoint first = sel->table->visualRect(sel->table->model()->index(0, ColDuty)).center();
    const QPoint third = sel->table->visualRect(sel->table->model()->index(2, ColDuty)).center();
    QTest::mouseClick(sel->table->viewport(), Qt::LeftButton, {}, first);
    QTest::mouseClick(sel->table->viewport(), Qt::LeftButton, Qt::ControlModifier, third);
    QCOMPARE(sel->table->selectionModel()->selectedRows().size(), 2);
    QVERIFY(!sel->applyButton->isEnabled()); // which of the two?
    QVERIFY(sel->addButton->isEnabled());

    QTest::mouseClick(sel->addButton, Qt::LeftButton);
    const project::Project &p = w->document.project();
    QCOMPARE(p.cases.size(), std::size_t(3));
    QCOMPARE(w->document.current(), 0);
    QVERIFY(project::sameInputs(w->mainF.inputs(), before));
    for (int k = 0; k < 2; ++k) {
        const int row = k == 0 ? 0 : 2;
        const project::Case &c = p.cases[std::size_t(k + 1)];
        rating::Case want = before;
        want.Tipus = int(number(row, ColType)), want.Soros = int(number(row, ColSeries));
        want.Parh = int(number(row, ColParallel));
        QVERIFY(project::sameInputs(c.inputs, want));
        QCOMPARE(QString::fromStdString(c.name), QStringLiteral("%1 %2×%3")
                                                     .arg(cell(row, ColType), cell(row, ColSeries), cell(row, ColParallel)));
        // Rated as the list rated it.
        QCOMPARE(QString::fromStdString(rating::FixedText(w->document.outcomes()[std::size_t(k + 1)].rating.values.QLabel,
                                                          2, sepStd())),
                 cell(row, ColDuty));
    }
    QCOMPARE(sel->message->text(), QStringLiteral("Cases added to the project: 2."));
    // The selected rows in the cases window.
    QCOMPARE(w->casesF.selectedRows(), (std::vector<int>{1, 2}));
}

// An open chart shows the applied arrangement: it draws what a chart
// drawn afresh from the main window draws.
void TestSelectionWindow::openChartFollowsAnApply()
{
    QTest::mouseClick(w->mainF.SpeedButton2, Qt::LeftButton);
    QVERIFY(w->grTerfKopF.isVisible());
    QTRY_COMPARE(w->grTerfKopF.lastChart().chart, 1);
    const double before = w->grTerfKopF.lastChart().table.at(1).q;
    openByShortcut();
    QTest::keyClicks(sel->dutyEd, QStringLiteral("60"));
    const int row = rowAwayFromTheDefaults();
    QVERIFY(row > 0);
    doubleClickRow(row);
    QTRY_VERIFY(w->grTerfKopF.lastChart().table.at(1).q != before);
    TgrTerfKopF fresh(&w->mainF);
    fresh.setClientSize(w->grTerfKopF.clientSize());
    fresh.drawChart(1);
    const charts::SweepTable &a = w->grTerfKopF.lastChart().table, &b = fresh.lastChart().table;
    QCOMPARE(a.N, b.N);
    for (int i = 1; i <= a.N; ++i) QCOMPARE(a.at(i).q, b.at(i).q);
}

// ---- languages

void TestSelectionWindow::followsTheLanguageList()
{
    openByShortcut();
    QTest::keyClicks(sel->dutyEd, QStringLiteral("40"));
    typeInto(sel->dpShellEd, QStringLiteral("0"));
    const QRect place = sel->geometry();
    const int asked = sel->selections();
    QCOMPARE(sel->windowTitle(), QStringLiteral("Select type and arrangement"));

    chooseLanguage(2);
    const lang::Language *rus = lang::language(2);
    QCOMPARE(sel->windowTitle(), QStringLiteral("Подбор типа и схемы подключения"));
    QCOMPARE(sel->applyButton->text(), QStringLiteral("Применить"));
    QCOMPARE(sel->closeButton->text(), QStringLiteral("Закрыть"));
    QCOMPARE(sel->openAction()->text(), QStringLiteral("Подбор типа и схемы подключения…"));
    QCOMPARE(sel->table->model()->headerData(ColDuty, Qt::Horizontal).toString(), QStringLiteral("Мощность\nkW"));
    QCOMPARE(sel->dpShellEd->placeholderText(), QStringLiteral("без ограничения"));
    auto *header = qobject_cast<GroupedHeader *>(sel->table->horizontalHeader());
    QVERIFY(header);
    QCOMPARE(header->groups().at(0).title, lang::text(*rus, lang::LbKopeny));
    QCOMPARE(header->groups().at(1).title, lang::text(*rus, lang::LbSpiral));
    QCOMPARE(sel->message->text(),
             QString::fromStdString(selection::explain(sel->request(), sel->result().why, 2, sepStd())));
    QVERIFY(sel->message->text().startsWith(QStringLiteral("Мощность 40")));
    QCOMPARE(fonts::charset(sel), int(lang::CyrillicCharset));
    QVERIFY(w->mainF.SpeedButton6->toolTip().startsWith(QStringLiteral("Подбор")));

    chooseLanguage(1);
    QCOMPARE(sel->applyButton->text(), QStringLiteral("Apply"));
    QCOMPARE(fonts::charset(sel), int(lang::DefaultCharset));
    QVERIFY(sel->message->text().startsWith(QStringLiteral("Arrangements reach 40")));
    // A language changes texts only: the same list, not asked again, and
    // the window where it was, as large as it was.
    QCOMPARE(sel->selections(), asked);
    QCOMPARE(sel->geometry(), place);
}

// The window's controls are made at its first opening: a language chosen
// before that is the one it opens in, and its entry and the schematic's
// button spoke it already.
void TestSelectionWindow::opensInTheLanguageChosenBefore()
{
    chooseLanguage(2);
    QCOMPARE(sel->openAction()->text(), QStringLiteral("Подбор типа и схемы подключения…"));
    QVERIFY(w->mainF.SpeedButton6->toolTip().startsWith(QStringLiteral("Подбор")));
    openByShortcut();
    QCOMPARE(sel->windowTitle(), QStringLiteral("Подбор типа и схемы подключения"));
    QCOMPARE(sel->applyButton->text(), QStringLiteral("Применить"));
    QCOMPARE(fonts::charset(sel), int(lang::CyrillicCharset));
    QTest::keyClicks(sel->dutyEd, QStringLiteral("60"));
    QVERIFY(sel->message->text().startsWith(QStringLiteral("Найдено")));
}

// In every language each text has the room it needs, the headings
// their columns, and the window its size.
void TestSelectionWindow::everyLanguageFits()
{
    openByShortcut();
    QTest::keyClicks(sel->dutyEd, QStringLiteral("40"));
    const QSize size = sel->size();
    for (int language = 0; language < lang::count(); ++language) {
        chooseLanguage(language);
        // Once the layouts have followed the new texts (the inner ones
        // first, each in a turn of the event loop).
        const auto clipped = [this] {
            for (QWidget *c : sel->findChildren<QWidget *>()) {
                const bool text = qobject_cast<QLabel *>(c) || qobject_cast<QCheckBox *>(c) || qobject_cast<QPushButton *>(c);
                if (text && c != sel->message && c->isVisible() && c->width() < c->sizeHint().width())
                    return c->property("text").toString();
            }
            return QString();
        };
        QTRY_VERIFY2(clipped().isEmpty(), qPrintable(QStringLiteral("'%1' in language %2").arg(clipped()).arg(language)));
        QCOMPARE(sel->size(), size);
        QVERIFY(sel->minimumSizeHint().width() <= size.width() && sel->minimumSizeHint().height() <= size.height());
        for (QLineEdit *e : {sel->dpShellEd, sel->dpSpiralEd})
            QVERIFY(e->width() >= e->fontMetrics().horizontalAdvance(e->placeholderText()) + 8);
        auto *h = qobject_cast<GroupedHeader *>(sel->table->horizontalHeader());
        // Whichever column is sorted, its heading fits beside the sort
        // arrow: the style gives the text what the arrow and the section's
        // margins leave of it.
        const int margin = h->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, h);
        const int arrow = h->style()->pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, h) + 3 * margin;
        for (int c = 0; c < ColumnCount; ++c)
            for (const QString &line : h->model()->headerData(c, Qt::Horizontal).toString().split('\n'))
                QVERIFY2(h->sectionSize(c) >= h->fontMetrics().horizontalAdvance(line) + arrow,
                         qPrintable(QStringLiteral("column %1 in language %2").arg(c).arg(language)));
        for (const GroupedHeader::Group &g : h->groups()) {
            int width = 0;
            for (int c = g.first; c <= g.last; ++c) width += h->sectionSize(c);
            QVERIFY(width >= h->fontMetrics().horizontalAdvance(g.title) + 8);
        }
        // The whole list is in view without scrolling sideways.
        QVERIFY(h->length() <= sel->table->viewport()->width());
        QVERIFY(h->height() >= h->bandHeight() + 2 * h->fontMetrics().height());
    }
}

// The sentences of an empty list exist in every language, each its own,
// with the main window's words for the sides and numbers with the
// separator given.
void TestSelectionWindow::sentencesInEveryLanguage()
{
    selection::Request r;
    r.dutyKW = 40.5;
    r.maxSeries = 3, r.maxParallel = 2;
    const Kind kinds[] = {Kind::BadDuty,        Kind::BadCount,   Kind::BadLimit,     Kind::NoType,
                          Kind::NoRating,       Kind::BeyondCapacity, Kind::NotReached, Kind::PressureLimit};
    for (Kind k : kinds) {
        selection::Shortfall why;
        why.kind = k;
        why.capacityKW = 69.555;
        why.bestDutyKW = 30.125;
        why.bestTipus = 4, why.bestSoros = 3, why.bestParh = 2;
        why.minDpJacketKPa = 12.3456;
        why.minDpCoilKPa = 7.5;
        std::set<std::string> seen;
        for (int n = 0; n < lang::count(); ++n) {
            const std::string s = selection::explain(r, why, n, ",");
            QVERIFY2(!s.empty() && seen.insert(s).second, qPrintable(QStringLiteral("kind %1, language %2").arg(int(k)).arg(n)));
            QVERIFY(QString::fromUtf8(s).toUtf8().toStdString() == s); // valid UTF-8
            QVERIFY(s.find('%') == std::string::npos);
            const QString q = QString::fromStdString(s);
            if (k == Kind::BadCount) QVERIFY(q.contains("150"));
            if (k == Kind::BeyondCapacity) QVERIFY(q.contains("40,50 kW") && q.contains("69,56 kW"));
            if (k == Kind::NotReached)
                QVERIFY(q.contains("40,50 kW") && q.contains("30,13 kW") && q.contains("VR/T-4") &&
                        q.contains(" 3") && q.contains(" 2"));
            if (k == Kind::PressureLimit) {
                const lang::Language *l = lang::language(n);
                QVERIFY(q.contains(lang::text(*l, lang::LbKopeny) + " 12,346 kPa"));
                QVERIFY(q.contains(lang::text(*l, lang::LbSpiral) + " 7,500 kPa"));
            }
        }
        // A language outside the list speaks English.
        QCOMPARE(selection::explain(r, why, 9, ","), selection::explain(r, why, 1, ","));
    }
    // A side whose limit no arrangement broke is not named.
    selection::Shortfall why;
    why.kind = Kind::PressureLimit;
    why.minDpJacketKPa = std::numeric_limits<double>::quiet_NaN();
    why.minDpCoilKPa = 3;
    const std::string s = selection::explain(r, why, 1, ".");
    QVERIFY(s.find("Shell side") == std::string::npos && s.find("Spiral side 3.000 kPa") != std::string::npos);
    QVERIFY(selection::explain(r, selection::Shortfall{}, 1).empty());
}

// ---- keyboard

void TestSelectionWindow::keyboardHabits()
{
    openByShortcut();
    QTest::keyClicks(sel->dutyEd, QStringLiteral("40"));
    const QList<QWidget *> order = {sel->maxSeriesEd,  sel->maxParallelEd, sel->typeBoxes[0], sel->typeBoxes[1],
                                    sel->typeBoxes[2], sel->typeBoxes[3],  sel->typeBoxes[4], sel->dpShellEd,
                                    sel->dpSpiralEd,   sel->table,         sel->addButton,    sel->applyButton,
                                    sel->closeButton};
    for (QWidget *next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
    // Esc closes from the list as from a field; opened again, the window
    // is where it was, as large as it was.
    const QRect place = sel->geometry();
    sel->table->setFocus(Qt::TabFocusReason);
    QTest::keyClick(sel->table, Qt::Key_Escape);
    QVERIFY(!sel->isVisible());
    openByShortcut();
    QCOMPARE(sel->geometry(), place);
    QCOMPARE(sel->dutyEd->selectedText(), QStringLiteral("40")); // ready to be typed over
}

QTEST_MAIN(TestSelectionWindow)
