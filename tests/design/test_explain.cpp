// The design engine's sentences: one for every refusal in every language,
// complete, with the numbers as the main window writes them; and the
// selection's design conditions.
#include "design/conditions.h"
#include "design/explain.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

using namespace design;

namespace {

Conditions conditions(std::optional<double> mvk, std::optional<double> mvs, std::optional<double> tkk,
                      std::optional<double> tsk, std::optional<double> duty)
{
    Conditions c; // jacket at 80 °C, coil at 20 °C, both in m3/h
    c.MVk = mvk, c.MVs = mvs, c.tkk = tkk, c.tsk = tsk, c.dutyKW = duty;
    return c;
}

// A sentence: not empty, no placeholder left, valid enough UTF-8 to have no
// stray continuation byte at its start.
void expectSentence(const std::string &s)
{
    EXPECT_FALSE(s.empty());
    for (std::size_t i = 0; i + 1 < s.size(); ++i)
        EXPECT_FALSE(s[i] == '%' && s[i + 1] >= '0' && s[i + 1] <= '9') << s;
    EXPECT_NE(static_cast<unsigned char>(s[0]) & 0xC0, 0x80) << s;
}

} // namespace

TEST(Explain, EveryBalanceRefusalInEveryLanguage)
{
    const Conditions cases[] = {
        conditions(7.0, 1.0, {}, {}, {}),           // two given
        conditions(0.0, 1.0, 70.0, {}, {}),         // a flow of 0
        conditions(7.0, 1.0, {}, {}, -1.0),         // a duty below 0
        conditions(7.0, 1.0, {}, 151.0, {}),        // an outlet above the field
        conditions(7.0, {}, 70.0, {}, 40.0),        // the jacket twice
        conditions({}, 1.0, {}, 50.0, 40.0),        // the coil twice
        conditions(7.0, 1.0, 85.0, {}, {}),         // jacket outlet above its inlet
        conditions(7.0, {}, 70.0, 15.0, {}),        // coil outlet below its inlet
        conditions(7.0, {}, 70.0, 85.0, {}),        // cross
        conditions(7.0, 1.0, {}, {}, 80.0),         // duty beyond the coil flow
        conditions({}, {}, 79.9, 21.0, 5000.0),     // derived flow above the field
        conditions({}, {}, 20.0, 80.0, 0.0001),     // derived flow rounds to 0
    };
    for (const Conditions &c : cases) {
        const BalanceResult r = balance(c);
        ASSERT_FALSE(r.ok());
        for (int lang = 0; lang < 7; ++lang) {
            SCOPED_TRACE(testing::Message() << "kind " << int(r.why.kind) << ", language " << lang);
            expectSentence(explainBalance(c, r.why, lang, ","));
        }
    }
    Conditions equal = conditions(7.0, 1.0, 50.0, {}, {});
    equal.tsb = 80;
    for (int lang = 0; lang < 7; ++lang) expectSentence(explainBalance(equal, balance(equal).why, lang));
    EXPECT_EQ(explainBalance(equal, BalanceRefusal{}), "");
}

// In English, word for word, with the numbers the user has to act on.
TEST(Explain, BalanceSentencesInEnglish)
{
    const Conditions beyond = conditions(7.0, 1.0, {}, {}, 80.0);
    EXPECT_EQ(explainBalance(beyond, balance(beyond).why, 1, ","),
              "The spiral-side flow of 1,00 m3/h takes at most 69,43 kW between the two inlet temperatures: a "
              "heat duty of 80,00 kW would need a spiral-side outlet temperature beyond the shell-side inlet "
              "temperature (a temperature cross). Lower the duty or raise the flow.");
    const Conditions cross = conditions(7.0, {}, 70.0, 85.0, {});
    EXPECT_EQ(explainBalance(cross, balance(cross).why),
              "Temperature cross: the spiral-side outlet temperature (85.00 \u00B0C) is above the shell-side inlet "
              "temperature (80.00 \u00B0C). In counter-current flow a side can at most reach the other side's inlet "
              "temperature.");
    const Conditions big = conditions({}, {}, 79.9, 21.0, 5000.0);
    const BalanceResult b = balance(big);
    EXPECT_EQ(explainBalance(big, b.why),
              "The derived shell-side flow, " + rating::FixedText(b.why.value, 2) + " m3/h, is " +
                  rating::FixedText(b.why.value - 150, 2) + " m3/h above the largest the field holds (150.00 m3/h).");
    const Conditions two = conditions(7.0, 1.0, {}, {}, {});
    EXPECT_EQ(explainBalance(two, balance(two).why),
              "Give exactly three of the five: shell-side flow, spiral-side flow, shell-side outlet temperature, "
              "spiral-side outlet temperature, heat duty (2 given).");
}

