#include "charts/grTerfKop.h"

#include "mainwindow/fonts.h"
#include "mainwindow/main.h"

TgrTerfKopF::TgrTerfKopF(TmainF *mainF, QWidget *parent) : QWidget(parent), mainF_(mainF)
{
    setWindowTitle(QStringLiteral("Grafikon"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    setFont(fonts::sansSerif(8));
    fonts::setPointSize(this, 8);
    fonts::setCharset(this, 1);
    resize(723, 467);
}

// The sweeps themselves come with the charts; for now a request records
// which chart the window is to show.
void TgrTerfKopF::Tomegaram_a_kopenyben() { GrafikonFajta = 1; update(); }
void TgrTerfKopF::Tomegaram_a_spiralban() { GrafikonFajta = 2; update(); }
void TgrTerfKopF::Homerseklet_a_kopenyben() { GrafikonFajta = 3; update(); }
void TgrTerfKopF::Homerseklet_a_spiralban() { GrafikonFajta = 4; update(); }

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
