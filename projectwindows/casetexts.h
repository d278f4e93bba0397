// How the project's windows write a case: its inputs and results as the
// main window shows them (the regional decimal separator, the window's
// rounding), why a case is not rated, the captions of the comparison and
// the comparison as a table, and the project's details as the report's
// header lists them, each in the seven interface languages.
#pragma once

#include "platform/table.h"
#include "project/compare.h"

#include <QList>
#include <QPair>
#include <QString>

namespace projects {

// x rounded half away from zero to `decimals`; with trim, without trailing
// zeros (the fields' display). A zero is never negative.
QString numberText(double x, int decimals, bool trim, const QString &sep);

// The inputs as the cases list shows them.
QString typeText(const rating::Case &c);
QString flowText(double flow, int unit, const QString &sep); // "7 m3/h", "116,667 l/min"
QString inletText(double t, const QString &sep);              // "80", "20,5"

// Why the case gives no results, in a sentence of the interface language.
QString whyNotRated(const rating::Case &c, const project::Outcome &o, int nyelv);

// The caption of a row of the comparison ("Volume flow rate, shell side").
QString quantityCaption(project::Quantity q, int nyelv);

// The comparison as a table: a first row with the cases' names, then one
// row a quantity (caption, unit, one cell a case, the cells that differ
// from the first column's marked), and where a compared case is not rated,
// a last row that says why. Numbers as comparisonCell writes them.
platform::Table comparisonTable(const project::Project &p, const std::vector<project::Outcome> &outcomes,
                                const project::Comparison &c, int nyelv, const QString &sep);

// The comparison window's title and its report page's title and legend.
QString comparisonTitle(int nyelv);
QString comparisonLegend(int nyelv);

// The project's details that are given (not blank), each with its caption,
// in the order customer, reference, revision, author, date; the name is
// the report's heading and the notes come apart (notesCaption()).
QList<QPair<QString, QString>> detailFields(const project::Details &d, int nyelv);
QString notesCaption(int nyelv);

} // namespace projects
