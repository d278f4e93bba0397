// "Copy results" of the main window: through its context menu and its
// shortcut, the clipboard's text and HTML in two languages, results out of
// date, inputs that cannot be rated. The same program runs a second time
// with a comma as the regional decimal separator.
#include "widgets/NumEdit.h"
#include "mainwindow/main.h"
#include "platform/platform.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <QXmlStreamReader>

#include <memory>

namespace {

// The defaults as the window shows them in English.
const char *const kDefaultsEnglish = "Type\tVT/R-0\n"
                                     "Serial\t1\n"
                                     "Paralel\t1\n"
                                     "\tShell side\t\tSpiral side\n"
                                     "Volume flow rate\t7\tm3/h\t1\tm3/h\n"
                                     "Inlet temperature\t80\t°C\t20\t°C\n"
                                     "Outlet temperature\t74.15\t°C\t60.09\t°C\n"
                                     "Pressure drop\t98.000\tkPa\t155.218\tkPa\n"
                                     "Mass flow rate\t1.89\tkg/s\t0.28\tkg/s\n"
                                     "Flow velocity\t1.33\tm/s\t2.44\tm/s\n"
                                     "Heat convection coefficient\t24194\tW/m2°C\t29794\tW/m2°C\n"
                                     "Total heat transfer\t46.37\tkW\n"
                                     "Overall heat transfer coefficient\t7698\tW/m2°C\n";

// VT/R-2, three branches of two units, 40 l/min on the coil side, 8.5 m3/h
// on the jacket side, in Hungarian.
const char *const kOtherMagyar = "Tipus\tVT/R-2\n"
                                 "Soros ágak\t2\n"
                                 "Párhuzamos\t3\n"
                                 "\tKöpeny oldal\t\tSpirál oldal\n"
                                 "Térfogatáram\t8.5\tm3/h\t40\tl/min\n"
                                 "Belépő hőmérséklet\t80\t°C\t20\t°C\n"
                                 "Kilépő hőmérséklet\t@tkk\t°C\t@tsk\t°C\n"
                                 "Nyomásesés\t@dpk\tkPa\t@dps\tkPa\n"
                                 "Tömegáram\t@mk\tkg/s\t@ms\tkg/s\n"
                                 "Áramlási sebesség\t@wk\tm/s\t@ws\tm/s\n"
                                 "Hőátadási tényező\t@ak\tW/m2°C\t@as\tW/m2°C\n"
                                 "Hőteljesítmény\t@q\tkW\n"
                                 "Hőátbocsátási tényező\t@k\tW/m2°C\n";

// The rows of an HTML table as text: cells joined by tabs, a cell of n
// columns followed by n - 1 empty ones, empty cells at a row's end left
// out; and which cells were headings.
struct HtmlTable {
    QStringList rows;
    QStringList headings;
    QString error;
};
HtmlTable readHtml(const QString &html)
{
    HtmlTable t;
    QXmlStreamReader xml(html);
    QStringList cells;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("tr")) cells.clear();
        if (xml.isStartElement() && (xml.name() == QLatin1String("td") || xml.name() == QLatin1String("th"))) {
            const bool heading = xml.name() == QLatin1String("th");
            const int span = qMax(1, xml.attributes().value("colspan").toInt());
            const QString text = xml.readElementText();
            cells << text;
            if (heading) t.headings << text;
            for (int i = 1; i < span; ++i) cells << QString();
        }
        if (xml.isEndElement() && xml.name() == QLatin1String("tr")) {
            while (!cells.isEmpty() && cells.last().isEmpty()) cells.removeLast();
            t.rows << cells.join('\t');
        }
    }
    if (xml.hasError()) t.error = xml.errorString();
    return t;
}

} // namespace

class TestResultsCopy : public QObject {
    Q_OBJECT

    std::unique_ptr<TmainF> w;
    QStringList errors;
    platform::ErrorHandler previous;
    QString sep;

