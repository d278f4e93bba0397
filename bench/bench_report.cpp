// The full report with the charts, from a click on the report button to the
// last page in its preview, beside its floor: the five 200 ms waits before
// the captures; and one repaint of the preview's page, each of the three in
// turn, at the zoom it opens with and at 100 %.
#include "bench/qtbench.h"
#include "platform/PrintPreview.h"
#include "platform/platform.h"
#include "app/windows.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGraphicsView>
#include <QPrintPreviewWidget>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace {

std::unique_ptr<Windows> windows;

// One report: seconds from the click to the preview's last page.
double reportOnce()
{
    double seconds = 0;
    QElapsedTimer clock;
    QTimer watch;
    watch.setInterval(1);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto *p = qobject_cast<platform::PrintPreview *>(QApplication::activeModalWidget());
        if (!p) return;
        watch.stop();
        QObject::connect(p, &platform::PrintPreview::productionFinished, p, [&, p] {
            seconds = clock.nsecsElapsed() / 1e9;
            QTimer::singleShot(0, p, [p] { p->close(); });
        });
    });
    watch.start();
    clock.start();
    QTest::mouseClick(windows->mainF.SpeedButton5, Qt::LeftButton);
    return seconds;
}

void FullReportWithCharts(benchmark::State &state)
{
    for (auto _ : state) state.SetIterationTime(reportOnce());
}
BENCHMARK(FullReportWithCharts)->UseManualTime()->Iterations(1)->Repetitions(5)->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

// Runs body in the report's preview once all its pages exist, then closes it.
template <class F> void inReportPreview(F body)
{
    QTimer watch;
    watch.setInterval(1);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto *p = qobject_cast<platform::PrintPreview *>(QApplication::activeModalWidget());
        if (!p) return;
        watch.stop();
        QObject::connect(p, &platform::PrintPreview::productionFinished, p, [&, p] {
            QTimer::singleShot(0, p, [&, p] {
                body(p);
                p->close();
            });
        });
    });
    watch.start();
    QTest::mouseClick(windows->mainF.SpeedButton5, Qt::LeftButton);
}

void PreviewPagePaint(benchmark::State &state)
{
    inReportPreview([&](platform::PrintPreview *p) {
        if (state.range(0) == 100) p->Zoom100->trigger();
        QWidget *viewport = p->view()->findChild<QGraphicsView *>()->viewport();
        int page = 0;
        for (auto _ : state) {
            p->view()->setCurrentPage(page++ % 3 + 1);
            viewport->repaint();
        }
    });
}
BENCHMARK(PreviewPagePaint)->Arg(0)->Arg(100)->Unit(benchmark::kMillisecond)->UseRealTime();

void FiveCaptureWaits(benchmark::State &state)
{
    for (auto _ : state)
        for (int i = 0; i < 5; ++i) platform::pause(200);
}
BENCHMARK(FiveCaptureWaits)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly(true)->UseRealTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return runWithQt(
        argc, argv,
        [] {
            windows = std::make_unique<Windows>();
            windows->mainF.show();
            QApplication::setActiveWindow(&windows->mainF);
            if (!QTest::qWaitForWindowExposed(&windows->mainF)) qFatal("the main window was not shown");
            windows->mainF.CbPwc->setChecked(true);
        },
        [] { windows.reset(); });
}
