// Cases as rows of CSV, as `rate` and `project --from-csv` read them: the
// header's columns and a row's case.
#pragma once

#include "rating/case.h"
#include "textio/casefields.h"
#include "textio/csv.h"

#include <cstddef>
#include <string>

namespace cli {

// A record of at most 1 MiB of field text and 10000 fields.
inline constexpr std::size_t maxRecordBytes = 1 << 20;
inline constexpr std::size_t maxFields = 10000;

// Where the header puts each column, -1 where it has none.
struct CaseColumns {
    int where[textio::InputColumnCount];
    int fouling = -1; // fouling_m2K_W, optional
    int name = -1;    // the case's name: `case`, or else `name` (where names are read)
    std::size_t width = 0;
};

// What a record that cannot be taken apart has.
const char *problemText(textio::CsvRecord::Problem p);

// Reads the header row: every input column once, the optional ones at most
// once. Returns why it is no header of cases (for a usage error), or empty.
std::string readHeader(const textio::CsvRecord &header, CaseColumns &columns, bool names);

// Reads the case of a row into `c` (its fouling rating::Rf where the
// column is missing or the field empty). Returns why the row holds no
// case, every field's problem joined by "; ", or empty.
std::string readCase(const textio::CsvRecord &row, const CaseColumns &columns, rating::Case &c);

} // namespace cli
