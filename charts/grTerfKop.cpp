#include "charts/grTerfKop.h"

#include "charts/export.h"
#include "widgets/fonts.h"
#include "languages/languages.h"
#include "mainwindow/main.h"
#include "platform/platform.h"

#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QImageWriter>
#include <QKeySequence>
#include <QLayout>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QSvgGenerator>

#include <cstdlib>

namespace {

const lang::Texts kCopy = {"Másolás", "Copy", "Копировать", "Kopírovať", "Kopieren", "Copiere", "Copia"};
const lang::Texts kSave = {"Mentés…", "Save…", "Сохранить…", "Uložiť…", "Speichern…", "Salvare…", "Salva…"};
const lang::Texts kSaveFailed = {
    "A fájl nem menthető:\n%1\n\n%2",
    "The file could not be saved:\n%1\n\n%2",
    "Не удалось сохранить файл:\n%1\n\n%2",
    "Súbor sa nepodarilo uložiť:\n%1\n\n%2",
    "Die Datei konnte nicht gespeichert werden:\n%1\n\n%2",
    "Fişierul nu a putut fi salvat:\n%1\n\n%2",
    "Impossibile salvare il file:\n%1\n\n%2",
};

// Pixels per metre of an image with the given dots per inch.
int dotsPerMeter(int dpi) { return qRound(dpi / 0.0254); }

} // namespace

namespace charts {

ChartView::ChartView(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Image1"));
    setAccessibleName(QStringLiteral("Chart"));
    setAutoFillBackground(true);
    setMouseTracking(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
}

void ChartView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    emit painting(painter);
}

void ChartView::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    // The chart follows the new size before the resize returns.
    if (isVisible()) repaint();
}

void ChartView::mouseMoveEvent(QMouseEvent *e)
{
    const QString text = pointText_ ? pointText_(e->position().toPoint()) : QString();
    if (text != toolTip()) {
        setToolTip(text);
        setAccessibleDescription(text);
    }
    QWidget::mouseMoveEvent(e);
}

} // namespace charts

