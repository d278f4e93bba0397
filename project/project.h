// A project: the cases (alternatives) an engineer rates for one enquiry,
// with the enquiry's details, as the program keeps it and as a .ventrano
// file holds it (docs/project-file.md). Plain C++, no Qt: the windows and
// ventrano-rate read and write projects through here.
//
// Reading checks everything before anything is used: the size, the
// encoding, the JSON, the format and version, every key's type and every
// input's range (with the command line's readers, so that a file and a CSV
// row agree). A refusal is one Error, which sentence() (project/messages.h)
// turns into one sentence. Keys the program does not know are kept with
// their place and written back; stored results are never trusted: they are
// recomputed, compared with the stored ones, and written afresh.
#pragma once

#include "project/json.h"
#include "rating/case.h"
#include "textio/casefields.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace project {

inline constexpr const char *formatName = "ventrano-project";
inline constexpr int formatVersion = 1; // the newest version this program reads and the one it writes
inline constexpr int maxCases = 1000;
inline constexpr std::size_t maxFileBytes = 10'000'000; // 10 MB

// The members of one JSON object as a file had them: the program's own
// keys by their place, the others with their values, so that writing puts
// every member back where it was.
struct Layout {
    struct Entry {
        int known = -1;                   // the index of one of the program's keys, or -1
        std::uint32_t begin = 0, end = 0; // another member: its text in `others`
        bool operator==(const Entry &) const = default;
    };
    std::vector<Entry> entries;
    std::string others; // the other members one after another, each as compact JSON: "key":value
    bool operator==(const Layout &) const = default;
};

// The enquiry: texts, each may be empty. date is ISO 8601 (YYYY-MM-DD) as
// the program writes it; a file's date is taken as any text.
struct Details {
    std::string name, customer, reference, revision, author, date, notes;
    bool operator==(const Details &) const = default;
};

// What a file held under a case's "results". A record only: compared with
// the recomputed results on opening, written afresh on saving. Its unknown
// members are written back as long as the case's inputs are the ones they
// were stored with.
struct StoredResults {
    bool present = false;
    struct Value {
        int key = 0;        // index in resultKeys
        bool number = false;
        double x = 0;       // a number
        std::string json;   // anything else, as compact JSON
        bool operator==(const Value &) const = default;
    };
    std::vector<Value> values; // the program's keys, in file order
    Layout layout;             // with the unknown members
    rating::Case inputs;       // the case's inputs as read
};

struct Case {
    std::string name;
    rating::Case inputs;
    Layout layout;        // the case object's members as the file had them
    StoredResults stored; // its "results" as read
};

struct Project {
    Details details;
    std::vector<Case> cases;
    int current = 0; // the case the main window shows
    Layout layout;        // the top object's members as the file had them
    Layout detailsLayout; // and the "project" object's
};

// The keys of a results object, in the order they are written: the heat
// duty, then the command line's result columns, then the reason a case is
// not rated.
inline constexpr int resultKeyCount = 13;
extern const char *const resultKeys[resultKeyCount];
inline constexpr int errorKey = resultKeyCount - 1; // "error"

// Why a file is not read (or a project not written).
struct Error {
    enum class Kind {
        Unreadable,     // cannot be opened or read: detail is the system's reason
        TooLarge,       // more than maxFileBytes: size, when it is known
        NotUtf8,        // line, column; found: the byte (0xHH)
        NotJson,        // json reason, line, column, found
        NotProject,     // "format" missing, of another type or another value: value
        NewerVersion,   // value: the file's version, newer than formatVersion
        BadVersion,     // "version" missing or no positive whole number: value
        Missing,        // a required key is missing: key (caseIndex where in a case)
        WrongType,      // key (empty: the case itself) holds another type: expected, found
        OutOfRange,     // key, value (as the file has it), lo, hi, whole
        UnknownName,    // type or unit: key, value
        NoCases,        // "cases" is empty
        TooManyCases,   // count
        BadCurrent,     // "current" names no case: value, count
        TooLargeToSave, // the written project would be more than maxFileBytes
    };
    Kind kind = Kind::Unreadable;
    std::string fileName;
    int caseIndex = -1;     // from 0; -1 where the error is not in a case
    std::string caseName;   // the case's name where it was read before the error
    bool caseNamed = false; // caseName is known
    std::string key;        // "format", "project.customer", "series", "results", ...
    std::string value;      // the value as the file writes it (cut where long)
    std::string detail;     // Unreadable: the system's reason
    json::SyntaxError::Reason jsonReason = json::SyntaxError::Reason::End; // NotJson
    long line = 0, column = 0;
    std::string found;      // NotUtf8, NotJson: what is there
    json::Type expected = json::Type::Null, got = json::Type::Null; // WrongType
    double lo = 0, hi = 0;  // OutOfRange
    bool whole = false;     // OutOfRange: a whole number is needed
    long long count = 0;    // TooManyCases, BadCurrent: cases; TooLarge: bytes (-1 unknown)
};

// A value or the reason there is none.
template <class T> class Result {
public:
    Result(T value) : v_(std::move(value)) {}
    Result(Error error) : v_(std::move(error)) {}
    bool ok() const { return v_.index() == 0; }
    T &value() { return std::get<0>(v_); }
    const T &value() const { return std::get<0>(v_); }
    const Error &error() const { return std::get<1>(v_); }

private:
    std::variant<T, Error> v_;
};

// The project in `bytes` (a file's content; fileName names it in errors).
Result<Project> read(std::string_view bytes, const std::string &fileName);
// The project in the file at `path`: at most maxFileBytes are read.
Result<Project> readFile(const std::string &path);

// The file's text for the project, with every case rated afresh. Refused
// where the reader would refuse the text (no case, more than maxCases, a
// current that names no case, an input outside its range, more than
// maxFileBytes): the program never writes a file it cannot open again. The
// error names no file: the caller puts the file's name in its fileName.
Result<std::string> write(const Project &p);

// A case's rating as the results object and the comparison show it.
struct Outcome {
    rating::Rating rating;
    std::string error; // why the case is not rated, as ventrano-rate's error column says it
    bool ok() const { return rating.ok(); }
};

// One case rated on `state` (any state: nothing of an earlier case carries
// over).
Outcome rateCase(rating::Model &state, const rating::Case &inputs);
// Every case rated, one calculation state reused.
std::vector<Outcome> rate(const Project &p);

// The cases (indices from 0) whose stored results differ from what saving
// would write for them now: a value not the same double or text, or a key
// of the program's present in one and not in the other. A case without
// stored results does not differ.
std::vector<int> differingResults(const Project &p, const std::vector<Outcome> &outcomes);

// A file opened: read, every case rated, the stored results compared.
struct Opened {
    Project project;
    std::vector<Outcome> outcomes;
    std::vector<int> differing;
};
Result<Opened> open(std::string_view bytes, const std::string &fileName);
Result<Opened> openFile(const std::string &path);

// The twelve results of a rated case in the order of resultKeys (duty
// first), as the main window's result texts round them from.
using textio::resultValues;

// Whether two cases have the same inputs, bit for bit.
bool sameInputs(const rating::Case &a, const rating::Case &b);

} // namespace project
