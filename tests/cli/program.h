// The built ventrano-rate run as a script runs it: arguments, standard
// input, and what comes out (standard output and error, the exit status).
#pragma once

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#ifndef RATE_PROGRAM
#error "RATE_PROGRAM: the path of the built ventrano-rate"
#endif

namespace clitest {

struct Outcome {
    int status = -1; // exit status; -1 when it did not exit normally
    std::string out, err;
};

inline std::string slurp(const std::string &path)
{
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
}

inline std::string shellQuoted(const std::string &s)
{
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// A folder of the test's own for its files.
inline const std::string &scratch()
{
    static const std::string dir = [] {
        char tmpl[] = "/tmp/ventrano-rate-test.XXXXXX";
        return std::string(mkdtemp(tmpl));
    }();
    return dir;
}

// A file in the scratch folder with the text; its path.
inline std::string fileWith(const std::string &name, const std::string &text)
{
    const std::string path = scratch() + "/" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

// Runs the program with `args`, `input` on standard input (a file, or a
// pipe where `piped`); standard output goes to a file, or to `stdoutPath`
// (such as /dev/full) where given.
inline Outcome run(const std::vector<std::string> &args, const std::string &input = "",
                   const std::string &stdoutPath = "", bool piped = false)
{
    const std::string dir = scratch();
    const std::string in = dir + "/in", out = dir + "/out", err = dir + "/err";
    std::ofstream(in, std::ios::binary) << input;
    std::string cmd = (piped ? "cat " + in + " | " : std::string()) + shellQuoted(RATE_PROGRAM);
    for (const auto &a : args) cmd += " " + shellQuoted(a);
    cmd += (piped ? std::string() : " <" + in) + " >" + (stdoutPath.empty() ? out : stdoutPath) + " 2>" + err;
    std::remove(out.c_str());
    const int st = std::system(cmd.c_str());
    Outcome r;
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    r.out = slurp(out);
    r.err = slurp(err);
    return r;
}

inline std::vector<std::string> lines(const std::string &text)
{
    std::vector<std::string> out;
    std::istringstream s(text);
    for (std::string l; std::getline(s, l);) out.push_back(l);
    return out;
}

// The fields of one output line (the program's own output: quotes only
// where a field holds a comma, a quote or a line break; none of the tests'
// lines holds a line break).
inline std::vector<std::string> fieldsOf(const std::string &line)
{
    std::vector<std::string> out(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') out.back() += '"', ++i;
            else if (c == '"') quoted = false;
            else out.back() += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            out.emplace_back();
        } else {
            out.back() += c;
        }
    }
    return out;
}

inline double readBack(const std::string &text)
{
    double x = std::nan("");
    const auto res = std::from_chars(text.data(), text.data() + text.size(), x);
    EXPECT_TRUE(res.ec == std::errc() && res.ptr == text.data() + text.size()) << text;
    return x;
}

inline std::string units(int i) { return i ? "m3/h" : "l/min"; }

} // namespace clitest
