// The full report: portrait A4 pages with the main window and the charts.
#pragma once

#include <QImage>
#include <QWidget>

class TmainF;
class TgrTerfKopF;

class TnyomALLF : public QWidget {
    Q_OBJECT
public:
    TnyomALLF(TmainF *mainF, TgrTerfKopF *chart, QWidget *parent = nullptr);
    QImage QRImage1; // the report image of the current page

    // Opens the report's preview; returns when it is closed.
    void preview();

private:
    TmainF *mainF_;
    TgrTerfKopF *chart_;
};
