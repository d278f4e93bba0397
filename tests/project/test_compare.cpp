// The comparison of cases: a cell is marked where it shows differently from
// the first column's, as the main window rounds it.
#include "project/compare.h"

#include "rating/model.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace project;

namespace {

using Change = std::function<void(rating::Case &)>;

// Two cases of a VT/R-2: the first and the second changed.
Project twoCases(const Change &first, const Change &second)
{
    Project p;
    p.cases.resize(2);
    p.cases[0].inputs.Tipus = p.cases[1].inputs.Tipus = 2;
    first(p.cases[0].inputs);
    first(p.cases[1].inputs);
    second(p.cases[1].inputs);
    return p;
}

const Comparison::Row &row(const Comparison &c, Quantity q) { return c.rows[static_cast<std::size_t>(q)]; }

TEST(Comparison, MarksWhatShowsDifferentlyAndNothingElse)
{
    struct Case {
        const char *name;
        Change change;
        Quantity quantity;
        bool marked;
        Change both = [](rating::Case &) {};
    };
    const std::vector<Case> cases = {
        {"the same", [](rating::Case &) {}, Quantity::CoilInlet, false},
        {"an inlet below the field's last decimal", [](rating::Case &c) { c.tsb = 20.004; }, Quantity::CoilInlet, false},
        {"an inlet in its last decimal", [](rating::Case &c) { c.tsb = 20.01; }, Quantity::CoilInlet, true},
        {"a flow below the field's last decimal", [](rating::Case &c) { c.MVk = 7.0004; }, Quantity::JacketFlow, false},
        {"a flow in its last decimal", [](rating::Case &c) { c.MVk = 7.001; }, Quantity::JacketFlow, true},
        {"the same flow in another unit", [](rating::Case &c) { c.MVs = 16.667, c.CbMVsIndex = 0; }, Quantity::CoilFlow, true},
        {"a tiny negative inlet shows as 0", [](rating::Case &c) { c.tkb = -0.001; }, Quantity::JacketInlet, false,
         [](rating::Case &c) { c.tkb = 0; }},
        {"another type", [](rating::Case &c) { c.Tipus = 3; }, Quantity::Type, true},
        {"more in series", [](rating::Case &c) { c.Soros = 2; }, Quantity::Series, true},
        {"another fouling", [](rating::Case &c) { c.Rf = 0.0001; }, Quantity::Fouling, true},
        {"a duty within its last decimal", [](rating::Case &c) { c.tsb = 20.000001; }, Quantity::Duty, false},
        {"no coil flow: no results", [](rating::Case &c) { c.MVs = 0; }, Quantity::Overall, true},
    };
    for (const Case &k : cases) {
        const Project p = twoCases(k.both, k.change);
        const std::optional<Comparison> c = compare(p, rate(p), {0, 1});
        ASSERT_TRUE(c) << k.name;
        ASSERT_EQ(c->rows.size(), static_cast<std::size_t>(quantityCount));
        const Comparison::Row &r = row(*c, k.quantity);
        ASSERT_EQ(r.cells.size(), 2u);
        EXPECT_FALSE(r.cells[0].differs) << k.name;
        EXPECT_EQ(r.cells[1].differs, k.marked) << k.name;
        EXPECT_EQ(r.differs(), r.cells[1].differs) << k.name;
    }
}

TEST(Comparison, CellsAsTheMainWindowShowsThem)
{
    Project p;
    p.cases.resize(3);
    p.cases[1].inputs.MVk = 116.6666, p.cases[1].inputs.CbMVkIndex = 0;
    p.cases[2].inputs.MVs = 0; // not rated
    const std::vector<Outcome> outcomes = rate(p);
    const std::optional<Comparison> c = compare(p, outcomes, {2, 0, 1});
    ASSERT_TRUE(c);
    EXPECT_EQ(c->cases, (std::vector<int>{2, 0, 1}));
    const Comparison::Row &flow = row(*c, Quantity::JacketFlow);
    EXPECT_EQ(cellText(flow.cells[1], ","), "7 m3/h");
    EXPECT_EQ(cellText(flow.cells[2], ","), "116,667 l/min");
    const Comparison::Row &duty = row(*c, Quantity::Duty);
    EXPECT_STREQ(duty.unit, "kW");
    EXPECT_FALSE(duty.cells[0].present);
    EXPECT_EQ(cellText(duty.cells[0]), "");
    EXPECT_TRUE(duty.cells[1].differs); // present where the first is not
    EXPECT_EQ(duty.cells[1].value, outcomes[0].rating.values.QLabel);
    EXPECT_EQ(cellText(duty.cells[1], ","), rating::FixedText(outcomes[0].rating.values.QLabel, 2, ","));
    EXPECT_EQ(cellText(row(*c, Quantity::Type).cells[1]), "VT/R-0");
    EXPECT_EQ(cellText(row(*c, Quantity::Fouling).cells[1], ","), "0,000055");
    EXPECT_EQ(row(*c, Quantity::Overall).decimals, 0);
}

TEST(Comparison, TakesTwoToEightCasesThatExist)
{
    Project p;
    p.cases.resize(9);
    const std::vector<Outcome> o = rate(p);
    EXPECT_FALSE(compare(p, o, {0}));
    EXPECT_TRUE(compare(p, o, {0, 0}));
    EXPECT_TRUE(compare(p, o, {0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_FALSE(compare(p, o, {0, 1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_FALSE(compare(p, o, {0, 9}));
    EXPECT_FALSE(compare(p, o, {-1, 0}));
    EXPECT_FALSE(compare(p, {}, {0, 1})); // no ratings for them
}

} // namespace
