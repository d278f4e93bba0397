#include "project/project.h"

#include "rating/fields.h"
#include "textio/casefields.h"
#include "textio/number.h"

#include <bit>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>

namespace project {

const char *const resultKeys[resultKeyCount] = {
    "duty_kW",
    textio::resultColumns[0], textio::resultColumns[1], textio::resultColumns[2],  textio::resultColumns[3],
    textio::resultColumns[4], textio::resultColumns[5], textio::resultColumns[6],  textio::resultColumns[7],
    textio::resultColumns[8], textio::resultColumns[9], textio::resultColumns[10], "error",
};
static_assert(textio::resultColumnCount == 11, "the results object holds the duty, the result columns and the error");

namespace {

using Kind = Error::Kind;
using json::Type;

enum TopKey { KFormat, KVersion, KProject, KCases, KCurrent, TopKeyCount };
constexpr std::string_view topKeys[TopKeyCount] = {"format", "version", "project", "cases", "current"};

enum DetailKey { DetailKeyCount = 7 };
constexpr std::string_view detailKeys[DetailKeyCount] = {"name",   "customer", "reference", "revision",
                                                    "author", "date",     "notes"};

// A case's keys in the order they are written: its name, the inputs (each
// flow beside its unit and inlet), the fouling, the results.
enum CaseKey {
    CName, CType, CSeries, CParallel, CJacketFlow, CJacketUnit, CJacketInlet, CCoilFlow, CCoilUnit, CCoilInlet,
    CFouling, CResults, CaseKeyCount
};
constexpr std::string_view caseKeys[CaseKeyCount] = {
    "name",
    textio::inputColumns[textio::Type],
    textio::inputColumns[textio::Series],
    textio::inputColumns[textio::Parallel],
    textio::inputColumns[textio::JacketFlow],
    textio::inputColumns[textio::JacketUnit],
    textio::inputColumns[textio::JacketInlet],
    textio::inputColumns[textio::CoilFlow],
    textio::inputColumns[textio::CoilUnit],
    textio::inputColumns[textio::CoilInlet],
    "fouling_m2K_W",
    "results",
};
const std::string_view resultKeyViews[resultKeyCount] = {
    resultKeys[0], resultKeys[1], resultKeys[2], resultKeys[3],  resultKeys[4],  resultKeys[5], resultKeys[6],
    resultKeys[7], resultKeys[8], resultKeys[9], resultKeys[10], resultKeys[11], resultKeys[12],
};

template <std::size_t N> int indexOf(const std::string_view (&keys)[N], std::string_view key)
{
    for (std::size_t i = 0; i < N; ++i)
        if (key == keys[i]) return static_cast<int>(i);
    return -1;
}

std::string &detail(Details &d, int k)
{
    std::string *fields[DetailKeyCount] = {&d.name, &d.customer, &d.reference, &d.revision, &d.author, &d.date, &d.notes};
    return *fields[k];
}
const std::string &detail(const Details &d, int k) { return detail(const_cast<Details &>(d), k); }

// A value for a message: at most 40 characters, then "…".
std::string cut(std::string s)
{
    std::size_t chars = 0;
    for (std::size_t i = 0; i < s.size(); ++i)
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80 && ++chars > 40) {
            s.resize(i);
            return s + "\u2026";
        }
    return s;
}

std::string jsonString(std::string_view s)
{
    std::string out;
    json::appendString(out, s);
    return out;
}

bool isText(int k) { return k == CName || k == CType || k == CJacketUnit || k == CCoilUnit; }

// Sets a number input of the case from its text, with the command line's
// reader of the field; or says why not in `e`.
bool setNumber(rating::Case &c, int k, const std::string &text, Error &e)
{
    std::string why;
    double lo = 0, hi = 150;
    bool whole = false;
    switch (k) {
    case CSeries:
    case CParallel:
        why = textio::readCount(text, k == CSeries ? c.Soros : c.Parh);
        lo = 1, whole = true;
        break;
    case CJacketFlow: why = textio::readFlow(text, c.MVk); break;
    case CCoilFlow: why = textio::readFlow(text, c.MVs); break;
    case CJacketInlet: why = textio::readInlet(text, c.tkb), lo = -5; break;
    case CCoilInlet: why = textio::readInlet(text, c.tsb), lo = -5; break;
    case CFouling:
        why = textio::readFouling(text, c.Rf);
        lo = rating::MinFouling, hi = rating::MaxFouling;
        break;
    default: break;
    }
    if (why.empty()) return true;
    e.kind = Kind::OutOfRange;
    e.key = caseKeys[k];
    e.value = cut(text);
    e.lo = lo, e.hi = hi, e.whole = whole;
    return false;
}

// Sets the type or a unit of the case from its name; or says why not.
bool setName(rating::Case &c, int k, const std::string &text, Error &e)
{
    const std::string why = k == CType          ? textio::readType(text, c.Tipus)
                            : k == CJacketUnit ? textio::readUnit(text, c.CbMVkIndex)
                                               : textio::readUnit(text, c.CbMVsIndex);
    if (why.empty()) return true;
    e.kind = Kind::UnknownName;
    e.key = caseKeys[k];
    e.value = cut(jsonString(text));
    return false;
}

class Reader {
public:
    Reader(json::Parser &p, const std::string &fileName) : p_(p) { first_.fileName = fileName; }
    Result<Project> run();

private:
    Error error(Kind kind, std::string_view key = {}) const
    {
        Error e;
        e.kind = kind;
        e.fileName = first_.fileName;
        e.caseIndex = caseIndex_;
        e.key = key;
        return e;
    }
    void fail(Error e)
    {
        if (failed_) return;
        failed_ = true;
        e.fileName = first_.fileName;
        e.caseIndex = caseIndex_;
        first_ = std::move(e);
    }
    void wrongType(std::string_view key, Type expected)
    {
        Error e = error(Kind::WrongType, key);
        e.expected = expected;
        e.got = p_.peek();
        fail(std::move(e));
        p_.skip();
    }
    // Another member, its value next: kept as compact JSON.
    void other(Layout &layout, const std::string &key)
    {
        Layout::Entry e;
        e.begin = static_cast<std::uint32_t>(layout.others.size());
        json::appendString(layout.others, key);
        layout.others.push_back(':');
        p_.capture(layout.others);
        e.end = static_cast<std::uint32_t>(layout.others.size());
        layout.entries.push_back(e);
    }
    std::string valueText()
    {
        std::string v;
        p_.capture(v);
        return cut(std::move(v));
    }
    void readDetails(Project &project);
    void readCases(Project &project);
    void readCase(Case &c);
    void readResults(StoredResults &s);

