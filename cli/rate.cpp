// ventrano-rate rate [FILE]: one output row per input case, as it comes.
#include "cli/commands.h"
#include "textio/casefields.h"
#include "textio/csv.h"
#include "textio/number.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace cli {
using namespace textio;

namespace {

using Column = InputColumn;
constexpr int ColumnCount = InputColumnCount;
constexpr const auto &columnNames = inputColumns;

constexpr std::size_t maxRecordBytes = 1 << 20; // 1 MiB of field text
constexpr std::size_t maxFields = 10000;

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

struct Input {
    std::FILE *file = nullptr;
    bool own = false;
    ~Input()
    {
        if (own) std::fclose(file);
    }
};

} // namespace

int runRate(int argc, char **argv)
{
    const char *path = nullptr;
    bool options = true;
    for (int i = 0; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (options && (a == "-h" || a == "--help")) return writeOut(rateHelpText);
        if (options && a == "--") {
            options = false;
        } else if (options && a.size() > 1 && a[0] == '-') {
            return usageError("unknown option " + quoted(a), "rate");
        } else if (path) {
            return usageError("one FILE at most", "rate");
        } else {
            path = argv[i];
        }
    }
    Input in;
    std::string inputName = "standard input";
    if (!path || std::string_view(path) == "-") {
        in.file = stdin;
    } else {
        inputName = std::string("'") + path + "'";
        in.file = std::fopen(path, "rb");
        if (!in.file) return ioError("cannot open " + inputName, errno);
        in.own = true;
    }

    CsvWriter out(stdout);
    // The rows written so far go out before the reader waits for more.
    CsvReader reader(in.file, maxRecordBytes, maxFields, [&out] { out.flush(); });
    CsvRecord header;
    if (!reader.next(header)) {
        if (reader.error()) return ioError("cannot read from " + inputName, reader.errorNumber());
        return usageError("no header row: the first line names the columns", "rate");
    }
    if (header.problem != CsvRecord::Problem::None)
        return usageError(std::string("the header row has ") + problemText(header.problem), "rate");

    // Where each needed column is; a needed column twice, or one named like
    // an output column, is a mistake in the header.
    int where[ColumnCount];
    std::fill(std::begin(where), std::end(where), -1);
    std::vector<std::string> outputNames = {"duty_kW", "error"};
    for (const char *c : resultColumns) outputNames.emplace_back(c);
    std::string missing;
    for (std::size_t i = 0; i < header.count; ++i) {
        const std::string name(trimmed(header.fields[i])); // blanks around a name, as around a value
        for (int c = 0; c < ColumnCount; ++c)
            if (name == columnNames[c]) {
                if (where[c] >= 0) return usageError("the column " + quoted(name) + " is in the header twice", "rate");
                where[c] = static_cast<int>(i);
            }
        for (const std::string &o : outputNames)
            if (name == o)
                return usageError("the input has a column " + quoted(name) + ", which the output adds: rename or drop it",
                                  "rate");
    }
    for (int c = 0; c < ColumnCount; ++c)
        if (where[c] < 0) missing += std::string(missing.empty() ? "" : ", ") + columnNames[c];
    if (!missing.empty()) return usageError("the header lacks the column(s) " + missing, "rate");

    const std::size_t width = header.count;
    for (std::size_t i = 0; i < width; ++i) out.field(header.fields[i]);
    out.raw("duty_kW");
    for (const char *c : resultColumns) out.raw(c);
    out.raw("error");
    out.end();

    rating::Model state;
    CsvRecord row;
    std::string error;
    bool anyError = false;
    // Once the output fails, nothing more can be written: stop reading.
    while (out.ok() && reader.next(row)) {
        error.clear();
        rating::Case c;
        rating::Rating result;
        if (row.problem != CsvRecord::Problem::None) {
            error = problemText(row.problem);
        } else if (row.count != width) {
            error = std::to_string(row.count) + (row.count == 1 ? " field" : " fields") + ", the header has " +
                    std::to_string(width);
        } else {
            auto field = [&](Column col) -> std::string_view { return row.fields[static_cast<std::size_t>(where[col])]; };
            auto note = [&](Column col, const std::string &why) {
                if (why.empty()) return;
                error += std::string(error.empty() ? "" : "; ") + columnNames[col] + ": " + why;
            };
            note(Type, readType(field(Type), c.Tipus));
            note(Series, readCount(field(Series), c.Soros));
            note(Parallel, readCount(field(Parallel), c.Parh));
            note(JacketFlow, readFlow(field(JacketFlow), c.MVk));
            note(CoilFlow, readFlow(field(CoilFlow), c.MVs));
            note(JacketUnit, readUnit(field(JacketUnit), c.CbMVkIndex));
            note(CoilUnit, readUnit(field(CoilUnit), c.CbMVsIndex));
            note(JacketInlet, readInlet(field(JacketInlet), c.tkb));
            note(CoilInlet, readInlet(field(CoilInlet), c.tsb));
            if (error.empty()) {
                result = rating::rate(state, c);
                if (!result.ok()) error = whyNotRated(state, c, result);
            }
        }

        // The input columns as read (none of a record that could not be
        // read into fields), then the results or the message.
        const bool readable = row.problem == CsvRecord::Problem::None;
        for (std::size_t i = 0; i < width; ++i) {
            if (readable && i < row.count) out.field(row.fields[i]);
            else out.empty();
        }
        if (error.empty()) {
            out.number(result.values.QLabel);
            writeResults(out, result.values);
            out.empty();
        } else {
            anyError = true;
            for (int i = 0; i <= resultColumnCount; ++i) out.empty();
            out.field("line " + std::to_string(row.line) + ": " + error);
        }
        out.end();
    }
    if (!out.flush()) return ioError("cannot write to standard output", out.errorNumber());
    if (reader.error()) return ioError("cannot read from " + inputName, reader.errorNumber());
    return anyError ? exitSome : exitOk;
}

} // namespace cli
