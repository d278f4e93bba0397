#include "selectionwindow/fields.h"

#include <QColor>
#include <QLineEdit>
#include <QPalette>
#include <QStyle>

namespace selectionwindow {

QColor invalidColor() { return QColor(255, 210, 210); }

QLineEdit *field(QWidget *parent, const char *name, int width)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setAccessibleName(QString::fromLatin1(name));
    e->setAlignment(Qt::AlignRight);
    e->setFixedWidth(width);
    e->setMaxLength(40);
    e->setProperty("invalid", false);
    return e;
}

void markInvalid(QLineEdit *e, bool invalid)
{
    if (e->property("invalid").toBool() == invalid) return;
    e->setProperty("invalid", invalid);
    QPalette p = e->palette();
    p.setColor(QPalette::Base, invalid ? invalidColor() : e->style()->standardPalette().color(QPalette::Base));
    e->setPalette(p);
}

} // namespace selectionwindow
