// What real PowerPoint reported for a fact the simulation could only infer: the field check
// records it for the tester to send back, whatever it is. An observation neither passes nor
// fails.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

struct Observation {
    std::string fact;      // the inference, in words
    std::string reported;  // what PowerPoint (or Windows) reported, or why it was not reached
    bool reached = false;  // false: the check could not ask here
};

// "  <fact>: <reported>", or "  <fact>: not reached: <why>".
std::string ObservationLine(const Observation& observation);
nlohmann::json ObservationsJson(const std::vector<Observation>& observations);
