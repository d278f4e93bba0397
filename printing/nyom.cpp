#include "printing/nyom.h"

TnyomF::TnyomF(QWidget *parent) : QWidget(parent) { setWindowTitle(QStringLiteral("nyomF")); }
