// The report page model: bands placed down the page and onto new pages,
// report images at natural size or stretched, millimetres from pixels, and
// the chart page that always holds one page.
#include "pdftools.h"
#include "platform/pdfinfo.h"
#include "printing/nyom.h"
#include "printing/projectpages.h"
#include "printing/report.h"

#include <QFile>

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QTest>

using printing::Paper;
using printing::Report;

namespace {

// A drawing as the windows record them for paper: w x h layout pixels,
// for three device pixels per layout pixel.
platform::Drawing capture(int w, int h, QColor colour = Qt::red, qreal scale = 3)
{
    return platform::Drawing::record(QSize(w, h), scale,
                                     [=](QPainter &p) { p.fillRect(QRect(0, 0, w, h), colour); });
}

printing::Image autoSized(const platform::Drawing &picture)
{
    printing::Image image;
    image.AutoSize = true;
    image.setPicture(picture);
    return image;
}

// Bands per page.
QList<int> shape(const Report &r)
{
    QList<int> out;
    for (const printing::Page &p : r.pages()) out << int(p.size());
    return out;
}

constexpr double kMm = 0.005; // the figures are given to 1/100 mm

} // namespace

class TestReport : public QObject {
    Q_OBJECT

private slots:
    void pixelsAreMillimetresAt96PerInch()
    {
        QCOMPARE(printing::pixelsToMm(96), 25.4);
        QCOMPARE(printing::pixelsToMm(480), 127.0); // whole pixels stay exact
        QVERIFY(qAbs(printing::pixelsToMm(1041) - 275.43) < kMm);
        QVERIFY(qAbs(printing::pixelsToMm(697) - 184.41) < kMm);
    }

    // The report's own example: a main window of 701 x 571 and charts of
    // 715 x 475, captured for paper, each band its image plus 40 pixels.
    void layoutExample()
    {
        Report r(Paper::a4(QPageLayout::Portrait, 100));
        const platform::Drawing shots[] = {capture(701, 571), capture(715, 475), capture(715, 475),
                                           capture(715, 475), capture(715, 475)};
        for (const platform::Drawing &shot : shots) {
            const printing::Image image = autoSized(shot);
            r.printBand(image.Height + 40, image);
        }
        QCOMPARE(shape(r), QList<int>({1, 2, 2}));

        const printing::PrintedBand &main = r.pages()[0][0];
        QVERIFY(qAbs(main.band.height() - 161.66) < kMm);
        QCOMPARE(main.band.topLeft(), QPointF(10, 10));
        QCOMPARE(main.band.width(), 190.0);
        // The drawing lays out by its size in layout pixels.
        QVERIFY(qAbs(main.image.width() - printing::pixelsToMm(701)) < 1e-9);
        QVERIFY(qAbs(main.image.height() - printing::pixelsToMm(571)) < 1e-9);

        for (int page = 1; page < 3; ++page) {
            const printing::Page &p = r.pages()[page];
            QVERIFY(qAbs(p[0].band.height() - 136.26) < kMm);
            QCOMPARE(p[0].band.top(), 10.0);
            QCOMPARE(p[1].band.top(), p[0].band.bottom()); // directly below
            QVERIFY(p[1].band.bottom() <= 287.0);
        }
    }

    void paging_data()
    {
        QTest::addColumn<int>("length"); // paper length, tenths of mm; margins 10 mm
        QTest::addColumn<QList<int>>("bands"); // heights, pixels
        QTest::addColumn<QList<int>>("shape");
        QTest::addColumn<QList<double>>("tops"); // of every band, mm

        const int a4 = 2970, room960 = 2740; // 254 mm between the margins: 960 px
        auto mm = [](double px) { return 10 + printing::pixelsToMm(px); };
        QTest::newRow("next band does not fit") << a4 << QList<int>{600, 500} << QList<int>{1, 1}
                                                << QList<double>{10, 10};
        QTest::newRow("bands fill the page exactly") << room960 << QList<int>{480, 480, 1}
                                                     << QList<int>{2, 1} << QList<double>{10, mm(480), 10};
        QTest::newRow("one pixel too many") << room960 << QList<int>{480, 481} << QList<int>{1, 1}
                                            << QList<double>{10, 10};
        QTest::newRow("taller than a page, printed where it is")
            << a4 << QList<int>{200, 1100, 300} << QList<int>{2, 1} << QList<double>{10, mm(200), 10};
        QTest::newRow("taller than a page, first") << a4 << QList<int>{1100, 100} << QList<int>{1, 1}
                                                   << QList<double>{10, 10};
        QTest::newRow("two tall bands") << a4 << QList<int>{1100, 1100} << QList<int>{2}
                                        << QList<double>{10, mm(1100)};
    }