    json::Parser &p_;
    Error first_;
    bool failed_ = false;
    int caseIndex_ = -1;
};

Result<Project> Reader::run()
{
    Project project;
    if (p_.peek() != Type::Object) {
        p_.skip();
        p_.finish();
        return error(Kind::NotProject);
    }
    bool seen[TopKeyCount] = {};
    std::optional<Error> formatError, versionError;
    std::string currentText;
    double current = 0;
    bool currentNumber = false;
    std::string key;
    p_.beginObject();
    while (p_.nextKey(key)) {
        const int k = indexOf(topKeys, key);
        if (k < 0) {
            other(project.layout, key);
            continue;
        }
        seen[k] = true;
        project.layout.entries.push_back({k, 0, 0});
        switch (k) {
        case KFormat:
            if (p_.peek() == Type::String) {
                const std::string f = p_.string();
                if (f != formatName) (formatError = error(Kind::NotProject, key))->value = cut(jsonString(f));
            } else {
                (formatError = error(Kind::NotProject, key))->value = valueText();
            }
            break;
        case KVersion:
            if (p_.peek() == Type::Number) {
                std::string_view text;
                const double v = p_.number(&text);
                if (!(v >= 1 && v == std::floor(v))) (versionError = error(Kind::BadVersion, key))->value = cut(std::string(text));
                else if (v > formatVersion) (versionError = error(Kind::NewerVersion, key))->value = cut(std::string(text));
            } else {
                (versionError = error(Kind::BadVersion, key))->value = valueText();
            }
            break;
        case KProject: readDetails(project); break;
        case KCases: readCases(project); break;
        case KCurrent:
            if (p_.peek() != Type::Number) {
                wrongType(key, Type::Number);
            } else {
                std::string_view text;
                current = p_.number(&text);
                currentText = cut(std::string(text));
                currentNumber = true;
            }
            break;
        }
    }
    p_.finish();

    // The format and the version first: a file of another kind or of a
    // newer version may hold anything else.
    if (!seen[KFormat]) return error(Kind::NotProject);
    if (formatError) return *formatError;
    if (!seen[KVersion]) return error(Kind::Missing, topKeys[KVersion]);
    if (versionError) return *versionError;
    if (failed_) return first_;
    if (!seen[KCases]) return error(Kind::Missing, topKeys[KCases]);
    if (project.cases.empty()) return error(Kind::NoCases, topKeys[KCases]);
    if (currentNumber) {
        const auto n = static_cast<double>(project.cases.size());
        if (!(current >= 0 && current < n && current == std::floor(current))) {
            Error e = error(Kind::BadCurrent, topKeys[KCurrent]);
            e.value = currentText;
            e.count = static_cast<long long>(project.cases.size());
            return e;
        }
        project.current = static_cast<int>(current);
    }
    return project;
}

void Reader::readDetails(Project &project)
{
    if (p_.peek() != Type::Object) return wrongType(topKeys[KProject], Type::Object);
    std::string key;
    p_.beginObject();
    while (p_.nextKey(key)) {
        const int k = indexOf(detailKeys, key);
        if (k < 0) {
            other(project.detailsLayout, key);
            continue;
        }
        project.detailsLayout.entries.push_back({k, 0, 0});
        if (p_.peek() != Type::String) wrongType(std::string(topKeys[KProject]) + "." + key, Type::String);
        else detail(project.details, k) = p_.string();
    }
}

void Reader::readCases(Project &project)
{
    if (p_.peek() != Type::Array) return wrongType(topKeys[KCases], Type::Array);
    long long n = 0;
    p_.beginArray();
    while (p_.nextItem()) {
        // After a refusal, or beyond the most a project holds, the rest is
        // only checked as JSON (and counted).
        if (failed_ || n >= maxCases) {
            p_.skip();
            ++n;
            continue;
        }
        caseIndex_ = static_cast<int>(n);
        project.cases.emplace_back();
        readCase(project.cases.back());
        caseIndex_ = -1;
        ++n;
    }
    if (n > maxCases) {
        Error e = error(Kind::TooManyCases, topKeys[KCases]);
        e.count = n;
        fail(std::move(e));
    }
}

void Reader::readCase(Case &c)
{
    if (p_.peek() != Type::Object) return wrongType({}, Type::Object);
    bool seen[CaseKeyCount] = {};
    bool named = false;
    std::string key;
    c.layout.entries.reserve(CaseKeyCount);
    p_.beginObject();
    while (p_.nextKey(key)) {
        const int k = indexOf(caseKeys, key);
        if (k < 0) {
            other(c.layout, key);
            continue;
        }
        seen[k] = true;
        c.layout.entries.push_back({k, 0, 0});
        const Type t = p_.peek();
        if (k == CResults) {
            if (t != Type::Object) wrongType(key, Type::Object);
            else readResults(c.stored);
            continue;
        }
        const Type expected = isText(k) ? Type::String : Type::Number;
        if (t != expected) {
            wrongType(key, expected);
            continue;
        }
        Error e = error(Kind::OutOfRange);
        if (k == CName) {
            c.name = p_.string();
            named = true;
        } else if (expected == Type::String) {
            if (!setName(c.inputs, k, p_.string(), e)) fail(std::move(e));
        } else {
            // The file's text, so that a message quotes it; the shortest
            // form for a number too small for a double's range, which the
            // command line's reader does not take.
            std::string_view text;
            const double x = p_.number(&text);
            if (!setNumber(c.inputs, k, textio::parseNumber(text) ? std::string(text) : textio::numberText(x), e))
                fail(std::move(e));
        }
    }
    for (int k = 0; k < CaseKeyCount; ++k)
        if (!seen[k] && k != CFouling && k != CResults) fail(error(Kind::Missing, caseKeys[k]));
    if (failed_ && first_.caseIndex == caseIndex_ && named) {
        first_.caseName = c.name;
        first_.caseNamed = true;
    }
    c.stored.inputs = c.inputs;
}

void Reader::readResults(StoredResults &s)
{
    s.present = true;
    s.values.reserve(resultKeyCount);
    s.layout.entries.reserve(resultKeyCount);
    std::string key;
    p_.beginObject();
    while (p_.nextKey(key)) {
        const int k = indexOf(resultKeyViews, key);
        if (k < 0) {
            other(s.layout, key);
            continue;
        }
        s.layout.entries.push_back({k, 0, 0});
        StoredResults::Value v;
        v.key = k;
        if (p_.peek() == Type::Number) {
            v.number = true;
            v.x = p_.number();
        } else {
            p_.capture(v.json);
        }
        s.values.push_back(std::move(v));
    }
}

// ------------------------------------------------------------------ writing

// Writes the members of one object: the program's keys that `has` allows
// (put writes each one's value) and the layout's other members (where
// keepOthers), in the layout's order. A key of the program's that the
// layout lacks goes after the last of the keys that precede it in the
// program's order, or, where none is there, before the first that follows.
template <std::size_t N, class Has, class Put>
void writeMembers(json::Writer &w, const Layout &layout, const std::string_view (&keys)[N], Has has, Put put,
                  bool keepOthers = true)
{
    struct Slot {
        int known;
        const Layout::Entry *entry;
    };
    std::vector<Slot> order;
    order.reserve(layout.entries.size() + N);
    bool placed[N] = {};
    for (const Layout::Entry &e : layout.entries) {
        if (e.known < 0) {
            if (keepOthers) order.push_back({-1, &e});
        } else if (e.known < static_cast<int>(N) && !placed[e.known] && has(e.known)) {
            order.push_back({e.known, nullptr});
            placed[e.known] = true;
        }
    }
    for (int k = 0; k < static_cast<int>(N); ++k) {
        if (placed[k] || !has(k)) continue;
        std::size_t at = order.size() + 1; // none yet
        for (std::size_t i = 0; i < order.size(); ++i)
            if (order[i].known >= 0 && order[i].known < k) at = i + 1;
        if (at > order.size())
            for (std::size_t i = 0; i < order.size(); ++i)
                if (order[i].known > k) {
                    at = i;
                    break;
                }
        if (at > order.size()) at = order.size();
        order.insert(order.begin() + static_cast<std::ptrdiff_t>(at), {k, nullptr});
        placed[k] = true;
    }
    for (const Slot &s : order) {
        if (s.known >= 0) {
            w.key(keys[s.known]);
            put(s.known);
        } else {
            w.member(std::string_view(layout.others).substr(s.entry->begin, s.entry->end - s.entry->begin));
        }
    }
}

void writeCase(json::Writer &w, const Case &c, const Outcome &o)
{
    const rating::Case &in = c.inputs;
    auto all = [](int) { return true; };
    w.beginObject();
    writeMembers(w, c.layout, caseKeys, all, [&](int k) {
        switch (k) {
        case CName: w.string(c.name); break;
        case CType: w.string(rating::TipusNevek[in.Tipus]); break;
        case CSeries: w.integer(in.Soros); break;
        case CParallel: w.integer(in.Parh); break;
        case CJacketFlow: w.number(in.MVk); break;
        case CJacketUnit: w.string(rating::flowUnitName(in.CbMVkIndex)); break;
        case CJacketInlet: w.number(in.tkb); break;
        case CCoilFlow: w.number(in.MVs); break;
        case CCoilUnit: w.string(rating::flowUnitName(in.CbMVsIndex)); break;
        case CCoilInlet: w.number(in.tsb); break;
        case CFouling: w.number(in.Rf); break;
        case CResults: {
            // The stored results' other members were computed for the
            // inputs they were stored with: kept while those stand.
            const bool keep = c.stored.present && sameInputs(in, c.stored.inputs);
            std::array<double, 12> v{};
            if (o.ok()) v = resultValues(o.rating.values);
            w.beginObject();
            writeMembers(
                w, c.stored.layout, resultKeyViews, [&](int r) { return o.ok() ? r != errorKey : r == errorKey; },
                [&](int r) {
                    if (r == errorKey) w.string(o.error);
                    else w.number(v[static_cast<std::size_t>(r)]);
                },
                keep);
            w.endObject();
            break;
        }
        }
    });
    w.endObject();
}

// Why the reader would refuse the case's inputs, or nothing.
std::optional<Error> checkInputs(const rating::Case &in)
{
    Error e;
    rating::Case scratch = in;
    if (in.Tipus < 0 || in.Tipus >= rating::TipusCount) {
        e.kind = Kind::UnknownName, e.key = caseKeys[CType], e.value = std::to_string(in.Tipus);
        return e;
    }
    for (int k : {CJacketUnit, CCoilUnit}) {
        const int u = k == CJacketUnit ? in.CbMVkIndex : in.CbMVsIndex;
        if (u != 0 && u != 1) {
            e.kind = Kind::UnknownName, e.key = caseKeys[k], e.value = std::to_string(u);
            return e;
        }
    }
    const std::pair<int, std::string> numbers[] = {
        {CSeries, std::to_string(in.Soros)},          {CParallel, std::to_string(in.Parh)},
        {CJacketFlow, textio::numberText(in.MVk)},    {CJacketInlet, textio::numberText(in.tkb)},
        {CCoilFlow, textio::numberText(in.MVs)},      {CCoilInlet, textio::numberText(in.tsb)},
        {CFouling, textio::numberText(in.Rf)},
    };
    for (const auto &[k, text] : numbers)
        if (!setNumber(scratch, k, text, e)) return e;
    return std::nullopt;
}

// Why the reader would refuse the project's file, or nothing.
std::optional<Error> checkProject(const Project &p)
{
    Error e;
    const auto n = static_cast<long long>(p.cases.size());
    if (n == 0 || n > maxCases) {
        e.kind = n == 0 ? Kind::NoCases : Kind::TooManyCases;
        e.key = topKeys[KCases];
        e.count = n;
        return e;
    }
    if (p.current < 0 || p.current >= n) {
        e.kind = Kind::BadCurrent;
        e.key = topKeys[KCurrent];
        e.value = std::to_string(p.current);
        e.count = n;
        return e;
    }
    for (std::size_t i = 0; i < p.cases.size(); ++i)
        if (auto bad = checkInputs(p.cases[i].inputs)) {
            bad->caseIndex = static_cast<int>(i);
            bad->caseName = p.cases[i].name;
            bad->caseNamed = true;
            return bad;
        }
    return std::nullopt;
}

bool load(const std::string &path, std::string &bytes, Error &e)
{
    e.fileName = path;
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    long long size = -1;
    if (!ec && std::filesystem::is_regular_file(status)) {
        const auto n = std::filesystem::file_size(path, ec);
        if (!ec) size = static_cast<long long>(n);
    }
    if (size > static_cast<long long>(maxFileBytes)) {
        e.kind = Kind::TooLarge;
        e.count = size;
        return false;
    }
    std::FILE *f = std::fopen(path.c_str(), "rb");
    if (!f) {
        e.kind = Kind::Unreadable;
        e.detail = std::strerror(errno);
        return false;
    }
    if (size >= 0) bytes.reserve(static_cast<std::size_t>(size));
    char buffer[1 << 16];
    for (;;) {
        const std::size_t n = std::fread(buffer, 1, sizeof buffer, f);
        bytes.append(buffer, n);
        if (bytes.size() > maxFileBytes) { // a file that grew, or a stream
            std::fclose(f);
            e.kind = Kind::TooLarge;
            e.count = -1;
            return false;
        }
        if (n < sizeof buffer) {
            if (std::ferror(f)) {
                const int err = errno;
                std::fclose(f);
                e.kind = Kind::Unreadable;
                e.detail = std::strerror(err);
                return false;
            }
            break;
        }
    }
    std::fclose(f);
    return true;
}

} // namespace

