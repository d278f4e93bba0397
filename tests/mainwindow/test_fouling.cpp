// The fouling resistance in the main window: its text read onto the field's
// grid, "Fouling resistance…" and its dialog, and the mark on the schematic
// that shows a value other than the default.
#include "test_reach_fouling.h"

#include "assets/assets.h"
#include "mainwindow/fouling.h"
#include "rating/fields.h"
#include "widgets/controls.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>

#include <cstdlib>
#include <limits>
#include <optional>

using mainwindow::readFoulingCount;

// ---- the text

void TestReachFouling::textReadsOntoTheGrid_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QChar>("decimal");
    QTest::addColumn<QChar>("thousands");
    QTest::addColumn<bool>("number");
    QTest::addColumn<qlonglong>("count");
    const QChar point = QLatin1Char('.'), comma = QLatin1Char(','), space = QLatin1Char(' '), none;
    QTest::newRow("default") << "0.000055" << point << comma << true << 550LL;
    QTest::newRow("comma") << "0,0000555" << comma << space << true << 555LL;
    QTest::newRow("point in a comma locale") << "0.0000555" << comma << space << true << 555LL;
    QTest::newRow("exponent") << "5.5e-5" << point << comma << true << 550LL;
    QTest::newRow("exponent, upper case, sign") << "+55E-6" << point << comma << true << 550LL;
    QTest::newRow("smallest step") << "1e-7" << point << none << true << 1LL;
    // An eighth decimal rounds halves away from zero from the digits
    // themselves, not from a double near them.
    QTest::newRow("half a step") << "0.00000005" << point << comma << true << 1LL;
    QTest::newRow("just under half a step") << "0.0000000499999999999" << point << comma << true << 0LL;
    QTest::newRow("half of 0.0000555 and 0.0000556") << "0.00005555" << point << comma << true << 556LL;
    QTest::newRow("many digits after the step") << "0.0000555000000000000000001" << point << comma << true << 555LL;
    QTest::newRow("top of the range") << "0.01" << point << comma << true << 100000LL;
    QTest::newRow("over the range, kept for the check") << "0.0100001" << point << comma << true << 100001LL;
    QTest::newRow("negative, kept for the check") << "-0.0001" << point << comma << true << -1000LL;
    QTest::newRow("thousands dropped") << "1,000" << point << comma << true << 10000000000LL;
    QTest::newRow("thousands before the sign") << ",-0.0001" << point << comma << true << -1000LL;
    QTest::newRow("thousands in the exponent") << "1e,-5" << point << comma << true << 100LL;
    QTest::newRow("huge, held") << "1e300" << point << comma << true << 1000000000000000LL;
    QTest::newRow("zero") << "0" << point << comma << true << 0LL;
    QTest::newRow("blanks around") << "  0.0001 " << point << comma << true << 1000LL;
    QTest::newRow("empty") << "" << point << comma << false << 0LL;
    QTest::newRow("letters") << "0.0001x" << point << comma << false << 0LL;
    QTest::newRow("two points") << "0.0.1" << point << comma << false << 0LL;
}

void TestReachFouling::textReadsOntoTheGrid()
{
    QFETCH(QString, text);
    QFETCH(QChar, decimal);
    QFETCH(QChar, thousands);
    QFETCH(bool, number);
    QFETCH(qlonglong, count);
    numfield::Separators s;
    s.decimal = decimal, s.thousands = thousands;
    const std::optional<long long> got = readFoulingCount(text, s);
    QCOMPARE(got.has_value(), number);
    if (number) QCOMPARE(*got, count);
}

// Each of the field's 100001 values: its text reads back as its count, and
// that count's value is the double the text means (the one strtod reads).
void TestReachFouling::everyValueOfTheFieldReadsBack()
{
    numfield::Separators s;
    for (long long n = 0; n <= mainwindow::MaxFoulingCount; ++n) {
        const double v = mainwindow::foulingValue(n);
        const QString text = mainwindow::foulingText(v, QStringLiteral("."));
        const std::optional<long long> back = readFoulingCount(text, s);
        if (!back || *back != n || std::strtod(text.toLatin1().constData(), nullptr) != v)
            QFAIL(qPrintable(QStringLiteral("count %1: \"%2\"").arg(n).arg(text)));
    }
    QCOMPARE(mainwindow::foulingText(rating::Rf, QStringLiteral(",")), QStringLiteral("0,000055"));
    QCOMPARE(mainwindow::foulingText(0.0000555, QStringLiteral(".")), QStringLiteral("0.0000555"));
    QCOMPARE(mainwindow::foulingText(0.01, QStringLiteral(".")), QStringLiteral("0.010000"));
}

// ---- the dialog

