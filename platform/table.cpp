#include "platform/table.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace platform {

namespace {

QString flat(QString s)
{
    for (QChar &c : s)
        if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r')) c = QLatin1Char(' ');
    return s;
}

} // namespace

QString tableText(const Table &table)
{
    QString out;
    for (const QList<TableCell> &row : table.rows) {
        QStringList cells;
        for (const TableCell &c : row) {
            cells << flat(c.text);
            for (int i = 1; i < c.span; ++i) cells << QString();
        }
        while (!cells.isEmpty() && cells.last().isEmpty()) cells.removeLast();
        out += cells.join(QLatin1Char('\t'));
        out += QLatin1Char('\n');
    }
    return out;
}

QString tableHtml(const Table &table)
{
    QString out = QStringLiteral("<html><head><meta charset=\"utf-8\"/></head><body>\n"
                                 "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\n");
    for (const QList<TableCell> &row : table.rows) {
        out += QStringLiteral("<tr>");
        for (const TableCell &c : row) {
            const QString tag = c.heading ? QStringLiteral("th") : QStringLiteral("td");
            out += QLatin1Char('<') + tag;
            if (c.span > 1) out += QStringLiteral(" colspan=\"%1\"").arg(c.span);
            if (c.heading) out += QStringLiteral(" align=\"left\"");
            else if (c.number) out += QStringLiteral(" align=\"right\"");
            // Both the attribute and the style: word processors read one or
            // the other.
            if (c.marked)
                out += QStringLiteral(" bgcolor=\"%1\" style=\"background-color:%1;font-weight:bold\"")
                           .arg(QLatin1String(markedTint));
            const QString text = c.text.toHtmlEscaped();
            out += QLatin1Char('>') + (c.marked ? QStringLiteral("<b>") + text + QStringLiteral("</b>") : text) +
                   QStringLiteral("</") + tag + QLatin1Char('>');
        }
        out += QStringLiteral("</tr>\n");
    }
    out += QStringLiteral("</table>\n</body></html>\n");
    return out;
}

QMimeData *tableMimeData(const Table &table)
{
    auto *mime = new QMimeData;
    mime->setText(tableText(table));
    mime->setHtml(tableHtml(table));
    return mime;
}

void copyTable(const Table &table) { QGuiApplication::clipboard()->setMimeData(tableMimeData(table)); }

} // namespace platform
