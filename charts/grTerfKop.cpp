#include "charts/grTerfKop.h"

#include "mainwindow/fonts.h"
#include "mainwindow/main.h"
#include "platform/platform.h"

#include <QLayout>
#include <QMenuBar>
#include <QPainter>
#include <QResizeEvent>

namespace charts {

ChartView::ChartView(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Image1"));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
}

void ChartView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    emit painting(painter);
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

    view_ = new charts::ChartView(this);
    view_->setMinimumSize(MinimumClient);
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
    // The layout settles the central widget at once only when the window
    // is laid out; do it now so the client size holds before any paint.
    if (layout()) layout()->activate();
    view_->resize(client);
}

void TgrTerfKopF::setOuterSize(int width, int height)
{
    setClientSize(QSize(width - FrameAllowance.width(), height - FrameAllowance.height()));
}

QImage TgrTerfKopF::capture(qreal scale) const { return platform::captureClient(view_, scale); }

void TgrTerfKopF::resizeEvent(QResizeEvent *e)
{
    QMainWindow::resizeEvent(e);
    // The chart follows the new size at once.
    if (isVisible()) view_->repaint();
}

// The sweeps themselves come with the charts; for now a request records
// which chart the window is to show.
void TgrTerfKopF::Tomegaram_a_kopenyben() { GrafikonFajta = 1; view_->update(); }
void TgrTerfKopF::Tomegaram_a_spiralban() { GrafikonFajta = 2; view_->update(); }
void TgrTerfKopF::Homerseklet_a_kopenyben() { GrafikonFajta = 3; view_->update(); }
void TgrTerfKopF::Homerseklet_a_spiralban() { GrafikonFajta = 4; view_->update(); }

void TgrTerfKopF::drawChart(int fajta)
{
    switch (fajta) {
    case 1: Tomegaram_a_kopenyben(); break;
    case 2: Tomegaram_a_spiralban(); break;
    case 3: Homerseklet_a_kopenyben(); break;
    case 4: Homerseklet_a_spiralban(); break;
    default: break;
    }
}

void TgrTerfKopF::FormPaint(QPainter &painter)
{
    platform::Canvas::Scope scope(canvas_, painter);
    (void)mainF_;
}

void TgrTerfKopF::Print1Click()
{
    const QImage shot = capture(3);
    emit printRequested(shot);
}
