#include "fuzz/harness.h"

#include "cli/commands.h"
#include "textio/csv.h"
#include "textio/number.h"

#include <sanitizer/asan_interface.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace fuzzing {

namespace {

// Standard error as the process started: the checks report there while the
// program's own standard error is caught.
std::FILE *const realStderr = stderr;

// A file in memory with a descriptor, as the program's reader needs one (it
// reads the descriptor, not the stream's buffer).
int memoryFile(const char *name)
{
    const int fd = memfd_create(name, 0);
    if (fd < 0) fail("memfd_create failed", std::strerror(errno));
    return fd;
}

void refill(int fd, std::string_view text)
{
    if (ftruncate(fd, 0) != 0 || lseek(fd, 0, SEEK_SET) != 0) fail("cannot empty a memory file", std::strerror(errno));
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n <= 0) fail("cannot fill a memory file", std::strerror(errno));
        done += static_cast<std::size_t>(n);
    }
    if (lseek(fd, 0, SEEK_SET) != 0) fail("cannot rewind a memory file", std::strerror(errno));
}

// Standard input, descriptor 0, is a memory file for good.
int standardInput()
{
    static const int fd = [] {
        const int m = memoryFile("stdin");
        if (dup2(m, 0) < 0) fail("cannot put a memory file on standard input", std::strerror(errno));
        close(m);
        return 0;
    }();
    return fd;
}

std::string lower(std::string_view s)
{
    std::string out(s);
    for (char &c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// Short reads of standard input: on while a run wants them, the sizes from
// a small generator seeded by the input.
bool shortReads = false;
std::uint64_t readState = 0;

std::size_t nextReadSize(std::size_t wanted)
{
    readState = readState * 6364136223846793005ULL + 1442695040888963407ULL;
    const unsigned pick = static_cast<unsigned>(readState >> 59); // 0..31
    const std::size_t size = pick < 24 ? 1 + pick % 8 : pick < 30 ? 64 + pick : wanted;
    return std::min(size, wanted);
}

} // namespace

} // namespace fuzzing

// The system's read, as the program calls it, in place of the sanitizer's:
// the whole buffer the caller names is checked first (the kernel's writes
// escape AddressSanitizer), then standard input gives what nextReadSize
// allows during a run with short reads.
extern "C" ssize_t read(int fd, void *buffer, std::size_t size)
{
    if (size > 0 && __asan_region_is_poisoned(buffer, size))
        fuzzing::fail("read() into a buffer smaller than the size it was given");
    if (fd == 0 && fuzzing::shortReads) size = fuzzing::nextReadSize(size);
    return syscall(SYS_read, fd, buffer, size);
}

