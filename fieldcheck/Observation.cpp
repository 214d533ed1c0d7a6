#include "fieldcheck/Observation.h"

std::string ObservationLine(const Observation& observation) {
    return "  " + observation.fact + ": " + (observation.reached ? "" : "not reached: ") +
           observation.reported;
}

nlohmann::json ObservationsJson(const std::vector<Observation>& observations) {
    nlohmann::json list = nlohmann::json::array();
    for (const Observation& observation : observations) {
        list.push_back({{"fact", observation.fact},
                        {"reported", observation.reported},
                        {"reached", observation.reached}});
    }
    return list;
}