TgrTerfKopF::TgrTerfKopF(TmainF *mainF, QWidget *parent) : QMainWindow(parent), mainF_(mainF)
{
    setObjectName(QStringLiteral("grTerfKopF"));
    setWindowTitle(QStringLiteral("Grafikon"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFont(fonts::sansSerif(8));
    fonts::setPointSize(this, 8);
    fonts::setCharset(this, 1);

    Print1 = menuBar()->addAction(QStringLiteral("Print"));
    Print1->setObjectName(QStringLiteral("Print1"));
    connect(Print1, &QAction::triggered, this, &TgrTerfKopF::Print1Click);
    Copy1 = menuBar()->addAction(QString());
    Copy1->setObjectName(QStringLiteral("Copy1"));
    Copy1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    connect(Copy1, &QAction::triggered, this, &TgrTerfKopF::Copy1Click);
    Save1 = menuBar()->addAction(QString());
    Save1->setObjectName(QStringLiteral("Save1"));
    Save1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(Save1, &QAction::triggered, this, &TgrTerfKopF::Save1Click);
    // The two follow the language list; "Print" stays as it is.
    if (mainF_) connect(mainF_, &TmainF::languageApplied, this, &TgrTerfKopF::applyLanguage);
    applyLanguage();

    view_ = new charts::ChartView(this);
    view_->setMinimumSize(MinimumClient);
    view_->setPointText([this](const QPoint &p) { return pointText(p); });
    setCentralWidget(view_);
    connect(view_, &charts::ChartView::painting, this, &TgrTerfKopF::FormPaint);
    setClientSize(StartClient);
}

TgrTerfKopF::~TgrTerfKopF() = default;

QWidget *TgrTerfKopF::clientArea() const { return view_; }

QSize TgrTerfKopF::clientSize() const { return view_->size(); }

void TgrTerfKopF::setClientSize(const QSize &size)
{
    const QSize client = size.expandedTo(MinimumClient);
    resize(client.width(), client.height() + menuBar()->sizeHint().height());
    // Settle the client area now, so that its size holds before any paint
    // or capture, also while the window is hidden.
    if (layout()) layout()->activate();
    view_->resize(client);
}

void TgrTerfKopF::setOuterSize(int width, int height)
{
    setClientSize(QSize(width - FrameAllowance.width(), height - FrameAllowance.height()));
}

QImage TgrTerfKopF::capture(qreal scale)
{
    if (scale <= 1) return platform::captureClient(view_, scale);
    const fonts::ScalableFaces faces(this);
    return platform::captureClient(view_, scale);
}

platform::Drawing TgrTerfKopF::record()
{
    // The client area's paint straight onto the recording: its white
    // background, then the chart through the paint handler.
    const fonts::ScalableFaces faces(this);
    return platform::Drawing::record(view_->size(), 3, [this](QPainter &painter) {
        painter.fillRect(QRect(QPoint(0, 0), view_->size()), view_->palette().color(view_->backgroundRole()));
        emit view_->painting(painter);
    });
}

void TgrTerfKopF::showEvent(QShowEvent *e)
{
    QMainWindow::showEvent(e);
    if (shownBefore_) return;
    shownBefore_ = true;
    // Centred on the main window the first time it appears.
    if (!mainF_) return;
    QRect frame = frameGeometry();
    frame.moveCenter(mainF_->frameGeometry().center());
    move(frame.topLeft());
}

charts::ChartTexts TgrTerfKopF::texts() const
{
    charts::ChartTexts t;
    if (!mainF_) return t;
    const auto text = [this](lang::Target target) { return mainF_->caption(target); };
    t.SzHoteljesitmeny = text(lang::SzHoteljesitmeny);
    t.SzHocserelo = text(lang::SzHocserelo);
    t.SzTerfaramK = text(lang::SzTerfaramK);
    t.SzTerfaramS = text(lang::SzTerfaramS);
    t.SzBelhomK = text(lang::SzBelhomK);
    t.SzBelhomS = text(lang::SzBelhomS);
    t.LbKopeny = text(lang::LbKopeny);
    t.LbSpiral = text(lang::LbSpiral);
    t.LbTerfaramK = text(lang::LbTerfaramK);
    t.LbBelhomK = text(lang::LbBelhomK);
    t.LbKilhomK = text(lang::LbKilhomK);
    t.LbNyomasesesK = text(lang::LbNyomasesesK);
    const TmainF::InputTexts in = mainF_->inputTexts();
    const rating::Case c = mainF_->inputs();
    t.CbTipus = in.type;
    t.CbMVk = in.jacketUnit;
    t.CbMVs = in.coilUnit;
    t.CbMVkIndex = c.CbMVkIndex;
    t.CbMVsIndex = c.CbMVsIndex;
    return t;
}

void TgrTerfKopF::runChart()
{
    if (!mainF_ || GrafikonFajta < 1 || GrafikonFajta > 4) return;
    // Every chart text is in the window's font, whose size and character
    // set follow the interface language.
    canvas_.setFont(font());
    canvas_.setCharset(fonts::charset(this));
    const QSize size = view_->size();
    charts::drawChart(canvas_, GrafikonFajta, size.width(), size.height(), mainF_->model, texts(), &last_);
}

charts::ChartResult TgrTerfKopF::currentSweep() const
{
    charts::ChartResult r;
    if (!mainF_ || GrafikonFajta < 1 || GrafikonFajta > 4) return r;
    // The geometry a paint of the client area makes: the text height of the
    // window's font as a surface of its own measures it, without a paint.
    platform::Canvas measure;
    measure.setFont(font());
    measure.setCharset(fonts::charset(this));
    const QSize size = view_->size();
    const charts::Geometry g = charts::Geometry::make(charts::variantOf(GrafikonFajta), size.width(), size.height(),
                                                      measure.textHeight(QStringLiteral("9")));
    const charts::ChartTexts t = texts();
    rating::Model state = mainF_->model;
    try {
        charts::sweepChart(state, GrafikonFajta, charts::sweepsJacket(GrafikonFajta) ? t.CbMVkIndex : t.CbMVsIndex,
                           g, r);
        r.complete = true;
    } catch (const rating::ArithmeticError &) {
        // As the window's chart: it ends where the fault was.
    }
    return r;
}

// A chart button: the chart is swept and drawn at once (a fault reaches the
// button's handler), and the paint that follows draws the same chart.
void TgrTerfKopF::drawChart(int fajta)
{
    if (fajta < 1 || fajta > 4) return;
    GrafikonFajta = fajta;
    view_->update();
    runChart();
}

void TgrTerfKopF::Tomegaram_a_kopenyben() { drawChart(charts::JacketFlow); }
void TgrTerfKopF::Tomegaram_a_spiralban() { drawChart(charts::CoilFlow); }
void TgrTerfKopF::Homerseklet_a_kopenyben() { drawChart(charts::JacketInlet); }
void TgrTerfKopF::Homerseklet_a_spiralban() { drawChart(charts::CoilInlet); }

void TgrTerfKopF::FormPaint(QPainter &painter)
{
    platform::Canvas::Scope scope(canvas_, painter);
    try {
        runChart();
    } catch (const rating::ArithmeticError &) {
        // A fault ends this paint and keeps what was drawn; raising a
        // message here would raise another one with every repaint and every
        // step of a resize. The chart button that asked for the chart has
        // already reported it.
    }
}

QString TgrTerfKopF::pointText(const QPoint &pos) const
{
    const charts::ChartResult &r = last_;
    const int n = r.table.N;
    if (!mainF_ || r.chart == 0 || n == 0) return {};
    const charts::Geometry &g = r.g;
    if (pos.x() < g.x0 - 8 || pos.x() > g.x1 + 8 || pos.y() < g.y0 || pos.y() > g.y1) return {};
    int best = 1;
    for (int i = 2; i <= n; ++i)
        if (std::abs(charts::pointX(g, i, n) - pos.x()) < std::abs(charts::pointX(g, best, n) - pos.x())) best = i;
    const charts::Point &p = r.table.at(best);
    const charts::ChartTexts t = texts();
    const bool flow = charts::variantOf(r.chart) == charts::Variant::Flow;
    const QString title = r.chart == charts::JacketFlow ? t.SzTerfaramK
                          : r.chart == charts::CoilFlow ? t.SzTerfaramS
                          : r.chart == charts::JacketInlet ? t.SzBelhomK
                                                           : t.SzBelhomS;
    const QString unit = r.chart == charts::JacketFlow ? t.CbMVk : r.chart == charts::CoilFlow ? t.CbMVs : QStringLiteral("°C");
    auto num = [](double v, int decimals) { return QString::fromStdString(charts::FixedWidth(v, 0, decimals)); };
    QStringList lines;
    lines << QStringLiteral("%1: %2 %3").arg(title, num(p.x, flow ? 3 : 2), unit);
    lines << QStringLiteral("%1: %2 kW").arg(t.SzHoteljesitmeny, num(p.q, 2));
    lines << QStringLiteral("%1 (%2): %3 °C").arg(t.LbKilhomK, t.LbKopeny, num(p.tkk, 2));
    lines << QStringLiteral("%1 (%2): %3 °C").arg(t.LbKilhomK, t.LbSpiral, num(p.tsk, 2));
    if (flow)
        lines << QStringLiteral("%1: %2 kPa").arg(t.LbNyomasesesK,
                                                 num(static_cast<double>(static_cast<long double>(p.dp) * 100), 3));
    return lines.join(QLatin1Char('\n'));
}

void TgrTerfKopF::Print1Click()
{
    emit printRequested(record());
}

void TgrTerfKopF::applyLanguage()
{
    const int nyelv = mainF_ ? mainF_->language() : lang::DefaultLanguage;
    Copy1->setText(lang::text(kCopy, nyelv));
    Save1->setText(lang::text(kSave, nyelv));
}

void TgrTerfKopF::runChartAsPaint()
{
    try {
        runChart();
    } catch (const rating::ArithmeticError &) {
        // As in a paint: the chart stops where the fault was.
    }
}

void TgrTerfKopF::Copy1Click()
{
    if (GrafikonFajta < 1 || GrafikonFajta > 4) return;
    // The table from its own sweep, before the capture draws the chart
    // afresh (a paint sweeps the main window's state itself).
    QMimeData *mime = platform::tableMimeData(charts::dataTable(currentSweep(), texts(), platform::decimalSeparator()));
    QImage image = capture(2);
    image.setDotsPerMeterX(dotsPerMeter(192));
    image.setDotsPerMeterY(dotsPerMeter(192));
    mime->setImageData(image);
    QGuiApplication::clipboard()->setMimeData(mime);
}

void TgrTerfKopF::Save1Click()
{
    if (GrafikonFajta < 1 || GrafikonFajta > 4) return;
    const int nyelv = mainF_ ? mainF_->language() : lang::DefaultLanguage;
    QString caption = lang::text(kSave, nyelv);
    caption.remove(QChar(0x2026));
    QFileDialog dialog(this, caption);
    dialog.setObjectName(QStringLiteral("SaveChartDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    const QStringList filters = {QStringLiteral("PNG (*.png)"), QStringLiteral("SVG (*.svg)"),
                                 QStringLiteral("CSV (*.csv)")};
    dialog.setNameFilters(filters);
    const QString filter = saveFilter_.isEmpty() ? filters.first() : saveFilter_;
    dialog.selectNameFilter(filter);
    // A name typed without an extension gets the filter's before the dialog
    // asks whether to replace a file of that name.
    const auto suffixOf = [](const QString &f) {
        return f.section(QStringLiteral("*."), 1).section(QLatin1Char(')'), 0, 0);
    };
    dialog.setDefaultSuffix(suffixOf(filter));
    connect(&dialog, &QFileDialog::filterSelected, &dialog,
            [&dialog, suffixOf](const QString &f) { dialog.setDefaultSuffix(suffixOf(f)); });
    dialog.setDirectory(saveDirectory_.isEmpty() ? QDir::homePath() : saveDirectory_);
    // The chart's title as the name, with the extension of the filter.
    charts::ChartResult shown;
    shown.chart = GrafikonFajta;
    QString name = charts::dataHeader(shown, texts()).value(0);
    name = name.left(name.indexOf(QStringLiteral(" [")));
    QString withExtension = name;
    charts::fileFormat(withExtension, filter);
    dialog.selectFile(withExtension);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    saveDirectory_ = dialog.directory().absolutePath();
    saveFilter_ = dialog.selectedNameFilter();
    saveChart(dialog.selectedFiles().first(), saveFilter_);
}

void TgrTerfKopF::writeSvg(QIODevice *out)
{
    const QSize size = view_->size();
    // Drawn at twice the scale into a view box twice the size: the surface
    // then gives the one-pixel lines the width of a layout pixel, which
    // grows with the zoom as the curves do, rather than hairlines of the
    // screen. The coordinates in the file stay those of the layout.
    constexpr int k = 2;
    QSvgGenerator svg;
    svg.setOutputDevice(out);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size * k));
    svg.setResolution(96);
    svg.setTitle(windowTitle());
    // The faces that scale, as on paper: the screen's bitmap face has no
    // outline for a viewer to draw.
    const fonts::ScalableFaces faces(this);
    QPainter painter(&svg);
    painter.scale(k, k);
    painter.fillRect(QRect(QPoint(0, 0), size), view_->palette().color(view_->backgroundRole()));
    platform::Canvas::Scope scope(canvas_, painter);
    runChartAsPaint();
}

bool TgrTerfKopF::saveChart(const QString &requested, const QString &selectedFilter)
{
    if (!mainF_ || GrafikonFajta < 1 || GrafikonFajta > 4) return false;
    QString fileName = requested;
    const charts::FileFormat format = charts::fileFormat(fileName, selectedFilter);
    // The whole file is made in memory first, so that writing it is one
    // step that either completes or leaves nothing.
    QByteArray data;
    QString error;
    switch (format) {
    case charts::FileFormat::Png: {
        QImage image = capture(3);
        image.setDotsPerMeterX(dotsPerMeter(288));
        image.setDotsPerMeterY(dotsPerMeter(288));
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "png");
        if (!writer.write(image)) error = writer.errorString();
        break;
    }
    case charts::FileFormat::Svg: {
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        writeSvg(&buffer);
        break;
    }
    case charts::FileFormat::Csv:
        data = charts::dataCsv(currentSweep(), texts());
        break;
    }
    if (error.isEmpty()) error = platform::writeWholeFile(fileName, data);
    // The window shows the chart as it was just drawn for the file.
    view_->update();
    if (error.isEmpty()) return true;
    const int nyelv = mainF_->language();
    platform::showError(lang::text(kSaveFailed, nyelv).arg(QDir::toNativeSeparators(fileName), error));
    return false;
}

void attachChartWindow(TmainF &mainF, TgrTerfKopF &chart)
{
    mainF.setChartWindow(&chart);
    QObject::connect(&mainF, &TmainF::chartWindowRequested, &chart, [&chart] { platform::showToFront(&chart); });
    QObject::connect(&mainF, &TmainF::chartRequested, &chart, [&chart](int fajta) { chart.drawChart(fajta); });
}
