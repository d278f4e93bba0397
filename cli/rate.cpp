// ventrano-rate rate [FILE]: one output row per input case, as it comes; or
// every case of a project file.
#include "cli/cases.h"
#include "cli/commands.h"
#include "cli/options.h"
#include "platform/system.h"
#include "project/messages.h"
#include "project/project.h"
#include "textio/casefields.h"
#include "textio/csv.h"
#include "textio/number.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace cli {
using namespace textio;

namespace {

struct Input {
    std::FILE *file = nullptr;
    bool own = false;
    ~Input()
    {
        if (own) std::fclose(file);
    }
};

enum class Form { Sniff, Csv, Project };

bool endsWithProjectExtension(std::string_view path)
{
    constexpr std::string_view ext = ".ventrano";
    if (path.size() <= ext.size()) return false;
    const std::string_view tail = path.substr(path.size() - ext.size());
    for (std::size_t i = 0; i < ext.size(); ++i) {
        char c = tail[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != ext[i]) return false;
    }
    return true;
}

// The start of the input, up to and with its first byte that is neither a
// blank nor a line break (after a UTF-8 byte order mark), or a buffer's
// worth of them: a project's JSON starts with '{' there, a table's header
// with the name of a column. False on a read error.
bool readStart(std::FILE *in, std::string &start, int &error)
{
    constexpr std::size_t most = 1 << 16;
    constexpr std::string_view bom = "\xEF\xBB\xBF";
    char buffer[4096];
    for (;;) {
        const long n = platform::readAvailable(in, buffer, std::min(sizeof buffer, most - start.size()));
        if (n < 0) {
            error = errno;
            return false;
        }
        if (n == 0) return true;
        start.append(buffer, static_cast<std::size_t>(n));
        if (start.size() < bom.size() && bom.substr(0, start.size()) == start) continue; // perhaps a byte order mark
        const std::size_t from = std::string_view(start).substr(0, bom.size()) == bom ? bom.size() : 0;
        if (start.find_first_not_of(" \t\r\n", from) != std::string::npos || start.size() >= most) return true;
    }
}

bool looksLikeProject(std::string_view start)
{
    if (start.substr(0, 3) == "\xEF\xBB\xBF") start.remove_prefix(3);
    const std::size_t at = start.find_first_not_of(" \t\r\n");
    return at != std::string_view::npos && start[at] == '{';
}

// The whole project text: `start`, then the rest of the stream, at most a
// project file's limit. Why not, in `e`, on a read error or beyond the limit.
bool readProject(std::FILE *in, std::string bytes, const std::string &name, std::string &out, project::Error &e,
                 int &readError)
{
    char buffer[1 << 16];
    for (;;) {
        if (bytes.size() > project::maxFileBytes) {
            e.kind = project::Error::Kind::TooLarge;
            e.fileName = name;
            struct stat st;
            e.count = fstat(fileno(in), &st) == 0 && S_ISREG(st.st_mode) ? static_cast<long long>(st.st_size) : -1;
            return false;
        }
        const long n = platform::readAvailable(in, buffer, sizeof buffer);
        if (n < 0) {
            readError = errno;
            return false;
        }
        if (n == 0) break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    out = std::move(bytes);
    return true;
}

// Every case of the opened project, with its name first and its inputs as
// the file holds them.
int rateProject(const project::Opened &opened)
{
    CsvWriter out(stdout);
    out.raw("case");
    writeInputHeader(out, true);
    out.raw("duty_kW");
    for (const char *c : resultColumns) out.raw(c);
    out.raw("error");
    out.end();
    bool anyError = false;
    const std::vector<project::Case> &cases = opened.project.cases;
    for (std::size_t i = 0; i < cases.size() && out.ok(); ++i) {
        const rating::Case &in = cases[i].inputs;
        out.field(cases[i].name);
        writeInputs(out, in, true);
        const project::Outcome &o = opened.outcomes[i];
        if (o.ok()) {
            out.number(o.rating.values.QLabel);
            writeResults(out, o.rating.values);
            out.empty();
        } else {
            anyError = true;
            for (int k = 0; k <= resultColumnCount; ++k) out.empty();
            out.field("case " + std::to_string(i + 1) + ": " + o.error);
        }
        out.end();
    }
    if (!out.flush()) return ioError("cannot write to standard output", out.errorNumber());
    return anyError ? exitSome : exitOk;
}

} // namespace

int runRate(int argc, char **argv)
{
    const char *path = nullptr;
    bool options = true;
    Form form = Form::Sniff;
    for (int i = 0; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (options && (a == "-h" || a == "--help")) return writeOut(rateHelpText);
        if (options && a == "--") {
            options = false;
        } else if (options && (a == "--csv" || a == "--project")) {
            const Form f = a == "--csv" ? Form::Csv : Form::Project;
            if (form != Form::Sniff && form != f) return usageError("--csv and --project exclude each other", "rate");
            form = f;
        } else if (options && a.size() > 1 && a[0] == '-') {
            return usageError("unknown option " + quoted(a), "rate");
        } else if (path) {
            return usageError("one FILE at most", "rate");
        } else {
            path = argv[i];
        }
    }
    Input in;
    std::string inputName = "standard input", fileName = "standard input";
    if (!path || std::string_view(path) == "-") {
        in.file = stdin;
    } else {
        fileName = path;
        inputName = std::string("'") + path + "'";
        in.file = std::fopen(path, "rb");
        if (!in.file) return ioError("cannot open " + inputName, errno);
        in.own = true;
        if (form == Form::Sniff && endsWithProjectExtension(path)) form = Form::Project;
    }

    std::string start;
    if (form != Form::Csv) {
        int error = 0;
        if (!readStart(in.file, start, error)) return ioError("cannot read from " + inputName, error);
        if (form == Form::Sniff) form = looksLikeProject(start) ? Form::Project : Form::Csv;
    }
    if (form == Form::Project) {
        std::string bytes;
        project::Error e;
        int error = 0;
        if (!readProject(in.file, std::move(start), fileName, bytes, e, error)) {
            if (error != 0) return ioError("cannot read from " + inputName, error);
            std::fprintf(stderr, "%s: %s\n", program, project::sentence(e).c_str());
            return exitUsage;
        }
        const project::Result<project::Opened> opened = project::open(bytes, fileName);
        if (!opened.ok()) {
            std::fprintf(stderr, "%s: %s\n", program, project::sentence(opened.error()).c_str());
            return exitUsage;
        }
        return rateProject(opened.value());
    }

    CsvWriter out(stdout);
    // The rows written so far go out before the reader waits for more.
    CsvReader reader(in.file, maxRecordBytes, maxFields, [&out] { out.flush(); });
    reader.prepend(start);
    CsvRecord header;
    if (!reader.next(header)) {
        if (reader.error()) return ioError("cannot read from " + inputName, reader.errorNumber());
        return usageError("no header row: the first line names the columns", "rate");
    }
    CaseColumns columns;
    if (const std::string why = readHeader(header, columns, false); !why.empty()) return usageError(why, "rate");
    // A column named like an output column would be ambiguous in the output.
    std::vector<std::string> outputNames = {"duty_kW", "error"};
    for (const char *c : resultColumns) outputNames.emplace_back(c);
    for (std::size_t i = 0; i < header.count; ++i) {
        const std::string_view name = trimmed(header.fields[i]);
        for (const std::string &o : outputNames)
            if (name == o)
                return usageError("the input has a column " + quoted(name) + ", which the output adds: rename or drop it",
                                  "rate");
    }

    const std::size_t width = header.count;
    for (std::size_t i = 0; i < width; ++i) out.field(header.fields[i]);
    out.raw("duty_kW");
    for (const char *c : resultColumns) out.raw(c);
    out.raw("error");
    out.end();

    rating::Model state;
    CsvRecord row;
    bool anyError = false;
    // Once the output fails, nothing more can be written: stop reading.
    while (out.ok() && reader.next(row)) {
        rating::Case c;
        rating::Rating result;
        std::string error = readCase(row, columns, c);
        if (error.empty()) {
            result = rating::rate(state, c);
            if (!result.ok()) error = whyNotRated(state, c, result);
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