namespace fuzzing {

void fail(const char *what, std::string_view text, const char *file, int line)
{
    if (file) {
        const char *slash = std::strrchr(file, '/');
        std::fprintf(realStderr, "\n==== check failed at %s:%d: %s\n", slash ? slash + 1 : file, line, what);
    } else {
        std::fprintf(realStderr, "\n==== failed: %s\n", what);
    }
    if (!text.empty()) {
        std::fprintf(realStderr, "---- on the text (%zu bytes):\n", text.size());
        std::fwrite(text.data(), 1, std::min<std::size_t>(text.size(), 4000), realStderr);
        std::fprintf(realStderr, "\n----\n");
    }
    std::fflush(realStderr);
    std::abort();
}

Run runProgram(const std::vector<std::string> &args, std::string_view input, bool shortReadsWanted)
{
    refill(standardInput(), input);
    std::clearerr(stdin);
    readState = 1469598103934665603ULL;
    for (unsigned char c : input) readState = (readState ^ c) * 1099511628211ULL;
    shortReads = shortReadsWanted;

    std::vector<std::string> strings;
    strings.reserve(args.size() + 1);
    strings.emplace_back(cli::program);
    strings.insert(strings.end(), args.begin(), args.end());
    std::vector<char *> argv;
    for (std::string &s : strings) argv.push_back(s.data());
    argv.push_back(nullptr);

    // glibc's stdout and stderr are variables: the program's streams are
    // swapped for memory streams for the run (libFuzzer keeps its own copy
    // of stderr, and the sanitizers write to descriptor 2).
    char *outText = nullptr, *errText = nullptr;
    std::size_t outSize = 0, errSize = 0;
    std::FILE *out = open_memstream(&outText, &outSize);
    std::FILE *err = open_memstream(&errText, &errSize);
    if (!out || !err) fail("open_memstream failed", std::strerror(errno));
    std::FILE *const savedOut = stdout, *const savedErr = stderr;
    stdout = out;
    stderr = err;
    Run r;
    r.status = cli::run(static_cast<int>(strings.size()), argv.data());
    shortReads = false;
    stdout = savedOut;
    stderr = savedErr;
    std::fclose(out);
    std::fclose(err);
    r.out.assign(outText, outSize);
    r.err.assign(errText, errSize);
    std::free(outText);
    std::free(errText);
    return r;
}

std::vector<Record> csvRecords(std::string_view text, std::size_t maxRecordBytes, std::size_t maxFields)
{
    static const int fd = memoryFile("csv");
    static std::FILE *const file = fdopen(fd, "rb");
    refill(fd, text);
    textio::CsvReader reader(file, maxRecordBytes, maxFields);
    std::vector<Record> out;
    textio::CsvRecord r;
    while (reader.next(r)) {
        Record x;
        x.fields.assign(r.fields.begin(), r.fields.begin() + static_cast<std::ptrdiff_t>(r.count));
        x.line = r.line;
        x.problem = static_cast<int>(r.problem);
        out.push_back(std::move(x));
    }
    FUZZ_CHECK(!reader.error(), text);
    return out;
}

std::vector<Record> outputRecords(std::string_view text)
{
    return csvRecords("\xEF\xBB\xBF" + std::string(text), SIZE_MAX, SIZE_MAX);
}

bool isNonNumberWord(std::string_view word)
{
    if (!word.empty() && (word[0] == '-' || word[0] == '+')) word.remove_prefix(1);
    const std::string w = lower(word);
    return w == "inf" || w == "nan" || w == "infinity";
}

void checkSentence(std::string_view text, const std::vector<std::string> &echoes, const char *what)
{
    if (text.empty()) fail("an empty message", what);
    std::vector<std::string> sorted(echoes);
    std::sort(sorted.begin(), sorted.end(), [](const std::string &a, const std::string &b) { return a.size() > b.size(); });
    std::string s(text);
    for (const std::string &e : sorted) {
        if (e.empty()) continue;
        for (std::size_t at = s.find(e); at != std::string::npos; at = s.find(e, at + 1)) s.replace(at, e.size(), "X");
    }
    std::size_t from = 0;
    while (from < s.size()) {
        std::size_t end = s.find('\n', from);
        if (end == std::string::npos) end = s.size();
        const std::string_view line = std::string_view(s).substr(from, end - from);
        from = end + 1;
        const std::string shown = std::string(what) + ", with the echoes as X: " + s;
        FUZZ_CHECK(!line.empty(), shown);
        FUZZ_CHECK(line.front() != ' ' && line.back() != ' ', shown);
        for (const char *bad : {"  ", " ,", " .", " ;", " :", " )", "( ", "%1", "%2", "%3", "%4", "%5"})
            FUZZ_CHECK(line.find(bad) == std::string_view::npos, shown);
        for (std::size_t i = 0; i < line.size();) {
            if (!std::isalpha(static_cast<unsigned char>(line[i]))) {
                ++i;
                continue;
            }
            std::size_t j = i;
            while (j < line.size() && std::isalpha(static_cast<unsigned char>(line[j]))) ++j;
            FUZZ_CHECK(!isNonNumberWord(line.substr(i, j - i)), shown);
            i = j;
        }
    }
}

std::vector<std::string> echoesOf(std::string_view value)
{
    const std::string_view t = textio::trimmed(value);
    std::vector<std::string> out = {std::string(value), std::string(t), textio::quoted(value), textio::quoted(t)};
    if (t.size() > 40) out.push_back(std::string(t.substr(0, 40)));
    return out;
}

double checkNumberCell(std::string_view cell, const char *column)
{
    const std::optional<double> x = textio::parseNumber(cell);
    if (!x) fail(column, std::string("not a number: '") + std::string(cell) + "'");
    FUZZ_CHECK(std::isfinite(*x), cell);
    // The shortest text of the double: written is what reads back.
    FUZZ_CHECK(textio::numberText(*x) == cell, std::string(column) + ": " + std::string(cell));
    return *x;
}

} // namespace fuzzing
