// The selection window's tests in the program's wiring: the fixture and the
// user's gestures, shared by test_selectionwindow.cpp (the button, opening,
// applying a row, languages, keyboard) and test_selectionwindow_list.cpp
// (the list and its fields, following the main window, bad input) and
// test_selectionwindow_design.cpp (the design conditions).
#pragma once

#include "tests/gestures.h"
#include "widgets/NumEdit.h"
#include "widgets/fonts.h"
#include "platform/platform.h"
#include "app/windows.h"
#include "rating/case.h"
#include "selectionwindow/EntryTable.h"
#include "selectionwindow/SelectionWindow.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using gestures::activate;
using gestures::typeInto;
using namespace selectionwindow;
using Kind = selection::Shortfall::Kind;

inline QString sep() { return platform::decimalSeparator(); }
inline std::string sepStd() { return sep().toStdString(); }
// A decimal as the user types it here.
inline QString typed(const char *s) { return QString::fromLatin1(s).replace(QLatin1Char('.'), sep()); }

// The same arrangements with the same duties.
inline bool sameList(const std::vector<selection::Entry> &a, const std::vector<selection::Entry> &b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const selection::Entry &x, const selection::Entry &y) {
        return x.Tipus == y.Tipus && x.Soros == y.Soros && x.Parh == y.Parh && x.dutyKW == y.dutyKW;
    });
}

inline bool sameArrangements(const std::vector<selection::Entry> &a, const std::vector<selection::Entry> &b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const selection::Entry &x, const selection::Entry &y) {
        return x.Tipus == y.Tipus && x.Soros == y.Soros && x.Parh == y.Parh;
    });
}

class TestSelectionWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<Windows> w;
    SelectionWindow *sel = nullptr;
    QStringList errors;
    platform::ErrorHandler previous;

    // ---- the user's gestures

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

    // ---- the button on the schematic (test_selectionwindow.cpp)
    void buttonOnAFreePartOfTheSchematic();
    void buttonPictureAsRenderedFromItsDrawing();

    // ---- opening (test_selectionwindow.cpp)
    void opensFromTheButtonTheShortcutAndTheContextMenu();

    // ---- the list (test_selectionwindow_list.cpp)
    void typedDutyListsTheEngineAnswer();
    void requirementsNarrowTheList();
    void headerSortsByNumber();

    // ---- into the main window (test_selectionwindow.cpp)
    void doubleClickApplies();
    void enterAndApplyButtonApply();
    void openChartFollowsAnApply();
    void addToProject();

    // ---- following the main window (test_selectionwindow_list.cpp)
    void followsTheMainWindowWhileItIsEdited();
    void closedWindowFollowsNothing();

    // ---- bad input (test_selectionwindow_list.cpp)
    void badInputIsSaidInTheWindow_data();
    void badInputIsSaidInTheWindow();
    void noTypeAndUnreachableDuty();

    // ---- languages (test_selectionwindow.cpp)
    void followsTheLanguageList();
    void opensInTheLanguageChosenBefore();
    void everyLanguageFits();
    void sentencesInEveryLanguage();

    // ---- keyboard (test_selectionwindow.cpp)
    void keyboardHabits();

    // ---- design conditions (test_selectionwindow_design.cpp)
    void outletInPlaceOfTheDuty();
    void outletsInPlaceOfTheFlowsGoIntoTheMainWindow();
    void designRefusalsAreSaidInTheWindow_data();
    void designRefusalsAreSaidInTheWindow();
    void foulingAndMarginInTheList();
    void addedCasesKeepTheListsFouling();
    void designConditionsSpeakTheLanguage();
    void designConditionsByKeyboard();
};
