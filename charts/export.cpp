#include "charts/export.h"

#include "textio/csv.h"
#include "textio/number.h"

#include <QFileInfo>

#include <string>

namespace charts {

namespace {

bool isFlow(const ChartResult &r) { return variantOf(r.chart) == Variant::Flow; }

} // namespace

QStringList dataHeader(const ChartResult &r, const ChartTexts &t)
{
    const QString swept = r.chart == JacketFlow ? t.SzTerfaramK
                          : r.chart == CoilFlow ? t.SzTerfaramS
                          : r.chart == JacketInlet ? t.SzBelhomK
                                                   : t.SzBelhomS;
    const QString unit = r.chart == JacketFlow ? t.CbMVk : r.chart == CoilFlow ? t.CbMVs : QStringLiteral("°C");
    auto withUnit = [](const QString &caption, const QString &u) {
        return caption.trimmed() + QStringLiteral(" [") + u + QLatin1Char(']');
    };
    auto ofSide = [](const QString &caption, const QString &side) {
        return caption.trimmed() + QStringLiteral(" (") + side.trimmed() + QLatin1Char(')');
    };
    QStringList h;
    h << withUnit(swept, unit) << withUnit(t.SzHoteljesitmeny, QStringLiteral("kW"))
      << withUnit(ofSide(t.LbKilhomK, t.LbKopeny), QStringLiteral("°C"))
      << withUnit(ofSide(t.LbKilhomK, t.LbSpiral), QStringLiteral("°C"));
    if (isFlow(r))
        h << withUnit(ofSide(t.LbNyomasesesK, sweepsJacket(r.chart) ? t.LbKopeny : t.LbSpiral), QStringLiteral("kPa"));
    return h;
}

std::vector<double> dataRow(const ChartResult &r, int i)
{
    const Point &p = r.table.at(i);
    std::vector<double> row{p.x, p.q, p.tkk, p.tsk};
    if (isFlow(r)) row.push_back(static_cast<double>(static_cast<long double>(p.dp) * 100));
    return row;
}

QByteArray dataCsv(const ChartResult &r, const ChartTexts &t)
{
    std::string out;
    bool first = true;
    for (const QString &h : dataHeader(r, t)) {
        if (!first) out += ',';
        first = false;
        textio::appendField(out, h.toStdString());
    }
    out += '\n';
    for (int i = 1; i <= r.table.N; ++i) {
        first = true;
        for (double v : dataRow(r, i)) {
            if (!first) out += ',';
            first = false;
            textio::appendNumber(out, v);
        }
        out += '\n';
    }
    return QByteArray::fromStdString(out);
}

platform::Table dataTable(const ChartResult &r, const ChartTexts &t, const QString &decimalSeparator)
{
    platform::Table table;
    QList<platform::TableCell> header;
    for (const QString &h : dataHeader(r, t)) header.append({h, 1, true, false});
    table.rows.append(header);
    for (int i = 1; i <= r.table.N; ++i) {
        QList<platform::TableCell> row;
        for (double v : dataRow(r, i)) {
            QString s = QString::fromStdString(textio::numberText(v));
            s.replace(QLatin1Char('.'), decimalSeparator);
            row.append({s, 1, false, true});
        }
        table.rows.append(row);
    }
    return table;
}

FileFormat fileFormat(QString &fileName, const QString &selectedFilter)
{
    static const std::pair<const char *, FileFormat> kinds[] = {
        {"png", FileFormat::Png}, {"svg", FileFormat::Svg}, {"csv", FileFormat::Csv}};
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    for (const auto &[ext, f] : kinds)
        if (suffix == QLatin1String(ext)) return f;
    FileFormat f = FileFormat::Png;
    const char *ext = "png";
    for (const auto &[e, k] : kinds)
        if (selectedFilter.contains(QStringLiteral("*.") + QLatin1String(e), Qt::CaseInsensitive)) {
            f = k;
            ext = e;
        }
    fileName += QLatin1Char('.') + QLatin1String(ext);
    return f;
}

} // namespace charts