bool sameInputs(const rating::Case &a, const rating::Case &b)
{
    auto same = [](double x, double y) { return std::bit_cast<std::uint64_t>(x) == std::bit_cast<std::uint64_t>(y); };
    return a.Tipus == b.Tipus && a.Soros == b.Soros && a.Parh == b.Parh && same(a.MVk, b.MVk) &&
           a.CbMVkIndex == b.CbMVkIndex && same(a.tkb, b.tkb) && same(a.MVs, b.MVs) && a.CbMVsIndex == b.CbMVsIndex &&
           same(a.tsb, b.tsb) && same(a.Rf, b.Rf);
}

Result<Project> read(std::string_view bytes, const std::string &fileName)
{
    Error e;
    e.fileName = fileName;
    if (bytes.size() > maxFileBytes) {
        e.kind = Kind::TooLarge;
        e.count = static_cast<long long>(bytes.size());
        return e;
    }
    try {
        json::Parser parser(bytes);
        return Reader(parser, fileName).run();
    } catch (const json::SyntaxError &s) {
        e.kind = s.reason == json::SyntaxError::Reason::NotUtf8 ? Kind::NotUtf8 : Kind::NotJson;
        e.jsonReason = s.reason;
        e.line = s.line;
        e.column = s.column;
        e.found = cut(s.found);
        return e;
    }
}