    QAction *copyAction() const { return w->findChild<QAction *>("CopyResults"); }
    void typeInto(NumEdit *e, const QString &text)
    {
        QApplication::setActiveWindow(w.get());
        e->setFocus(Qt::TabFocusReason);
        e->selectAll();
        QTest::keyClicks(e, text);
    }
    void leave(QWidget *from) { QTest::keyClick(from, Qt::Key_Tab); }
    void chooseLanguage(int i)
    {
        w->ComboBox1->setFocus(Qt::TabFocusReason);
        QTest::keyClick(w->ComboBox1, Qt::Key_Home);
        for (int k = 0; k < i; ++k) QTest::keyClick(w->ComboBox1, Qt::Key_Down);
        QTRY_COMPARE(w->model.Nyelv, i);
    }
    // A right click on the schematic opens the window's context menu; the
    // entry "text" in it is clicked.
    bool copyByContextMenu(const QString &text)
    {
        bool clicked = false;
        auto *poll = new QTimer(this);
        poll->setInterval(10);
        connect(poll, &QTimer::timeout, this, [=, &clicked] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            if (!menu || !menu->isVisible()) return;
            poll->stop();
            poll->deleteLater();
            for (QAction *a : menu->actions())
                if (a->text() == text) {
                    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
                    clicked = true;
                    return;
                }
            menu->close();
        });
        poll->start();
        QTest::mouseClick(w->windowHandle(), Qt::RightButton, {}, QPoint(600, 300));
        return QTest::qWaitFor([&] { return clicked; }, 2000);
    }
    void copyByShortcut(QWidget *focus)
    {
        QTest::keyClick(focus, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    }
    // What the clipboard holds before a copy that must not change it.
    void markClipboard() { QGuiApplication::clipboard()->setText("untouched"); }
    QString num(QString s) const { return s.replace('.', sep); }

    // Text and HTML of the clipboard, held against each other.
    void expectCopied(const QString &text)
    {
        const QMimeData *mime = QGuiApplication::clipboard()->mimeData();
        QVERIFY(mime && mime->hasText() && mime->hasHtml());
        QCOMPARE(mime->text(), text);
        const HtmlTable html = readHtml(mime->html());
        QVERIFY2(html.error.isEmpty(), qPrintable(html.error));
        QCOMPARE(html.rows, text.split('\n', Qt::SkipEmptyParts));
        // The captions are headings, the numbers are not.
        for (const QString &row : text.split('\n', Qt::SkipEmptyParts)) {
            const QString first = row.section('\t', 0, 0);
            if (!first.isEmpty()) QVERIFY2(html.headings.contains(first), qPrintable(first));
            const qsizetype cells = row.count('\t') + 1;
            if (cells == 3 || cells == 5) QVERIFY(!html.headings.contains(row.section('\t', 1, 1)));
        }
    }

private slots:
    void initTestCase()
    {
        sep = qEnvironmentVariable("VENTRANO_EXPECT_SEPARATOR", ".");
        QCOMPARE(platform::decimalSeparator(), sep);
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
        QVERIFY(copyAction());
    }
    void cleanup() { w.reset(); }

    void theDefaultsInEnglish_data()
    {
        QTest::addColumn<bool>("byMenu");
        QTest::newRow("context menu") << true;
        QTest::newRow("Ctrl+Shift+C") << false;
    }
    void theDefaultsInEnglish()
    {
        QFETCH(bool, byMenu);
        QCOMPARE(copyAction()->text(), QString("Copy results"));
        QCOMPARE(copyAction()->shortcut(), QKeySequence("Ctrl+Shift+C"));
        QVERIFY(w->actions().contains(copyAction()));
        markClipboard();
        if (byMenu) QVERIFY(copyByContextMenu("Copy results"));
        else copyByShortcut(w.get());
        expectCopied(num(kDefaultsEnglish));
        // The numbers are the window's texts.
        QVERIFY(w->QLabel->text().endsWith("=" + num("46.37") + " kW"));
        QCOMPARE(w->DPS->text(), num("155.218") + " kPa");
        QVERIFY(errors.isEmpty());

        // Pasted into a document: render it and keep the picture to look at.
        QTextDocument doc;
        doc.setHtml(QGuiApplication::clipboard()->mimeData()->html());
        doc.setTextWidth(520);
        QImage page(doc.size().toSize(), QImage::Format_RGB32);
        page.fill(Qt::white);
        QPainter p(&page);
        doc.drawContents(&p);
        p.end();
        page.save(QStringLiteral("/tmp/ventrano-results-%1.png").arg(byMenu ? "menu" : "key"));
        QVERIFY(doc.toPlainText().contains("Overall heat transfer coefficient"));
    }

    void otherInputsInHungarian()
    {
        chooseLanguage(0);
        QCOMPARE(copyAction()->text(), QString("Eredmények másolása"));
        w->CbTipus->setFocus(Qt::TabFocusReason);
        QTest::keyClick(w->CbTipus, Qt::Key_Down);
        QTest::keyClick(w->CbTipus, Qt::Key_Down);
        leave(w->CbTipus);
        typeInto(w->SorosEd, "2");
        typeInto(w->ParhEd, "3");
        typeInto(w->MVsEd, "40");
        w->CbMVs->setFocus(Qt::TabFocusReason);
        QTest::keyClick(w->CbMVs, Qt::Key_Home);
        typeInto(w->MVkEd, "8.5");
        leave(w->MVkEd);
        QCOMPARE(w->CbTipus->currentText(), QString("VT/R-2"));
        QCOMPARE(w->CbMVs->currentText(), QString("l/min"));
        QVERIFY(!w->model.Hiba);
        markClipboard();
        QVERIFY(copyByContextMenu("Eredmények másolása"));
        // Each number exactly as its label shows it.
        auto number = [](const widgets::Label *l) { return l->text().section('=', -1).section(' ', -2, -2); };
        QString expected = QString::fromUtf8(kOtherMagyar).replace("8.5", num("8.5"));
        const std::pair<const char *, const widgets::Label *> shown[] = {
            {"@tkk", w->LbTKK},        {"@tsk", w->LbTSK},     {"@dpk", w->DPK},       {"@dps", w->DPS},
            {"@mk", w->LbTomegaramK}, {"@ms", w->LbTomegaramS}, {"@wk", w->LbArsebK}, {"@ws", w->LbArsebS},
            {"@ak", w->LbHoatadK},    {"@as", w->LbHoatadS},  {"@q", w->QLabel},      {"@k", w->LbHoatbocsT}};
        for (const auto &[mark, label] : shown) {
            const QString n = number(label);
            QVERIFY2(!n.isEmpty() && n.contains(QRegularExpression("^[0-9]+(" + QRegularExpression::escape(sep) +
                                                                     "[0-9]+)?$")),
                     qPrintable(label->text()));
            expected.replace(mark, n);
        }
        QVERIFY(w->QLabel->text().startsWith("Hőteljesítmény="));
        expectCopied(expected);
        QVERIFY(errors.isEmpty());
    }

    // A fouling resistance other than the default is copied with the
    // inputs, as the schematic shows it; the default adds no row (the
    // tables above).
    void foulingOtherThanTheDefault()
    {
        rating::Case c = w->inputs();
        c.Rf = 0.0001;
        QVERIFY(w->setInputs(c));
        markClipboard();
        copyByShortcut(w.get());
        const QString text = QGuiApplication::clipboard()->text();
        const QStringList rows = text.split('\n');
        const qsizetype at = rows.indexOf("Fouling resistance\t" + num("0.000100") + "\tm²·K/W");
        QVERIFY2(at > 0, qPrintable(text));
        QVERIFY(rows[at - 1].startsWith("Inlet temperature"));
        QVERIFY(errors.isEmpty());
    }

    void outOfDateResultsAreRecalculatedFirst()
    {
        // Typed, not yet left: the labels show the marks; the copy rates
        // what the field holds and copies that, never the old results.
        typeInto(w->MVkEd, "10");
        QCOMPARE(w->QLabel->text(), QString("***"));
        markClipboard();
        copyByShortcut(w->MVkEd);
        QVERIFY(w->MVkEd->hasFocus());
        QCOMPARE(w->model.MVk, 10.0);
        QVERIFY(w->QLabel->text() != "***");
        const QString q = w->QLabel->text().section('=', 1).section(' ', 0, 0);
        QVERIFY(q != num("46.37"));
        const QString text = QGuiApplication::clipboard()->text();
        QVERIFY2(text.contains("Volume flow rate\t10\tm3/h\t1\tm3/h\n"), qPrintable(text));
        QVERIFY2(text.contains("Total heat transfer\t" + q + "\tkW\n"), qPrintable(text));
        QVERIFY(!text.contains("***"));
        QVERIFY(errors.isEmpty());
    }

    void inputsThatCannotBeRated_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        const QString none = "There are no results to copy: these inputs cannot be rated (for example a flow of "
                             "zero or equal inlet temperatures).";
        QTest::newRow("zero flow") << "MVkEd" << "0" << none;
        QTest::newRow("equal inlets") << "tkbEd" << "20" << none;
        QTest::newRow("no branch: a fault") << "ParhEd" << "0.5" << "Floating point division by zero";
    }
    void inputsThatCannotBeRated()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        NumEdit *e = w->findChild<NumEdit *>(field);
        typeInto(e, typed);
        markClipboard();
        copyByShortcut(e);
        QCOMPARE(errors, QStringList{message});
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("untouched"));
        // Left as it was rated, and asked again: the same answer.
        leave(e);
        errors.clear();
        copyByShortcut(w.get());
        QCOMPARE(errors, QStringList{message});
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("untouched"));
    }

    void theEntryFollowsTheLanguage()
    {
        QSet<QString> seen;
        for (int i = 0; i < 7; ++i) {
            chooseLanguage(i);
            QVERIFY(!copyAction()->text().isEmpty());
            seen << copyAction()->text();
        }
        QCOMPARE(seen.size(), 7);
        chooseLanguage(2);
        QCOMPARE(copyAction()->text(), QString("Копировать результаты"));
        chooseLanguage(1);
        QCOMPARE(copyAction()->text(), QString("Copy results"));
    }
};

QTEST_MAIN(TestResultsCopy)
#include "test_resultscopy.moc"
