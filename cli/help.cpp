#include "cli/commands.h"

namespace cli {

const char *const helpText = R"(Usage: ventrano-rate rate [--csv | --project] [FILE]
       ventrano-rate select --jacket-unit U --jacket-inlet T --coil-unit U
         --coil-inlet T and three of --duty KW, --jacket-flow X, --coil-flow X,
         --jacket-outlet T, --coil-outlet T [OPTION]...
       ventrano-rate balance --jacket-unit U --jacket-inlet T --coil-unit U
         --coil-inlet T and three of --duty KW, --jacket-flow X, --coil-flow X,
         --jacket-outlet T, --coil-outlet T
       ventrano-rate solve --vary INPUT --target RESULT=VALUE --type T
         --series N --parallel N --jacket-flow X --jacket-unit U
         --jacket-inlet T --coil-flow X --coil-unit U --coil-inlet T
         [--fouling R]
       ventrano-rate project --from-csv FILE [--name NAME]
Rates the coil-in-jacket water/water heat exchangers VT/R-0 to VR/T-4 as the
Ventrano main window does, without a display.

Commands:
  rate      rate the cases of a CSV table, a row for each, or of a project
  select    list the arrangements that transfer a required heat duty, given
            or derived from design conditions
  balance   the duty, flows and outlet temperatures that three of them give
  solve     the value of one input that brings one result to a target
  project   turn a CSV table of cases into a project file

Options:
  -h, --help   show this help; 'ventrano-rate COMMAND --help' shows the help
               of a command
  --version    show the version
  --           ends the options, here and after a command

Exit status: 0 success; 1 a row or case that could not be rated (rate), a
refusal with its reason on standard error (select: nothing qualifies;
balance, solve: no answer; project: a row that cannot be rated); 2 a usage
error, a project file that is refused, or an input or output that failed (a
file that cannot be opened or read, a full disk): the message on standard
error says which.
)";

const char *const rateHelpText = R"(Usage: ventrano-rate rate [--csv | --project] [FILE]
Reads cases as CSV from FILE, or from standard input when FILE is missing or
'-', and writes one CSV row for each case to standard output, in their order.
A project file (.ventrano) gives all its cases at once.

Input: a header row, then a case on each row. The columns, in any order:
  type                      VT/R-0, VT/R-1, VT/R-2, VT/R-3 or VR/T-4
  series, parallel          units in series per branch and branches in
                            parallel: whole numbers from 1 to 150
  jacket_flow, coil_flow    0 to 150, in the side's unit
  jacket_unit, coil_unit    l/min or m3/h
  jacket_inlet, coil_inlet  -5 to 150 (degrees C)
and, optional, fouling_m2K_W: the fouling resistance, 0 to 0.01 m2.K/W
(0.000055 where the column is missing or the field empty).
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

Projects: a FILE whose name ends in .ventrano, or any input whose first
character (after a byte order mark, blanks and line breaks, within its first
64 KiB) is '{', is read as a project file; --project reads the input as one whatever its name and
start, --csv as CSV. The output then has a row for each case, in the file's
order: first 'case' (the case's name), then type series parallel
jacket_flow jacket_unit jacket_inlet coil_flow coil_unit coil_inlet
fouling_m2K_W as the file holds them, then the columns above from duty_kW;
the results are computed afresh, never taken from the file, and the
message of a case that cannot be rated names its number from 1. A file
that is no project the program opens (not JSON, another format, a newer
version, a key missing or out of range, no case or more than 1000, more
than 10 MB) is refused as the program refuses it, with the same sentence.
  --csv        read the input as CSV
  --project    read the input as a project file
  -h, --help   show this help

Exit status: 0 every row rated; 1 some row has an error; 2 a usage error (an
unknown option, no header row, a required column missing or given twice, a
column named like an output column; nothing is written then), a project
file refused, or an input or output that failed: a FILE that cannot be
opened, an input that cannot be read, an output that cannot be written (it
stops there).
)";

