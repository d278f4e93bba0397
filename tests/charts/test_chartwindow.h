// The chart window's tests: a main window and its chart window, the chart
// buttons wired as in the program; shared by test_chartwindow_drawing.cpp
// (the exact order of drawing operations) and test_chartwindow.cpp (the
// window driven through the main window's buttons).
#pragma once

#include "charts/grTerfKop.h"
#include "widgets/NumEdit.h"
#include "mainwindow/main.h"
#include "platform/platform.h"

#include <QApplication>
#include <QTest>
#include <QToolButton>

#include <memory>

class TestChartWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<TmainF> w;
    std::unique_ptr<TgrTerfKopF> chart;
    QStringList errors;
    platform::ErrorHandler previous;

    void typeInto(NumEdit *e, const QString &text)
    {
        QApplication::setActiveWindow(w.get());
        e->setFocus(Qt::TabFocusReason);
        e->selectAll();
        QTest::keyClicks(e, text);
    }
    void click(QToolButton *b) { QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(10, 10)); }
    QImage shot() { return chart->capture(1); }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
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

    // The drawing routine on its own (test_chartwindow_drawing.cpp).
    void drawingOrder_data();
    void drawingOrder();

    // The chart window (test_chartwindow.cpp).
    void buttonsOpenTheirCharts_data();
    void buttonsOpenTheirCharts();
    void pixelsOfTheJacketFlowChart();
    void markerIsBlackOverItsWholeHeight_data();
    void markerIsBlackOverItsWholeHeight();
    void repaintAndResizeGiveTheSamePicture();
    void smallestWindowStillDrawsAWholeChart();
    void curvesStayBetweenTitleAndTable();
    void closedWindowReopensWithTheNewChart();
    void faultsAreReportedOnceAndNeverByAPaint();
    void pastedInletWithAZeroWidthRange();
    void chartsFollowTheLanguage();
    void hoverShowsTheNearestPoint();
    void finerCapturesKeepTheGeometry();
};
