#include "project/json.h"

#include "textio/number.h"

#include <charconv>
#include <cstring>
#include <cmath>
#include <system_error>

namespace project::json {

using R = SyntaxError::Reason;

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

void appendUtf8(std::string &out, std::uint32_t cp)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// The length of the UTF-8 sequence at p (valid text), at least 1.
std::size_t sequenceLength(unsigned char c) { return c < 0xC0 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4; }

std::uint64_t hashOf(std::string_view s)
{
    std::uint64_t h = 14695981039346656037ull; // FNV-1a
    for (unsigned char c : s) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
}

} // namespace

std::size_t invalidUtf8(std::string_view text)
{
    const auto *s = reinterpret_cast<const unsigned char *>(text.data());
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        // Eight ASCII bytes at a time, the common case.
        if (i + 8 <= n) {
            std::uint64_t eight;
            std::memcpy(&eight, s + i, 8);
            if ((eight & 0x8080808080808080ull) == 0) {
                i += 8;
                continue;
            }
        }
        const unsigned char c = s[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        // The second byte's range rules out overlong forms (E0, F0),
        // surrogates (ED) and code points beyond U+10FFFF (F4).
        unsigned char lo = 0x80, hi = 0xBF;
        std::size_t len;
        if (c >= 0xC2 && c <= 0xDF) len = 2;
        else if (c >= 0xE0 && c <= 0xEF) {
            len = 3;
            if (c == 0xE0) lo = 0xA0;
            if (c == 0xED) hi = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            len = 4;
            if (c == 0xF0) lo = 0x90;
            if (c == 0xF4) hi = 0x8F;
        } else return i;
        if (i + 1 >= n || s[i + 1] < lo || s[i + 1] > hi) return i;
        for (std::size_t k = 2; k < len; ++k)
            if (i + k >= n || (s[i + k] & 0xC0) != 0x80) return i;
        i += len;
    }
    return std::string_view::npos;
}

void appendString(std::string &out, std::string_view s)
{
    const std::size_t bad = invalidUtf8(s);
    if (bad != std::string_view::npos) {
        // Never write a file that is no UTF-8: the bytes that are no part
        // of a sequence become U+FFFD.
        std::string repaired(s.substr(0, bad));
        for (std::size_t i = bad; i < s.size();) {
            const std::size_t next = invalidUtf8(s.substr(i));
            if (next == 0) {
                repaired += "\xEF\xBF\xBD";
                ++i;
            } else {
                const std::size_t n = next == std::string_view::npos ? s.size() - i : next;
                repaired.append(s.substr(i, n));
                i += n;
            }
        }
        appendString(out, repaired);
        return;
    }
    out.push_back('"');
    std::size_t run = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (c >= 0x20 && c != '"' && c != '\\') continue;
        out.append(s.data() + run, i - run);
        run = i + 1;
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default: {
            static const char hex[] = "0123456789abcdef";
            out += "\\u00";
            out.push_back(hex[c >> 4]);
            out.push_back(hex[c & 15]);
        }
        }
    }
    out.append(s.data() + run, s.size() - run);
    out.push_back('"');
}

// ------------------------------------------------------------------ Parser

std::string_view Parser::Keys::at(std::size_t i) const
{
    const std::size_t b = i == 0 ? 0 : ends[i - 1];
    return std::string_view(bytes).substr(b, ends[i] - b);
}

void Parser::Keys::clear()
{
    bytes.clear();
    ends.clear();
    table.clear();
}

void Parser::Keys::place(std::size_t i)
{
    const std::size_t mask = table.size() - 1;
    for (std::size_t s = hashOf(at(i)) & mask;; s = (s + 1) & mask)
        if (table[s] == 0) {
            table[s] = static_cast<std::uint32_t>(i + 1);
            return;
        }
}