TEST(Explain, EveryReachRefusalInEveryLanguage)
{
    const rating::Case base;
    rating::Case noCoil = base, badType = base, equal = base, fouled = base;
    noCoil.MVs = 0, badType.Tipus = 7, equal.tsb = 80, fouled.Rf = 0.02;
    const struct {
        rating::Case c;
        Input in;
        Output out;
        double target;
    } cases[] = {
        {badType, Input::JacketFlow, Output::Duty, 40},       {fouled, Input::JacketFlow, Output::Duty, 40},
        {base, Input::JacketFlow, Output::Duty, NAN},         {base, Input::JacketInlet, Output::CoilDrop, 40},
        {noCoil, Input::JacketFlow, Output::Duty, 40},       {equal, Input::Fouling, Output::Duty, 40},
        {base, Input::JacketFlow, Output::Duty, 1000},       {base, Input::Fouling, Output::JacketOutlet, 20},
    };
    for (const auto &k : cases) {
        const ReachResult r = reach(k.c, k.in, k.out, k.target);
        ASSERT_FALSE(r.ok());
        for (int lang = 0; lang < 7; ++lang) {
            SCOPED_TRACE(testing::Message() << "kind " << int(r.why.kind) << ", language " << lang);
            expectSentence(explainReach(k.c, k.in, k.out, k.target, r.why, lang, ","));
        }
    }
    const ReachResult most = reach(base, Input::JacketFlow, Output::Duty, 1000);
    EXPECT_EQ(explainReach(base, Input::JacketFlow, Output::Duty, 1000, most.why),
              "No shell-side flow from 0.01 to 150 m3/h brings the heat duty to 1000.00 kW: it ranges from " +
                  rating::FixedText(most.why.low, 2) + " kW to " + rating::FixedText(most.why.high, 2) +
                  " kW over them.");
    const ReachResult drop = reach(base, Input::JacketInlet, Output::CoilDrop, 40);
    EXPECT_EQ(explainReach(base, Input::JacketInlet, Output::CoilDrop, 40, drop.why, 1, ","),
              "The spiral-side pressure drop does not depend on the shell-side inlet temperature: it stays at "
              "155,218 kPa.");
    const ReachResult none = reach(noCoil, Input::JacketFlow, Output::Duty, 40);
    EXPECT_EQ(explainReach(noCoil, Input::JacketFlow, Output::Duty, 40, none.why),
              "No shell-side flow gives a rating of this installation: the spiral-side flow is 0.");
}

TEST(Explain, NamesInEveryLanguage)
{
    for (int lang = 0; lang < 7; ++lang) {
        std::set<std::string> names;
        for (Input i : {Input::JacketFlow, Input::CoilFlow, Input::JacketInlet, Input::CoilInlet, Input::Fouling})
            names.insert(nameOf(i, lang));
        for (Output o : {Output::Duty, Output::JacketOutlet, Output::CoilOutlet, Output::JacketDrop, Output::CoilDrop})
            names.insert(nameOf(o, lang));
        EXPECT_EQ(names.size(), 10u) << lang;
        EXPECT_EQ(nameOf(Quantity::CoilFlow, lang), nameOf(Input::CoilFlow, lang));
    }
}

// The selection's request from design conditions: the duty and both flows
// as given, or from the balance; a refusal leaves the request alone.
TEST(DesignRequest, FillsTheDutyAndFlows)
{
    selection::Request r;
    r.maxSeries = 4, r.Rf = 0.0002, r.marginPercent = 5;
    BalanceResult b = designRequest(conditions(7.0, 1.0, {}, {}, 80.0), r);
    ASSERT_TRUE(b.ok()); // no balance: the selection says itself that 80 kW is out of reach
    EXPECT_EQ(r.dutyKW, 80);
    EXPECT_TRUE(std::isnan(b.values.tkk));
    Conditions enquiry = conditions({}, 1.0, 60.0, 55.0, {});
    enquiry.tsb = 10;
    b = designRequest(enquiry, r);
    ASSERT_TRUE(b.ok());
    EXPECT_EQ(r.dutyKW, b.values.dutyKW);
    EXPECT_EQ(r.MVk, 2.31);
    EXPECT_EQ(r.MVs, 1);
    EXPECT_EQ(r.tsb, 10);
    EXPECT_EQ(r.maxSeries, 4);
    EXPECT_EQ(r.Rf, 0.0002);
    EXPECT_EQ(r.marginPercent, 5);
    const selection::Request before = r;
    EXPECT_FALSE(designRequest(conditions(7.0, {}, 70.0, 85.0, {}), r).ok());
    EXPECT_EQ(r.dutyKW, before.dutyKW);
    EXPECT_EQ(r.MVk, before.MVk);
    EXPECT_EQ(r.tsb, before.tsb);
    // The list for the derived duty: every entry reaches it with the margin.
    const selection::Result list = selection::select(r);
    ASSERT_FALSE(list.entries.empty());
    for (const selection::Entry &e : list.entries) EXPECT_GE(e.values.QLabel, r.dutyKW * 1.05 - 0.005);
}
