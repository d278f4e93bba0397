// The sentences that say why the design engine gives no answer, in an
// interface language, with numbers as the main window writes them, and the
// names of the quantities they speak of. Plain C++, no Qt.
#pragma once

#include "design/balance.h"
#include "design/reach.h"

#include <string>

namespace design {

// nyelv is the position in the language list (0 Magyar, 1 English, 2 RUS,
// 3 Slovensko, 4 Deutsch, 5 Romană, 6 Italiano; others: English); sep the
// decimal separator. Empty for a refusal of kind None.
std::string explainBalance(const Conditions &c, const BalanceRefusal &why, int nyelv = 1,
                           const std::string &sep = ".");
std::string explainReach(const rating::Case &installation, Input vary, Output result, double target,
                         const ReachRefusal &why, int nyelv = 1, const std::string &sep = ".");

// Names as they stand inside a sentence (lower case where the language
// writes them so): "shell-side flow", "heat duty", ...
std::string nameOf(Quantity q, int nyelv = 1);
std::string nameOf(Input i, int nyelv = 1);
std::string nameOf(Output o, int nyelv = 1);

} // namespace design