bool Parser::Keys::insert(std::string_view key)
{
    constexpr std::size_t listed = 16;
    const std::size_t n = ends.size();
    if (n < listed) {
        for (std::size_t i = 0; i < n; ++i)
            if (at(i) == key) return false;
    } else {
        if (table.size() < 2 * (n + 1)) { // at most half full, a quarter after growing
            std::size_t size = 64;
            while (size < 4 * (n + 1)) size *= 2;
            table.assign(size, 0);
            for (std::size_t i = 0; i < n; ++i) place(i);
        }
        const std::size_t mask = table.size() - 1;
        for (std::size_t s = hashOf(key) & mask; table[s] != 0; s = (s + 1) & mask)
            if (at(table[s] - 1) == key) return false;
    }
    bytes.append(key);
    ends.push_back(static_cast<std::uint32_t>(bytes.size()));
    if (!table.empty()) place(n);
    return true;
}

Parser::Parser(std::string_view text) : begin_(text.data()), p_(text.data()), end_(text.data() + text.size())
{
    if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF") begin_ = p_ = p_ + 3;
    const std::size_t bad = invalidUtf8(std::string_view(p_, static_cast<std::size_t>(end_ - p_)));
    if (bad != std::string_view::npos) {
        char hex[8];
        static const char digits[] = "0123456789ABCDEF";
        const unsigned char c = static_cast<unsigned char>(p_[bad]);
        hex[0] = '0', hex[1] = 'x', hex[2] = digits[c >> 4], hex[3] = digits[c & 15], hex[4] = 0;
        fail(R::NotUtf8, p_ + bad, hex);
    }
    stack_.reserve(maxDepth);
}

void Parser::fail(SyntaxError::Reason reason, const char *at, std::string found) const
{
    SyntaxError e;
    e.reason = reason;
    for (const char *q = begin_; q < at; ++q) {
        const char c = *q;
        if (c == '\n' || (c == '\r' && (q + 1 == end_ || q[1] != '\n'))) {
            ++e.line;
            e.column = 1;
        } else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++e.column;
        }
    }
    if (found.empty() && at < end_ && reason != R::NotUtf8) {
        const std::size_t len = sequenceLength(static_cast<unsigned char>(*at));
        found.assign(at, std::min(len, static_cast<std::size_t>(end_ - at)));
    }
    e.found = std::move(found);
    throw e;
}

void Parser::blanks()
{
    while (p_ < end_ && (*p_ == ' ' || *p_ == '\n' || *p_ == '\r' || *p_ == '\t')) ++p_;
}

Type Parser::peek()
{
    blanks();
    if (p_ == end_) fail(stack_.empty() ? R::Empty : R::End, p_);
    switch (*p_) {
    case '{': return Type::Object;
    case '[': return Type::Array;
    case '"': return Type::String;
    case 't':
    case 'f': return Type::Boolean;
    case 'n': return Type::Null;
    default:
        if (*p_ == '-' || isDigit(*p_)) return Type::Number;
        fail(R::ExpectedValue, p_);
    }
}

void Parser::open(bool object)
{
    if (stack_.size() >= static_cast<std::size_t>(maxDepth)) fail(R::TooDeep, p_);
    ++p_;
    stack_.push_back({object, true});
    if (object) {
        if (keys_.size() < stack_.size()) keys_.resize(stack_.size());
        keys_[stack_.size() - 1].clear();
    }
}

void Parser::close()
{
    ++p_;
    stack_.pop_back();
}

void Parser::beginObject()
{
    if (peek() != Type::Object) fail(R::ExpectedValue, p_);
    open(true);
}

void Parser::beginArray()
{
    if (peek() != Type::Array) fail(R::ExpectedValue, p_);
    open(false);
}

bool Parser::nextKey(std::string &key)
{
    Level &level = stack_.back();
    blanks();
    if (p_ == end_) fail(R::End, p_);
    if (level.first) {
        if (*p_ == '}') {
            close();
            return false;
        }
    } else if (*p_ == '}') {
        close();
        return false;
    } else if (*p_ == ',') {
        ++p_;
        blanks();
        if (p_ == end_) fail(R::End, p_);
    } else {
        fail(R::ExpectedCommaOrBrace, p_);
    }
    if (*p_ != '"') fail(R::ExpectedKey, p_);
    const char *at = p_;
    key.clear();
    readString(key);
    if (!keys_[stack_.size() - 1].insert(key)) {
        std::string shown;
        appendString(shown, key);
        fail(R::DuplicateKey, at, shown);
    }
    blanks();
    if (p_ == end_) fail(R::End, p_);
    if (*p_ != ':') fail(R::ExpectedColon, p_);
    ++p_;
    level.first = false;
    return true;
}

