#include "platform/PrintPreview.h"

#include "platform/platform.h"

#include <QAction>
#include <QBuffer>
#include <QFile>
#include <QFileDialog>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QGraphicsView>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QProgressDialog>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace platform {

PrintPreview::PrintPreview(PageProducer *producer, QWidget *parent) : QDialog(parent), producer_(producer)
{
    build();
}

PrintPreview::PrintPreview(std::unique_ptr<PageProducer> producer, QWidget *parent)
    : QDialog(parent), producer_(producer.get()), owned_(std::move(producer))
{
    build();
}

PrintPreview::~PrintPreview()
{
    // The view may still ask for pages while it is torn down.
    if (view_) view_->disconnect(this);
}

void PrintPreview::build()
{
    setWindowTitle(QStringLiteral("Print Preview"));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);

    // The preview and the printer share the paper: the report's, until the
    // user picks another in the printer setup. Coordinates start at the
    // paper's corner; the report keeps its own margins.
    printer_.setPageLayout(producer_->pageLayout());
    printer_.setFullPage(true);

    toolBar = new QToolBar(this);
    toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto add = [this](const QString &text, const char *name, auto slot) {
        QAction *a = toolBar->addAction(text);
        a->setObjectName(QLatin1String(name));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    ZoomToFit = add(QStringLiteral("Zoom to fit"), "ZoomToFit", [this] { view_->fitInView(); });
    Zoom100 = add(QStringLiteral("100%"), "Zoom100", [this] {
        view_->setZoomMode(QPrintPreviewWidget::CustomZoom);
        view_->setZoomFactor(1.0);
    });
    ZoomToWidth = add(QStringLiteral("Zoom to width"), "ZoomToWidth", [this] { view_->fitToWidth(); });
    toolBar->addSeparator();
    FirstPage = add(QStringLiteral("First page"), "FirstPage", [this] { goToPage(1); });
    PreviousPage = add(QStringLiteral("Previous page"), "PreviousPage", [this] { goToPage(view_->currentPage() - 1); });
    NextPage = add(QStringLiteral("Next page"), "NextPage", [this] { goToPage(view_->currentPage() + 1); });
    LastPage = add(QStringLiteral("Last page"), "LastPage", [this] { goToPage(view_->pageCount()); });
    toolBar->addSeparator();
    PrinterSetup = add(QStringLiteral("Printer setup"), "PrinterSetup", [this] { printerSetup(); });
    Print = add(QStringLiteral("Print"), "Print", [this] { print(); });
    SaveAsPdf = add(QStringLiteral("Save as PDF…"), "SaveAsPdf", [this] { saveAsPdf(); });
    toolBar->addSeparator();
    Close = add(QStringLiteral("&Close"), "Close", [this] { close(); });

    view_ = new QPrintPreviewWidget(&printer_, this);
    view_->setViewMode(QPrintPreviewWidget::SinglePageView);
    view_->setZoomMode(QPrintPreviewWidget::FitInView);
    connect(view_, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter *p) { producer_->render(p); });
    connect(view_, &QPrintPreviewWidget::previewChanged, this, &PrintPreview::updateStatus);
    connect(view_, &QPrintPreviewWidget::previewChanged, this, &PrintPreview::dropPageCaches);

    auto *bar = new QStatusBar(this);
    bar->setSizeGripEnabled(false);
    status_ = new QLabel(bar);
    status_->setObjectName(QStringLiteral("status"));
    bar->addWidget(status_);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolBar);
    layout->addWidget(view_, 1);
    layout->addWidget(bar);

    resize(800, 600);
    updateCommands();
    updateStatus();
}

void PrintPreview::showMaximizedState()
{
    // Without a window manager nothing maximises the window: give it the
    // screen's room first.
    if (QScreen *s = screen()) setGeometry(s->availableGeometry());
    setWindowState(windowState() | Qt::WindowMaximized);
}

void PrintPreview::openModal()
{
    setWindowModality(Qt::ApplicationModal);
    showMaximizedState();
    startRun(Run::Preview);
    exec();
}

void PrintPreview::openModeless()
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::NonModal);
    showMaximizedState();
    show();
    raise();
    activateWindow();
    startRun(Run::Preview);
}

void PrintPreview::done(int result)
{
    // Closing stops production before the next page.
    stopRun();
    QDialog::done(result);
}

// ---- production ---------------------------------------------------------------

void PrintPreview::startRun(Run run)
{
    run_ = run;
    ++generation_;
    if (run == Run::Preview) {
        complete_ = false;
        shownPages_ = 0;
    }
    producer_->start();
    updateCommands();
    const unsigned g = generation_;
    QMetaObject::invokeMethod(this, [this, g] { step(g); }, Qt::QueuedConnection);
}

void PrintPreview::stopRun()
{
    run_ = Run::None;
    ++generation_;
    if (progress_) {
        progress_->disconnect(this);
        progress_->hide();
        progress_->deleteLater();
        progress_ = nullptr;
    }
    updateCommands();
}

