// What the main window's numeric fields hold: their ranges and the rounding
// of a committed value. Plain C++, no Qt: the engines that hand a value to
// a field (a derived flow, a found input) round and limit it as the field
// would.
#pragma once

namespace rating {

// Ranges of the input fields (flows in the unit of their unit list).
inline constexpr double MinFlow = 0, MaxFlow = 150;
inline constexpr double MinInlet = -5, MaxInlet = 150; // °C
inline constexpr double MinFouling = 0, MaxFouling = 0.01; // m2·°C/W
inline constexpr int FieldDecimals = 2; // decimals a flow or temperature field holds

// The name of a flow unit as its list, the files and the command line
// write it: 0 l/min, 1 m3/h.
inline constexpr const char *flowUnitName(int unitIndex) { return unitIndex == 1 ? "m3/h" : "l/min"; }

// Rounds to the given decimals (0..15), halves away from zero:
// trunc(x * 10^places + sign(x) * 0.50000001) / 10^places, in extended
// precision. Not finite: x itself.
double roundToPlaces(double x, int places);

} // namespace rating
