// The result columns both commands write, from the numbers the main window
// formats its result texts from.
#pragma once

#include "textio/csv.h"
#include "rating/model.h"

namespace cli {

inline constexpr const char *resultColumns[] = {
    "jacket_outlet_C",       "coil_outlet_C",       "jacket_dp_kPa",       "coil_dp_kPa",
    "jacket_mass_flow_kg_s", "coil_mass_flow_kg_s", "jacket_velocity_m_s", "coil_velocity_m_s",
    "jacket_film_W_m2K",     "coil_film_W_m2K",     "overall_W_m2K",
};
inline constexpr int resultColumnCount = sizeof resultColumns / sizeof *resultColumns;

// The numbers of resultColumns, in their order.
inline void writeResults(textio::CsvWriter &out, const rating::Model::ResultValues &v)
{
    for (double x : {v.LbTKK, v.LbTSK, v.DPK, v.DPS, v.LbTomegaramK, v.LbTomegaramS, v.LbArsebK, v.LbArsebS,
                     v.LbHoatadK, v.LbHoatadS, v.LbHoatbocsT})
        out.number(x);
}

} // namespace cli