bool Parser::nextItem()
{
    Level &level = stack_.back();
    blanks();
    if (p_ == end_) fail(R::End, p_);
    if (*p_ == ']') {
        close();
        return false;
    }
    if (!level.first) {
        if (*p_ != ',') fail(R::ExpectedCommaOrBracket, p_);
        ++p_;
        blanks();
        if (p_ < end_ && *p_ == ']') fail(R::ExpectedValue, p_); // a comma before the end
    }
    level.first = false;
    return true;
}

void Parser::readString(std::string &out)
{
    ++p_; // the opening quote
    for (;;) {
        const char *run = p_;
        while (p_ < end_ && *p_ != '"' && *p_ != '\\' && static_cast<unsigned char>(*p_) >= 0x20) ++p_;
        out.append(run, static_cast<std::size_t>(p_ - run));
        if (p_ == end_) fail(R::End, p_);
        if (*p_ == '"') {
            ++p_;
            return;
        }
        if (*p_ == '\\') appendEscaped(out);
        else fail(R::ControlCharacter, p_);
    }
}

void Parser::appendEscaped(std::string &out)
{
    const char *at = p_;
    if (end_ - p_ < 2) fail(R::End, end_);
    const char c = p_[1];
    p_ += 2;
    switch (c) {
    case '"': out.push_back('"'); return;
    case '\\': out.push_back('\\'); return;
    case '/': out.push_back('/'); return;
    case 'b': out.push_back('\b'); return;
    case 'f': out.push_back('\f'); return;
    case 'n': out.push_back('\n'); return;
    case 'r': out.push_back('\r'); return;
    case 't': out.push_back('\t'); return;
    case 'u': break;
    default: fail(R::BadEscape, at, std::string(at, 2));
    }
    auto hex4 = [&](const char *q) -> long {
        if (end_ - q < 4) return -1;
        long v = 0;
        for (int i = 0; i < 4; ++i) {
            const int h = hexValue(q[i]);
            if (h < 0) return -1;
            v = v * 16 + h;
        }
        return v;
    };
    const long u = hex4(p_);
    if (u < 0) fail(R::BadEscape, at, std::string(at, static_cast<std::size_t>(std::min<long>(6, end_ - at))));
    p_ += 4;
    std::uint32_t cp = static_cast<std::uint32_t>(u);
    if (cp >= 0xDC00 && cp <= 0xDFFF) fail(R::LoneSurrogate, at, std::string(at, 6));
    if (cp >= 0xD800 && cp <= 0xDBFF) {
        const long low = end_ - p_ >= 6 && p_[0] == '\\' && p_[1] == 'u' ? hex4(p_ + 2) : -1;
        if (low < 0xDC00 || low > 0xDFFF) fail(R::LoneSurrogate, at, std::string(at, 6));
        p_ += 6;
        cp = 0x10000 + ((cp - 0xD800) << 10) + (static_cast<std::uint32_t>(low) - 0xDC00);
    }
    appendUtf8(out, cp);
}

std::string Parser::string()
{
    if (peek() != Type::String) fail(R::ExpectedValue, p_);
    std::string s;
    readString(s);
    return s;
}

std::string_view Parser::numberText()
{
    const char *s = p_;
    const char *q = p_;
    if (q < end_ && *q == '-') ++q;
    if (q < end_ && *q == '0') {
        ++q;
        if (q < end_ && isDigit(*q)) fail(R::BadNumber, s, std::string(s, static_cast<std::size_t>(q + 1 - s)));
    } else if (q < end_ && isDigit(*q)) {
        while (q < end_ && isDigit(*q)) ++q;
    } else {
        fail(R::BadNumber, s, std::string(s, static_cast<std::size_t>(q - s))); // '-' alone
    }
    if (q < end_ && *q == '.') {
        ++q;
        if (!(q < end_ && isDigit(*q))) fail(R::BadNumber, s, std::string(s, static_cast<std::size_t>(q - s)));
        while (q < end_ && isDigit(*q)) ++q;
    }
    if (q < end_ && (*q == 'e' || *q == 'E')) {
        ++q;
        if (q < end_ && (*q == '+' || *q == '-')) ++q;
        if (!(q < end_ && isDigit(*q))) fail(R::BadNumber, s, std::string(s, static_cast<std::size_t>(q - s)));
        while (q < end_ && isDigit(*q)) ++q;
    }
    p_ = q;
    return std::string_view(s, static_cast<std::size_t>(q - s));
}

