// Fuzzes `ventrano-rate rate` on the bytes as its standard input, read a
// few bytes at a time as from a pipe.
//
// Whatever they are, the run exits 0, 1 or 2. With 2 nothing is on standard
// output, a message is on standard error, and the header was indeed
// unusable. Otherwise standard error is empty and every record of the input
// after the header has one output row, in order, echoing its fields: either
// all twelve results, each the shortest text of the very double a fresh
// rating of that row gives (so it reads back as that double), or no result
// and a one-line message naming the record's line; the status is 1 exactly
// when some row has a message.
//
// The input is always taken as CSV (--csv), since this target is the CSV
// path; a project file on standard input has a target of its own.
//
// Reproduce a finding with the program itself:
//     ventrano-rate rate --csv CRASH-FILE
#include "fuzz/harness.h"

#include "cli/cases.h"
#include "rating/case.h"
#include "textio/casefields.h"
#include "textio/number.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

using namespace fuzzing;

namespace {

// The command's own limits of a record.
using cli::maxFields;
using cli::maxRecordBytes;

std::vector<std::string> outputColumns()
{
    std::vector<std::string> names = {"duty_kW"};
    for (const char *c : textio::resultColumns) names.emplace_back(c);
    names.emplace_back("error");
    return names;
}

// Where each input column is in a header that names each once and none
// like an output column; empty for any other header. The element after the
// input columns is the optional fouling column (-1 when the header has none).
std::vector<int> usableHeader(const Record &header)
{
    if (header.problem != 0) return {};
    std::vector<int> where(textio::InputColumnCount + 1, -1);
    const std::vector<std::string> outputs = outputColumns();
    for (std::size_t i = 0; i < header.fields.size(); ++i) {
        const std::string_view name = textio::trimmed(header.fields[i]);
        for (const std::string &o : outputs)
            if (name == o) return {};
        for (int c = 0; c < textio::InputColumnCount; ++c)
            if (name == textio::inputColumns[c]) {
                if (where[static_cast<std::size_t>(c)] >= 0) return {};
                where[static_cast<std::size_t>(c)] = static_cast<int>(i);
            }
        if (name == textio::foulingColumn) {
            if (where.back() >= 0) return {};
            where.back() = static_cast<int>(i);
        }
    }
    for (int c = 0; c < textio::InputColumnCount; ++c)
        if (where[static_cast<std::size_t>(c)] < 0) return {};
    return where;
}

// The row's case read with the command line's readers and rated afresh;
// false where a field does not read or the case does not rate.
bool rateAfresh(const Record &row, const std::vector<int> &where, rating::Rating &result)
{
    using namespace textio;
    auto f = [&](InputColumn c) -> std::string_view { return row.fields[static_cast<std::size_t>(where[c])]; };
    rating::Case c;
    const std::string why = readType(f(Type), c.Tipus) + readCount(f(Series), c.Soros) +
                            readCount(f(Parallel), c.Parh) + readFlow(f(JacketFlow), c.MVk) +
                            readFlow(f(CoilFlow), c.MVs) + readUnit(f(JacketUnit), c.CbMVkIndex) +
                            readUnit(f(CoilUnit), c.CbMVsIndex) + readInlet(f(JacketInlet), c.tkb) +
                            readInlet(f(CoilInlet), c.tsb);
    if (!why.empty()) return false;
    // A missing or blank fouling field is the default resistance.
    const int fouling = where.back();
    if (fouling >= 0 && !trimmed(row.fields[static_cast<std::size_t>(fouling)]).empty() &&
        !readFouling(row.fields[static_cast<std::size_t>(fouling)], c.Rf).empty())
        return false;
    rating::Model fresh;
    result = rating::rate(fresh, c);
    return result.ok();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    // Standard input as a pipe gives it, a few bytes a read: every state
    // of the reader meets the end of what it has read.
    const Run run = runProgram({"rate", "--csv"}, input, true);
    const std::vector<Record> in = csvRecords(input, maxRecordBytes, maxFields);

    FUZZ_CHECK(run.status == 0 || run.status == 1 || run.status == 2, run.err);
    if (run.status == 2) {
        FUZZ_CHECK(run.out.empty(), run.out);
        std::vector<std::string> echoes;
        if (!in.empty())
            for (const std::string &f : in[0].fields)
                for (std::string &e : echoesOf(f)) echoes.push_back(std::move(e));
        checkSentence(run.err, echoes, "the message on standard error");
        FUZZ_CHECK(run.err.rfind("ventrano-rate: ", 0) == 0, run.err);
        // A header that names every column once is never refused.
        FUZZ_CHECK(in.empty() || usableHeader(in[0]).empty(), run.err);
        return 0;
    }
    FUZZ_CHECK(run.err.empty(), run.err);
    FUZZ_CHECK(!in.empty(), run.out);
    const std::vector<int> where = usableHeader(in[0]);
    FUZZ_CHECK(!where.empty(), run.out);

    const std::vector<Record> out = outputRecords(run.out);
    FUZZ_CHECK(!run.out.empty() && run.out.back() == '\n', run.out);
    FUZZ_CHECK(out.size() == in.size(), run.out);
    const std::size_t width = in[0].fields.size();
    std::vector<std::string> header = in[0].fields;
    for (std::string &name : outputColumns()) header.push_back(std::move(name));
    FUZZ_CHECK(out[0].problem == 0 && out[0].fields == header, run.out);

    bool anyError = false;
    for (std::size_t k = 1; k < in.size(); ++k) {
        const Record &row = in[k];
        const Record &o = out[k];
        FUZZ_CHECK(o.problem == 0 && o.fields.size() == width + 13, run.out);
        const bool readable = row.problem == 0;
        for (std::size_t i = 0; i < width; ++i)
            FUZZ_CHECK(o.fields[i] == (readable && i < row.fields.size() ? row.fields[i] : std::string()), run.out);
        const std::string &error = o.fields[width + 12];
        rating::Rating want;
        const bool rates = readable && row.fields.size() == width && rateAfresh(row, where, want);
        if (error.empty()) {
            FUZZ_CHECK(rates, run.out);
            const auto values = textio::resultValues(want.values);
            for (std::size_t c = 0; c < 12; ++c) {
                const double x = checkNumberCell(o.fields[width + c], header[width + c].c_str());
                FUZZ_CHECK(std::memcmp(&x, &values[c], sizeof x) == 0,
                           header[width + c] + " " + o.fields[width + c] + " is not " + textio::numberText(values[c]));
            }
        } else {
            anyError = true;
            FUZZ_CHECK(!rates, run.out);
            for (std::size_t c = 0; c < 12; ++c) FUZZ_CHECK(o.fields[width + c].empty(), run.out);
            const std::string line = "line " + std::to_string(row.line) + ": ";
            FUZZ_CHECK(error.rfind(line, 0) == 0 && error.size() > line.size(), error);
            FUZZ_CHECK(error.find_first_of("\r\n") == std::string::npos, error);
            std::vector<std::string> echoes;
            for (const std::string &f : row.fields)
                for (std::string &e : echoesOf(f)) echoes.push_back(std::move(e));
            checkSentence(error.substr(line.size()), echoes, "a row's error");
        }
    }
    FUZZ_CHECK(run.status == (anyError ? 1 : 0), run.out);
    return 0;
}