    void paging()
    {
        QFETCH(int, length);
        QFETCH(QList<int>, bands);
        QFETCH(QList<int>, shape);
        QFETCH(QList<double>, tops);

        Paper paper = Paper::a4(QPageLayout::Portrait, 100);
        paper.Length = length;
        Report r(paper);
        printing::Image image;
        for (int h : bands) r.printBand(h, image);
        QCOMPARE(::shape(r), shape);
        QList<double> got;
        for (const printing::Page &p : r.pages())
            for (const printing::PrintedBand &b : p) got << b.band.top();
        QCOMPARE(got.size(), tops.size());
        for (int i = 0; i < got.size(); ++i) QVERIFY2(qAbs(got[i] - tops[i]) < 1e-9, qPrintable(QString::number(i)));

        // A new run starts from an empty report.
        r.clear();
        QVERIFY(r.pages().isEmpty());
        r.printBand(10, image);
        QCOMPARE(r.pages()[0][0].band.top(), 10.0);
    }

    // What lands on paper: natural size clipped to the image's rectangle,
    // stretched to fill it, and natural size in full.
    void imagesOnPaper()
    {
        const platform::Drawing halves = platform::Drawing::record(QSize(200, 100), 3, [](QPainter &p) {
            p.setClipRect(0, 0, 10, 10); // a clip of its own, lifted again
            p.setClipping(false);
            p.fillRect(0, 0, 200, 100, Qt::blue);
            p.fillRect(0, 0, 100, 100, Qt::red);
        });

        Report r(Paper::a4(QPageLayout::Portrait, 100));
        printing::Image clipped;
        clipped.Width = 100;
        clipped.Height = 100;
        clipped.setPicture(halves);
        r.printBand(140, clipped);
        printing::Image stretched;
        stretched.Width = 400;
        stretched.Height = 50;
        stretched.Stretch = true;
        stretched.setPicture(halves);
        r.printBand(140, stretched);
        const printing::Image natural = autoSized(halves);
        QCOMPARE(QSizeF(natural.Width, natural.Height), QSizeF(200, 100));
        r.printBand(140, natural);
        QCOMPARE(shape(r), QList<int>{3});

        const QString pdf = pdftools::outputDir() + QStringLiteral("/images.pdf");
        {
            QPdfWriter writer(pdf);
            writer.setPageLayout(r.pageLayout());
            r.render(&writer, 1);
        }
        QCOMPARE(pdftools::info(pdf).pages, 1);
        const QImage page = pdftools::page(pdf, 1, 96); // one pixel per layout pixel
        QCOMPARE(page.size(), QSize(794, 1123));
        auto at = [&](double x, double y) { return page.pixelColor(int(37.8 + x), int(37.8 + y)); };
        auto near = [](QColor a, QColor b) {
            return qAbs(a.red() - b.red()) < 40 && qAbs(a.green() - b.green()) < 40 && qAbs(a.blue() - b.blue()) < 40;
        };
        const QColor red(Qt::red), blue(Qt::blue), white(Qt::white);
        // band 1: the red half only
        QVERIFY(near(at(50, 50), red));
        QVERIFY(near(at(150, 50), white));
        // band 2: both halves drawn 400 x 50
        QVERIFY(near(at(100, 140 + 25), red));
        QVERIFY(near(at(300, 140 + 25), blue));
        QVERIFY(near(at(390, 140 + 45), blue));
        QVERIFY(near(at(300, 140 + 60), white));
        QVERIFY(near(at(410, 140 + 25), white));
        // band 3: the drawing at 200 x 100 layout pixels
        QVERIFY(near(at(50, 280 + 50), red));
        QVERIFY(near(at(150, 280 + 50), blue));
        QVERIFY(near(at(210, 280 + 50), white));
        QVERIFY(near(at(150, 280 + 106), white));
    }