const char *const selectHelpText = R"(Usage: ventrano-rate select --jacket-unit U --jacket-inlet T --coil-unit U
         --coil-inlet T and three of --duty KW, --jacket-flow X, --coil-flow X,
         --jacket-outlet T, --coil-outlet T [OPTION]...
Writes, as CSV on standard output, the arrangements that transfer at least
the required heat duty: for each type and number of branches in parallel
the fewest units in series that do, where both pressure drops keep their
limits; by heat-transfer surface, then units, type and branches.

The design conditions: both inlets and units, and the duty and both flows;
or, in place of the duty or a flow, an outlet temperature, and the missing
ones follow from the energy balance as 'ventrano-rate balance' derives them
(which shows them):
  --duty KW            the heat duty to transfer, 0.001 to 100000 kW
  --jacket-flow X      the jacket-side flow, 0 to 150 in the jacket unit
  --jacket-unit U      l/min or m3/h
  --jacket-inlet T     the jacket-side inlet temperature, -5 to 150 degrees C
  --jacket-outlet T    the jacket-side outlet temperature, -5 to 150 degrees C
  --coil-flow X        the same for the coil side
  --coil-unit U
  --coil-inlet T
  --coil-outlet T
Options:
  --max-series N       most units in series to consider, 1 to 150 (default 10)
  --max-parallel N     most branches in parallel, 1 to 150 (default 10)
  --max-dp-jacket KPA  largest jacket-side pressure drop, kPa (default no limit)
  --max-dp-coil KPA    largest coil-side pressure drop, kPa (default no limit)
  --types T1,T2,...    the types to consider, as the type list names them
                       (default all: VT/R-0,VT/R-1,VT/R-2,VT/R-3,VR/T-4)
  --fouling R          the fouling resistance of every arrangement, 0 to 0.01
                       m2.K/W (default 0.000055)
  --margin PCT         design margin, 0 to 100 per cent (default 0): the list
                       requires a duty of (1 + PCT/100) times the required one
  -h, --help           show this help
  --                   ends the options (nothing may follow it)
A value may also follow its option after '=' (--duty=40); given twice, the
last one counts. After an option that takes a value, an argument that
starts with '--' or is '-h' is no value but an option (negative numbers are
values). A flow too small to rate (0 once converted to m3/s) is refused.

Output columns: type series parallel units surface_m2 duty_kW margin_percent
(how far the duty exceeds the required one, per cent, without the design
margin), then those of 'rate' from jacket_outlet_C to overall_W_m2K.

Exit status: 0 something qualifies; 1 nothing does, or the design
conditions give no balance (the header alone on standard output and why on
standard error); 2 a usage error (nothing is written then), or an output
that cannot be written.
)";

const char *const balanceHelpText = R"(Usage: ventrano-rate balance --jacket-unit U --jacket-inlet T --coil-unit U
         --coil-inlet T and three of --duty KW, --jacket-flow X, --coil-flow X,
         --jacket-outlet T, --coil-outlet T
Writes the energy balance of the design conditions as CSV on standard
output: from both inlet temperatures and three of the two flows, the two
outlet temperatures and the duty, the other two, with each side's balance
as the rating computes it (the duty a side takes is |t_in - t_out| times
its volume flow, the density at its inlet and the specific heat at the mean
of the two). The given values are written as given; a derived duty or
outlet at full precision; a derived flow rounded as the main window's flow
field holds it (two decimals in its unit).

  --jacket-inlet T     the jacket-side inlet temperature, -5 to 150 degrees C
  --jacket-unit U      the jacket-side flow unit, l/min or m3/h
  --jacket-flow X      the jacket-side flow, above 0 to 150 in its unit
  --jacket-outlet T    the jacket-side outlet temperature, -5 to 150 degrees C
  --coil-inlet T, --coil-unit U, --coil-flow X, --coil-outlet T
                       the same for the coil side
  --duty KW            the heat duty, kW, above 0
  -h, --help           show this help
  --                   ends the options (nothing may follow it)
A value may also follow its option after '='; given twice, the last one
counts.

