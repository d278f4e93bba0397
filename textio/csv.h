// CSV as RFC 4180 has it, read and written a record at a time with bounded
// memory: fields separated by commas, records by CRLF, LF or a lone CR,
// fields that hold a comma, a quote or a line break enclosed in quotes with
// their quotes doubled. Writing also encloses a field with a blank (space,
// tab) at either end, which a spreadsheet would otherwise trim. Reading
// also takes a UTF-8 byte order mark at the start, a last record without a
// line break, and a quote inside a field that does not start with one (as a
// quote); it keeps blanks as they are, in quotes or not, and skips empty
// lines and lines of blanks alone.
#pragma once

#include <array>
#include <cstddef>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace textio {

struct CsvRecord {
    enum class Problem {
        None,
        TooLong,      // more than the reader's limit; its fields are dropped
        TextAfterQuote, // something other than a comma or a line break after a closing quote
        Unclosed,     // a quoted field still open at the end of the input
        Nul,          // a NUL byte
    };
    std::vector<std::string> fields;
    std::size_t count = 0;  // fields in use (the vector keeps its strings for reuse)
    long line = 0;          // the line the record starts on, from 1
    Problem problem = Problem::None;
};

class CsvReader {
public:
    // Reads from the stream `in`, which it does not close; a
    // record may hold at most maxRecordBytes bytes of field text and
    // maxFields fields. Before it waits for input it calls beforeRead (to
    // flush the output, so that a pipe gets every answer to what it has
    // sent before it sends more); it is called once a read, not per byte.
    CsvReader(std::FILE *in, std::size_t maxRecordBytes, std::size_t maxFields,
              std::function<void()> beforeRead = {});

    // The next record, false at the end of the input. A read error ends the
    // input; error() says so, and errorNumber() gives its errno.
    bool next(CsvRecord &record);
    // Bytes taken from the stream before the reader (to see what the input
    // holds): they are read first, then the stream from where they end.
    // Before the first next() only.
    void prepend(std::string_view bytes);
    bool error() const { return readError_; }
    int errorNumber() const { return readErrno_; }

private:
    int get();         // next byte or -1
    bool fill();       // reads more after what is buffered; false at the end
    void addByte(CsvRecord &r, char c);
    void takeRun(CsvRecord &r, bool quoted);
    void newField(CsvRecord &r);

    std::FILE *in_;
    std::size_t maxRecordBytes_, maxFields_;
    std::function<void()> beforeRead_;
    std::vector<char> buffer_;
    std::string blanks_; // the blanks that start a line, until it shows whether it holds more
    std::size_t pos_ = 0, end_ = 0;
    bool eof_ = false, readError_ = false, started_ = false;
    int readErrno_ = 0;
    bool lastCR_ = false, skipLF_ = false;
    long line_ = 1;
    std::size_t recordBytes_ = 0;
};

// Appends records to an output buffer and writes it out in large pieces.
class CsvWriter {
public:
    explicit CsvWriter(std::FILE *out) : out_(out) { buffer_.reserve(1 << 16); }
    ~CsvWriter() { flush(); }

    void field(std::string_view text); // quoted where it needs to be
    void raw(std::string_view text);   // a field known to need no quotes
    void number(double x);             // shortest text that reads back as x
    void empty() { separate(); }
    void end();                        // ends the record with LF
    // Writes what is buffered; false once a write has failed.
    bool flush();
    bool ok() const { return ok_; }
    // The errno of the write that failed (0 while none has).
    int errorNumber() const { return errno_; }

private:
    void separate()
    {
        if (!first_) buffer_.push_back(',');
        first_ = false;
    }
    std::FILE *out_;
    std::string buffer_;
    std::size_t recordStart_ = 0;
    bool first_ = true, ok_ = true;
    int errno_ = 0;
};

// Whether a field must be enclosed in quotes: it holds a comma, a quote or a
// line break, or starts or ends with a blank (space, tab). A spreadsheet
// trims blanks at the ends of a field that is not quoted, and a line of
// blanks alone would be skipped as an empty one.
inline bool needsQuotes(std::string_view text)
{
    static constexpr auto special = [] {
        std::array<bool, 256> t{};
        t[','] = t['"'] = t['\r'] = t['\n'] = true;
        return t;
    }();
    if (text.empty()) return false;
    if (text.front() == ' ' || text.front() == '\t' || text.back() == ' ' || text.back() == '\t') return true;
    for (char c : text)
        if (special[static_cast<unsigned char>(c)]) return true;
    return false;
}

// Appends the field enclosed in quotes, its quotes doubled.
void appendQuoted(std::string &out, std::string_view text);

// Appends the field to `out`, in quotes where it needs them (the text of
// CsvWriter::field, for a caller that builds a CSV in memory).
inline void appendField(std::string &out, std::string_view text)
{
    if (needsQuotes(text)) appendQuoted(out, text);
    else out.append(text);
}

} // namespace textio
