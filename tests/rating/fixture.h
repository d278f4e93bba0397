// Shared set-up for the rating tests: the main window's default inputs.
#pragma once
#include "rating/model.h"

#include <cmath>
#include <optional>
#include <string>

inline rating::Model defaultModel()
{
    rating::Model m;
    m.Tipus = 0;
    m.Soros = 1;
    m.Parh = 1;
    m.tkb = 80;
    m.tsb = 20;
    m.MVk = 7;
    m.MVs = 1;
    m.CbMVkIndex = 1;
    m.CbMVsIndex = 1;
    m.SzHoteljesitmeny = "Total heat transfer";
    m.SzHoatbocsT = "Overall heat transfer coefficient";
    return m;
}

// The two energy balances of the current outlet temperatures, W.
struct Balances { long double jacket, coil; };
inline Balances balances(const rating::Model &m)
{
    using LD = long double;
    auto side = [](double in, double out, double v) {
        return fabsl(static_cast<LD>(in) - out) * v * rating::Suruseg(in) *
               rating::Fajho(static_cast<double>((static_cast<LD>(in) + out) / 2));
    };
    return {side(m.tkb, m.tkk, m.Vk), side(m.tsb, m.tsk, m.Vs)};
}

// The kind of arithmetic error f throws, if any.
template <class F> std::optional<rating::ArithmeticError::Kind> errorOf(F &&f)
{
    try {
        f();
    } catch (const rating::ArithmeticError &e) {
        return e.kind();
    }
    return std::nullopt;
}
