// Fuzzes the command line of ventrano-rate through its own dispatch, so that
// every command it has is reached.
//
// The first byte picks what is on standard input (nothing, a table of good
// cases, one with a bad row, a project file); the rest are the arguments,
// separated by NUL bytes as the system separates them. The run happens in a
// scratch folder holding the same inputs as files (cases.csv, bad.csv,
// empty.csv, p.ventrano); an absolute path or a ".." in an argument is kept
// inside it.
//
// Whatever the arguments, the run exits 0, 1 or 2. With 2, standard output
// is empty and standard error holds a message. With 0 or 1, standard output
// is a help or version text, a project file that opens, CSV in which
// every record has the header's fields, or (1 only) nothing at all with
// the reason on standard error; every number column holds the
// shortest text of a finite double (empty only in a row with an error);
// no cell is "inf" or "nan"; and every sentence on standard error or in an
// error column has no gap where a number belongs and no "inf" or "nan"
// that the arguments did not bring.
//
// Reproduce a finding: the arguments are the NUL-separated pieces after the
// first byte, e.g. tail -c +2 CRASH-FILE | xargs -0 ventrano-rate (in a
// folder with those files, and standard input as the first byte picks).
#include "fuzz/harness.h"

#include "project/project.h"
#include "textio/number.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace fuzzing;
namespace fs = std::filesystem;

