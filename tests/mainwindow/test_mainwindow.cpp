// The main window as the user drives it: start, edits, recalculation,
// errors, languages, indicators and the result-table grid.
#include "assets/assets.h"
#include "widgets/LevelBar.h"
#include "widgets/NumEdit.h"
#include "widgets/fonts.h"
#include "mainwindow/main.h"
#include "platform/platform.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFontDatabase>
#include <QFontInfo>
#include <QRawFont>
#include <QStyleOptionButton>
#include <QToolButton>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include <memory>

namespace {

QStringList results(const TmainF &w)
{
    QStringList out;
    for (const widgets::Label *l : {w.DPK, w.DPS, w.QLabel, w.LbTKK, w.LbTSK, w.LbTomegaramK, w.LbArsebK,
                                       w.LbHoatadK, w.LbTomegaramS, w.LbArsebS, w.LbHoatadS, w.LbHoatbocsT})
        out << l->text();
    return out;
}

const QStringList kMarked = {"***", "***", "***", "***", "***", " ", " ", " ", " ", " ", " ", " "};

const QStringList kDefaults = {
    "98.000 kPa", "155.218 kPa", "Total heat transfer=46.37 kW", "74.15 °C", "60.09 °C", "1.89 kg/s",
    "1.33 m/s", "24194 W/m2°C", "0.28 kg/s", "2.44 m/s", "29794 W/m2°C",
    "Overall heat transfer coefficient 7698 W/m2°C"};

// What a language shows: the type caption, the start of the heat-duty line
// and the character set of the labels and the check box.
struct Shown {
    const char *tipus, *heatDuty;
    int charset;
};
const Shown kShown[] = {
    {"Tipus", "Hőteljesítmény=", 1},          {"Type", "Total heat transfer=", 1},
    {"тип", "тепловая мощность=", 204},       {"Typ", "Tepelný výkon=", 1},
    {"Typ", "Gesamte wärmetübertragung=", 1}, {"Tip", "Putere calorică=", 1},
    {"Tipo", "Trasferimento totale di calore=", 1},
};

QColor arrowPixel(TmainF &w, int arrow)
{
    const QPoint inside[4] = {{50, 122}, {640, 122}, {50, 384}, {393, 450}};
    return w.Image1->picture().pixelColor(inside[arrow - 1]);
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<TmainF> w;
    QStringList errors;
    platform::ErrorHandler previous;

    // Types into a field from the keyboard, as the user does: focus, select
    // all, keys.
    void typeInto(NumEdit *e, const QString &text)
    {
        e->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        e->selectAll();
        QTest::keyClicks(e, text);
    }
    void leave(QWidget *from) { QTest::keyClick(from, Qt::Key_Tab); }

    // The texts, the list entry and the character set agree on language i.
    void expectLanguage(int i)
    {
        QCOMPARE(w->ComboBox1->currentIndex(), i);
        QCOMPARE(w->model.Nyelv, i);
        QCOMPARE(w->LbTipus->text(), QString(kShown[i].tipus));
        QVERIFY2(w->QLabel->text().startsWith(kShown[i].heatDuty), qPrintable(w->QLabel->text()));
        QCOMPARE(fonts::charset(w->LbTKK), kShown[i].charset);
        QCOMPARE(fonts::charset(w->CbPwc), kShown[i].charset);
    }

    // Drops the language list down, with a click or with Alt+Down.
    QAbstractItemView *openLanguageList(bool keys)
    {
        if (keys) {
            w->ComboBox1->setFocus(Qt::TabFocusReason);
            QTest::keyClick(w->ComboBox1, Qt::Key_Down, Qt::AltModifier);
        } else {
            QTest::mouseClick(w->ComboBox1, Qt::LeftButton);
        }
        QAbstractItemView *view = w->ComboBox1->view();
        return QTest::qWaitFor([view] { return view->isVisible(); }) ? view : nullptr;
    }

    // Chooses entry `row` in the open list: a click on the entry itself, or
    // arrow keys and Return. The list ignores a button release within the
    // double-click interval after it opened, so the click waits that long.
    void chooseEntry(QAbstractItemView *view, int row, bool keys)
    {
        if (keys) {
            const int from = view->currentIndex().row();
            for (int i = from; i < row; ++i) QTest::keyClick(view, Qt::Key_Down);
            for (int i = from; i > row; --i) QTest::keyClick(view, Qt::Key_Up);
            QTest::keyClick(view, Qt::Key_Return);
            return;
        }
        QTest::qWait(QApplication::doubleClickInterval() + 100);
        const QPoint at = view->visualRect(view->model()->index(row, 0)).center();
        QTest::mouseMove(view->viewport(), at);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    }

    // One wheel step (delta 120 up, -120 down) with the pointer over target.
    static void wheel(QWidget *target, int delta)
    {
        const QPointF at = QRectF(target->rect()).center();
        QWheelEvent e(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &e);
    }

private slots:
    void initTestCase()
    {
        // The decimal separator of the machine's locale is the one shown.
        QLocale::setDefault(QLocale::c());
        previous = platform::setErrorHandler([this](const QString &m) { errors << m; });
    }
    void cleanupTestCase() { platform::setErrorHandler(previous); }

    void init()
    {
        errors.clear();
        w = std::make_unique<TmainF>();
        w->show();
        QApplication::setActiveWindow(w.get());
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
    }
    void cleanup() { w.reset(); }

    void startsWithTheDefaultsRated()
    {
        QCOMPARE(w->size(), QSize(701, 571));
        QCOMPARE(w->windowTitle(), QString("Hőcserélő méretezés"));
        QCOMPARE(w->ComboBox1->currentText(), QString("English"));
        QCOMPARE(w->CbTipus->currentText(), QString("VT/R-0"));
        QCOMPARE(results(*w), kDefaults);
        QCOMPARE(w->LbVARDOTORLEX->text(), QString("VARDO-TORLEX heat exchanger in couter flow (water-water)"));
        QCOMPARE(w->CbPwc->text(), QString("print with grafikon"));
        QVERIFY(!w->CbPwc->isChecked());
        QVERIFY(!w->model.Hiba);
        QCOMPARE(w->labels().size(), 33);
        QVERIFY(errors.isEmpty());
    }

    void typingMarksAndLeavingRecalculates()
    {
        typeInto(w->MVkEd, "9");
        QCOMPARE(results(*w), kMarked);
        leave(w->MVkEd);
        QCOMPARE(w->model.MVk, 9.0);
        QVERIFY(!w->model.Hiba);
        QVERIFY(w->QLabel->text().startsWith("Total heat transfer="));
        QCOMPARE(w->LbTomegaramK->text(), QString("2.43 kg/s"));
        QVERIFY(errors.isEmpty());
    }

    void countsAreTruncated()
    {
        typeInto(w->SorosEd, "2.7");
        leave(w->SorosEd);
        QCOMPARE(w->model.Soros, 2);
        QCOMPARE(w->DPK->text(), QString("196.000 kPa"));
    }

    void zeroBranchesIsADivisionByZero()
    {
        typeInto(w->ParhEd, "0.5");
        leave(w->ParhEd);
        QCOMPARE(errors, QStringList{"Floating point division by zero"});
        QCOMPARE(w->model.Parh, 0);
        QCOMPARE(results(*w), kMarked);
        // A cold jacket inlet would turn bar 3 and arrow 3 blue, but the
        // error cuts the run short before the indicators are updated.
        typeInto(w->tkbEd, "30"); // leaving MVsEd for it rates (and fails) once more
        errors.clear();
        leave(w->tkbEd);
        QCOMPARE(errors, QStringList{"Floating point division by zero"});
        QCOMPARE(w->model.tkb, 30.0);
        QCOMPARE(w->JvXPProgressBar3->barColorFrom(), QColor(Qt::red));
        QCOMPARE(w->JvXPProgressBar3->position(), 80);
        QCOMPARE(arrowPixel(*w, 3), QColor(Qt::red));
        // The program goes on: a sound input rates again.
        errors.clear();
        typeInto(w->ParhEd, "1");
        leave(w->ParhEd);
        QVERIFY(errors.isEmpty());
        QVERIFY(w->QLabel->text().startsWith("Total heat transfer="));
        QCOMPARE(arrowPixel(*w, 3), QColor(Qt::blue));
    }

    void failedChecksKeepTheMarks_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("dropsShown");
        QTest::newRow("no jacket flow") << "MVkEd" << "0" << false;
        QTest::newRow("no coil flow") << "MVsEd" << "0" << false;
        QTest::newRow("equal inlets") << "tsbEd" << "80" << true;
    }
    void failedChecksKeepTheMarks()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(bool, dropsShown);
        auto *e = w->findChild<NumEdit *>(field);
        QVERIFY(e);
        typeInto(e, text);
        leave(e);
        QVERIFY(w->model.Hiba);
        QStringList want = kMarked;
        if (dropsShown) want[0] = "98.000 kPa", want[1] = "155.218 kPa";
        QCOMPARE(results(*w), want);
        // A click on the picture without an edit keeps what is shown.
        QTest::mouseClick(w->Image1, Qt::LeftButton, {}, QPoint(300, 200));
        QCOMPARE(results(*w), want);
        QVERIFY(errors.isEmpty());
    }

    void pictureClickRecalculatesWhileEditing()
    {
        typeInto(w->MVsEd, "2");
        QCOMPARE(results(*w), kMarked);
        QTest::mouseClick(w->Image1, Qt::LeftButton, {}, QPoint(300, 200));
        QCOMPARE(w->model.MVs, 2.0);
        QVERIFY(w->LbTSK->text().endsWith("°C"));
    }

    void sameLanguageAgainRecalculatesWithInputsKept()
    {
        typeInto(w->MVkEd, "9");
        QCOMPARE(results(*w), kMarked);
        w->ComboBox1CloseUp();
        QCOMPARE(w->model.MVk, 9.0);
        QCOMPARE(w->LbTomegaramK->text(), QString("2.43 kg/s"));
        QCOMPARE(w->LbTipus->text(), QString("Type"));
    }

    void languagesAndTheChartWindowFont()
    {
        QWidget chart;
        chart.setFont(fonts::sansSerif(8));
        fonts::setPointSize(&chart, 8);
        w->setChartWindow(&chart);

        w->ComboBox1->setCurrentIndex(2); // RUS
        w->ComboBox1CloseUp();
        QCOMPARE(w->LbTipus->text(), QString("тип"));
        QVERIFY(w->QLabel->text().startsWith("тепловая мощность="));
        QCOMPARE(fonts::charset(w->LbTKK), 204);
        QCOMPARE(fonts::charset(w->CbPwc), 204);
        QCOMPARE(fonts::charset(&chart), 204);
        QCOMPARE(fonts::pointSize(&chart), 7);

        w->ComboBox1->setCurrentIndex(1); // English
        w->ComboBox1CloseUp();
        for (const widgets::Label *l : w->labels()) {
            for (QChar c : l->text()) QVERIFY2(c.script() != QChar::Script_Cyrillic, qPrintable(l->objectName()));
            QCOMPARE(fonts::charset(l), 1);
        }
        QCOMPARE(w->CbPwc->text(), QString("print with grafikon"));
        QCOMPARE(fonts::charset(&chart), 1);
        QCOMPARE(fonts::pointSize(&chart), 7); // sizes are never set back
        QCOMPARE(results(*w), kDefaults);

        w->ComboBox1->setCurrentIndex(5); // Romanian: trailing blank kept
        w->ComboBox1CloseUp();
        QCOMPARE(w->LbBelhomS->text(), QString("Temperatura de intrare "));
        w->setChartWindow(nullptr);
    }

    // "Magyar" then "RUS": each choice shows its own language at once, not
    // the one chosen before it.
    void languageChosenInTheListIsApplied_data()
    {
        QTest::addColumn<bool>("keys");
        QTest::newRow("click on the entry") << false;
        QTest::newRow("arrow keys and Return") << true;
    }
    void languageChosenInTheListIsApplied()
    {
        QFETCH(bool, keys);
        for (int row : {0, 2, 1}) {
            QAbstractItemView *view = openLanguageList(keys);
            QVERIFY(view);
            chooseEntry(view, row, keys);
            QVERIFY(!view->isVisible());
            expectLanguage(row);
            if (QTest::currentTestFailed()) return;
        }
        QCOMPARE(results(*w), kDefaults);
        QVERIFY(errors.isEmpty());
    }

    // Esc closes the list without a choice: the entry stays, and the
    // language is applied again all the same.
    void escapeAppliesTheCurrentLanguageAgain()
    {
        QAbstractItemView *view = openLanguageList(false);
        QVERIFY(view);
        QTest::keyClick(view, Qt::Key_Down); // "RUS" highlighted, not chosen
        w->LbTipus->setCaption("stale");
        w->LbKopeny->setCaption("stale");
        QTest::keyClick(view, Qt::Key_Escape);
        QVERIFY(!view->isVisible());
        QTRY_COMPARE(w->LbTipus->text(), QString("Type"));
        QCOMPARE(w->LbKopeny->text(), QString("Shell side"));
        expectLanguage(1);
        QCOMPARE(results(*w), kDefaults);
    }

    // Keys and the wheel on the focused, closed language list change the
    // entry; the texts follow at once.
    void languageChangedWithoutTheListIsApplied_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("wheelDelta");
        QTest::addColumn<int>("language");
        QTest::newRow("Down") << int(Qt::Key_Down) << 0 << 2;
        QTest::newRow("Up") << int(Qt::Key_Up) << 0 << 0;
        QTest::newRow("Home") << int(Qt::Key_Home) << 0 << 0;
        QTest::newRow("End") << int(Qt::Key_End) << 0 << 6;
        QTest::newRow("wheel down") << 0 << -120 << 2;
        QTest::newRow("wheel up") << 0 << 120 << 0;
    }
    void languageChangedWithoutTheListIsApplied()
    {
        QFETCH(int, key);
        QFETCH(int, wheelDelta);
        QFETCH(int, language);
        w->ComboBox1->setFocus(Qt::TabFocusReason);
        if (key) QTest::keyClick(w->ComboBox1, Qt::Key(key));
        else wheel(w->ComboBox1, wheelDelta);
        QVERIFY(!w->ComboBox1->view()->isVisible());
        expectLanguage(language);
    }

    // Over an unfocused list the wheel does nothing; over the focused one it
    // turns the entry, which marks the results (or applies the language).
    void wheelTurnsOnlyTheFocusedList_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("delta");
        QTest::addColumn<int>("turnedTo");
        QTest::newRow("type") << "CbTipus" << -120 << 1;
        QTest::newRow("coil flow unit") << "CbMVs" << 120 << 0;
        QTest::newRow("jacket flow unit") << "CbMVk" << 120 << 0;
        QTest::newRow("language") << "ComboBox1" << -120 << 2;
    }
    void wheelTurnsOnlyTheFocusedList()
    {
        QFETCH(QString, list);
        QFETCH(int, delta);
        QFETCH(int, turnedTo);
        auto *cb = w->findChild<QComboBox *>(list);
        QVERIFY(cb);
        const int before = cb->currentIndex();
        w->SorosEd->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        wheel(cb, delta);
        QCOMPARE(cb->currentIndex(), before);
        QCOMPARE(results(*w), kDefaults);
        expectLanguage(1);

        cb->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        wheel(cb, delta);
        QCOMPARE(cb->currentIndex(), turnedTo);
        if (cb == w->ComboBox1) {
            expectLanguage(turnedTo);
            return;
        }
        QCOMPARE(results(*w), kMarked);
        leave(cb);
        QVERIFY(errors.isEmpty());
        QVERIFY(!w->model.Hiba);
        QVERIFY(w->QLabel->text().startsWith("Total heat transfer="));
        QVERIFY(w->QLabel->text() != kDefaults[2]);
    }

    // Dropping a list down is not leaving it. A click on a list while a
    // field holds a count of 0 reports the field's fault once; the list's
    // own drop-down rates nothing; leaving the list rates again.
    void openingAListIsNoLeaving()
    {
        typeInto(w->ParhEd, "0");
        QAbstractItemView *view = w->CbMVk->view();
        QTest::mouseClick(w->windowHandle(), Qt::LeftButton, {}, w->CbMVk->mapTo(w.get(), w->CbMVk->rect().center()));
        QVERIFY(QTest::qWaitFor([view] { return view->isVisible(); }));
        QCOMPARE(errors, QStringList{"Floating point division by zero"});
        QTest::keyClick(view, Qt::Key_Escape);
        QVERIFY(QTest::qWaitFor([view] { return !view->isVisible(); }));
        QCOMPARE(QApplication::focusWidget(), w->CbMVk);

        errors.clear();
        QTest::keyClick(w->CbMVk, Qt::Key_Down, Qt::AltModifier);
        QVERIFY(QTest::qWaitFor([view] { return view->isVisible(); }));
        QTest::keyClick(view, Qt::Key_Escape);
        QVERIFY(QTest::qWaitFor([view] { return !view->isVisible(); }));
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join(", ")));
        leave(w->CbMVk);
        QCOMPARE(errors, QStringList{"Floating point division by zero"});
    }

    // A field left with text that is no number keeps the focus and says so
    // once; the list clicked meanwhile never had the focus, so nothing is
    // rated for leaving it.
    void listClickedFromAFieldWithNoNumberRatesNothing()
    {
        typeInto(w->MVkEd, "1.");
        QTest::keyClick(w->MVkEd, Qt::Key_Home);
        QTest::keyClick(w->MVkEd, Qt::Key_Delete);
        QCOMPARE(w->MVkEd->text(), QString("."));
        QTest::mouseClick(w->windowHandle(), Qt::LeftButton, {}, w->CbMVs->mapTo(w.get(), w->CbMVs->rect().center()));
        QTRY_COMPARE(errors, QStringList{"'.' is not a valid floating point value"});
        QCOMPARE(QApplication::focusWidget(), w->MVkEd);
        QCOMPARE(w->model.MVk, 7.0);
        QCOMPARE(results(*w), kMarked);
    }

    // The Russian title is wider than its rectangle and starts at its left
    // edge x = 240, under the check box (112..272), which hides it there.
    void checkBoxCoversTheTitleStart()
    {
        w->ComboBox1->setFocus(Qt::TabFocusReason);
        QTest::keyClick(w->ComboBox1, Qt::Key_Down);
        expectLanguage(2);
        QVERIFY(w->LbVARDOTORLEX->sizeHint().width() > w->LbVARDOTORLEX->width());
        QStyleOptionButton opt;
        opt.initFrom(w->CbPwc);
        const int captionEnd = w->CbPwc->x() +
                               w->style()->subElementRect(QStyle::SE_CheckBoxContents, &opt, w->CbPwc).left() +
                               w->CbPwc->fontMetrics().horizontalAdvance(w->CbPwc->text());
        QVERIFY2(captionEnd < 240, "the check box's own caption reaches into the title");

        const QImage img = w->grab().toImage();
        const QRect box = w->CbPwc->geometry();
        const QColor navy(0, 0, 128);
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = 240; x <= box.right(); ++x)
                QVERIFY2(img.pixelColor(x, y) == navy, qPrintable(QString("title shows at %1,%2").arg(x).arg(y)));
        int titleRightOfBox = 0;
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.right() + 1; x < box.right() + 30; ++x) titleRightOfBox += img.pixelColor(x, y) == Qt::white;
        QVERIFY(titleRightOfBox > 20);
    }

    // The tick of "print with grafikon" shows dark in its white box, while
    // the caption beside it is white on the navy bar.
    void reportCheckBoxShowsItsTick()
    {
        QStyleOptionButton opt;
        opt.initFrom(w->CbPwc);
        const QRect indicator =
            w->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &opt, w->CbPwc).translated(w->CbPwc->pos());
        auto dark = [&] {
            const QImage img = w->Panel4->grab().toImage();
            int n = 0;
            for (int y = indicator.top(); y <= indicator.bottom(); ++y)
                for (int x = indicator.left(); x <= indicator.right(); ++x) n += qGray(img.pixel(x, y)) < 80;
            return n;
        };
        const int unticked = dark();
        QTest::mouseClick(w->CbPwc, Qt::LeftButton, {}, w->CbPwc->rect().center());
        QVERIFY(w->CbPwc->isChecked());
        QVERIFY2(dark() > unticked + 10, qPrintable(QString("%1 -> %2").arg(unticked).arg(dark())));
    }

    // The faces the labels resolve to: the loaded "MS Sans Serif" and
    // "Tahoma", and the condensed stand-in for large bold text. A missing
    // face is taken silently by the font engine and only widens the text.
    void labelsUseTheirFaces_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("family");
        QTest::addColumn<bool>("bold");
        QTest::newRow("caption") << "LbSoros" << "MS Sans Serif" << false;
        QTest::newRow("8 pt bold") << "LbTKK" << "Tahoma" << true;
        QTest::newRow("title, 7 pt bold") << "LbVARDOTORLEX" << "Tahoma" << true;
        QTest::newRow("Tahoma mark") << "Label4" << "Tahoma" << false;
        QTest::newRow("bold Tahoma mark") << "Label9" << "DejaVu Sans Condensed" << true;
        QTest::newRow("heat duty, 10 pt bold") << "QLabel" << "DejaVu Sans Condensed" << true;
        QTest::newRow("coil outlet, 10 pt bold") << "LbTSK" << "DejaVu Sans Condensed" << true;
    }
    void labelsUseTheirFaces()
    {
        QFETCH(QString, label);
        QFETCH(QString, family);
        QFETCH(bool, bold);
        auto *l = w->findChild<widgets::Label *>(label);
        QVERIFY(l);
        const QFontInfo info(l->font());
        QCOMPARE(info.family(), family);
        QCOMPARE(info.bold(), bold);
    }

    // Every letter of the Russian texts is in the face that draws it, so
    // none is left to whatever face the font engine would pick instead.
    void russianTextsHaveTheirGlyphs()
    {
        w->ComboBox1->setFocus(Qt::TabFocusReason);
        QTest::keyClick(w->ComboBox1, Qt::Key_Down);
        expectLanguage(2);
        QList<std::pair<const QWidget *, QString>> shown;
        for (const widgets::Label *l : w->labels()) shown.append({l, l->text()});
        shown.append({w->CbPwc, w->CbPwc->text()});
        for (const auto &[c, text] : shown) {
            const QRawFont face = QRawFont::fromFont(c->font(), QFontDatabase::Cyrillic);
            for (QChar ch : text)
                QVERIFY2(face.supportsCharacter(ch),
                         qPrintable(c->objectName() + ": no '" + ch + "' in " + face.familyName()));
        }
    }

    void indicatorsFollowThe37DegreeRule_data()
    {
        QTest::addColumn<QString>("tkb");
        QTest::addColumn<QString>("tsb");
        QTest::addColumn<QColor>("c3");
        QTest::addColumn<QColor>("c2");
        QTest::newRow("defaults") << "80" << "20" << QColor(Qt::red) << QColor(Qt::blue);
        QTest::newRow("exactly 37 is blue") << "37" << "20" << QColor(Qt::blue) << QColor(Qt::blue);
        QTest::newRow("37.01 is red") << "37.01" << "90" << QColor(Qt::red) << QColor(Qt::red);
    }
    void indicatorsFollowThe37DegreeRule()
    {
        QFETCH(QString, tkb);
        QFETCH(QString, tsb);
        QFETCH(QColor, c3);
        QFETCH(QColor, c2);
        typeInto(w->tkbEd, tkb);
        typeInto(w->tsbEd, tsb);
        leave(w->tsbEd);
        QVERIFY(errors.isEmpty());
        QCOMPARE(w->JvXPProgressBar3->barColorFrom(), c3);
        QCOMPARE(w->JvXPProgressBar3->barColorTo(), c3);
        QCOMPARE(w->JvXPProgressBar2->barColorFrom(), c2);
        QCOMPARE(arrowPixel(*w, 3), c3);
        QCOMPARE(arrowPixel(*w, 2), c2);
        QCOMPARE(w->JvXPProgressBar3->position(), int(tkb.toDouble()));
        QCOMPARE(arrowPixel(*w, 1), TmainF::indicatorColor(w->model.tkk));
        QCOMPARE(arrowPixel(*w, 4), TmainF::indicatorColor(w->model.tsk));
    }

    void arrowOutsideOneToFourDrawsNothing()
    {
        const QImage before = w->Image1->picture();
        w->NYIL(0, Qt::green);
        w->NYIL(5, Qt::green);
        QCOMPARE(w->Image1->picture(), before);
    }

    void gridIsRedrawnOnEveryRepaint()
    {
        w->repaint();
        const QImage img = w->grab().toImage();
        img.save(QDir::temp().filePath(QStringLiteral("mainwindow-grab.png")));
        const QColor grey(128, 128, 128);
        for (QPoint p : {QPoint(300, 488), QPoint(300, 503), QPoint(100, 548), QPoint(300, 563),
                         QPoint(150, 500), QPoint(550, 525), QPoint(0, 530), QPoint(700, 530)})
            QCOMPARE(img.pixelColor(p), grey);
        QCOMPARE(img.pixelColor(100, 495), QColor(206, 255, 255));
        QCOMPARE(img.pixelColor(100, 567), QColor(206, 255, 255));
        QCOMPARE(img.pixelColor(700, 100), QColor(128, 255, 255)); // panel strip right of the picture
        QCOMPARE(img.pixelColor(300, 10), QColor(0, 0, 128));      // title bar
    }

    // A capture for paper (three device pixels per layout pixel) draws the
    // schematic afresh from its drawing, with the arrows as polygons in their
    // colours, and the labels with scalable faces; the fonts come back after.
    void captureForPaperIsDrawnAfresh()
    {
        const QFont before = w->LbTKK->font();
        QImage fine;
        {
            const fonts::ScalableFaces faces(w.get());
            fine = platform::captureClient(w.get(), 3);
        }
        QCOMPARE(w->LbTKK->font(), before);
        QCOMPARE(fine.size(), QSize(3 * 701, 3 * 571));
        // The coil in the exchanger, where nothing lies over the picture:
        // the very pixels of the drawing at that resolution, not the screen
        // picture enlarged.
        const QImage drawing = assets::schematic(3);
        const QRect coil(3 * 362, 3 * 190, 3 * 40, 3 * 120);
        long differing = 0, enlarged = 0;
        const QImage screen = w->Image1->picture();
        for (int y = coil.top(); y <= coil.bottom(); ++y)
            for (int x = coil.left(); x <= coil.right(); ++x) {
                differing += fine.pixel(x, y) != drawing.pixel(x, y);
                enlarged += screen.pixel(x / 3, y / 3) != drawing.pixel(x, y);
            }
        QCOMPARE(differing, 0L);
        QVERIFY(enlarged > 500); // what an enlarged screen picture would have missed
        // Arrow 3 (red at the defaults), its inside and its tip.
        QCOMPARE(fine.pixelColor(3 * 50, 3 * 384), QColor(Qt::red));
        QCOMPARE(fine.pixelColor(3 * 64, 3 * 384), QColor(Qt::red));
    }

    void keyboardOrder()
    {
        const QList<QWidget *> order = {w->CbTipus, w->SorosEd, w->ParhEd, w->MVsEd, w->CbMVs, w->tsbEd,
                                        w->CbMVk,   w->MVkEd,   w->tkbEd,  w->ComboBox1, w->CbPwc};
        w->CbTipus->setFocus(Qt::OtherFocusReason);
        for (int i = 0; i + 1 < order.size(); ++i) {
            QCOMPARE(QApplication::focusWidget(), order[i]);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(QApplication::focusWidget(), order.last());
        QVERIFY(errors.isEmpty());
    }

    void chartButtonShowsRecalculatesThenDraws()
    {
        QStringList steps;
        connect(w.get(), &TmainF::chartWindowRequested, this, [&] { steps << "show:" + w->QLabel->text(); });
        connect(w.get(), &TmainF::chartRequested, this, [&](int f) { steps << QString("chart %1:").arg(f) + w->QLabel->text(); });
        typeInto(w->MVkEd, "9"); // still in the field: the typed text counts
        w->SpeedButton2->click();
        QCOMPARE(steps.size(), 2);
        QCOMPARE(steps[0], QString("show:***"));
        QVERIFY(steps[1].startsWith("chart 1:Total heat transfer="));
        QCOMPARE(w->model.MVk, 9.0);
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
