// Fuzzes the project file's reader on the bytes as a file's content.
//
// Either the file is refused, and its sentence in every interface language
// (with either decimal separator) names the file, states its numbers and
// has no gap where a number belongs; or the project is written, the text
// opens again as the same project (its details, current case, cases'
// names and inputs to the bit, and the members the program does not know,
// each where it was) with stored results that match the recomputed ones,
// and writing that project again gives the same bytes.
//
// Replay a finding with build-fuzz/fuzz/fuzz_project CRASH-FILE; the file
// is one the program's windows open as well.
#include "fuzz/harness.h"

#include "project/json.h"
#include "project/messages.h"
#include "project/project.h"

#include <cstdint>
#include <string>
#include <vector>

using namespace fuzzing;
using namespace project;

namespace {

const std::string fileName = "fuzz.ventrano";

std::vector<std::string> echoes(const Error &e)
{
    std::vector<std::string> out = {e.fileName, e.key};
    for (const std::string *s : {&e.value, &e.found, &e.caseName})
        for (std::string &x : echoesOf(*s)) {
            out.push_back(x);
            std::string comma = x;
            for (char &c : comma)
                if (c == '.') c = ',';
            out.push_back(std::move(comma));
        }
    return out;
}

void checkRefusal(const Error &e, const std::string &english)
{
    for (int lang = 0; lang < 7; ++lang)
        for (const char *sep : {".", ","}) {
            const std::string s = sentence(e, lang, sep);
            checkSentence(s, echoes(e), "the sentence of a refusal");
            FUZZ_CHECK(s.find(fileName) != std::string::npos, s);
            FUZZ_CHECK(s.back() == '.', s);
            if (e.kind == Error::Kind::NotJson || e.kind == Error::Kind::NotUtf8) {
                FUZZ_CHECK(e.line >= 1 && e.column >= 1, english);
                FUZZ_CHECK(s.find(std::to_string(e.line)) != std::string::npos, s);
                FUZZ_CHECK(s.find(std::to_string(e.column)) != std::string::npos, s);
            }
            if (e.caseIndex >= 0) FUZZ_CHECK(s.find(std::to_string(e.caseIndex + 1)) != std::string::npos, s);
        }
}

// The members of an object as written: the program's keys by their index,
// the others by their text. `onlyKnown` keeps just the program's keys that
// are in it (a key the file lacked is added on writing), `withKnown` drops
// the program's keys altogether.
std::vector<std::string> members(const Layout &l, const Layout *onlyKnown = nullptr, bool withKnown = true)
{
    std::vector<std::string> out;
    for (const Layout::Entry &e : l.entries) {
        if (e.known < 0) {
            out.push_back(l.others.substr(e.begin, e.end - e.begin));
            continue;
        }
        if (!withKnown) continue;
        if (onlyKnown) {
            bool there = false;
            for (const Layout::Entry &k : onlyKnown->entries) there |= k.known == e.known;
            if (!there) continue;
        }
        out.push_back("#" + std::to_string(e.known));
    }
    return out;
}

bool sameMembers(const Layout &read, const Layout &reread) { return members(read) == members(reread, &read); }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    Result<Project> r = read(bytes, fileName);
    if (!r.ok()) {
        checkRefusal(r.error(), sentence(r.error()));
        return 0;
    }
    const Project &p = r.value();
    const Result<std::string> first = write(p);
    if (!first.ok()) {
        // Only a project too large for a file may be refused.
        FUZZ_CHECK(first.error().kind == Error::Kind::TooLargeToSave, sentence(first.error()));
        return 0;
    }
    const std::string &text = first.value();
    FUZZ_CHECK(!text.empty() && text.back() == '\n', text);
    FUZZ_CHECK(json::invalidUtf8(text) == std::string::npos, text);

    const Result<Opened> opened = open(text, fileName);
    FUZZ_CHECK(opened.ok(), opened.ok() ? text : sentence(opened.error()) + "\n" + text);
    const Project &q = opened.value().project;
    FUZZ_CHECK(opened.value().differing.empty(), text);
    FUZZ_CHECK(q.details == p.details, text);
    FUZZ_CHECK(q.current == p.current, text);
    FUZZ_CHECK(q.cases.size() == p.cases.size(), text);
    FUZZ_CHECK(sameMembers(p.layout, q.layout), text);
    FUZZ_CHECK(sameMembers(p.detailsLayout, q.detailsLayout), text);
    for (std::size_t i = 0; i < p.cases.size(); ++i) {
        const Case &a = p.cases[i], &b = q.cases[i];
        FUZZ_CHECK(a.name == b.name, text);
        FUZZ_CHECK(sameInputs(a.inputs, b.inputs), text);
        FUZZ_CHECK(sameMembers(a.layout, b.layout), text);
        // The results' own members, kept with the inputs they came with.
        FUZZ_CHECK(b.stored.present, text);
        FUZZ_CHECK(members(a.stored.layout, nullptr, false) == members(b.stored.layout, nullptr, false), text);
    }

    const Result<std::string> second = write(q);
    FUZZ_CHECK(second.ok(), text);
    FUZZ_CHECK(second.value() == text, second.value() + "\n---- the first writing:\n" + text);
    return 0;
}