Result<Project> readFile(const std::string &path)
{
    std::string bytes;
    Error e;
    if (!load(path, bytes, e)) return e;
    return read(bytes, path);
}

Outcome rateCase(rating::Model &state, const rating::Case &inputs)
{
    Outcome o;
    o.rating = rating::rate(state, inputs);
    if (!o.ok()) o.error = textio::whyNotRated(state, inputs, o.rating);
    return o;
}

std::vector<Outcome> rate(const Project &p)
{
    std::vector<Outcome> out;
    out.reserve(p.cases.size());
    rating::Model state;
    for (const Case &c : p.cases) out.push_back(rateCase(state, c.inputs));
    return out;
}

std::vector<int> differingResults(const Project &p, const std::vector<Outcome> &outcomes)
{
    std::vector<int> out;
    for (std::size_t i = 0; i < p.cases.size() && i < outcomes.size(); ++i) {
        const StoredResults &s = p.cases[i].stored;
        if (!s.present) continue;
        const Outcome &o = outcomes[i];
        std::array<double, 12> v{};
        if (o.ok()) v = resultValues(o.rating.values);
        bool seen[resultKeyCount] = {};
        bool differs = false;
        for (const StoredResults::Value &x : s.values) {
            seen[x.key] = true;
            if (x.key == errorKey) differs |= o.ok() || x.number || x.json != jsonString(o.error);
            else differs |= !o.ok() || !x.number || x.x != v[static_cast<std::size_t>(x.key)];
        }
        for (int k = 0; k < resultKeyCount; ++k)
            if (!seen[k] && (o.ok() ? k != errorKey : k == errorKey)) differs = true;
        if (differs) out.push_back(static_cast<int>(i));
    }
    return out;
}