double Parser::number(std::string_view *text)
{
    if (peek() != Type::Number) fail(R::ExpectedValue, p_);
    const char *at = p_;
    const std::string_view t = numberText();
    if (text) *text = t;
    double x = 0;
    const auto res = std::from_chars(t.data(), t.data() + t.size(), x);
    if (res.ec == std::errc()) return x;
    // Out of range: beyond the largest double, or below half the smallest
    // one, where the nearest double is a zero. The position of the first
    // significant digit and the exponent tell which.
    long exponent = 0, lead = 0;
    bool seen = false, point = false;
    const bool negative = t[0] == '-';
    std::size_t i = negative ? 1 : 0;
    for (; i < t.size() && t[i] != 'e' && t[i] != 'E'; ++i) {
        if (t[i] == '.') point = true;
        else if (!seen && t[i] != '0') {
            seen = true;
            if (!point) ++lead;
        } else if (seen && !point) ++lead;
        else if (!seen && point) --lead;
    }
    if (i < t.size()) {
        ++i;
        const bool minus = t[i] == '-';
        if (t[i] == '+' || t[i] == '-') ++i;
        for (; i < t.size(); ++i) exponent = std::min(exponent * 10 + (t[i] - '0'), 1000000000L);
        if (minus) exponent = -exponent;
    }
    if (lead + exponent > 0) fail(R::NumberRange, at, std::string(t));
    return negative ? -0.0 : 0.0;
}

void Parser::literal(std::string_view word)
{
    const std::string_view rest(p_, static_cast<std::size_t>(end_ - p_));
    if (rest.substr(0, word.size()) != word) {
        if (rest.size() < word.size() && word.substr(0, rest.size()) == rest) fail(R::End, end_);
        fail(R::ExpectedValue, p_);
    }
    p_ += word.size();
}

bool Parser::boolean()
{
    const Type t = peek();
    if (t != Type::Boolean) fail(R::ExpectedValue, p_);
    const bool value = *p_ == 't';
    literal(value ? "true" : "false");
    return value;
}

void Parser::null()
{
    if (peek() != Type::Null) fail(R::ExpectedValue, p_);
    literal("null");
}

void Parser::skip()
{
    switch (peek()) {
    case Type::Object: {
        open(true);
        while (nextKey(scratch_)) skip();
        return;
    }
    case Type::Array:
        open(false);
        while (nextItem()) skip();
        return;
    case Type::String:
        scratch_.clear();
        readString(scratch_);
        return;
    case Type::Number: number(); return;
    case Type::Boolean: boolean(); return;
    case Type::Null: null(); return;
    }
}

void Parser::capture(std::string &out)
{
    switch (peek()) {
    case Type::Object: {
        open(true);
        out.push_back('{');
        bool first = true;
        while (nextKey(scratch_)) {
            if (!first) out.push_back(',');
            first = false;
            appendString(out, scratch_);
            out.push_back(':');
            capture(out);
        }
        out.push_back('}');
        return;
    }
    case Type::Array: {
        open(false);
        out.push_back('[');
        bool first = true;
        while (nextItem()) {
            if (!first) out.push_back(',');
            first = false;
            capture(out);
        }
        out.push_back(']');
        return;
    }
    case Type::String:
        scratch_.clear();
        readString(scratch_);
        appendString(out, scratch_);
        return;
    case Type::Number: {
        std::string_view t;
        number(&t);
        out.append(t);
        return;
    }
    case Type::Boolean: out += boolean() ? "true" : "false"; return;
    case Type::Null:
        null();
        out += "null";
        return;
    }
}

