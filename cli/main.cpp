// ventrano-rate: the rating and the selection of arrangements on the
// command line, without a display.
#include "cli/commands.h"

int main(int argc, char **argv) { return cli::run(argc, argv); }
