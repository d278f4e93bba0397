// The selection window in the program's wiring, driven through its widgets
// and the main window's: the button, Ctrl+F and the context menu open it;
// typed requirements give the engine's list; a row goes into the main
// window by double click, Enter or Apply; the language list changes its
// texts; bad input gets its sentence and no message box.
#include "assets/assets.h"
#include "assets/render.h"
#include "mainwindow/NumEdit.h"
#include "mainwindow/fonts.h"
#include "mainwindow/languages.h"
#include "platform/platform.h"
#include "printing/windows.h"
#include "rating/case.h"
#include "selection/explain.h"
#include "selectionwindow/EntryTable.h"
#include "selectionwindow/SelectionWindow.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <memory>
#include <set>

using namespace selectionwindow;
using Kind = selection::Shortfall::Kind;

namespace {

QString sep() { return platform::decimalSeparator(); }
std::string sepStd() { return sep().toStdString(); }
// A decimal as the user types it here.
QString typed(const char *s) { return QString::fromLatin1(s).replace(QLatin1Char('.'), sep()); }

// The same arrangements with the same duties.
bool sameList(const std::vector<selection::Entry> &a, const std::vector<selection::Entry> &b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const selection::Entry &x, const selection::Entry &y) {
        return x.Tipus == y.Tipus && x.Soros == y.Soros && x.Parh == y.Parh && x.dutyKW == y.dutyKW;
    });
}

bool sameArrangements(const std::vector<selection::Entry> &a, const std::vector<selection::Entry> &b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const selection::Entry &x, const selection::Entry &y) {
        return x.Tipus == y.Tipus && x.Soros == y.Soros && x.Parh == y.Parh;
    });
}

} // namespace

class TestSelectionWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<Windows> w;
    SelectionWindow *sel = nullptr;
    QStringList errors;
    platform::ErrorHandler previous;

    // ---- the user's gestures

    void activate(QWidget *window)
    {
        window->activateWindow();
        QApplication::setActiveWindow(window);
        QVERIFY(QTest::qWaitForWindowActive(window));
    }
    // Focus, select all, keys; an empty text deletes what is there.
    void typeInto(QLineEdit *e, const QString &text)
    {
        activate(e->window());
        e->setFocus(Qt::TabFocusReason);
        e->selectAll();
        if (text.isEmpty()) QTest::keyClick(e, Qt::Key_Backspace);
        else QTest::keyClicks(e, text);
    }
    void openByShortcut()
    {
        activate(&w->mainF);
        QWidget *focus = QApplication::focusWidget() ? QApplication::focusWidget() : &w->mainF;
        QTest::keyClick(focus, Qt::Key_F, Qt::ControlModifier);
        QVERIFY(QTest::qWaitFor([this] { return sel->isVisible(); }));
        activate(sel);
    }
    // The language chosen in the main window's list: Alt+Down, arrows, Return.
    void chooseLanguage(int row)
    {
        activate(&w->mainF);
        w->mainF.ComboBox1->setFocus(Qt::TabFocusReason);
        QTest::keyClick(w->mainF.ComboBox1, Qt::Key_Down, Qt::AltModifier);
        QAbstractItemView *view = w->mainF.ComboBox1->view();
        QVERIFY(QTest::qWaitFor([view] { return view->isVisible(); }));
        const int from = view->currentIndex().row();
        for (int i = from; i < row; ++i) QTest::keyClick(view, Qt::Key_Down);
        for (int i = from; i > row; --i) QTest::keyClick(view, Qt::Key_Up);
        QTest::keyClick(view, Qt::Key_Return);
        QVERIFY(QTest::qWaitFor([view] { return !view->isVisible(); }));
        QCOMPARE(w->mainF.model.Nyelv, row);
    }
    // The point of a cell of the list, in its window.
    QPoint cellInWindow(int row, int column) const
    {
        const QRect r = sel->table->visualRect(sel->table->model()->index(row, column));
        return sel->table->viewport()->mapTo(sel, r.center());
    }
    // A double click as the platform delivers it: two presses within the
    // double-click interval, at one place.
    void doubleClickRow(int row)
    {
        QTest::mouseDClick(sel->windowHandle(), Qt::LeftButton, {}, cellInWindow(row, ColDuty));
    }
    void clickHeader(int column)
    {
        QHeaderView *h = sel->table->horizontalHeader();
        const QPoint at(h->sectionViewportPosition(column) + h->sectionSize(column) / 2, h->height() - 6);
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, at);
    }

    // ---- what the window shows

    QString cell(int row, int column) const
    {
        return sel->table->model()->index(row, column).data().toString();
    }
    double number(int row, int column) const
    {
        return sel->table->model()->index(row, column).data(SortRole).toDouble();
    }
    int rows() const { return sel->table->model()->rowCount(); }

    // The request as the main window's fields and the window's stand now.
    selection::Request expectedRequest(double duty) const
    {
        selection::Request r;
        r.MVk = w->mainF.MVkEd->storedValue();
        r.CbMVkIndex = w->mainF.CbMVk->currentIndex();
        r.tkb = w->mainF.tkbEd->storedValue();
        r.MVs = w->mainF.MVsEd->storedValue();
        r.CbMVsIndex = w->mainF.CbMVs->currentIndex();
        r.tsb = w->mainF.tsbEd->storedValue();
        r.dutyKW = duty;
        return r;
    }

    // The main window shows arrangement (t, s, p), and its results are those
    // of a fresh rating of its inputs.
    void expectMainWindowRates(int t, int s, int p)
    {
        TmainF &m = w->mainF;
        QCOMPARE(m.CbTipus->currentIndex(), t);
        QCOMPARE(m.SorosEd->storedValue(), double(s));
        QCOMPARE(m.ParhEd->storedValue(), double(p));
        QCOMPARE(m.model.Tipus, t);
        QCOMPARE(m.model.Soros, s);
        QCOMPARE(m.model.Parh, p);
        rating::Case c;
        c.Tipus = t, c.Soros = s, c.Parh = p;
        c.MVk = m.MVkEd->storedValue(), c.CbMVkIndex = m.CbMVk->currentIndex(), c.tkb = m.tkbEd->storedValue();
        c.MVs = m.MVsEd->storedValue(), c.CbMVsIndex = m.CbMVs->currentIndex(), c.tsb = m.tsbEd->storedValue();
        rating::Model fresh;
        const rating::Rating r = rating::rate(fresh, c);
        QVERIFY(r.ok());
        const std::string d = sepStd();
        QCOMPARE(m.DPK->text(), QString::fromStdString(rating::FixedText(r.values.DPK, 3, d) + " kPa"));
        QCOMPARE(m.DPS->text(), QString::fromStdString(rating::FixedText(r.values.DPS, 3, d) + " kPa"));
        QCOMPARE(m.QLabel->text(),
                 QString::fromStdString(m.model.SzHoteljesitmeny + "=" + rating::FixedText(r.values.QLabel, 2, d) + " kW"));
        QCOMPARE(m.LbTKK->text(), QString::fromStdString(rating::FixedText(r.values.LbTKK, 2, d) + " \u00B0C"));
        QCOMPARE(m.LbTSK->text(), QString::fromStdString(rating::FixedText(r.values.LbTSK, 2, d) + " \u00B0C"));
        QCOMPARE(m.LbArsebK->text(), QString::fromStdString(rating::FixedText(r.values.LbArsebK, 2, d) + " m/s"));
    }

    // The first listed row whose arrangement differs from the main window's
    // defaults in type and in a count.
    int rowAwayFromTheDefaults() const
    {
        for (int i = 0; i < rows(); ++i)
            if (number(i, ColType) != 0 && (number(i, ColSeries) != 1 || number(i, ColParallel) != 1)) return i;
        return -1;
    }

