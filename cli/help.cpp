#include "cli/commands.h"

namespace cli {

const char *const helpText = R"(Usage: ventrano-rate rate [FILE]
       ventrano-rate select --duty KW --jacket-flow X --jacket-unit U
         --jacket-inlet T --coil-flow X --coil-unit U --coil-inlet T [OPTION]...
Rates the coil-in-jacket water/water heat exchangers VT/R-0 to VR/T-4 as the
Ventrano main window does, without a display.

Commands:
  rate      rate the cases of a CSV file or of standard input, a row for each
  select    list the arrangements that transfer a required heat duty

Options:
  -h, --help   show this help; 'ventrano-rate COMMAND --help' shows the help
               of a command
  --version    show the version
  --           ends the options, here and after a command

Exit status: 0 success; 1 a row that could not be rated (rate) or nothing
that qualifies (select); 2 a usage error, or an input or output that failed
(a file that cannot be opened or read, a full disk): the message on standard
error says which.
)";

const char *const rateHelpText = R"(Usage: ventrano-rate rate [FILE]
Reads cases as CSV from FILE, or from standard input when FILE is missing or
'-', and writes one CSV row for each case to standard output, in their order.

Input: a header row, then a case on each row. The columns, in any order:
  type                      VT/R-0, VT/R-1, VT/R-2, VT/R-3 or VR/T-4
  series, parallel          units in series per branch and branches in
                            parallel: whole numbers from 1 to 150
  jacket_flow, coil_flow    0 to 150, in the side's unit
  jacket_unit, coil_unit    l/min or m3/h
  jacket_inlet, coil_inlet  -5 to 150 (degrees C)
Other columns pass through unchanged (a case id, say). Numbers take a point
as the decimal separator whatever the locale, and may start with a plus sign;
blanks around a value or a column name are ignored. The CSV is that of
RFC 4180: fields holding a comma, a quote or a line break in double quotes,
quotes doubled; lines may end with CRLF, LF or CR. A UTF-8 byte order mark at
the start is skipped, and so are empty lines and lines of blanks alone.

Output: the input columns as read (in double quotes where they need them,
and where they start or end with a blank), then
  duty_kW jacket_outlet_C coil_outlet_C jacket_dp_kPa coil_dp_kPa
  jacket_mass_flow_kg_s coil_mass_flow_kg_s jacket_velocity_m_s
  coil_velocity_m_s jacket_film_W_m2K coil_film_W_m2K overall_W_m2K error
Each number is the one the main window rounds for its result text, in the
shortest form that reads back as the same double; mass flows and velocities
are those of one branch. A row that cannot be rated (a field missing, no
number or out of range, a fraction for a count, an unknown type or unit, a
zero flow or one too small to rate (0 once converted to m3/s), equal inlets,
a pressure drop of 10000 bar or more, an arithmetic
error, too few or too many fields, a malformed record or one longer than
1 MiB) gets empty result columns and a one-line message in 'error' that names
its line; the other rows are rated all the same. Lines end with LF; each row
is written as soon as it is read.

Exit status: 0 every row rated; 1 some row has an error; 2 a usage error (an
unknown option, no header row, a required column missing or given twice, a
column named like an output column; nothing is written then), or an input or
output that failed: a FILE that cannot be opened, an input that cannot be
read, an output that cannot be written (it stops there).
)";

const char *const selectHelpText = R"(Usage: ventrano-rate select --duty KW --jacket-flow X --jacket-unit U
         --jacket-inlet T --coil-flow X --coil-unit U --coil-inlet T [OPTION]...
Writes, as CSV on standard output, the arrangements that transfer at least
the required heat duty: for each type and number of branches in parallel
the fewest units in series that do, where both pressure drops keep their
limits; by heat-transfer surface, then units, type and branches.

Required:
  --duty KW            the heat duty to transfer, 0.001 to 100000 kW
  --jacket-flow X      the jacket-side flow, 0 to 150 in the jacket unit
  --jacket-unit U      l/min or m3/h
  --jacket-inlet T     the jacket-side inlet temperature, -5 to 150 degrees C
  --coil-flow X        the same for the coil side
  --coil-unit U
  --coil-inlet T
Options:
  --max-series N       most units in series to consider, 1 to 150 (default 10)
  --max-parallel N     most branches in parallel, 1 to 150 (default 10)
  --max-dp-jacket KPA  largest jacket-side pressure drop, kPa (default no limit)
  --max-dp-coil KPA    largest coil-side pressure drop, kPa (default no limit)
  --types T1,T2,...    the types to consider, as the type list names them
                       (default all: VT/R-0,VT/R-1,VT/R-2,VT/R-3,VR/T-4)
  -h, --help           show this help
  --                   ends the options (nothing may follow it)
A value may also follow its option after '=' (--duty=40). After an option
that takes a value, an argument that starts with '--' or is '-h' is no value
but an option (negative numbers are values). A flow too small to rate (0 once
converted to m3/s) is refused.

Output columns: type series parallel units surface_m2 duty_kW margin_percent
(how far the duty exceeds the required one, per cent), then those of 'rate'
from jacket_outlet_C to overall_W_m2K.

Exit status: 0 something qualifies; 1 nothing does (the header alone on
standard output and why on standard error); 2 a usage error (nothing is
written then), or an output that cannot be written.
)";

} // namespace cli
