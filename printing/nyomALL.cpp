#include "printing/nyomALL.h"

TnyomALLF::TnyomALLF(TmainF *mainF, TgrTerfKopF *chart, QWidget *parent)
    : QWidget(parent), mainF_(mainF), chart_(chart)
{
    setWindowTitle(QStringLiteral("nyomALLF"));
}

// The page production and its preview come with printing.
void TnyomALLF::preview() {}