namespace {

const std::string header = "type,series,parallel,jacket_flow,jacket_unit,jacket_inlet,coil_flow,coil_unit,coil_inlet";
const std::string goodCases = header + ",id\nVT/R-2,1,1,7,m3/h,80,1,m3/h,20,a\nVR/T-4,3,2,420,l/min,-5,60,l/min,150,b\n";
const std::string badCases = header + "\nVT/R-9,1,1,7,m3/h,80,1,m3/h,20\nVT/R-0,1,1,7,m3/h,80,0,m3/h,20\n"
                                      "VT/R-0,2,1,7,m3/h,80,150,m3/h,20\nVT/R-1,1,1,7,m3/h,50,1,m3/h,50\n";
const std::string projectFile =
    "{\"format\":\"ventrano-project\",\"version\":1,\"project\":{\"customer\":\"C\"},\"cases\":["
    "{\"name\":\"A\",\"type\":\"VT/R-2\",\"series\":1,\"parallel\":1,\"jacket_flow\":7,"
    "\"jacket_unit\":\"m3/h\",\"jacket_inlet\":80,\"coil_flow\":1,\"coil_unit\":\"m3/h\",\"coil_inlet\":20},"
    "{\"name\":\"B\",\"type\":\"VT/R-0\",\"series\":2,\"parallel\":1,\"jacket_flow\":7,"
    "\"jacket_unit\":\"m3/h\",\"jacket_inlet\":80,\"coil_flow\":0,\"coil_unit\":\"m3/h\","
    "\"coil_inlet\":21,\"fouling_m2K_W\":0.0001}],\"current\":1}\n";
const std::string inputs[] = {"", goodCases, badCases, projectFile};

struct SeedFile {
    const char *name;
    const std::string &content;
};
const SeedFile seedFiles[] = {{"cases.csv", goodCases}, {"bad.csv", badCases}, {"p.ventrano", projectFile}};
const std::string empty;

// The scratch folder, made once under $TMPDIR as ventrano-fuzz-options.PID,
// and put back as it was after a run that changed it (a command that writes
// files). libFuzzer ends the process without its destructors: the folders
// of processes that have ended are removed when the next one starts.
struct Scratch {
    static constexpr std::string_view prefix = "ventrano-fuzz-options.";
    fs::path dir;
    int dirFd = -1, homeFd = -1;
    Scratch()
    {
        const char *tmp = std::getenv("TMPDIR");
        const fs::path base = tmp && *tmp ? tmp : "/tmp";
        std::error_code ec;
        for (const fs::directory_entry &e : fs::directory_iterator(base, ec)) {
            const std::string name = e.path().filename().string();
            if (name.rfind(prefix, 0) != 0) continue;
            const long pid = std::strtol(name.c_str() + prefix.size(), nullptr, 10);
            if (pid > 0 && kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) fs::remove_all(e.path(), ec);
        }
        dir = base / (std::string(prefix) + std::to_string(getpid()));
        fs::remove_all(dir, ec);
        if (!fs::create_directory(dir, ec)) fail("cannot make the scratch folder", ec.message());
        reset();
        dirFd = open(dir.c_str(), O_RDONLY | O_DIRECTORY);
        homeFd = open(".", O_RDONLY | O_DIRECTORY);
        if (dirFd < 0 || homeFd < 0) fail("cannot open the scratch folder", std::strerror(errno));
    }
    static Scratch &instance()
    {
        static Scratch s;
        return s;
    }
    void reset()
    {
        for (const fs::directory_entry &e : fs::directory_iterator(dir)) fs::remove_all(e.path());
        for (const SeedFile &f : seedFiles) std::ofstream(dir / f.name, std::ios::binary) << f.content;
        std::ofstream(dir / "empty.csv", std::ios::binary) << empty;
    }
    bool changed() const
    {
        std::size_t n = 0;
        for (const fs::directory_entry &e : fs::directory_iterator(dir)) {
            ++n;
            const std::string name = e.path().filename().string();
            std::size_t want = std::string::npos;
            if (name == "empty.csv") want = 0;
            for (const SeedFile &f : seedFiles)
                if (name == f.name) want = f.content.size();
            std::error_code ec;
            if (want == std::string::npos || !e.is_regular_file(ec) || e.file_size(ec) != want) return true;
        }
        return n != std::size(seedFiles) + 1;
    }
};

// The argument kept inside the scratch folder: a leading '/' (also after
// '=') made relative, every ".." made harmless.
std::string confined(std::string a)
{
    for (std::size_t at = a.find(".."); at != std::string::npos; at = a.find("..", at)) a[at + 1] = '_';
    if (!a.empty() && a[0] == '/') a.insert(0, ".");
    for (std::size_t at = a.find("=/"); at != std::string::npos; at = a.find("=/", at + 2)) a.insert(at + 1, ".");
    return a;
}

// The output columns that hold numbers: their names end in a unit (as
// ventrano-rate names them), and the counts of select.
bool isNumberColumn(std::string_view name)
{
    for (std::string_view unit : {"_kW", "_C", "_kPa", "_kg_s", "_m_s", "_W_m2K", "_m2", "_percent"})
        if (name.size() > unit.size() && name.substr(name.size() - unit.size()) == unit) return true;
    return name == "units";
}

void checkCsv(const Run &run, const std::vector<std::string> &echoes)
{
    const std::vector<Record> records = outputRecords(run.out);
    FUZZ_CHECK(!records.empty() && run.out.back() == '\n', run.out);
    const std::vector<std::string> &names = records[0].fields;
    int errorColumn = -1;
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i] == "error") errorColumn = static_cast<int>(i);
    for (const Record &r : records) {
        FUZZ_CHECK(r.problem == 0 && r.fields.size() == names.size(), run.out);
        if (&r == &records[0]) continue;
        const bool error = errorColumn >= 0 && !r.fields[static_cast<std::size_t>(errorColumn)].empty();
        if (error) checkSentence(r.fields[static_cast<std::size_t>(errorColumn)], echoes, "an error column");
        for (std::size_t i = 0; i < names.size(); ++i) {
            const std::string &cell = r.fields[i];
            FUZZ_CHECK(!isNonNumberWord(textio::trimmed(cell)), run.out);
            if (!isNumberColumn(names[i])) continue;
            if (error) FUZZ_CHECK(cell.empty(), run.out);
            else checkNumberCell(cell, names[i].c_str());
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0) return 0;
    Scratch &scratch = Scratch::instance();
    const std::string &input = inputs[data[0] % std::size(inputs)];
    std::vector<std::string> args;
    if (size > 1) {
        const std::string_view rest(reinterpret_cast<const char *>(data + 1), size - 1);
        for (std::size_t from = 0;;) {
            const std::size_t nul = rest.find('\0', from);
            args.push_back(confined(std::string(rest.substr(from, nul == std::string_view::npos ? nul : nul - from))));
            if (nul == std::string_view::npos) break;
            from = nul + 1;
        }
    }
    // What a message may quote: the arguments, what stands before and after
    // the first '=' of one (an option given as --name=value, or a value
    // such as solve's RESULT=VALUE), the pieces of a value list, and the
    // fields of the inputs.
    std::vector<std::string> echoes;
    for (const std::string &a : args) {
        for (std::string &e : echoesOf(a)) echoes.push_back(std::move(e));
        const std::size_t eq = a.find('=');
        if (eq != std::string::npos)
            for (std::string &e : echoesOf(a.substr(0, eq))) echoes.push_back(std::move(e));
        std::size_t from = eq == std::string::npos ? 0 : eq + 1;
        for (;;) {
            const std::size_t comma = a.find(',', from);
            const std::string piece = a.substr(from, comma == std::string::npos ? comma : comma - from);
            for (std::string &e : echoesOf(piece)) echoes.push_back(std::move(e));
            if (comma == std::string::npos) break;
            from = comma + 1;
        }
    }
    static const std::vector<std::string> inputEchoes = [] {
        std::vector<std::string> out;
        for (const std::string *text : {&goodCases, &badCases})
            for (const Record &r : csvRecords(*text, SIZE_MAX, SIZE_MAX))
                for (const std::string &f : r.fields)
                    for (std::string &e : echoesOf(f)) out.push_back(std::move(e));
        return out;
    }();
    echoes.insert(echoes.end(), inputEchoes.begin(), inputEchoes.end());

    if (fchdir(scratch.dirFd) != 0) fail("cannot enter the scratch folder", std::strerror(errno));
    const Run run = runProgram(args, input);
    if (fchdir(scratch.homeFd) != 0) fail("cannot leave the scratch folder", std::strerror(errno));
    if (scratch.changed()) scratch.reset();

    std::string shown = "arguments:";
    for (const std::string &a : args) shown += " [" + a + "]";
    shown += "\nstatus " + std::to_string(run.status) + "\nstandard output:\n" + run.out.substr(0, 2000) +
             "\nstandard error:\n" + run.err;

    FUZZ_CHECK(run.status == 0 || run.status == 1 || run.status == 2, shown);
    if (!run.err.empty()) {
        FUZZ_CHECK(run.err.back() == '\n', shown);
        checkSentence(run.err, echoes, "standard error");
    }
    if (run.status == 2) {
        FUZZ_CHECK(run.out.empty(), shown);
        FUZZ_CHECK(run.err.rfind("ventrano-rate: ", 0) == 0, shown);
        return 0;
    }
    if (run.out.empty()) {
        // A refusal that writes nothing at all (a project is written whole
        // or not): status 1 and the reason.
        FUZZ_CHECK(run.status == 1 && !run.err.empty(), shown);
        return 0;
    }
    if (run.out.rfind("Usage: ventrano-rate", 0) == 0 || run.out.rfind("ventrano-rate ", 0) == 0) {
        // The help or the version.
        FUZZ_CHECK(run.status == 0 && run.err.empty() && run.out.back() == '\n', shown);
        return 0;
    }
    if (run.out[0] == '{') {
        // A project file.
        const project::Result<project::Project> p = project::read(run.out, "out.ventrano");
        FUZZ_CHECK(p.ok(), shown);
        return 0;
    }
    checkCsv(run, echoes);
    return 0;
}
