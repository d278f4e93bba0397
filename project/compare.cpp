#include "project/compare.h"

#include "rating/fields.h"
#include "rating/model.h"

namespace project {

namespace {

struct RowFormat {
    const char *unit;
    int decimals;
};

// Units and decimals as the main window shows each quantity: the fields'
// display formats (at most 3 decimals for flows, 2 for inlets; the fouling
// to 1e-7), the result labels' fixed decimals.
constexpr RowFormat formats[quantityCount] = {
    {"", 0}, {"", 0}, {"", 0}, {"", 3}, {"\u00B0C", 2}, {"", 3}, {"\u00B0C", 2}, {"m2\u00B7K/W", 7},
    {"kW", 2}, {"\u00B0C", 2}, {"\u00B0C", 2}, {"kPa", 3}, {"kPa", 3}, {"kg/s", 2}, {"kg/s", 2},
    {"m/s", 2}, {"m/s", 2}, {"W/m2\u00B0C", 0}, {"W/m2\u00B0C", 0}, {"W/m2\u00B0C", 0},
};

} // namespace

std::string roundedText(double x, int decimals, bool trim)
{
    std::string s = rating::FixedText(x, decimals);
    if (trim && s.find('.') != std::string::npos) {
        while (s.back() == '0') s.pop_back();
        if (s.back() == '.') s.pop_back();
    }
    if (!s.empty() && s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
    return s;
}

bool Comparison::Row::differs() const
{
    for (const Cell &c : cells)
        if (c.differs) return true;
    return false;
}

std::optional<Comparison> compare(const Project &p, const std::vector<Outcome> &outcomes, const std::vector<int> &cases)
{
    const auto n = cases.size();
    if (n < static_cast<std::size_t>(minCompared) || n > static_cast<std::size_t>(maxCompared)) return std::nullopt;
    for (int i : cases)
        if (i < 0 || static_cast<std::size_t>(i) >= p.cases.size() || static_cast<std::size_t>(i) >= outcomes.size())
            return std::nullopt;

    Comparison c;
    c.cases = cases;
    c.rows.resize(quantityCount);
    for (int q = 0; q < quantityCount; ++q) {
        Comparison::Row &row = c.rows[static_cast<std::size_t>(q)];
        row.quantity = static_cast<Quantity>(q);
        row.unit = formats[q].unit;
        row.decimals = formats[q].decimals;
        for (int index : cases) {
            const rating::Case &in = p.cases[static_cast<std::size_t>(index)].inputs;
            const Outcome &o = outcomes[static_cast<std::size_t>(index)];
            Comparison::Cell cell;
            if (q >= firstResult) {
                cell.present = o.ok();
                if (cell.present) {
                    cell.value = resultValues(o.rating.values)[static_cast<std::size_t>(q - firstResult)];
                    cell.text = roundedText(cell.value, row.decimals, false);
                }
            } else if (row.quantity == Quantity::Type) {
                cell.value = in.Tipus;
                cell.text = in.Tipus >= 0 && in.Tipus < rating::TipusCount ? rating::TipusNevek[in.Tipus] : "";
            } else {
                switch (row.quantity) {
                case Quantity::Series: cell.value = in.Soros; break;
                case Quantity::Parallel: cell.value = in.Parh; break;
                case Quantity::JacketFlow: cell.value = in.MVk, cell.unit = in.CbMVkIndex; break;
                case Quantity::JacketInlet: cell.value = in.tkb; break;
                case Quantity::CoilFlow: cell.value = in.MVs, cell.unit = in.CbMVsIndex; break;
                case Quantity::CoilInlet: cell.value = in.tsb; break;
                default: cell.value = in.Rf; break;
                }
                cell.text = roundedText(cell.value, row.decimals, true);
            }
            row.cells.push_back(std::move(cell));
        }
        const Comparison::Cell &first = row.cells.front();
        for (Comparison::Cell &cell : row.cells)
            cell.differs = cell.present != first.present || cell.text != first.text || cell.unit != first.unit;
    }
    return c;
}

std::string cellText(const Comparison::Cell &cell, const std::string &sep)
{
    if (!cell.present) return {};
    std::string s = cell.text;
    if (cell.unit < 0) {
        // a number (or the type's name, which holds no point)
        const auto dot = s.find('.');
        if (dot != std::string::npos && s.find_first_not_of("-0123456789.") == std::string::npos) s.replace(dot, 1, sep);
        return s;
    }
    const auto dot = s.find('.');
    if (dot != std::string::npos) s.replace(dot, 1, sep);
    return s + " " + rating::flowUnitName(cell.unit);
}

} // namespace project
