// The main window's design tools in the program's wiring, driven through
// their widgets and the main window's: the fouling resistance (its text on
// the grid, its dialog, its mark on the schematic) in test_fouling.cpp, and
// "Reach a value…" in test_reachdialog.cpp.
#pragma once

#include "app/windows.h"
#include "languages/languages.h"
#include "platform/platform.h"
#include "rating/case.h"
#include "tests/gestures.h"
#include "widgets/fonts.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include <cstring>
#include <memory>
#include <string>

using gestures::activate;
using gestures::typeInto;

inline QString sep() { return platform::decimalSeparator(); }
inline std::string sepStd() { return sep().toStdString(); }
// A decimal as the user types it here.
inline QString typed(const char *s) { return QString::fromUtf8(s).replace(QLatin1Char('.'), sep()); }

// The same twelve numbers, to the bit.
inline bool sameBits(const rating::Model::ResultValues &a, const rating::Model::ResultValues &b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

class TestReachFouling : public QObject {
    Q_OBJECT

    std::unique_ptr<Windows> w;
    QStringList errors;
    platform::ErrorHandler previous;

    // ---- the user's gestures

    // A right click on a point of the main window: its context menu.
    QMenu *rightClick(QPoint at)
    {
        activate(&w->mainF);
        QTest::mousePress(w->mainF.windowHandle(), Qt::RightButton, {}, at);
        QTest::mouseRelease(w->mainF.windowHandle(), Qt::RightButton, {}, at);
        QMenu *menu = nullptr;
        const bool shown =
            QTest::qWaitFor([&menu] { return (menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())); });
        return shown ? menu : nullptr;
    }
    QMenu *rightClick(QWidget *on) { return rightClick(on->mapTo(&w->mainF, on->rect().center())); }
    // The entry of an open menu, clicked.
    void choose(QMenu *menu, QAction *a)
    {
        QVERIFY(menu && menu->actions().contains(a));
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
        QVERIFY(QTest::qWaitFor([menu] { return !menu->isVisible(); }));
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
    void openFoulingDialog()
    {
        choose(rightClick(QPoint(600, 300)), w->foulingF.openAction());
        QVERIFY(QTest::qWaitFor([this] { return w->foulingF.isVisible(); }));
        activate(&w->foulingF);
    }
    void openReachDialog(QWidget *over)
    {
        choose(rightClick(over), w->reachF.openAction());
        QVERIFY(QTest::qWaitFor([this] { return w->reachF.isVisible(); }));
        activate(&w->reachF);
    }

    // The main window shows what a fresh rating of its inputs gives.
    void expectMainWindowRates()
    {
        rating::Model fresh;
        const rating::Rating r = rating::rate(fresh, w->mainF.inputs());
        QVERIFY(r.ok());
        QVERIFY(w->mainF.resultsCurrent());
        QVERIFY(sameBits(w->mainF.resultValues(), r.values));
        const std::string d = sepStd();
        QCOMPARE(w->mainF.DPK->text(), QString::fromStdString(rating::FixedText(r.values.DPK, 3, d) + " kPa"));
        QCOMPARE(w->mainF.LbTSK->text(), QString::fromStdString(rating::FixedText(r.values.LbTSK, 2, d) + " \u00B0C"));
        QVERIFY(w->mainF.QLabel->text().endsWith(QString::fromStdString("=" + rating::FixedText(r.values.QLabel, 2, d) + " kW")));
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
        w->mainF.show();
        activate(&w->mainF);
    }
    void cleanup()
    {
        // No gesture of a test raised a message box.
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join(QLatin1Char('\n'))));
        w.reset();
    }

    // ---- the fouling resistance (test_fouling.cpp)
    void textReadsOntoTheGrid_data();
    void textReadsOntoTheGrid();
    void everyValueOfTheFieldReadsBack();
    void dialogSetsTheFoulingAndDefaultRestoresTheResults();
    void badTextIsSaidInTheDialog_data();
    void badTextIsSaidInTheDialog();
    void markLiesOnAFreePartOfTheSchematic();
    void projectCaseShowsItsFouling();

    // ---- reaching a value (test_reachdialog.cpp)
    void rightClickOnAResultChoosesIt_data();
    void rightClickOnAResultChoosesIt();
    void reachesTheTargetAndApplies();
    void foulingToReachAnOutlet();
    void noAnswerIsSaidInTheDialog();
    void followsTheLanguageList();
    void keyboardHabits();
};
