#include "printing/projectpages.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace printing {

namespace {

// The face of the windows on paper, at a pixel size of the layout.
QFont face(qreal px, bool bold = false)
{
    QFont f(QStringLiteral("DejaVu Sans Condensed"));
    f.setPixelSize(std::max(1, int(std::lround(px))));
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    // No ligatures: "fl" stays two letters, so that a PDF's text is
    // searched and copied as it reads.
    f.setStyleStrategy(QFont::StyleStrategy(QFont::PreferAntialias | QFont::PreferNoShaping));
    return f;
}

// The text broken into lines of at most `width` at its blanks (and at its
// line breaks; a word wider than a line at any letter), measured as the
// columns are, at most maxLines of them: the last one shown ends in an
// ellipsis when text is left over.
QStringList wrap(const QString &text, const QFont &font, qreal width, int maxLines)
{
    const QFontMetricsF fm(font);
    const qreal room = std::max<qreal>(1, width) + 0.01;
    QStringList lines;
    for (const QString &paragraph : text.split(QLatin1Char('\n'))) {
        QString line;
        for (QString word : paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const QString joined = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
            if (fm.horizontalAdvance(joined) <= room) {
                line = joined;
                continue;
            }
            if (!line.isEmpty()) lines << line;
            // A word too long for a line alone goes letter by letter.
            while (fm.horizontalAdvance(word) > room && word.size() > 1) {
                int n = int(word.size()) - 1;
                while (n > 1 && fm.horizontalAdvance(word.left(n)) > room) --n;
                lines << word.left(n);
                word = word.mid(n);
            }
            line = word;
        }
        lines << line;
    }
    while (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    if (lines.size() > maxLines) {
        lines = lines.mid(0, maxLines);
        lines.last() = fm.elidedText(lines.last() + QStringLiteral(" \u2026"), Qt::ElideRight, room);
    }
    return lines;
}

qreal widest(const QStringList &lines, const QFont &font)
{
    const QFontMetricsF fm(font);
    qreal w = 0;
    for (const QString &l : lines) w = std::max(w, fm.horizontalAdvance(l));
    return w;
}

// Lines drawn from a top edge, each on its baseline.
void drawLines(QPainter &p, const QStringList &lines, const QFont &font, qreal x, qreal top, qreal width,
               Qt::Alignment align = Qt::AlignLeft)
{
    const QFontMetricsF fm(font);
    p.setFont(font);
    qreal y = top + fm.ascent();
    for (const QString &l : lines) {
        qreal at = x;
        if (align & Qt::AlignRight) at = x + width - fm.horizontalAdvance(l);
        else if (align & Qt::AlignHCenter) at = x + (width - fm.horizontalAdvance(l)) / 2;
        p.drawText(QPointF(at, y), l);
        y += fm.lineSpacing();
    }
}

const QColor kInk(0, 0, 0);
const QColor kRule(120, 120, 120);
const QColor kHeadingFill(232, 232, 232);

} // namespace

platform::Drawing headerDrawing(const ProjectHeader &h, int widthPx)
{
    const qreal W = widthPx;
    const QFont title = face(16, true), caption = face(11, true), text = face(11);
    const qreal line = QFontMetricsF(text).lineSpacing();

    struct Placed {
        QStringList lines;
        QFont font;
        qreal x, y, width;
    };
    QList<Placed> placed;
    qreal y = 0;
    if (!h.title.trimmed().isEmpty()) {
        const QStringList t = wrap(h.title.trimmed(), title, W, 2);
        placed.append({t, title, 0, y, W});
        y += t.size() * QFontMetricsF(title).lineSpacing() + 6;
    }
    // The details two a row, each column with its captions aligned.
    const qreal gap = 16, column = (W - gap) / 2;
    qreal captionWidth[2] = {0, 0};
    for (int i = 0; i < h.fields.size(); ++i)
        captionWidth[i % 2] = std::max(captionWidth[i % 2], widest({h.fields[i].first + QLatin1Char(':')}, caption) + 6);
    for (int i = 0; i < h.fields.size(); i += 2) {
        int rows = 1;
        for (int k = 0; k < 2 && i + k < h.fields.size(); ++k) {
            const qreal x = k * (column + gap), cw = std::min(captionWidth[k], column / 2);
            const QStringList c = {h.fields[i + k].first + QLatin1Char(':')};
            const QStringList v = wrap(h.fields[i + k].second, text, column - cw, 2);
            placed.append({c, caption, x, y, cw});
            placed.append({v, text, x + cw, y, column - cw});
            rows = std::max(rows, int(v.size()));
        }
        y += rows * line + 2;
    }
    if (!h.notes.trimmed().isEmpty()) {
        const QStringList c = {h.notesCaption + QLatin1Char(':')};
        const qreal cw = std::min(widest(c, caption) + 6, W / 4);
        const QStringList v = wrap(h.notes.trimmed(), text, W - cw, maxNoteLines);
        placed.append({c, caption, 0, y + 2, cw});
        placed.append({v, text, cw, y + 2, W - cw});
        y += v.size() * line + 4;
    }
    const qreal rule = y + 4;
    const int height = int(std::ceil(rule + 2));
    return platform::Drawing::record(QSize(widthPx, height), 3, [=](QPainter &p) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.setPen(kInk);
        for (const Placed &t : placed) drawLines(p, t.lines, t.font, t.x, t.y, t.width);
        p.setPen(QPen(kRule, 1));
        p.drawLine(QPointF(0, rule), QPointF(W, rule));
    });
}

