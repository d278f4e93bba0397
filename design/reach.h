// Reaching a target: for one installation, the value of one input that
// brings one result of the rating to a target. The answer is a value the
// input's field can hold (two decimals in the field's unit and range; the
// fouling resistance to 1e-7 m2·°C/W), the one among them whose result
// lies nearest the target. Plain C++, no Qt.
#pragma once

#include "rating/case.h"

namespace design {

// The inputs that can be varied and the results that can be aimed at
// (the numbers rating::rate gives in values: kW, °C, kPa).
enum class Input { JacketFlow, CoilFlow, JacketInlet, CoilInlet, Fouling };
enum class Output { Duty, JacketOutlet, CoilOutlet, JacketDrop, CoilDrop };

// The grid of an input's field: the values gridValue(input, n) for n from
// first to last, as the field reads them back from their text: flows
// n / 100 in the unit of their unit list (0 to 150), inlets n / 100 °C
// (-5 to 150), the fouling n / 1e7 m2·°C/W (0 to 0.01).
struct Grid {
    long first = 0, last = 0;
};
Grid gridOf(Input input);
double gridValue(Input input, long n);

// An input of a case, and a case with an input set.
double inputOf(const rating::Case &c, Input input);
void setInput(rating::Case &c, Input input, double value);
// A result among a rating's numbers.
double outputOf(const rating::Model::ResultValues &v, Output output);

// The fields of an installation, for a refusal to name.
enum class CaseField { Type, Series, Parallel, JacketFlow, CoilFlow, JacketInlet, CoilInlet, Fouling };

// Why there is no answer, with the numbers a sentence needs.
struct ReachRefusal {
    enum class Kind {
        None,
        BadCase,     // field: an input of the installation is no number or outside its field (value)
        BadTarget,   // the target is no number
        Unaffected,  // the result does not depend on the input: value, what it is (NaN: not rated)
        NoRating,    // no value of the input gives a rating: reason, side
        Unreachable, // no value within the field reaches the target: low and high, the
                     //   smallest and largest result over the field
    };
    // NoRating's reasons, as the rating's checks see the installation.
    enum class Reason { ZeroFlow, EqualInlets, DropLimit, Other };
    Kind kind = Kind::None;
    CaseField field = CaseField::Type;
    Reason reason = Reason::Other;
    bool coilSide = false; // NoRating, ZeroFlow or DropLimit: the side
    double value = 0;
    double low = 0, high = 0;
};

struct Reached {
    long index = 0;       // on the input's grid
    double value = 0;     // gridValue(input, index)
    double result = 0;    // the result there
    rating::Rating rating; // the whole rating of the installation with the value put in
};

struct ReachResult {
    Reached answer;
    ReachRefusal why;
    bool ok() const { return why.kind == ReachRefusal::Kind::None; }
};

// The value of `vary` whose result `result` lies nearest `target`, among
// the values of the field's grid at which the installation is rated.
// Ties go to the value nearest the installation's own (inputOf), then to
// the smaller one. When every rated value gives a result on the same side
// of the target, the refusal Unreachable says what the field gives; when
// all give the same result, Unaffected.
ReachResult reach(const rating::Case &installation, Input vary, Output result, double target);

} // namespace design
