// Cases side by side: one column a case, one row for each input and each of
// the twelve results, each cell marked where it shows differently from the
// first column's. Plain C++, no Qt: the comparison window, its Copy and the
// report's comparison page render it.
//
// A cell differs where its text differs: the number rounded as the main
// window rounds it (inputs as their fields show them, results as their
// labels), so that a difference nobody can see on the screen is not marked.
#pragma once

#include "project/project.h"

#include <optional>
#include <string>
#include <vector>

namespace project {

enum class Quantity {
    // inputs
    Type, Series, Parallel, JacketFlow, JacketInlet, CoilFlow, CoilInlet, Fouling,
    // results, in the order of resultKeys
    Duty, JacketOutlet, CoilOutlet, JacketDrop, CoilDrop, JacketMassFlow, CoilMassFlow, JacketVelocity,
    CoilVelocity, JacketFilm, CoilFilm, Overall,
};
inline constexpr int quantityCount = 20;
inline constexpr int firstResult = static_cast<int>(Quantity::Duty);
inline constexpr int minCompared = 2, maxCompared = 8;

struct Comparison {
    struct Cell {
        bool present = true; // false: a result of a case that is not rated
        double value = 0;    // the input or result (the type: its index)
        int unit = -1;       // flows: 0 l/min, 1 m3/h
        std::string text;    // as the main window shows it, with a point (the type: its name; flows: no unit)
        bool differs = false; // shown differently from the first column's cell
    };
    struct Row {
        Quantity quantity = Quantity::Type;
        const char *unit = ""; // "kW", "°C", "kPa", ... ("" for the type, the counts and the flows)
        int decimals = 0;      // of the text: fixed for results, at most this many for inputs
        std::vector<Cell> cells;
        bool differs() const;  // in any cell
    };
    std::vector<int> cases; // the cases compared, in column order
    std::vector<Row> rows;  // one per Quantity, in its order
};

// The cases (indices from 0) compared, each rated as in `outcomes` (rate()).
// Nothing where fewer than minCompared or more than maxCompared are given,
// or an index names no case.
std::optional<Comparison> compare(const Project &p, const std::vector<Outcome> &outcomes,
                                  const std::vector<int> &cases);

// A cell as a table shows it: its text with the decimal separator sep, a
// flow with its unit; empty for a missing result.
std::string cellText(const Comparison::Cell &cell, const std::string &sep = ".");

// x rounded to `decimals` as FixedText rounds it, with a point; with trim,
// without trailing zeros (as an input field shows it). A zero is never
// negative.
std::string roundedText(double x, int decimals, bool trim);

} // namespace project