platform::Drawing tableDrawing(const TablePage &page, int widthPx)
{
    const qreal W = widthPx;
    const platform::Table &t = page.table;
    int columns = 0;
    for (const auto &row : t.rows) {
        int n = 0;
        for (const platform::TableCell &c : row) n += std::max(1, c.span);
        columns = std::max(columns, n);
    }
    const qreal pad = 4; // each side of a cell's text

    // The largest font from 11 pixels down to 7 at which every column
    // takes its widest cell: a text cell (a reason, say) at most 120
    // pixels wide, a heading of the first row (a case's name) no wider
    // than its column's values or 60 pixels; both take more lines.
    qreal px = 11;
    QList<qreal> widths;
    for (;; px -= 0.5) {
        widths = QList<qreal>(columns, 2 * pad + 8);
        const qreal textCap = 120 * px / 11, nameCap = 60 * px / 11;
        auto measure = [&](int r, auto &&fit) {
            int c = 0;
            for (const platform::TableCell &cell : t.rows[r]) {
                if (cell.span <= 1 && c < columns) {
                    const QFont f = face(px, cell.heading || cell.marked);
                    qreal w = 0;
                    for (const QString &l : cell.text.split(QLatin1Char('\n')))
                        w = std::max(w, QFontMetricsF(f).horizontalAdvance(l));
                    widths[c] = std::max(widths[c], fit(cell, c, w) + 2 * pad);
                }
                c += std::max(1, cell.span);
            }
        };
        for (int r = 1; r < t.rows.size(); ++r)
            measure(r, [&](const platform::TableCell &cell, int c, qreal w) {
                return !cell.number && c > 0 ? std::min(w, textCap) : w;
            });
        if (!t.rows.isEmpty())
            measure(0, [&](const platform::TableCell &cell, int c, qreal w) {
                // A name is broken between its words, not within one.
                qreal word = 0;
                const QFontMetricsF fm(face(px, true));
                for (const QString &part : cell.text.split(QRegularExpression(QStringLiteral("\\s+"))))
                    word = std::max(word, fm.horizontalAdvance(part));
                return std::min(w, std::max({widths[c] - 2 * pad, nameCap, std::min(word, textCap)}));
            });
        qreal sum = 0;
        for (qreal w : widths) sum += w;
        if (sum <= W || px <= 7) {
            if (sum > W)
                for (qreal &w : widths) w *= W / sum;
            break;
        }
    }

    struct Cell {
        QRectF rect;
        QStringList lines;
        QFont font;
        Qt::Alignment align;
        bool fill = false;
        QColor colour;
    };
    QList<Cell> cells;
    const QFont titleFont = face(16, true), legendFont = face(10);
    const QStringList titleLines = wrap(page.title, titleFont, W, 2);
    qreal y = titleLines.size() * QFontMetricsF(titleFont).lineSpacing() + 8;
    for (int r = 0; r < t.rows.size(); ++r) {
        qreal x = 0;
        int c = 0, lines = 1;
        QList<Cell> row;
        for (const platform::TableCell &cell : t.rows[r]) {
            const int span = std::max(1, cell.span);
            qreal w = 0;
            for (int k = c; k < c + span && k < columns; ++k) w += widths[k];
            Cell out;
            out.font = face(px, cell.heading || cell.marked);
            out.lines = wrap(cell.text, out.font, w - 2 * pad, r == 0 ? 3 : 4);
            out.rect = QRectF(x, y, w, 0);
            out.align = r == 0 && c > 0 ? Qt::AlignHCenter : cell.number ? Qt::AlignRight : Qt::AlignLeft;
            if (r == 0 || cell.heading) out.fill = true, out.colour = kHeadingFill;
            if (cell.marked) out.fill = true, out.colour = QColor(QString::fromLatin1(platform::markedTint));
            lines = std::max(lines, int(out.lines.size()));
            row.append(out);
            x += w;
            c += span;
        }
        const qreal h = lines * QFontMetricsF(face(px)).lineSpacing() + 2 * pad - 2;
        for (Cell &cell : row) cell.rect.setHeight(h);
        cells += row;
        y += h;
    }
    y += 8;
    const qreal legendTop = y;
    const QStringList legendLines = wrap(page.legend, legendFont, W - 24, 3);
    if (!legendLines.isEmpty()) y += legendLines.size() * QFontMetricsF(legendFont).lineSpacing();
    const int height = int(std::ceil(y + 4));

    return platform::Drawing::record(QSize(widthPx, height), 3, [=](QPainter &p) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.setPen(kInk);
        drawLines(p, titleLines, titleFont, 0, 0, W);
        for (const Cell &cell : cells) {
            if (cell.fill) p.fillRect(cell.rect, cell.colour);
            p.setPen(QPen(kRule, 0.5));
            p.drawRect(cell.rect);
            p.setPen(kInk);
            drawLines(p, cell.lines, cell.font, cell.rect.left() + pad, cell.rect.top() + pad - 1,
                      cell.rect.width() - 2 * pad, cell.align);
        }
        if (!legendLines.isEmpty()) {
            // The legend begins with a sample of the mark.
            const QRectF sample(0, legendTop + 1, 18, QFontMetricsF(legendFont).height() - 2);
            p.fillRect(sample, QColor(QString::fromLatin1(platform::markedTint)));
            p.setPen(QPen(kRule, 0.5));
            p.drawRect(sample);
            p.setPen(kInk);
            drawLines(p, legendLines, legendFont, 24, legendTop, W - 24);
        }
    });
}

} // namespace printing
