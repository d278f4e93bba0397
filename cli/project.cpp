// ventrano-rate project --from-csv FILE: a table of cases as a project
// file, so that a spreadsheet's table opens in the program.
#include "cli/cases.h"
#include "cli/commands.h"
#include "cli/options.h"
#include "project/json.h"
#include "project/messages.h"
#include "project/project.h"
#include "textio/csv.h"
#include "textio/number.h"

#include <cerrno>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cli {
using namespace textio;

namespace {

enum Option { FromCsv, Name, OptionCount };
constexpr const char *optionNames[OptionCount] = {"--from-csv", "--name"};

struct Input {
    std::FILE *file = nullptr;
    bool own = false;
    ~Input()
    {
        if (own) std::fclose(file);
    }
};

bool isUtf8(std::string_view text) { return project::json::invalidUtf8(text) == std::string_view::npos; }

} // namespace

int runProject(int argc, char **argv)
{
    std::vector<std::optional<std::string>> value;
    if (const int status = readOptions(argc, argv, "project", projectHelpText, optionNames, value); status >= 0)
        return status;
    if (!value[FromCsv]) return usageError("missing --from-csv", "project");
    project::Project p;
    if (value[Name]) {
        if (!isUtf8(*value[Name])) return usageError("--name: " + quoted(*value[Name]) + " is not UTF-8 text", "project");
        p.details.name = *value[Name];
    }

    Input in;
    const std::string &path = *value[FromCsv];
    std::string inputName = "standard input";
    if (path == "-") {
        in.file = stdin;
    } else {
        inputName = "'" + path + "'";
        in.file = std::fopen(path.c_str(), "rb");
        if (!in.file) return ioError("cannot open " + inputName, errno);
        in.own = true;
    }
    CsvReader reader(in.file, maxRecordBytes, maxFields);
    CsvRecord header;
    if (!reader.next(header)) {
        if (reader.error()) return ioError("cannot read from " + inputName, reader.errorNumber());
        return usageError("no header row: the first line names the columns", "project");
    }
    CaseColumns columns;
    if (const std::string why = readHeader(header, columns, true); !why.empty()) return usageError(why, "project");

    // Every row becomes a case, or says on standard error why it cannot;
    // nothing is written unless every one can. The cases held stay within
    // what a project file holds: so many, and their names so long.
    const std::string nameColumn =
        columns.name >= 0 ? std::string(trimmed(header.fields[static_cast<std::size_t>(columns.name)])) : "";
    rating::Model state;
    CsvRecord row;
    bool anyError = false;
    std::size_t nameBytes = 0;
    auto bad = [&](long line, const std::string &why) {
        std::fprintf(stderr, "%s: line %ld: %s\n", program, line, why.c_str());
        anyError = true;
    };
    while (reader.next(row)) {
        if (p.cases.size() == static_cast<std::size_t>(project::maxCases)) {
            bad(row.line, "more than " + std::to_string(project::maxCases) +
                              " rows: a project holds at most " + std::to_string(project::maxCases) + " cases");
            break;
        }
        project::Case c;
        std::string error = readCase(row, columns, c.inputs);
        if (error.empty() && columns.name >= 0) {
            const std::string_view name = trimmed(row.fields[static_cast<std::size_t>(columns.name)]);
            if (!isUtf8(name)) error = nameColumn + ": not UTF-8 text (save the table as UTF-8)";
            else c.name = name;
        }
        if (error.empty()) {
            const rating::Rating r = rating::rate(state, c.inputs);
            if (!r.ok()) error = whyNotRated(state, c.inputs, r);
        }
        if (!error.empty()) {
            bad(row.line, error);
            continue;
        }
        if (c.name.empty()) c.name = "Case " + std::to_string(p.cases.size() + 1);
        nameBytes += c.name.size();
        if (nameBytes > project::maxFileBytes) {
            bad(row.line, "the project would be larger than 10 MB: the names are too long");
            break;
        }
        p.cases.push_back(std::move(c));
    }
    if (reader.error()) return ioError("cannot read from " + inputName, reader.errorNumber());
    if (anyError) return exitSome;
    if (p.cases.empty()) return refusal("no case: the table has no row below its header");

    const project::Result<std::string> text = project::write(p);
    if (!text.ok()) {
        if (text.error().kind == project::Error::Kind::TooLargeToSave)
            return refusal("the project would be larger than 10 MB, the most a project file may have: nothing written");
        project::Error e = text.error();
        e.fileName = "standard output";
        return refusal(project::sentence(e));
    }
    return writeOut(text.value());
}

} // namespace cli
