// The selection's design conditions: both inlets and three of the flows,
// the outlets and the duty give the request's duty and flows through the
// energy balance. Plain C++, no Qt: the selection window and
// `ventrano-rate select` share it.
#pragma once

#include "design/balance.h"
#include "selection/select.h"

namespace design {

// Puts the conditions' inlets, units, duty and flows into `r` (its counts,
// limits, types, fouling and margin stay) and returns the balance. Given
// the duty and both flows, they go in as given, without a balance (the
// selection says itself when no exchanger reaches the duty); the outlets
// are then NaN. On a refusal `r` is left as it was.
BalanceResult designRequest(const Conditions &c, selection::Request &r);

} // namespace design