void PrintPreview::step(unsigned generation)
{
    if (generation != generation_ || run_ == Run::None) return;
    producer_->produceNext();
    // The step may have closed this window (an error box, the user):
    // nothing more to do then.
    if (generation != generation_) return;
    const bool done = producer_->finished();
    if (run_ == Run::Preview) {
        if (done || producer_->pageCount() != shownPages_) {
            shownPages_ = producer_->pageCount();
            view_->updatePreview();
        }
        if (done) {
            run_ = Run::None;
            complete_ = true;
            updateCommands();
            emit productionFinished();
            return;
        }
    } else {
        if (progress_) progress_->setLabelText(QStringLiteral("Pages produced: %1").arg(producer_->pageCount()));
        if (done) {
            finishPrinting();
            return;
        }
    }
    QMetaObject::invokeMethod(this, [this, generation] { step(generation); }, Qt::QueuedConnection);
}

void PrintPreview::finishPrinting()
{
    const DocumentInfo info = producer_->documentInfo();
    printer_.setDocName(info.title);
    const bool ok = producer_->render(&printer_);
    stopRun();
    if (!ok) {
        showError(QStringLiteral("The pages could not be printed on %1.")
                      .arg(printer_.outputFileName().isEmpty() ? printer_.printerName() : printer_.outputFileName()));
        return;
    }
    // Printed to a PDF file: the file carries the author and subject too.
    if (const QString file = printer_.outputFileName();
        !file.isEmpty() && printer_.outputFormat() == QPrinter::PdfFormat && !info.isEmpty()) {
        QFile written(file);
        QByteArray pdf;
        if (written.open(QIODevice::ReadOnly)) pdf = written.readAll();
        written.close();
        const QByteArray tagged = withDocumentInfo(pdf, info, QStringLiteral("Ventrano"));
        if (tagged.size() != pdf.size()) {
            const QString error = writeWholeFile(file, tagged);
            if (!error.isEmpty()) showError(QStringLiteral("Cannot write %1: %2").arg(file, error));
        }
    }
    // The preview now shows the pages that went to the printer.
    view_->updatePreview();
    emit printed();
}

void PrintPreview::cancelPrinting()
{
    // The run for the printer has replaced part of the pages: produce the
    // preview's pages again.
    stopRun();
    startRun(Run::Preview);
}

// ---- commands -------------------------------------------------------------------

void PrintPreview::updateCommands()
{
    const bool ready = complete_ && run_ == Run::None && producer_->pageCount() > 0;
    PrinterSetup->setEnabled(ready);
    Print->setEnabled(ready);
    SaveAsPdf->setEnabled(ready);
}

QString PrintPreview::statusText() const { return status_->text(); }

void PrintPreview::updateStatus()
{
    const int count = view_->pageCount();
    status_->setText(QStringLiteral("Page %1 of %2").arg(count ? view_->currentPage() : 0).arg(count));
}

void PrintPreview::dropPageCaches()
{
    // The view keeps a picture of every page it has shown at the size it
    // showed it (some 3 MB a page in a maximised window). The pages are
    // drawings that play as quickly as such a picture is copied: no copies.
    if (auto *graphics = view_->findChild<QGraphicsView *>(); graphics && graphics->scene())
        for (QGraphicsItem *item : graphics->scene()->items()) item->setCacheMode(QGraphicsItem::NoCache);
}

void PrintPreview::goToPage(int page)
{
    if (page < 1 || page > view_->pageCount()) return;
    view_->setCurrentPage(page);
    updateStatus();
}

void PrintPreview::printerSetup()
{
    if (!Print->isEnabled()) return;
    QPageSetupDialog dialog(&printer_, this);
    if (dialog.exec() == QDialog::Accepted) view_->updatePreview();
}

void PrintPreview::print()
{
    if (!Print->isEnabled()) return;
    QPrintDialog dialog(&printer_, this);
    dialog.setWindowTitle(QStringLiteral("Print"));
    if (dialog.exec() != QDialog::Accepted) return;

    // The report is produced again, for the printer.
    progress_ = new QProgressDialog(QStringLiteral("Pages produced: 0"), QStringLiteral("Cancel"), 0, 0, this);
    progress_->setWindowTitle(QStringLiteral("Printing progress"));
    progress_->setWindowModality(Qt::WindowModal);
    progress_->setAutoClose(false);
    progress_->setAutoReset(false);
    progress_->setMinimumDuration(0);
    connect(progress_, &QProgressDialog::canceled, this, &PrintPreview::cancelPrinting);
    progress_->show();
    startRun(Run::Printer);
}

void PrintPreview::saveAsPdf()
{
    if (!SaveAsPdf->isEnabled()) return;
    QFileDialog dialog(this, QStringLiteral("Save as PDF"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QStringLiteral("PDF files (*.pdf)"));
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const QString file = dialog.selectedFiles().constFirst();

    // The PDF is made in memory and then written whole: a failed write (a
    // full disk, a folder of that name, no permission) leaves no truncated
    // file under the name and is not reported as success.
    const DocumentInfo info = producer_->documentInfo();
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    bool rendered = false;
    {
        // A4 in the report's orientation, whatever the printer is set to.
        QPdfWriter writer(&pdf);
        writer.setPageLayout(producer_->pageLayout());
        writer.setCreator(QStringLiteral("Ventrano"));
        writer.setTitle(info.title);
        rendered = producer_->render(&writer);
    }
    if (!rendered) {
        showError(QStringLiteral("Cannot write %1").arg(file));
        return;
    }
    const QString error = writeWholeFile(file, withDocumentInfo(pdf.data(), info, QStringLiteral("Ventrano")));
    if (!error.isEmpty()) showError(QStringLiteral("Cannot write %1: %2").arg(file, error));
}

} // namespace platform
