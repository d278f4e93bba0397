// The print preview window: shows the pages of a report as they are
// produced, one page at a time, prints them and saves them as PDF.
//
// The preview knows nothing of what it shows. A PageProducer makes the
// pages step by step; the preview runs the steps from the event loop, one
// queued step at a time, so the windows a step drives are never handled by
// anything else while the step runs, and the preview stays live in between.
#pragma once

#include "platform/pdfinfo.h"

#include <QDialog>
#include <QPageLayout>
#include <QPrinter>

#include <memory>

class QAction;
class QLabel;
class QPagedPaintDevice;
class QPrintPreviewWidget;
class QProgressDialog;
class QToolBar;

namespace platform {

class PageProducer {
public:
    virtual ~PageProducer() = default;
    // The paper the pages are laid out for (size and orientation).
    virtual QPageLayout pageLayout() const = 0;
    // Begins a production run: the pages of an earlier run are dropped.
    virtual void start() = 0;
    // One step of the run (for a report: one page request and its band).
    virtual void produceNext() = 0;
    // True once the run has no step left.
    virtual bool finished() const = 0;
    // The pages of the run that are complete so far.
    virtual int pageCount() const = 0;
    // Draws the complete pages onto the device, one per sheet, on the paper
    // the device is set to; false when the device cannot be painted on. The
    // preview, the printer and a PDF get the same pages.
    virtual bool render(QPagedPaintDevice *device) const = 0;
    // The title, author and subject a PDF of the pages carries; read when
    // one is written.
    virtual DocumentInfo documentInfo() const { return {}; }
};

class PrintPreview : public QDialog {
    Q_OBJECT
public:
    // The producer stays the caller's and must outlive the window.
    explicit PrintPreview(PageProducer *producer, QWidget *parent = nullptr);
    // The window owns the producer.
    explicit PrintPreview(std::unique_ptr<PageProducer> producer, QWidget *parent = nullptr);
    ~PrintPreview() override;

    // Both open the window maximised and start producing the pages.
    // Modal: returns when the window is closed.
    void openModal();
    // Not modal: returns at once; the window deletes itself when closed.
    void openModeless();

    // A production run (for the preview or for the printer) is under way.
    bool producing() const { return run_ != Run::None; }
    // All pages of the preview exist.
    bool complete() const { return complete_; }

    QPrintPreviewWidget *view() const { return view_; }
    QPrinter *printer() { return &printer_; }
    QString statusText() const;

    // The commands, in toolbar order.
    QToolBar *toolBar = nullptr;
    QAction *ZoomToFit = nullptr, *Zoom100 = nullptr, *ZoomToWidth = nullptr, *FirstPage = nullptr,
            *PreviousPage = nullptr, *NextPage = nullptr, *LastPage = nullptr, *PrinterSetup = nullptr,
            *Print = nullptr, *SaveAsPdf = nullptr, *Close = nullptr;

public slots:
    void done(int result) override;

signals:
    // The preview's pages all exist.
    void productionFinished();
    // A print run ended with the pages sent to the printer.
    void printed();

private:
    enum class Run { None, Preview, Printer };

    void build();
    void showMaximizedState();
    void startRun(Run run);
    void stopRun();
    void step(unsigned generation);
    void finishPrinting();
    void cancelPrinting();
    void updateCommands();
    void updateStatus();
    void dropPageCaches();
    void goToPage(int page);
    void printerSetup();
    void print();
    void saveAsPdf();

    PageProducer *producer_;
    std::unique_ptr<PageProducer> owned_;
    QPrinter printer_;
    QPrintPreviewWidget *view_ = nullptr;
    QLabel *status_ = nullptr;
    QProgressDialog *progress_ = nullptr;
    Run run_ = Run::None;
    unsigned generation_ = 0; // a step queued for an earlier run is dropped
    int shownPages_ = 0;
    bool complete_ = false;
};

} // namespace platform