private slots:
    void initTestCase()
    {
        fonts::load();
        previous = platform::setErrorHandler([this](const QString &m) { errors << m; });
    }
    void cleanupTestCase() { platform::setErrorHandler(previous); }

    void init()
    {
        errors.clear();
        w = std::make_unique<Windows>();
        sel = &w->selectionF;
        w->mainF.show();
        activate(&w->mainF);
    }
    void cleanup()
    {
        // No gesture of a test raised a message box.
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join(QLatin1Char('\n'))));
        w.reset();
    }

    // ---- the button on the schematic

    // It lies on plain background of the picture, and no label, field,
    // list, bar, button or arrow of the main window reaches into it, in any
    // language.
    void buttonOnAFreePartOfTheSchematic()
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

    void buttonPictureAsRenderedFromItsDrawing()
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

    void opensFromTheButtonTheShortcutAndTheContextMenu()
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

    // ---- the list

    void typedDutyListsTheEngineAnswer()
    {
        openByShortcut();
        QCOMPARE(sel->shellFlow->text(), QStringLiteral("7 m3/h"));
        QCOMPARE(sel->spiralFlow->text(), QStringLiteral("1 m3/h"));
        QCOMPARE(sel->shellInlet->text(), QStringLiteral("80 °C"));
        QCOMPARE(sel->spiralInlet->text(), QStringLiteral("20 °C"));
        QCOMPARE(rows(), 0);
        QCOMPARE(sel->message->text(), QString::fromStdString(selection::explain(sel->request(), {Kind::BadDuty}, 1)));
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

    void requirementsNarrowTheList()
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
    void headerSortsByNumber()
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

    // ---- into the main window

    void doubleClickApplies()
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

    void enterAndApplyButtonApply()
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

    // An open chart shows the applied arrangement: it draws what a chart
    // drawn afresh from the main window draws.
    void openChartFollowsAnApply()
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

    // ---- following the main window

    void followsTheMainWindowWhileItIsEdited()
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
    void closedWindowFollowsNothing()
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

    void badInputIsSaidInTheWindow_data()
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
    void badInputIsSaidInTheWindow()
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

    void noTypeAndUnreachableDuty()
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

    // ---- languages

    void followsTheLanguageList()
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

    // In every language each text has the room it needs, the headings
    // their columns, and the window its size.
    void everyLanguageFits()
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
            for (int c = 0; c < ColumnCount; ++c)
                for (const QString &line : h->model()->headerData(c, Qt::Horizontal).toString().split('\n'))
                    QVERIFY2(h->sectionSize(c) >= h->fontMetrics().horizontalAdvance(line) + 8,
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
    void sentencesInEveryLanguage()
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

    void keyboardHabits()
    {
        openByShortcut();
        QTest::keyClicks(sel->dutyEd, QStringLiteral("40"));
        const QList<QWidget *> order = {sel->maxSeriesEd,  sel->maxParallelEd, sel->typeBoxes[0], sel->typeBoxes[1],
                                        sel->typeBoxes[2], sel->typeBoxes[3],  sel->typeBoxes[4], sel->dpShellEd,
                                        sel->dpSpiralEd,   sel->table,         sel->applyButton,  sel->closeButton};
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
};

QTEST_MAIN(TestSelectionWindow)
#include "test_selectionwindow.moc"
