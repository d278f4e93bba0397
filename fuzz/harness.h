// What the fuzz targets of ventrano-rate and the project file share: the
// program run in this process on given arguments and standard input with its
// standard output and standard error caught, CSV read back with the
// program's own reader, and the checks every sentence and number cell must
// pass. Linux and glibc only, as libFuzzer itself.
#pragma once

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace fuzzing {

// Says what failed, with the text it failed on, and aborts: libFuzzer then
// keeps the input as a crash file.
[[noreturn]] void fail(const char *what, std::string_view text = {}, const char *file = nullptr, int line = 0);

#define FUZZ_CHECK(cond, text)                                                                                        \
    do {                                                                                                              \
        if (!(cond)) ::fuzzing::fail(#cond, (text), __FILE__, __LINE__);                                               \
    } while (0)

// What a run of the program left.
struct Run {
    int status = -1;
    std::string out, err;
};

// Runs ventrano-rate's dispatch (cli::run) on the arguments that follow the
// program's name, `input` on standard input (a memory file: descriptor 0),
// standard output and standard error caught in memory. With shortReads,
// each read of standard input gives a few bytes at most, as a pipe may: how
// many follows from the input, so that a run is repeatable.
Run runProgram(const std::vector<std::string> &args, std::string_view input, bool shortReads = false);

// The records of a CSV text as the program's reader reads them (from a
// memory file, as from standard input).
struct Record {
    std::vector<std::string> fields;
    long line = 0;
    int problem = 0; // textio::CsvRecord::Problem; 0 none
};
std::vector<Record> csvRecords(std::string_view text, std::size_t maxRecordBytes, std::size_t maxFields);
// The program's CSV output read back byte for byte: the reader skips a byte
// order mark at the start (a spreadsheet's), so one is put before it, and
// one the program wrote stays in the first field.
std::vector<Record> outputRecords(std::string_view text);

// A text the program put together around values it was given: every
// occurrence of an echo (a value of the input the text may quote) is taken
// out first; what is left holds no "inf", "nan" or "infinity" as a word,
// no placeholder (%1) and no sign of an empty number (two blanks in a row,
// a blank before a comma, point, semicolon, colon or closing bracket, or
// after an opening one, a blank at either end). `what` names it in a
// failure.
void checkSentence(std::string_view text, const std::vector<std::string> &echoes, const char *what);

// The ways a message may quote a value it was given: as it is, without the
// blanks around it, in quotes with its control characters escaped, cut short.
std::vector<std::string> echoesOf(std::string_view value);

// Whether a word ("inf", "NaN", "-infinity") is one of the texts a number
// must never be written as.
bool isNonNumberWord(std::string_view word);

// A number cell of the output: a finite number in the shortest text that
// reads back (with the program's reader) as the same double. Returns it.
double checkNumberCell(std::string_view cell, const char *column);

} // namespace fuzzing
