#include "textio/csv.h"

#include "platform/system.h"
#include "textio/number.h"

#include <cerrno>
#include <cstring>

namespace textio {

namespace {
constexpr std::size_t keptFields = 64, keptFieldBytes = 4096;
}

CsvReader::CsvReader(std::FILE *in, std::size_t maxRecordBytes, std::size_t maxFields,
                     std::function<void()> beforeRead)
    : in_(in), maxRecordBytes_(maxRecordBytes), maxFields_(maxFields), beforeRead_(std::move(beforeRead)),
      buffer_(1 << 16)
{
}

void CsvReader::prepend(std::string_view bytes)
{
    const std::size_t unread = end_ - pos_;
    if (bytes.size() + unread > buffer_.size()) buffer_.resize(bytes.size() + unread);
    std::memmove(buffer_.data() + bytes.size(), buffer_.data() + pos_, unread);
    std::memcpy(buffer_.data(), bytes.data(), bytes.size());
    pos_ = 0;
    end_ = bytes.size() + unread;
}

bool CsvReader::fill()
{
    if (eof_) return false;
    if (pos_ == end_) pos_ = end_ = 0;
    if (end_ == buffer_.size()) { // keep what is unread, at the front
        std::memmove(buffer_.data(), buffer_.data() + pos_, end_ - pos_);
        end_ -= pos_;
        pos_ = 0;
    }
    if (beforeRead_) beforeRead_();
    // Not fread: a pipe gives what it has, and the rows that came so far are
    // answered before the reader waits for more.
    const long n = platform::readAvailable(in_, buffer_.data() + end_, buffer_.size() - end_);
    if (n > 0) {
        end_ += static_cast<std::size_t>(n);
        return true;
    }
    eof_ = true;
    readError_ = n < 0;
    if (readError_) readErrno_ = errno;
    return false;
}

int CsvReader::get()
{
    for (;;) {
        if (pos_ == end_ && !fill()) return -1;
        const unsigned char c = static_cast<unsigned char>(buffer_[pos_++]);
        const bool afterCR = lastCR_;
        lastCR_ = c == '\r';
        // A line ends at LF, at CR, and at CR LF (once).
        if (c == '\r' || (c == '\n' && !afterCR)) ++line_;
        if (c == '\n' && afterCR && skipLF_) {
            skipLF_ = false;
            continue;
        }
        skipLF_ = false;
        return c;
    }
}

void CsvReader::addByte(CsvRecord &r, char c)
{
    if (c == '\0') {
        if (r.problem == CsvRecord::Problem::None) r.problem = CsvRecord::Problem::Nul;
        return;
    }
    if (r.problem == CsvRecord::Problem::TooLong) return;
    if (recordBytes_ >= maxRecordBytes_) {
        r.problem = CsvRecord::Problem::TooLong;
        return;
    }
    ++recordBytes_;
    r.fields[r.count - 1].push_back(c);
}

// The bytes up to the next one that means something in a field (a plain
// one, or one in quotes), appended at once.
void CsvReader::takeRun(CsvRecord &r, bool quoted)
{
    static const auto specials = [] {
        struct Tables {
            bool plain[256] = {}, quoted[256] = {};
        } t;
        for (unsigned char c : {',', '\n', '\r', '\0'}) t.plain[c] = true;
        for (unsigned char c : {'"', '\n', '\r', '\0'}) t.quoted[c] = true;
        return t;
    }();
    const bool *special = quoted ? specials.quoted : specials.plain;
    std::size_t p = pos_;
    while (p < end_ && !special[static_cast<unsigned char>(buffer_[p])]) ++p;
    if (p == pos_) return;
    const std::size_t n = p - pos_;
    if (r.problem != CsvRecord::Problem::TooLong) {
        if (recordBytes_ + n > maxRecordBytes_) {
            r.problem = CsvRecord::Problem::TooLong;
        } else {
            r.fields[r.count - 1].append(buffer_.data() + pos_, n);
            recordBytes_ += n;
        }
    }
    pos_ = p;
    lastCR_ = skipLF_ = false;
}

void CsvReader::newField(CsvRecord &r)
{
    if (r.count >= maxFields_) {
        r.problem = CsvRecord::Problem::TooLong;
        return;
    }
    if (r.count == r.fields.size()) r.fields.emplace_back();
    std::string &f = r.fields[r.count++];
    // A field kept for reuse keeps its memory, unless a long value left much.
    if (f.capacity() > keptFieldBytes) std::string().swap(f);
    else f.clear();
}

bool CsvReader::next(CsvRecord &r)
{
    using P = CsvRecord::Problem;
    if (!started_) {
        started_ = true;
        // A byte order mark from a spreadsheet: EF BB BF.
        while (end_ - pos_ < 3 && fill()) {
        }
        if (end_ - pos_ >= 3 && std::memcmp(buffer_.data() + pos_, "\xEF\xBB\xBF", 3) == 0) pos_ += 3;
    }
    int c;
    // Empty lines and lines of blanks alone are skipped. The blanks that
    // start a line of more are kept aside until it shows that: they are the
    // start of its first field. A long run of them leaves no memory behind.
    if (blanks_.capacity() > keptFieldBytes) std::string().swap(blanks_);
    blanks_.clear();
    for (;;) {
        r.line = line_;
        c = get();
        if (c < 0) return false;
        if (c == '\n' || c == '\r') {
            if (c == '\r') skipLF_ = true;
            blanks_.clear();
        } else if (isBlank(static_cast<char>(c))) {
            // One more than a record may hold is enough to tell it is too long.
            if (blanks_.size() <= maxRecordBytes_) blanks_.push_back(static_cast<char>(c));
        } else {
            break;
        }
    }

    // What the record keeps from the ones before stays small: a few dozen
    // fields of a few KiB (a long record leaves neither its many fields
    // nor its long ones behind).
    if (r.fields.size() > keptFields) r.fields.resize(keptFields);
    r.count = 0;
    r.problem = P::None;
    recordBytes_ = 0;
    newField(r);
    enum { Start, Plain, Quoted, QuoteInQuoted, AfterQuote } state = Start;
    if (!blanks_.empty()) {
        // A field that starts with a blank is a plain one, quotes and all.
        for (char b : blanks_) addByte(r, b);
        state = Plain;
    }
    --pos_; // c, neither a line break nor a blank, again from the buffer
    for (;;) {
        if (state == Plain || state == Quoted) takeRun(r, state == Quoted);
        c = get();
        switch (state) {
        case Start:
            if (c == '"') {
                state = Quoted;
                break;
            }
            [[fallthrough]];
        case Plain:
            if (c < 0 || c == '\n' || c == '\r') goto done;
            if (c == ',') {
                newField(r);
                state = Start;
            } else {
                addByte(r, static_cast<char>(c));
                state = Plain;
            }
            break;
        case Quoted:
            if (c < 0) {
                if (r.problem == P::None) r.problem = P::Unclosed;
                goto done;
            }
            if (c == '"') state = QuoteInQuoted;
            else addByte(r, static_cast<char>(c));
            break;
        case QuoteInQuoted:
            if (c == '"') {
                addByte(r, '"');
                state = Quoted;
            } else if (c < 0 || c == '\n' || c == '\r') {
                goto done;
            } else if (c == ',') {
                newField(r);
                state = Start;
            } else {
                if (r.problem == P::None) r.problem = P::TextAfterQuote;
                state = AfterQuote;
            }
            break;
        case AfterQuote: // the record is bad already: find its end
            if (c < 0 || c == '\n' || c == '\r') goto done;
            if (c == ',') {
                newField(r);
                state = Start;
            }
            break;
        }
    }
done:
    if (c == '\r') skipLF_ = true;
    return true;
}

void appendQuoted(std::string &out, std::string_view text)
{
    out.push_back('"');
    for (char c : text) {
        if (c == '"') out.push_back('"');
        out.push_back(c);
    }
    out.push_back('"');
}

void CsvWriter::field(std::string_view text)
{
    separate();
    appendField(buffer_, text);
}

void CsvWriter::raw(std::string_view text)
{
    separate();
    buffer_.append(text);
}

void CsvWriter::number(double x)
{
    separate();
    appendNumber(buffer_, x);
}

void CsvWriter::end()
{
    // A record of one empty field would read back as a blank line.
    if (buffer_.size() == recordStart_) buffer_.append("\"\"");
    buffer_.push_back('\n');
    first_ = true;
    recordStart_ = buffer_.size();
    if (buffer_.size() >= (1 << 16)) flush();
}

bool CsvWriter::flush()
{
    if (!buffer_.empty() && ok_) {
        if (std::fwrite(buffer_.data(), 1, buffer_.size(), out_) != buffer_.size()) {
            ok_ = false;
            errno_ = errno;
        }
    }
    buffer_.clear();
    recordStart_ = 0;
    if (ok_ && std::fflush(out_) != 0) {
        ok_ = false;
        errno_ = errno;
    }
    return ok_;
}

} // namespace textio