void TestReachFouling::dialogSetsTheFoulingAndDefaultRestoresTheResults()
{
    TmainF &m = w->mainF;
    mainwindow::FoulingDialog &d = w->foulingF;
    const rating::Model::ResultValues before = m.resultValues();
    const TmainF::ResultTexts textsBefore = m.resultTexts();
    const QImage shotBefore = m.grab().toImage();
    QCOMPARE(m.inputs().Rf, rating::Rf);
    QSignalSpy edited(&m, &TmainF::inputsEdited);

    openFoulingDialog();
    QCOMPARE(w->foulingF.openAction()->text(), QStringLiteral("Fouling resistance…"));
    QVERIFY(d.isModal());
    QCOMPARE(QApplication::focusWidget(), d.field);
    QCOMPARE(d.field->text(), typed("0.000055"));
    QCOMPARE(d.field->selectedText(), d.field->text()); // ready to be typed over
    QTest::keyClicks(d.field, typed("0.0001"));
    QTest::keyClick(d.field, Qt::Key_Return);
    QVERIFY(!d.isVisible());

    // The window rates with it, as rating::rate does, and shows it.
    QCOMPARE(m.inputs().Rf, 0.0001);
    QVERIFY(!edited.isEmpty());
    expectMainWindowRates();
    QVERIFY(m.resultValues().QLabel < before.QLabel); // more fouling, less duty
    mainwindow::FoulingMark *mark = m.findChild<mainwindow::FoulingMark *>();
    QVERIFY(mark);
    QVERIFY(mark->caption()->isVisible() && mark->value()->isVisible());
    QCOMPARE(mark->caption()->text(), QStringLiteral("Fouling resistance"));
    QCOMPARE(mark->value()->text(), QStringLiteral("Rf = %1 m²·K/W").arg(typed("0.000100")));

    // "Default" puts the default back: the results are those of before, to
    // the bit, and so is the picture of the window.
    openFoulingDialog();
    QCOMPARE(d.field->text(), typed("0.000100"));
    QTest::mouseClick(d.defaultButton, Qt::LeftButton);
    QCOMPARE(d.field->text(), typed("0.000055"));
    QTest::mouseClick(d.okButton, Qt::LeftButton);
    QVERIFY(!d.isVisible());
    QCOMPARE(m.inputs().Rf, rating::Rf);
    QVERIFY(sameBits(m.resultValues(), before));
    QCOMPARE(m.resultTexts().QLabel, textsBefore.QLabel);
    QCOMPARE(m.resultTexts().DPK, textsBefore.DPK);
    QVERIFY(!mark->caption()->isVisible() && !mark->value()->isVisible());
    QCOMPARE(m.grab().toImage(), shotBefore);

    // Cancel and Esc change nothing.
    openFoulingDialog();
    QTest::keyClicks(d.field, typed("0.002"));
    QTest::keyClick(d.field, Qt::Key_Escape);
    QVERIFY(!d.isVisible());
    openFoulingDialog();
    QTest::keyClicks(d.field, typed("0.002"));
    QTest::mouseClick(d.cancelButton, Qt::LeftButton);
    QVERIFY(!d.isVisible());
    QCOMPARE(m.inputs().Rf, rating::Rf);
}

void TestReachFouling::badTextIsSaidInTheDialog_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value"); // NaN: refused
    const double refused = std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("above the range") << typed("0.0100001") << refused;
    QTest::newRow("negative") << typed("-0.0001") << refused;
    QTest::newRow("no number") << QStringLiteral("abc") << refused;
    QTest::newRow("empty") << QString() << refused;
    QTest::newRow("top of the range") << typed("0.01") << 0.01;
    QTest::newRow("none") << QStringLiteral("0") << 0.0;
    QTest::newRow("exponent") << typed("2.5e-4") << 0.00025;
    QTest::newRow("eighth decimal rounds") << typed("0.00012345") << 0.0001235;
}

void TestReachFouling::badTextIsSaidInTheDialog()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    mainwindow::FoulingDialog &d = w->foulingF;
    openFoulingDialog();
    typeInto(d.field, text);
    const bool ok = !std::isnan(value);
    QCOMPARE(d.okButton->isEnabled(), ok);
    const QString range = typed("from 0 to 0.01 m²·K/W");
    QVERIFY2(d.message->text().contains(range, Qt::CaseInsensitive), qPrintable(d.message->text()));
    QCOMPARE(d.message->text().startsWith(QStringLiteral("The fouling resistance must be")), !ok);
    QCOMPARE(d.field->palette().color(QPalette::Base) != d.style()->standardPalette().color(QPalette::Base), !ok);
    // Enter takes a value and closes; it does nothing to one that is none.
    QTest::keyClick(d.field, Qt::Key_Return);
    QCOMPARE(d.isVisible(), !ok);
    QCOMPARE(w->mainF.inputs().Rf, ok ? value : rating::Rf);
    if (ok) expectMainWindowRates();
}

// ---- the mark