    // On paper a drawing stays what it was drawn as: its text is text in an
    // embedded font, its lines are vectors as sharp at 1200 dpi as at 96,
    // and no picture of pixels stands in for it.
    void drawingsReachThePdfAsVectors()
    {
        QFont font(QStringLiteral("DejaVu Sans Condensed"));
        font.setPixelSize(11);
        font.setStyleStrategy(QFont::PreferNoShaping); // as the faces lent for paper: no ligatures
        const platform::Drawing d = platform::Drawing::record(QSize(300, 60), 3, [&](QPainter &p) {
            p.fillRect(0, 0, 300, 60, Qt::white);
            p.setPen(QPen(Qt::black, 1));
            p.drawLine(QPointF(0, 40.5), QPointF(300, 40.5));
            p.setFont(font);
            p.drawText(QPointF(10, 20), QStringLiteral("Overall heat transfer coefficient 7698 W/m2°C"));
        });
        Report r(Paper::a4(QPageLayout::Portrait, 100));
        r.printBand(100, autoSized(d));
        const QString pdf = pdftools::outputDir() + QStringLiteral("/vectors.pdf");
        {
            QPdfWriter writer(pdf);
            writer.setPageLayout(r.pageLayout());
            QVERIFY(r.render(&writer, 1));
        }
        QVERIFY(pdftools::text(pdf).contains(QStringLiteral("Overall heat transfer coefficient 7698 W/m2°C")));
        const QList<pdftools::Font> fonts = pdftools::fonts(pdf);
        QCOMPARE(fonts.size(), 1);
        QCOMPARE(fonts[0].name, QStringLiteral("DejaVuSansCondensed"));
        QVERIFY(fonts[0].embedded);
        QVERIFY(pdftools::images(pdf).isEmpty());
        // The line, one layout pixel (1/96 inch) thick, 10 mm from the top
        // and 40 pixels below the band's top: 12.5 pixels at 1200 dpi with
        // edges no wider than a pixel each.
        const int top = pdftools::px(10 + printing::pixelsToMm(40), 1200);
        const QImage part = pdftools::page(pdf, 1, 1200, QRect(pdftools::px(50, 1200), top - 10, 1, 35));
        QCOMPARE(part.size(), QSize(1, 35));
        int dark = 0, grey = 0;
        for (int y = 0; y < part.height(); ++y) {
            const int g = qGray(part.pixel(0, y));
            dark += g < 64;
            grey += g >= 64 && g < 192;
        }
        QVERIFY2(dark >= 11 && dark <= 13 && grey <= 2, qPrintable(QStringLiteral("%1 dark, %2 grey").arg(dark).arg(grey)));
    }

    // The project's pages: a table of eight cases with long names fits the
    // band's width with every cell's text on paper; long notes end in an
    // ellipsis; a page break where there would be room; the PDF's title,
    // author and subject read back, also after a second update.
    void projectPages()
    {
        const int width = 718; // 190 mm
        printing::TablePage page;
        page.title = QStringLiteral("Comparison of cases");
        page.legend = QStringLiteral("Bold on a tint: differs from the first case.");
        QList<platform::TableCell> names = {{QString(), 1, true}, {QString(), 1, true}};
        for (int c = 1; c <= 8; ++c) names.append({QStringLiteral("Alternative %1 with a long name").arg(c), 1, true});
        page.table.rows.append(names);
        for (const char *caption : {"Overall heat-transfer coefficient", "Volume flow rate (Spiral side)"}) {
            QList<platform::TableCell> row = {{QString::fromLatin1(caption), 1, true}, {QStringLiteral("W/m2°C")}};
            for (int c = 1; c <= 8; ++c) row.append({QStringLiteral("116.66%1 l/min").arg(c), 1, false, true, c > 1});
            page.table.rows.append(row);
        }
        const platform::Drawing table = printing::tableDrawing(page, width);
        QCOMPARE(table.size().width(), width);

        printing::ProjectHeader header;
        header.title = QStringLiteral("Boiler house B");
        header.fields = {{QStringLiteral("Customer"), QStringLiteral("Thermo Kft.")}};
        header.notesCaption = QStringLiteral("Notes");
        for (int i = 1; i <= 12; ++i) header.notes += QStringLiteral("note line %1\n").arg(i);

        Report r(Paper::a4(QPageLayout::Portrait, 100));
        r.printBand(100, autoSized(printing::headerDrawing(header, width)));
        r.newPage();
        r.printBand(100, autoSized(table));
        QCOMPARE(shape(r), QList<int>({1, 1}));
        const QString pdf = pdftools::outputDir() + QStringLiteral("/project-pages.pdf");
        QBuffer bytes;
        bytes.open(QIODevice::WriteOnly);
        {
            QPdfWriter writer(&bytes);
            writer.setPageLayout(r.pageLayout());
            QVERIFY(r.render(&writer, 2));
        }
        const platform::DocumentInfo info = {QStringLiteral("Boiler house B"), QStringLiteral("K. Szabó"),
                                             QStringLiteral("Thermo Kft. \u2013 ENQ (2026) \\ 114")};
        QByteArray tagged = platform::withDocumentInfo(bytes.data(), info, QStringLiteral("Ventrano"));
        QVERIFY(tagged.startsWith(bytes.data())); // every byte where it was
        tagged = platform::withDocumentInfo(tagged, {QStringLiteral("Boiler house C"), info.author, info.subject},
                                            QStringLiteral("Ventrano"));
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(tagged) == tagged.size());
        file.close();
        const pdftools::Info read = pdftools::info(pdf);
        QCOMPARE(read.pages, 2);
        QCOMPARE(read.title, QStringLiteral("Boiler house C"));
        QCOMPARE(read.author, info.author);
        QCOMPARE(read.subject, info.subject);
        // Not a PDF of ours: left as it was.
        for (const QByteArray &other : {QByteArray("not a pdf"), QByteArray("%PDF-1.4\ntrailer\n<<>>\nstartxref\nx\n")})
            QCOMPARE(platform::withDocumentInfo(other, info, QStringLiteral("Ventrano")), other);