Result<std::string> write(const Project &p)
{
    if (auto bad = checkProject(p)) return *bad;
    const std::vector<Outcome> outcomes = rate(p);
    std::string out;
    out.reserve(1024 + p.cases.size() * 1024);
    json::Writer w(out, maxFileBytes);
    auto all = [](int) { return true; };
    w.beginObject();
    writeMembers(w, p.layout, topKeys, all, [&](int k) {
        switch (k) {
        case KFormat: w.string(formatName); break;
        case KVersion: w.integer(formatVersion); break;
        case KProject:
            w.beginObject();
            writeMembers(w, p.detailsLayout, detailKeys, all, [&](int d) { w.string(detail(p.details, d)); });
            w.endObject();
            break;
        case KCases:
            w.beginArray();
            for (std::size_t i = 0; i < p.cases.size() && !w.overflowed(); ++i) writeCase(w, p.cases[i], outcomes[i]);
            w.endArray();
            break;
        case KCurrent: w.integer(p.current); break;
        }
    });
    w.endObject();
    out.push_back('\n');
    if (w.overflowed() || out.size() > maxFileBytes) {
        Error big;
        big.kind = Kind::TooLargeToSave;
        return big;
    }
    return out;
}

Result<Opened> open(std::string_view bytes, const std::string &fileName)
{
    Result<Project> r = read(bytes, fileName);
    if (!r.ok()) return r.error();
    Opened o;
    o.project = std::move(r.value());
    o.outcomes = rate(o.project);
    o.differing = differingResults(o.project, o.outcomes);
    return o;
}

Result<Opened> openFile(const std::string &path)
{
    std::string bytes;
    Error e;
    if (!load(path, bytes, e)) return e;
    return open(bytes, path);
}

} // namespace project