void Parser::finish()
{
    blanks();
    if (p_ != end_) fail(R::TrailingText, p_);
}

std::string compact(std::string_view text)
{
    Parser p(text);
    std::string out;
    p.capture(out);
    p.finish();
    return out;
}

// ------------------------------------------------------------------ Writer

Writer::Writer(std::string &out, std::size_t limit) : out_(out), limit_(limit) { stack_.reserve(16); }

void Writer::check()
{
    if (out_.size() > limit_) overflowed_ = true;
}

void Writer::newline(std::size_t depth)
{
    out_.push_back('\n');
    out_.append(2 * depth, ' ');
}

void Writer::beforeValue()
{
    if (stack_.empty()) return;
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    Level &level = stack_.back();
    if (!level.empty) out_.push_back(',');
    level.empty = false;
    newline(stack_.size());
}

void Writer::key(std::string_view key)
{
    if (overflowed_) return;
    Level &level = stack_.back();
    if (!level.empty) out_.push_back(',');
    level.empty = false;
    newline(stack_.size());
    appendString(out_, key);
    out_ += ": ";
    afterKey_ = true;
    check();
}

void Writer::member(std::string_view json)
{
    if (overflowed_) return;
    std::size_t q = 1; // the key's closing quote
    while (q < json.size() && json[q] != '"') q += json[q] == '\\' ? 2 : 1;
    Level &level = stack_.back();
    if (!level.empty) out_.push_back(',');
    level.empty = false;
    newline(stack_.size());
    out_.append(json.substr(0, q + 1));
    out_ += ": ";
    afterKey_ = true;
    compact(json.substr(q + 2));
}

void Writer::beginObject()
{
    if (overflowed_) return;
    beforeValue();
    out_.push_back('{');
    stack_.push_back({true, true});
}

void Writer::beginArray()
{
    if (overflowed_) return;
    beforeValue();
    out_.push_back('[');
    stack_.push_back({false, true});
}

void Writer::endObject()
{
    if (overflowed_) return;
    const bool empty = stack_.back().empty;
    stack_.pop_back();
    if (!empty) newline(stack_.size());
    out_.push_back('}');
    check();
}

void Writer::endArray()
{
    if (overflowed_) return;
    const bool empty = stack_.back().empty;
    stack_.pop_back();
    if (!empty) newline(stack_.size());
    out_.push_back(']');
    check();
}

void Writer::string(std::string_view s)
{
    if (overflowed_) return;
    beforeValue();
    appendString(out_, s);
    check();
}

void Writer::number(double x)
{
    if (overflowed_) return;
    beforeValue();
    out_ += std::isfinite(x) ? textio::numberText(x) : std::string("null");
    check();
}

void Writer::integer(long long n)
{
    if (overflowed_) return;
    beforeValue();
    out_ += std::to_string(n);
    check();
}

void Writer::boolean(bool b)
{
    if (overflowed_) return;
    beforeValue();
    out_ += b ? "true" : "false";
    check();
}

void Writer::null()
{
    if (overflowed_) return;
    beforeValue();
    out_ += "null";
    check();
}

void Writer::compact(std::string_view json)
{
    if (overflowed_) return;
    beforeValue();
    std::size_t depth = stack_.size();
    const std::size_t n = json.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char c = json[i];
        switch (c) {
        case '"': {
            const std::size_t start = i++;
            while (i < n && json[i] != '"') i += json[i] == '\\' ? 2 : 1;
            out_.append(json.substr(start, i + 1 - start));
            break;
        }
        case '{':
        case '[':
            out_.push_back(c);
            if (i + 1 < n && (json[i + 1] == '}' || json[i + 1] == ']')) {
                out_.push_back(json[++i]);
            } else {
                newline(++depth);
            }
            break;
        case '}':
        case ']':
            newline(--depth);
            out_.push_back(c);
            break;
        case ',':
            out_.push_back(',');
            newline(depth);
            check();
            if (overflowed_) return;
            break;
        case ':': out_ += ": "; break;
        default: out_.push_back(c);
        }
    }
    check();
}

} // namespace project::json