Output: the header duty_kW,jacket_flow,coil_flow,jacket_outlet_C,coil_outlet_C
and one row (flows in the given units), each number in the shortest form
that reads back as the same double.

Exit status: 0 a balance; 1 none (the header alone on standard output and
why on standard error: equal inlets, one side fixed twice and the other left
open, an outlet on the wrong side of its inlet or beyond the other inlet, a
duty one flow cannot take, a derived flow outside its field); 2 a usage
error (a missing or unknown option, not three of the five, a value that is
no number or outside its range; nothing is written then), or an output that
cannot be written.
)";

const char *const solveHelpText = R"(Usage: ventrano-rate solve --vary INPUT --target RESULT=VALUE --type T
         --series N --parallel N --jacket-flow X --jacket-unit U
         --jacket-inlet T --coil-flow X --coil-unit U --coil-inlet T
         [--fouling R]
Finds the value of one input of an installation that brings one result to a
target: among the values the input's field holds (two decimals in the
field's unit and range; the fouling to 1e-7 m2.K/W), the one whose result
lies nearest the target. Writes the CSV header and the row that 'rate'
writes for the installation with that value put in.

  --vary INPUT         jacket_flow, coil_flow, jacket_inlet, coil_inlet or
                       fouling; its own option may be left out (where given,
                       a tie goes to the value nearest it)
  --target RESULT=VALUE
                       duty_kW, jacket_outlet_C, coil_outlet_C, jacket_dp_kPa
                       or coil_dp_kPa, and the value to reach in its unit
                       (kW, degrees C, kPa), -1000000 to 1000000
  --type T             VT/R-0, VT/R-1, VT/R-2, VT/R-3 or VR/T-4
  --series N, --parallel N
                       units in series and branches in parallel, 1 to 150
  --jacket-flow X, --coil-flow X
                       0 to 150 in the side's unit
  --jacket-unit U, --coil-unit U
                       l/min or m3/h
  --jacket-inlet T, --coil-inlet T
                       -5 to 150 degrees C
  --fouling R          the fouling resistance, 0 to 0.01 m2.K/W (default
                       0.000055)
  -h, --help           show this help
  --                   ends the options (nothing may follow it)
A value may also follow its option after '='; given twice, the last one
counts.

Output: type series parallel jacket_flow jacket_unit jacket_inlet coil_flow
coil_unit coil_inlet, then fouling_m2K_W where the fouling is given or
varied, then the columns of 'rate' from duty_kW to error; the varied column
holds the answer. Read by 'rate', the row gives the same row back.

Exit status: 0 an answer; 1 none (the header alone on standard output and
why on standard error: no value within the field reaches the target, with
the range the field gives; the result does not depend on the input; no
value gives a rating); 2 a usage error (nothing is written then), or an
output that cannot be written.
)";

const char *const projectHelpText = R"(Usage: ventrano-rate project --from-csv FILE [--name NAME]
Writes a project file (.ventrano) to standard output with one case for each
row of the CSV table in FILE ('-': standard input), in their order, so that
a spreadsheet's table opens in the Ventrano program:
  ventrano-rate project --from-csv cases.csv --name 'Boiler house' > cases.ventrano

The table is that of 'rate' (its columns, their ranges, fouling_m2K_W
optional); a column 'case', or else 'name', gives each case its name
(missing or empty: 'Case N', N its number from 1). Other columns are left
out. NAME is the project's name.

  --from-csv FILE      the table of cases
  --name NAME          the project's name (default none)
  -h, --help           show this help
  --                   ends the options (nothing may follow it)

A row that 'rate' could not rate (a field missing or out of range, a
malformed record, a zero flow, equal inlets, ...), or whose name is not
UTF-8, is refused: its message, which names its line, on standard error;
every row is read and each refused one reported. A project holds 1000
cases at most and its file 10 MB.

Exit status: 0 the project written; 1 a row refused, no row, more than 1000
rows, or a project beyond 10 MB (nothing on standard output then); 2 a
usage error (an unknown option, no --from-csv, no header row, a required
column missing or given twice), or an input or output that failed.
)";

} // namespace cli
