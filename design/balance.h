// The energy balance of the exchanger from design conditions: both inlet
// temperatures and any three of the jacket flow, the coil flow, the two
// outlet temperatures and the duty give the other two, with each side's
// balance as the rating computes it (rating::sideDuty): the duty a side
// takes between its inlet and outlet is |tin - tout| V rho(tin)
// cp((tin + tout) / 2). Plain C++, no Qt.
#pragma once

#include <optional>

namespace design {

enum class Side { Jacket, Coil };

// The quantities of the design conditions, for the refusals to name.
enum class Quantity { Duty, JacketFlow, CoilFlow, JacketOutlet, CoilOutlet, JacketInlet, CoilInlet };

struct Conditions {
    double tkb = 80;    // jacket inlet, °C
    double tsb = 20;    // coil inlet, °C
    int CbMVkIndex = 1; // jacket flow unit: 0 l/min, 1 m3/h (as in rating::Model)
    int CbMVsIndex = 1; // coil flow unit
    // Exactly three of these five are given.
    std::optional<double> MVk, MVs; // flows in the unit of their index
    std::optional<double> tkk, tsk; // outlets, °C
    std::optional<double> dutyKW;   // heat duty, kW
};

// All five, the given ones as given. A derived duty or outlet is computed
// from the given values at full precision; a derived flow is rounded as a
// flow field rounds a typed value (two decimals, halves away from zero).
struct Balance {
    double dutyKW = 0, MVk = 0, MVs = 0, tkk = 0, tsk = 0;
};

// Why the conditions give no balance, with the numbers a sentence needs.
struct BalanceRefusal {
    enum class Kind {
        None,
        NotThree,    // count: how many of the five are given (not 3)
        BadValue,    // what: a given value or an inlet that is no number or outside its field
        EqualInlets, // both inlets the same: no heat flows
        SideTwice,   // side: its flow, outlet and the duty all given, the other side open
        WrongSide,   // side: its outlet is not beyond its inlet in the direction the heat flows (value: the outlet)
        Cross,       // side: its given outlet is beyond the other side's inlet (value: the outlet, limit: that inlet)
        DutyBeyond,  // side: the duty (value, kW) needs an outlet beyond the other side's inlet;
                     //   limit: the most its flow takes between the two inlets, kW
        FlowRange,   // side: the derived flow is outside its field; value: the flow before rounding
                     //   (in its unit), limit: the field's bound it crosses (MaxFlow, or the
                     //   smallest flow above 0 it holds)
    };
    Kind kind = Kind::None;
    Quantity what = Quantity::Duty;
    Side side = Side::Jacket;
    double value = 0, limit = 0;
    int count = 0;
};

struct BalanceResult {
    Balance values;
    BalanceRefusal why;
    bool ok() const { return why.kind == BalanceRefusal::Kind::None; }
};

BalanceResult balance(const Conditions &c);

// The outlet at which a side with volume flow V (m3/s) takes dutyW between
// its inlet and the other side's inlet: the double whose balance is nearest
// dutyW. Empty when dutyW is more than the side takes up to the other inlet.
std::optional<double> outletFor(double tin, double tother, double V, long double dutyW);

} // namespace design
