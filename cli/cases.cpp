#include "cli/cases.h"

#include "textio/number.h"

#include <algorithm>
#include <string_view>

namespace cli {
using namespace textio;

const char *problemText(CsvRecord::Problem p)
{
    switch (p) {
    case CsvRecord::Problem::None: break;
    case CsvRecord::Problem::TooLong: return "a record longer than 1 MiB or of more than 10000 fields";
    case CsvRecord::Problem::TextAfterQuote: return "text after the closing quote of a field";
    case CsvRecord::Problem::Unclosed: return "a quoted field not closed before the end of the input";
    case CsvRecord::Problem::Nul: return "a NUL byte";
    }
    return "";
}

std::string readHeader(const CsvRecord &header, CaseColumns &columns, bool names)
{
    if (header.problem != CsvRecord::Problem::None) return std::string("the header row has ") + problemText(header.problem);
    std::fill(std::begin(columns.where), std::end(columns.where), -1);
    columns.fouling = columns.name = -1;
    columns.width = header.count;
    int caseAt = -1, nameAt = -1;
    auto place = [](int &at, std::size_t i, const std::string &name) -> std::string {
        if (at >= 0) return "the column " + quoted(name) + " is in the header twice";
        at = static_cast<int>(i);
        return {};
    };
    for (std::size_t i = 0; i < header.count; ++i) {
        const std::string name(trimmed(header.fields[i])); // blanks around a name, as around a value
        std::string why;
        for (int c = 0; c < InputColumnCount; ++c)
            if (name == inputColumns[c]) why = place(columns.where[c], i, name);
        if (name == foulingColumn) why = place(columns.fouling, i, name);
        if (names && name == "case") why = place(caseAt, i, name);
        if (names && name == "name") why = place(nameAt, i, name);
        if (!why.empty()) return why;
    }
    columns.name = caseAt >= 0 ? caseAt : nameAt;
    std::string missing;
    for (int c = 0; c < InputColumnCount; ++c)
        if (columns.where[c] < 0) missing += std::string(missing.empty() ? "" : ", ") + inputColumns[c];
    if (!missing.empty()) return "the header lacks the column(s) " + missing;
    return {};
}

std::string readCase(const CsvRecord &row, const CaseColumns &columns, rating::Case &c)
{
    if (row.problem != CsvRecord::Problem::None) return problemText(row.problem);
    if (row.count != columns.width)
        return std::to_string(row.count) + (row.count == 1 ? " field" : " fields") + ", the header has " +
               std::to_string(columns.width);
    std::string error;
    auto field = [&](int at) -> std::string_view { return row.fields[static_cast<std::size_t>(at)]; };
    auto note = [&](const char *column, const std::string &why) {
        if (why.empty()) return;
        error += std::string(error.empty() ? "" : "; ") + column + ": " + why;
    };
    auto input = [&](InputColumn col) { return field(columns.where[col]); };
    note(inputColumns[Type], readType(input(Type), c.Tipus));
    note(inputColumns[Series], readCount(input(Series), c.Soros));
    note(inputColumns[Parallel], readCount(input(Parallel), c.Parh));
    note(inputColumns[JacketFlow], readFlow(input(JacketFlow), c.MVk));
    note(inputColumns[CoilFlow], readFlow(input(CoilFlow), c.MVs));
    note(inputColumns[JacketUnit], readUnit(input(JacketUnit), c.CbMVkIndex));
    note(inputColumns[CoilUnit], readUnit(input(CoilUnit), c.CbMVsIndex));
    note(inputColumns[JacketInlet], readInlet(input(JacketInlet), c.tkb));
    note(inputColumns[CoilInlet], readInlet(input(CoilInlet), c.tsb));
    c.Rf = rating::Rf;
    if (columns.fouling >= 0 && !trimmed(field(columns.fouling)).empty())
        note(foulingColumn, readFouling(field(columns.fouling), c.Rf));
    return error;
}

} // namespace cli
