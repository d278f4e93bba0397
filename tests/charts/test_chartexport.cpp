// The chart window's "Copy" and "Save...": the clipboard's image and
// table, the PNG, SVG and CSV files read back and held against the
// window's own drawing and sweep, the file dialog, failed writes and the
// menu texts in every language. The same program runs a second time with a
// comma as the regional decimal separator.
#include "charts/export.h"
#include "charts/grTerfKop.h"
#include "widgets/NumEdit.h"
#include "mainwindow/main.h"
#include "platform/platform.h"
#include "tests/filesize.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QXmlStreamReader>

#include <charconv>
#include <memory>

namespace {

const QColor kRed(255, 0, 0), kGreen(0, 255, 0), kBlue(0, 0, 255), kOrange(255, 128, 64);

// A number as the sweep wrote it, read back exactly.
double readDouble(const QString &text, bool *ok)
{
    const QByteArray b = text.toLatin1();
    double v = 0;
    const auto r = std::from_chars(b.constData(), b.constData() + b.size(), v);
    *ok = r.ec == std::errc() && r.ptr == b.constData() + b.size();
    return v;
}

int colourDistance(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

// Of the pixels of `drawn` in exactly colour c, the share that `other` has
// within one pixel in nearly that colour (an antialiased edge may halve it
// towards white).
double shareFound(const QImage &drawn, const QImage &other, const QColor &c)
{
    int all = 0, found = 0;
    for (int y = 1; y + 1 < drawn.height(); ++y)
        for (int x = 1; x + 1 < drawn.width(); ++x) {
            if (drawn.pixel(x, y) != c.rgb()) continue;
            ++all;
            bool near = false;
            for (int dy = -1; dy <= 1 && !near; ++dy)
                for (int dx = -1; dx <= 1 && !near; ++dx) near = colourDistance(other.pixel(x + dx, y + dy), c.rgb()) <= 140;
            found += near;
        }
    return all ? double(found) / all : 0;
}

// Mean difference of two images after a 5 x 5 box blur, 0..255.
double blurredDifference(const QImage &a, const QImage &b)
{
    const QSize small = a.size() / 5;
    const QImage sa = a.scaled(small, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage sb = b.scaled(small, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    double sum = 0;
    for (int y = 0; y < small.height(); ++y)
        for (int x = 0; x < small.width(); ++x) sum += qGray(sa.pixel(x, y)) > qGray(sb.pixel(x, y))
                                                            ? qGray(sa.pixel(x, y)) - qGray(sb.pixel(x, y))
                                                            : qGray(sb.pixel(x, y)) - qGray(sa.pixel(x, y));
    return sum / (small.width() * small.height());
}

QStringList entries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

} // namespace

class TestChartExport : public QObject {
    Q_OBJECT

    std::unique_ptr<TmainF> w;
    std::unique_ptr<TgrTerfKopF> chart;
    QStringList errors;
    platform::ErrorHandler previous;
    QString sep; // the regional decimal separator this run expects

    void typeInto(NumEdit *e, const QString &text)
    {
        QApplication::setActiveWindow(w.get());
        e->setFocus(Qt::TabFocusReason);
        e->selectAll();
        QTest::keyClicks(e, text);
    }
    void openChart(const char *button)
    {
        QTest::mouseClick(w->findChild<QToolButton *>(button), Qt::LeftButton, {}, QPoint(10, 10));
        QVERIFY(QTest::qWaitForWindowExposed(chart.get()));
        QApplication::setActiveWindow(chart.get());
        QVERIFY(QTest::qWaitForWindowActive(chart.get()));
    }
    // The language list turned by its keys, as a user may do.
    void chooseLanguage(int i)
    {
        QApplication::setActiveWindow(w.get());
        w->ComboBox1->setFocus(Qt::TabFocusReason);
        QTest::keyClick(w->ComboBox1, Qt::Key_Home);
        for (int k = 0; k < i; ++k) QTest::keyClick(w->ComboBox1, Qt::Key_Down);
        QTRY_COMPARE(w->model.Nyelv, i);
    }
    void clickMenu(QAction *a)
    {
        QMenuBar *bar = chart->menuBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(a).center());
    }
    // The next file dialog gets the filter of the given row, then the name
    // typed over the one it proposes, then Return; a question whether to
    // replace a file is answered Yes and counted.
    int replaceQuestions = 0;
    void answerSaveDialog(int filterRow, const QString &name, bool *seen)
    {
        *seen = false;
        replaceQuestions = 0;
        auto *poll = new QTimer(this);
        poll->setInterval(10);
        connect(poll, &QTimer::timeout, this, [=, this] {
            auto *d = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!d || !d->isVisible()) return;
            poll->stop();
            poll->deleteLater();
            *seen = true;
            auto *types = d->findChild<QComboBox *>("fileTypeCombo");
            auto *edit = d->findChild<QLineEdit *>("fileNameEdit");
            if (!types || !edit) {
                d->reject();
                return;
            }
            // Typing follows the names in the list only while the dialog
            // has the keyboard.
            QApplication::setActiveWindow(d);
            if (!QTest::qWaitForWindowActive(d)) {
                d->reject();
                return;
            }
            types->setFocus();
            QTest::keyClick(types, Qt::Key_Home);
            for (int k = 0; k < filterRow; ++k) QTest::keyClick(types, Qt::Key_Down);
            edit->setFocus();
            QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(edit, name);
            auto *question = new QTimer(this);
            question->setInterval(10);
            connect(question, &QTimer::timeout, this, [=, this] {
                auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
                if (!box || !box->isVisible()) return;
                question->stop();
                question->deleteLater();
                ++replaceQuestions;
                QTest::mouseClick(box->button(QMessageBox::Yes), Qt::LeftButton);
            });
            question->start();
            QTest::keyClick(edit, Qt::Key_Return);
            if (question->isActive()) {
                question->stop();
                question->deleteLater();
            }
        });
        poll->start();
    }
    // The window's own drawing and sweep, as a paint makes them.
    QImage windowDrawing()
    {
        chart->clientArea()->repaint();
        return chart->capture(1);
    }
    QString num(QString s) const { return s.replace('.', sep); }
    // The numbers of the main window's calculation state: what a sweep
    // overwrites as it goes, and the results shown.
    static QList<double> stateOf(const rating::Model &m)
    {
        const rating::Model::ResultValues &v = m.Values;
        return {double(m.Tipus), double(m.Soros), double(m.Parh), m.tkb, m.tkk, m.tsb, m.tsk, m.Vk, m.Vs, m.MVk,
                m.MVs, m.K, m.tkm, m.tsm, m.wk, m.ws, m.Q, m.Q_elozo, m.Delta_tm, m.Delta_tmin, m.Delta_tmax,
                m.Alfa_k, m.Alfa_s, m.Delta_pk, m.Delta_ps, double(m.Hiba), double(m.Passes), v.DPK, v.DPS,
                v.QLabel, v.LbTKK, v.LbTSK, v.LbTomegaramK, v.LbArsebK, v.LbHoatadK, v.LbTomegaramS, v.LbArsebS,
                v.LbHoatadS, v.LbHoatbocsT};
    }
    static QByteArray contents(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
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
        chart = std::make_unique<TgrTerfKopF>(w.get());
        attachChartWindow(*w, *chart);
        w->show();
        QApplication::setActiveWindow(w.get());
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
    }
    void cleanup()
    {
        chart.reset();
        w.reset();
    }

    void menuBesidePrintFollowsTheLanguage()
    {
        const QList<QAction *> menu = chart->menuBar()->actions();
        QCOMPARE(menu, (QList<QAction *>{chart->Print1, chart->Copy1, chart->Save1}));
        QCOMPARE(chart->Copy1->shortcut(), QKeySequence("Ctrl+C"));
        QCOMPARE(chart->Save1->shortcut(), QKeySequence("Ctrl+S"));
        const struct {
            int nyelv;
            const char *copy, *save;
        } known[] = {{1, "Copy", "Save…"}, {0, "Másolás", "Mentés…"}, {2, "Копировать", "Сохранить…"}};
        for (const auto &k : known) {
            chooseLanguage(k.nyelv);
            QCOMPARE(chart->Copy1->text(), QString::fromUtf8(k.copy));
            QCOMPARE(chart->Save1->text(), QString::fromUtf8(k.save));
            QCOMPARE(chart->Print1->text(), QString("Print"));
        }
        // Every language has words of its own for both.
        QSet<QString> copies, saves;
        for (int i = 0; i < 7; ++i) {
            chooseLanguage(i);
            QVERIFY(!chart->Copy1->text().isEmpty());
            QVERIFY(chart->Save1->text().endsWith(QChar(0x2026)));
            copies << chart->Copy1->text();
            saves << chart->Save1->text();
            QCOMPARE(chart->Print1->text(), QString("Print"));
        }
        QCOMPARE(copies.size(), 7);
        QCOMPARE(saves.size(), 7);
    }

    void copyPutsTheImageAndTheTable_data()
    {
        QTest::addColumn<int>("nyelv");
        QTest::addColumn<bool>("byMenu");
        QTest::addColumn<QString>("header");
        QTest::newRow("English, Ctrl+C")
            << 1 << false
            << "Volume flow rate in shell side [m3/h]\tTotal heat transfer [kW]\tOutlet temperature (Shell side) "
               "[°C]\tOutlet temperature (Spiral side) [°C]\tPressure drop (Shell side) [kPa]";
        QTest::newRow("Magyar, the menu bar")
            << 0 << true
            << "Térfogatáram a köpeny oldalon [m3/h]\tHőteljesítmény [kW]\tKilépő hőmérséklet (Köpeny oldal) "
               "[°C]\tKilépő hőmérséklet (Spirál oldal) [°C]\tNyomásesés (Köpeny oldal) [kPa]";
    }
    void copyPutsTheImageAndTheTable()
    {
        QFETCH(int, nyelv);
        QFETCH(bool, byMenu);
        QFETCH(QString, header);
        chooseLanguage(nyelv);
        openChart("SpeedButton2");
        QGuiApplication::clipboard()->clear();
        if (byMenu) clickMenu(chart->Copy1);
        else QTest::keyClick(chart.get(), Qt::Key_C, Qt::ControlModifier);
        const QMimeData *mime = QGuiApplication::clipboard()->mimeData();
        QVERIFY(mime && mime->hasImage() && mime->hasText() && mime->hasHtml());

        // The image: twice the client's pixels, the same chart as the
        // window's (grid rows where they are, the marker black).
        const QImage image = qvariant_cast<QImage>(mime->imageData());
        QCOMPARE(image.size(), QSize(2 * 723, 2 * 467));
        QCOMPARE(image.devicePixelRatio(), 2.0);
        QCOMPARE(qRound(image.dotsPerMeterX() * 0.0254), 192);
        const QImage screen = windowDrawing();
        const charts::ChartResult &r = chart->lastChart();
        const int xm = charts::markerX(r.g, 7, r.range);
        int markerColumns = 0;
        for (int x = 2 * xm - 2; x <= 2 * xm + 2; ++x) {
            if (image.pixel(x, 2 * r.g.y0 + 4) != qRgb(0, 0, 0)) continue;
            ++markerColumns;
            for (int y = 2 * r.g.y0 + 2; y < 2 * r.g.y1 - 2; ++y) QVERIFY(image.pixel(x, y) != qRgb(128, 128, 128));
        }
        QCOMPARE(markerColumns, 2);
        QCOMPARE(image.pixelColor(2 * (r.g.x0 - 3), 2 * r.axes.gridY(r.g, 1)), QColor(128, 128, 128));
        const QImage scaled = image.scaled(screen.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        QVERIFY2(blurredDifference(scaled, screen) < 4, qPrintable(QString::number(blurredDifference(scaled, screen))));

        // The table: a header naming each column with its unit, then one
        // row per point of the window's sweep with every digit.
        const QStringList rows = mime->text().split('\n', Qt::SkipEmptyParts);
        QCOMPARE(rows.size(), 1 + r.table.N);
        QCOMPARE(rows.first(), header);
        for (int i = 1; i <= r.table.N; ++i) {
            const QStringList cells = rows[i].split('\t');
            QCOMPARE(cells.size(), 5);
            const std::vector<double> expected = charts::dataRow(r, i);
            for (int c = 0; c < 5; ++c) {
                QVERIFY2(sep == "." || !cells[c].contains('.'), qPrintable(cells[c]));
                bool ok = false;
                QCOMPARE(readDouble(QString(cells[c]).replace(sep, "."), &ok), expected[size_t(c)]);
                QVERIFY(ok);
            }
        }
        QCOMPARE(rows[9].section('\t', 0, 0), QString("7"));
        const QString html = mime->html();
        QVERIFY(html.contains("<table"));
        QCOMPARE(html.count("<tr>"), 1 + r.table.N);
        for (const QString &h : header.split('\t'))
            QVERIFY2(html.contains("<th align=\"left\">" + h.toHtmlEscaped() + "</th>"), qPrintable(h));
        QVERIFY(html.contains("<td align=\"right\">" + rows[9].section('\t', 1, 1) + "</td>"));
        QVERIFY(errors.isEmpty());
    }

    void csvHoldsTheSweepExactly_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("header");
        QTest::newRow("jacket flow") << "SpeedButton2"
                                     << "Volume flow rate in shell side [m3/h],Total heat transfer [kW],Outlet "
                                        "temperature (Shell side) [°C],Outlet temperature (Spiral side) "
                                        "[°C],Pressure drop (Shell side) [kPa]";
        QTest::newRow("coil flow") << "SpeedButton3"
                                   << "Volume flow rate in spiral side [m3/h],Total heat transfer [kW],Outlet "
                                      "temperature (Shell side) [°C],Outlet temperature (Spiral side) "
                                      "[°C],Pressure drop (Spiral side) [kPa]";
        QTest::newRow("jacket inlet") << "SpeedButton1"
                                      << "Shell side inlet temperature [°C],Total heat transfer [kW],Outlet "
                                         "temperature (Shell side) [°C],Outlet temperature (Spiral side) [°C]";
        QTest::newRow("coil inlet") << "SpeedButton4"
                                    << "Spiral side inlet temperature [°C],Total heat transfer [kW],Outlet "
                                       "temperature (Shell side) [°C],Outlet temperature (Spiral side) [°C]";
    }
    void csvHoldsTheSweepExactly()
    {
        QFETCH(QString, button);
        QFETCH(QString, header);
        typeInto(w->MVsEd, "1.3"); // a coil flow whose points have long decimals
        openChart(qPrintable(button));
        QTemporaryDir dir;
        const QString path = dir.filePath("sweep.csv");
        QVERIFY(chart->saveChart(path));
        QVERIFY(errors.isEmpty());
        windowDrawing();
        const charts::ChartResult &r = chart->lastChart();
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(f.readAll());
        QVERIFY(!text.contains('\r'));
        const QStringList lines = text.split('\n');
        QCOMPARE(lines.last(), QString()); // ends with a line break
        QCOMPARE(lines.size(), r.table.N + 2);
        QCOMPARE(lines.first(), header);
        const int columns = int(header.count(',')) + 1;
        for (int i = 1; i <= r.table.N; ++i) {
            const QStringList cells = lines[i].split(',');
            QCOMPARE(cells.size(), columns);
            const std::vector<double> expected = charts::dataRow(r, i);
            for (int c = 0; c < columns; ++c) {
                bool ok = false;
                QCOMPARE(readDouble(cells[c], &ok), expected[size_t(c)]);
                QVERIFY2(ok, qPrintable(cells[c]));
            }
            QCOMPARE(cells[0].toDouble(), r.table.at(i).x);
            if (columns == 5) QCOMPARE(expected[4], double(static_cast<long double>(r.table.at(i).dp) * 100));
        }
    }

    // A CSV file computes what it holds: from a chart window that was never
    // shown nor drawn it is the file of the same chart after a paint, and
    // neither export changes the main window's state.
    void csvNeedsNoPaint_data()
    {
        QTest::addColumn<int>("fajta");
        QTest::addColumn<QString>("button");
        QTest::newRow("jacket flow") << 1 << "SpeedButton2";
        QTest::newRow("coil flow") << 2 << "SpeedButton3";
        QTest::newRow("jacket inlet") << 3 << "SpeedButton1";
        QTest::newRow("coil inlet") << 4 << "SpeedButton4";
    }
    void csvNeedsNoPaint()
    {
        QFETCH(int, fajta);
        QFETCH(QString, button);
        typeInto(w->MVsEd, "1.3");
        QTest::keyClick(w->MVsEd, Qt::Key_Tab); // leaving the field recalculates
        QCOMPARE(w->model.MVs, 1.3);
        chart->GrafikonFajta = fajta;
        QVERIFY(!chart->isVisible());
        QTemporaryDir dir;
        const QList<double> before = stateOf(w->model);
        QVERIFY(chart->saveChart(dir.filePath("unpainted.csv")));
        QCOMPARE(stateOf(w->model), before);
        QCOMPARE(chart->lastChart().chart, 0); // nothing was drawn for it

        openChart(qPrintable(button));
        windowDrawing();
        const charts::ChartResult &r = chart->lastChart();
        QCOMPARE(r.chart, fajta);
        const QList<double> painted = stateOf(w->model);
        QVERIFY(chart->saveChart(dir.filePath("painted.csv")));
        QCOMPARE(stateOf(w->model), painted);
        const QByteArray csv = contents(dir.filePath("painted.csv"));
        QCOMPARE(contents(dir.filePath("unpainted.csv")), csv);
        QCOMPARE(csv.count('\n'), 1 + r.table.N);
        QVERIFY(errors.isEmpty());
    }

    void pngIsDrawnAfreshAt288Dpi()
    {
        openChart("SpeedButton3");
        QTemporaryDir dir;
        const QString path = dir.filePath("chart.png");
        QVERIFY(chart->saveChart(path));
        QImage png;
        QVERIFY(png.load(path, "PNG"));
        QCOMPARE(png.size(), QSize(3 * 723, 3 * 467));
        QCOMPARE(qRound(png.dotsPerMeterX() * 0.0254), 288);
        QCOMPARE(qRound(png.dotsPerMeterY() * 0.0254), 288);
        // Pixel for pixel the window's capture for paper.
        QImage paper = chart->capture(3);
        paper.setDevicePixelRatio(1);
        QCOMPARE(png.convertToFormat(QImage::Format_RGB32), paper.convertToFormat(QImage::Format_RGB32));
        // And the same chart as on screen.
        const QImage screen = windowDrawing();
        const QImage down = png.scaled(screen.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        QVERIFY(blurredDifference(down, screen) < 4);
        png.save("/tmp/ventrano-export-chart.png");
    }

    void svgIsTheWindowsDrawingInVectors_data()
    {
        QTest::addColumn<int>("nyelv");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("title");
        QTest::newRow("jacket flow, English") << 1 << "SpeedButton2" << "Volume flow rate in shell side";
        QTest::newRow("coil inlet, Magyar") << 0 << "SpeedButton4" << "Belépő hőmérséklet a spirál oldalon";
    }
    void svgIsTheWindowsDrawingInVectors()
    {
        QFETCH(int, nyelv);
        QFETCH(QString, button);
        QFETCH(QString, title);
        chooseLanguage(nyelv);
        openChart(qPrintable(button));
        chart->setClientSize(QSize(640, 420));
        QTemporaryDir dir;
        const QString path = dir.filePath("chart.svg");
        QVERIFY(chart->saveChart(path));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray svg = f.readAll();
        QFile::remove(QStringLiteral("/tmp/ventrano-export-%1.svg").arg(nyelv));
        f.copy(QStringLiteral("/tmp/ventrano-export-%1.svg").arg(nyelv));

        // Text as text, lines as paths, and no picture inside.
        QStringList texts;
        int paths = 0, images = 0;
        QXmlStreamReader xml(svg);
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement) continue;
            if (xml.name() == QLatin1String("svg")) {
                // The window's client size at 96 dpi.
                const auto mm = [&](const char *a) {
                    return qRound(xml.attributes().value(a).toString().chopped(2).toDouble() / 25.4 * 96);
                };
                QCOMPARE(xml.attributes().value("width").right(2), QLatin1String("mm"));
                QCOMPARE(QSize(mm("width"), mm("height")), QSize(640, 420));
            } else if (xml.name() == QLatin1String("text")) texts << xml.readElementText(QXmlStreamReader::IncludeChildElements);
            else if (xml.name() == QLatin1String("path") || xml.name() == QLatin1String("polyline")) ++paths;
            else if (xml.name() == QLatin1String("image")) ++images;
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(images, 0);
        QVERIFY(paths > 50);
        QVERIFY2(texts.contains(title), qPrintable(texts.join('|')));
        QVERIFY(texts.contains("kW"));
        QVERIFY(texts.contains(w->LbKopeny->text()));

        // Qt's own SVG module reads it at the window's size; drawn, it is
        // the window's drawing up to the smoothing of its edges.
        QSvgRenderer renderer(svg);
        QVERIFY(renderer.isValid());
        QCOMPARE(renderer.viewBox().width() * 420, renderer.viewBox().height() * 640);
        const QImage screen = windowDrawing();
        QImage drawn(screen.size(), QImage::Format_RGB32);
        drawn.fill(Qt::white);
        {
            QPainter p(&drawn);
            renderer.render(&p, QRectF(0, 0, 640, 420));
        }
        drawn.save(QStringLiteral("/tmp/ventrano-export-svg-%1.png").arg(nyelv));
        const bool flow = button == "SpeedButton2";
        for (const QColor &c : flow ? QList<QColor>{kRed, kGreen, kBlue, kOrange} : QList<QColor>{kRed, kGreen, kBlue}) {
            QVERIFY2(shareFound(screen, drawn, c) > 0.95, qPrintable(c.name() + QString::number(shareFound(screen, drawn, c))));
            QVERIFY2(shareFound(drawn, screen, c) > 0.95, qPrintable(c.name() + QString::number(shareFound(drawn, screen, c))));
        }
        const double same = blurredDifference(drawn, screen);
        QVERIFY2(same < 6, qPrintable(QString::number(same)));
        // The measure tells charts apart: the other flow chart is far off.
        openChart("SpeedButton3");
        const QImage other = windowDrawing();
        QVERIFY2(blurredDifference(drawn, other) > 2 * same, qPrintable(QString::number(blurredDifference(drawn, other))));
        QVERIFY(errors.isEmpty());
    }

    void saveDialogChoosesTheFormat_data()
    {
        QTest::addColumn<bool>("byMenu");
        QTest::addColumn<int>("filterRow");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
        QTest::addColumn<bool>("replaces");
        QTest::newRow("menu bar, SVG filter, no extension") << true << 1 << "chart" << "chart.svg" << false;
        QTest::newRow("Ctrl+S, PNG filter, .csv typed") << false << 0 << "data.CSV" << "data.CSV" << false;
        QTest::newRow("Ctrl+S, CSV filter, .png typed") << false << 2 << "pic.png" << "pic.png" << false;
        QTest::newRow("Ctrl+S, SVG filter, over chart.svg") << false << 1 << "chart" << "chart.svg" << true;
    }
    void saveDialogChoosesTheFormat()
    {
        QFETCH(bool, byMenu);
        QFETCH(int, filterRow);
        QFETCH(QString, typed);
        QFETCH(QString, written);
        QFETCH(bool, replaces);
        openChart("SpeedButton2");
        QTemporaryDir dir;
        if (replaces) {
            QFile old(dir.filePath(written));
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("an older file\n");
        }
        bool seen = false;
        answerSaveDialog(filterRow, dir.filePath(typed), &seen);
        if (byMenu) clickMenu(chart->Save1);
        else QTest::keyClick(chart.get(), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(seen);
        QCOMPARE(replaceQuestions, replaces ? 1 : 0);
        QCOMPARE(entries(dir.path()), QStringList{written});
        QFile f(dir.filePath(written));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray head = f.read(64);
        const QString ext = QFileInfo(written).suffix().toLower();
        if (ext == "png") QVERIFY(head.startsWith("\x89PNG"));
        else if (ext == "svg") QVERIFY(head.contains("<?xml") || head.contains("<svg"));
        else QVERIFY(head.startsWith("Volume flow rate in shell side [m3/h],"));
        QVERIFY(errors.isEmpty());
    }

    void failedWriteLeavesNothing_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("name");
        for (const char *ext : {"png", "svg", "csv"}) {
            QTest::addRow("a folder as the name, %s", ext) << "folder" << QString("chart.%1").arg(ext);
            QTest::addRow("a path under a file, %s", ext) << "file" << QString("notes.txt/chart.%1").arg(ext);
            QTest::addRow("under /proc, %s", ext) << "proc" << QString("ventrano-chart.%1").arg(ext);
            QTest::addRow("no room left midway, %s", ext) << "full" << QString("chart.%1").arg(ext);
        }
    }
    void failedWriteLeavesNothing()
    {
        QFETCH(QString, where);
        QFETCH(QString, name);
        openChart("SpeedButton1");
        QTemporaryDir dir;
        QString path = dir.filePath(name);
        if (where == "folder") QVERIFY(QDir().mkpath(path));
        if (where == "file") {
            QFile notes(dir.filePath("notes.txt"));
            QVERIFY(notes.open(QIODevice::WriteOnly));
            notes.write("a file, not a folder\n");
        }
        if (where == "proc") path = "/proc/" + name;
        const QStringList before = entries(dir.path());
        if (where == "proc") {
            // Through the dialog, as a user would pick the place.
            bool seen = false;
            answerSaveDialog(0, path, &seen);
            QTest::keyClick(chart.get(), Qt::Key_S, Qt::ControlModifier);
            QVERIFY(seen);
        } else if (where == "full") {
            // The file may grow to a few hundred bytes only: the write fails
            // part of the way through, as on a full disk.
            bool saved = true;
            {
                const FileSizeLimit limit(300);
                QVERIFY(limit.set());
                saved = chart->saveChart(path);
            }
            QVERIFY(!saved);
        } else {
            QVERIFY(!chart->saveChart(path));
        }
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.first().startsWith("The file could not be saved:\n" + QDir::toNativeSeparators(path) + "\n\n"),
                 qPrintable(errors.first()));
        // It says why.
        const QString why = errors.first().section("\n\n", 1);
        QVERIFY2(!why.isEmpty() && why != "Unknown error", qPrintable(why));
        // Nothing new beside it, and the folder is still an empty folder.
        QCOMPARE(entries(dir.path()), before);
        if (where == "folder") {
            QVERIFY(QFileInfo(path).isDir());
            QVERIFY(entries(path).isEmpty());
        } else {
            QVERIFY(!QFileInfo::exists(path));
        }
        if (where == "proc") QVERIFY(entries("/proc").filter("ventrano-chart").isEmpty());
    }
};

QTEST_MAIN(TestChartExport)
#include "test_chartexport.moc"
