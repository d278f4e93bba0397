// A chart's numbers as a table: one row per sweep point with the swept
// value, the heat duty, both outlet temperatures and, for a flow chart, the
// swept side's pressure drop. As CSV for a file (a point as separator, every
// digit needed to read the double back) and as a clipboard table (the
// regional separator, the same digits).
#pragma once

#include "charts/draw.h"
#include "platform/table.h"

#include <QByteArray>
#include <QStringList>
#include <vector>

namespace charts {

// Column headers in the interface language, each with its unit in
// brackets: "Volume flow rate in shell side [m3/h]", "Total heat transfer
// [kW]", "Outlet temperature (Shell side) [°C]", ...
QStringList dataHeader(const ChartResult &r, const ChartTexts &t);

// The numbers of sweep point i (from 1), in the header's columns; the
// pressure drop in kPa.
std::vector<double> dataRow(const ChartResult &r, int i);

// Header and one line per point, fields quoted where they need it, numbers
// in the shortest text that reads back as the same double, lines ending in
// '\n', UTF-8: the CSV of the command line.
QByteArray dataCsv(const ChartResult &r, const ChartTexts &t);

// The same as a clipboard table, numbers with the given decimal separator.
platform::Table dataTable(const ChartResult &r, const ChartTexts &t, const QString &decimalSeparator);

// The file formats a chart saves to.
enum class FileFormat { Png, Svg, Csv };
// The format a file name asks for by its extension (any case); otherwise
// the one of the dialog's filter ("... (*.svg)"); otherwise PNG. fileName
// gains the format's extension when it has none of the three.
FileFormat fileFormat(QString &fileName, const QString &selectedFilter);

} // namespace charts
