// JSON as RFC 8259 has it, without Qt: a parser that hands out one value at
// a time and a writer with two-space indentation.
//
// The parser keeps nothing of what it has read beyond the open objects'
// keys (to refuse a key given twice): the caller takes the values it knows
// and skips or captures the rest, so a file of any shape costs memory in
// proportion to what the caller keeps. It refuses, with the line and column:
// bytes that are not UTF-8 (overlong forms, surrogates, code points beyond
// U+10FFFF, cut-off sequences), anything outside the grammar (trailing
// commas, leading zeros, "1.", single quotes, comments, text after the
// value), unescaped control characters and lone surrogates in strings,
// numbers beyond the range of a double, nesting deeper than maxDepth and a
// key twice in one object. A UTF-8 byte order mark at the start is skipped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace project::json {

enum class Type { Null, Boolean, Number, String, Array, Object };

// Why a text is no JSON, and where. Thrown by Parser.
struct SyntaxError {
    enum class Reason {
        NotUtf8,                // bytes that are no UTF-8
        Empty,                  // nothing but blanks
        End,                    // the text ends inside a value
        ExpectedValue,          // something that starts no value
        ExpectedKey,            // a key in double quotes was due
        ExpectedColon,          // ':' was due after a key
        ExpectedCommaOrBracket, // ',' or ']' was due in an array
        ExpectedCommaOrBrace,   // ',' or '}' was due in an object
        TrailingText,           // more after the value
        ControlCharacter,       // an unescaped control character in a string
        BadEscape,              // a backslash and no escape JSON knows
        LoneSurrogate,          // half a surrogate pair in a \u escape
        BadNumber,              // a leading zero, no digit after '.' or 'e', '-' alone
        NumberRange,            // a number beyond the range of a double
        TooDeep,                // nested deeper than Parser::maxDepth
        DuplicateKey,           // a key twice in one object
    };
    Reason reason = Reason::End;
    long line = 1, column = 1; // from 1; the column counts characters, not bytes
    std::string found;         // what is there: a character, a key, a number (as the text has it)
};

class Parser {
public:
    static constexpr int maxDepth = 64;

    // The text must outlive the parser. Throws SyntaxError (NotUtf8) at
    // once if it is not UTF-8, so that no value read later holds a bad
    // sequence.
    explicit Parser(std::string_view text);

    // The type of the next value (blanks skipped); throws if none starts there.
    Type peek();

    // An object: beginObject, then nextKey until it returns false; after
    // each key true, read, skip or capture its value.
    void beginObject();
    bool nextKey(std::string &key);
    // An array: beginArray, then nextItem until false; after each true,
    // one value.
    void beginArray();
    bool nextItem();

    std::string string();
    // The number and its text as the file has it.
    double number(std::string_view *text = nullptr);
    bool boolean();
    void null();

    // The next value, checked and dropped.
    void skip();
    // The next value, checked and appended to out as compact JSON: no
    // blanks, strings escaped as Writer escapes them, numbers as the text
    // has them. At most as long as the value's text.
    void capture(std::string &out);

    // Nothing but blanks after the value.
    void finish();

    // Ends the open objects and arrays without reading their values into
    // anything (after a caller has stopped caring), then finishes.
    void skipToEnd();

private:
    // The keys of one open object: a short list is searched, a long one
    // hashed, so that an object of a million keys costs neither quadratic
    // time nor much more memory than its keys.
    struct Keys {
        std::string bytes;
        std::vector<std::uint32_t> ends;  // where key i ends in bytes
        std::vector<std::uint32_t> table; // open addressing: key number + 1, 0 for a free slot
        std::string_view at(std::size_t i) const;
        void clear();
        void place(std::size_t i);
        bool insert(std::string_view key); // false if the key is there already
    };
    [[noreturn]] void fail(SyntaxError::Reason reason, const char *at, std::string found = {}) const;
    void blanks();
    void open(bool object);
    void close();
    void readString(std::string &out);
    void appendEscaped(std::string &out);
    std::string_view numberText();
    void literal(std::string_view word);
    void captureString(std::string &out);
    void skipString();

    const char *begin_, *p_, *end_;
    struct Level {
        bool object, first;
    };
    std::vector<Level> stack_;
    std::vector<Keys> keys_; // by depth, kept for reuse
    std::string scratch_;
};

// Appends JSON to a string with two spaces of indentation a level, a member
// or item a line, ": " after keys, "{}" and "[]" for empty containers, "\n"
// line ends. Strings escape the quote, the backslash and the control
// characters (\b \f \n \r \t, the others as \u00xx) and nothing else, and
// write a byte that is no part of a UTF-8 sequence as U+FFFD; numbers
// are the shortest text that reads back as the same double. Once the text
// passes `limit` bytes it stops growing and overflowed() says so.
class Writer {
public:
    explicit Writer(std::string &out, std::size_t limit = SIZE_MAX);

    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    void key(std::string_view key); // in an object, before the member's value

    void string(std::string_view s);
    void number(double x);
    void integer(long long n);
    void boolean(bool b);
    void null();
    // A value as Parser::capture gives it, laid out as this writer lays
    // out its own values.
    void compact(std::string_view json);
    // A member of an object as compact JSON ("key":value), likewise.
    void member(std::string_view json);

    bool overflowed() const { return overflowed_; }

private:
    void beforeValue();
    void newline(std::size_t depth);
    void check();
    std::string &out_;
    std::size_t limit_;
    struct Level {
        bool object, empty;
    };
    std::vector<Level> stack_;
    bool afterKey_ = false, overflowed_ = false;
};

// s as a JSON string (with its quotes), escaped as Writer escapes it.
void appendString(std::string &out, std::string_view s);

// A whole text's value as compact JSON (Parser::capture), or SyntaxError.
std::string compact(std::string_view text);

// The byte offset of the first byte of `text` that is no part of a UTF-8
// sequence, or npos.
std::size_t invalidUtf8(std::string_view text);

} // namespace project::json