        const QString notes = pdftools::text(pdf, 1).simplified();
        QVERIFY(notes.contains(QStringLiteral("Notes: note line 1 note line 2")));
        QVERIFY(notes.contains(QStringLiteral("note line 8 \u2026")));
        QVERIFY(!notes.contains(QStringLiteral("note line 9")));
        const QString text = pdftools::text(pdf, 2, true).simplified();
        for (int c = 1; c <= 8; ++c) QVERIFY2(text.contains(QStringLiteral("116.66%1 l/min").arg(c)), qPrintable(text));
        QCOMPARE(text.count(QStringLiteral("Alternative")), 8); // the names take more lines
        QVERIFY(text.contains(QStringLiteral("Overall heat-transfer coefficient W/m2°C 116.661 l/min")));
    }

    // The chart page: one page, the chart stretched into 275.43 x 184.41 mm
    // at the margins whatever size the chart window had.
    void chartPageIsOnePage_data()
    {
        QTest::addColumn<QSize>("client");
        QTest::addColumn<qreal>("scale");
        QTest::newRow("smallest window") << QSize(352, 314) << qreal(3);
        QTest::newRow("report size") << QSize(715, 475) << qreal(3);
        QTest::newRow("start size, recorded for the screen") << QSize(723, 467) << qreal(1);
        QTest::newRow("wide and flat") << QSize(1900, 120) << qreal(3);
        QTest::newRow("tall") << QSize(400, 1400) << qreal(3);
    }

    void chartPageIsOnePage()
    {
        QFETCH(QSize, client);
        QFETCH(qreal, scale);
        printing::ChartPage page(capture(client.width(), client.height(), Qt::red, scale));
        QCOMPARE(page.pageLayout().orientation(), QPageLayout::Landscape);
        QCOMPARE(page.pageLayout().pageSize().id(), QPageSize::A4);
        for (int run = 0; run < 2; ++run) { // producing again gives the same page
            page.start();
            QCOMPARE(page.pageCount(), 0);
            int steps = 0;
            while (!page.finished() && steps < 10) {
                page.produceNext();
                ++steps;
            }
            QCOMPARE(steps, 1);
            QCOMPARE(page.pageCount(), 1);
            QCOMPARE(page.report().pages().size(), 1);
            QCOMPARE(page.report().pages()[0].size(), 1);
            const printing::PrintedBand &b = page.report().pages()[0][0];
            QVERIFY(qAbs(b.band.height() - 187.06) < kMm);
            QCOMPARE(b.image.topLeft(), QPointF(10, 10));
            QVERIFY(qAbs(b.image.width() - 275.43) < kMm);
            QVERIFY(qAbs(b.image.height() - 184.41) < kMm);
            QVERIFY(b.stretch);
            QCOMPARE(b.picture.size(), client);
        }
    }
};

QTEST_MAIN(TestReport)
#include "test_report.moc"
