// A case as named text fields, as the command line's CSV, its options and
// the project files hold it: the input columns, the result columns, and
// readers that check a text against the ranges of the main window's
// fields. Each reader returns an empty string and sets `out`, or returns
// why the text is no such value.
#pragma once

#include "rating/case.h"
#include "textio/csv.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace textio {

// The input columns of a case, in the order of the case's fields.
enum InputColumn { Type, Series, Parallel, JacketFlow, CoilFlow, JacketUnit, CoilUnit, JacketInlet, CoilInlet, InputColumnCount };
inline constexpr const char *inputColumns[InputColumnCount] = {"type",        "series",    "parallel",
                                                               "jacket_flow", "coil_flow", "jacket_unit",
                                                               "coil_unit",   "jacket_inlet", "coil_inlet"};

// The optional input column of the fouling resistance, m2·K/W (missing or
// empty: rating::Rf).
inline constexpr const char *foulingColumn = "fouling_m2K_W";

// The result columns after the heat duty (duty_kW), from the numbers the
// main window formats its result texts from.
inline constexpr const char *resultColumns[] = {
    "jacket_outlet_C",       "coil_outlet_C",       "jacket_dp_kPa",       "coil_dp_kPa",
    "jacket_mass_flow_kg_s", "coil_mass_flow_kg_s", "jacket_velocity_m_s", "coil_velocity_m_s",
    "jacket_film_W_m2K",     "coil_film_W_m2K",     "overall_W_m2K",
};
inline constexpr int resultColumnCount = sizeof resultColumns / sizeof *resultColumns;

// The heat duty, then the numbers of resultColumns in their order: the
// numbers the main window rounds its result texts from.
inline std::array<double, 1 + resultColumnCount> resultValues(const rating::Model::ResultValues &v)
{
    return {v.QLabel,       v.LbTKK,    v.LbTSK,    v.DPK,       v.DPS,       v.LbTomegaramK,
            v.LbTomegaramS, v.LbArsebK, v.LbArsebS, v.LbHoatadK, v.LbHoatadS, v.LbHoatbocsT};
}

// The numbers of resultColumns, in their order (the duty not among them).
inline void writeResults(CsvWriter &out, const rating::Model::ResultValues &v)
{
    const auto values = resultValues(v);
    for (std::size_t i = 1; i < values.size(); ++i) out.number(values[i]);
}

// The input cells of a case in the order a side reads (type, series,
// parallel, then each side's flow, unit and inlet), with the fouling after
// them where `fouling`: the header, and a case's fields.
void writeInputHeader(CsvWriter &out, bool fouling);
void writeInputs(CsvWriter &out, const rating::Case &c, bool fouling);

std::string readType(std::string_view text, int &out);     // a name of the type list
std::string readCount(std::string_view text, int &out);    // a whole number 1..150
std::string readFlow(std::string_view text, double &out);  // 0..150
std::string readUnit(std::string_view text, int &out);     // l/min (0) or m3/h (1)
std::string readInlet(std::string_view text, double &out); // -5..150 °C
std::string readFouling(std::string_view text, double &out); // 0..0.01 m2·K/W
// A number in [lo, hi] (hi may be infinite); lo itself only if closed. A
// decimal number beyond the doubles (1e309, 1e-400) is out of range, not
// "not a number".
std::string readNumber(std::string_view text, double lo, double hi, bool closed, double &out);

// Why a flow in a unit (0 l/min, 1 m3/h) that is above 0 cannot be rated:
// it is 0 once converted to m3/s (4.9e-324 is); empty for any other flow.
std::string flowTooSmall(double flow, int unit);

// Why the main window does not show results for a case that rate() did
// not rate, in one line.
std::string whyNotRated(rating::Model &state, const rating::Case &c, const rating::Rating &r);

} // namespace textio
