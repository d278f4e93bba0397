// The chart window: shows one of the four characteristic charts.
#pragma once

#include <QWidget>

class TmainF;

class TgrTerfKopF : public QWidget {
    Q_OBJECT
public:
    explicit TgrTerfKopF(TmainF *mainF, QWidget *parent = nullptr);

    // Which chart the window shows: 0 none, 1 jacket flow, 2 coil flow,
    // 3 jacket inlet temperature, 4 coil inlet temperature.
    int GrafikonFajta = 0;

    void Tomegaram_a_kopenyben();
    void Tomegaram_a_spiralban();
    void Homerseklet_a_kopenyben();
    void Homerseklet_a_spiralban();

    // Chart number 1..4 as the main window's buttons ask for it.
    void drawChart(int fajta);

private:
    TmainF *mainF_;
};