// The mark lies on plain background of the picture, and no label, field,
// list, bar, button or arrow of the main window reaches into it, in any
// language, with the widest value the field holds.
void TestReachFouling::markLiesOnAFreePartOfTheSchematic()
{
    TmainF &m = w->mainF;
    rating::Case c = m.inputs();
    c.Rf = 0.0000555;
    QVERIFY(m.setInputs(c));
    mainwindow::FoulingMark *mark = m.findChild<mainwindow::FoulingMark *>();
    QVERIFY(mark);
    const QImage pic = assets::schematic();
    const QPolygon arrows[4] = {
        QPolygon({{34, 122}, {70, 106}, {60, 122}, {70, 138}}),
        QPolygon({{624, 122}, {660, 106}, {650, 122}, {660, 138}}),
        QPolygon({{65, 384}, {29, 368}, {39, 384}, {29, 400}}),
        QPolygon({{377, 433}, {393, 443}, {409, 433}, {393, 469}}),
    };
    for (int language = 0; language < lang::count(); ++language) {
        chooseLanguage(language);
        QCOMPARE(mark->caption()->text(), mainwindow::foulingName(language));
        QCOMPARE(mark->value()->text(), QStringLiteral("Rf = %1 m²·K/W").arg(typed("0.0000555")));
        const QImage shot = m.grab().toImage();
        for (widgets::Label *l : {mark->caption(), mark->value()}) {
            QVERIFY(l->isVisible());
            QCOMPARE(l->parentWidget(), m.Panel1);
            QCOMPARE(fonts::charset(l), lang::language(language)->charset);
            for (QChar ch : l->text()) QVERIFY2(l->fontMetrics().inFont(ch), qPrintable(QString(ch)));
            QVERIFY(l->width() >= l->fontMetrics().horizontalAdvance(l->text()));
            // The text is drawn: dark pixels inside.
            int dark = 0;
            const QRect r = l->geometry(); // Panel1 lies at the window's origin
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x) dark += qGray(shot.pixel(x, y)) < 100;
            QVERIFY(dark > 20);
        }
        const QRect around = (mark->caption()->geometry() | mark->value()->geometry()).adjusted(-2, -2, 2, 2);
        QVERIFY(QRect(QPoint(0, 0), assets::schematicSize).contains(around));
        for (int y = around.top(); y <= around.bottom(); ++y)
            for (int x = around.left(); x <= around.right(); ++x)
                QVERIFY2(pic.pixel(x, y) == assets::schematicBackground,
                         qPrintable(QStringLiteral("picture at %1,%2 in language %3").arg(x).arg(y).arg(language)));
        for (const QPolygon &a : arrows) QVERIFY(!a.boundingRect().intersects(around));
        for (QWidget *o : m.findChildren<QWidget *>()) {
            if (o == mark->caption() || o == mark->value() || o == m.Panel1 || o == m.Image1 || !o->isVisible() ||
                o->window() != &m)
                continue;
            const QRect g(o->mapTo(&m, QPoint(0, 0)), o->size());
            QVERIFY2(!g.intersects(around), qPrintable(QStringLiteral("%1 in language %2").arg(o->objectName()).arg(language)));
        }
        // What the window shows around the mark: background only.
        for (int y = around.top(); y <= around.bottom(); ++y)
            for (int x = around.left(); x <= around.right(); ++x)
                if (!mark->caption()->geometry().contains(x, y) && !mark->value()->geometry().contains(x, y))
                    QVERIFY2(shot.pixel(x, y) == assets::schematicBackground,
                             qPrintable(QStringLiteral("shown at %1,%2 in language %3").arg(x).arg(y).arg(language)));
    }
}

// A project whose case has a fouling other than the default shows it when
// it is opened, and the window rates with it.
void TestReachFouling::projectCaseShowsItsFouling()
{
    project::Project p = w->document.project();
    p.cases[0].inputs.Rf = 0.0002;
    w->document.replace(p, QString());
    QCOMPARE(w->mainF.inputs().Rf, 0.0002);
    expectMainWindowRates();
    const mainwindow::FoulingMark *mark = w->mainF.findChild<mainwindow::FoulingMark *>();
    QVERIFY(mark->value()->isVisible());
    QCOMPARE(mark->value()->text(), QStringLiteral("Rf = %1 m²·K/W").arg(typed("0.000200")));
    // The report's picture of the window (recorded for paper) shows it.
    const QRect at = mark->caption()->geometry() | mark->value()->geometry();
    auto darkOnPaper = [this, at] {
        const fonts::ScalableFaces faces(&w->mainF);
        const platform::Drawing d = platform::recordClient(&w->mainF, 3);
        QImage img(d.size() * 3, QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter p(&img);
        p.scale(3, 3);
        d.paint(p);
        p.end();
        int dark = 0;
        for (int y = 3 * at.top(); y < 3 * (at.bottom() + 1); ++y)
            for (int x = 3 * at.left(); x < 3 * (at.right() + 1); ++x) dark += qGray(img.pixel(x, y)) < 100;
        return dark;
    };
    QVERIFY(darkOnPaper() > 200);
    // The project's case follows the window back to the default.
    rating::Case c = w->mainF.inputs();
    c.Rf = rating::Rf;
    QVERIFY(w->mainF.setInputs(c));
    QCOMPARE(w->document.project().cases[0].inputs.Rf, rating::Rf);
    QVERIFY(!mark->value()->isVisible());
    QCOMPARE(darkOnPaper(), 0);
}
