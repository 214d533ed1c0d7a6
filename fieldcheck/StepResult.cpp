#include "fieldcheck/StepResult.h"

#include <algorithm>

namespace {

std::string Padded(std::string text, std::size_t width) {
    if (text.size() < width) {
        text.append(width - text.size(), ' ');
    }
    return text;
}

}  // namespace

std::string StepLine(const StepResult& result) {
    std::string line = Padded(result.ok ? "ok" : "FAIL", 5) + Padded(result.step, 12);
    line += "sent " + result.sent + "; expected " + result.expected + "; came back " +
            (result.cameBack.empty() ? "nothing" : result.cameBack);
    line += result.milliseconds ? "; " + std::to_string(*result.milliseconds) + " ms" : "; - ms";
    if (!result.ok && !result.problem.empty()) {
        line += " -- " + result.problem;
    }
    return line;
}

std::string SummaryLine(const std::vector<StepResult>& results) {
    const auto passed = std::count_if(results.begin(), results.end(),
                                      [](const StepResult& result) { return result.ok; });
    return std::to_string(passed) + " passed, " +
           std::to_string(static_cast<long>(results.size()) - passed) + " failed";
}

bool AllPassed(const std::vector<StepResult>& results) {
    return !results.empty() && std::all_of(results.begin(), results.end(),
                                           [](const StepResult& result) { return result.ok; });
}

nlohmann::json ReportJson(const std::vector<StepResult>& results, const nlohmann::json& about) {
    nlohmann::json steps = nlohmann::json::array();
    for (const StepResult& result : results) {
        steps.push_back({{"step", result.step},
                         {"sent", result.sent},
                         {"expected", result.expected},
                         {"cameBack", result.cameBack},
                         {"ok", result.ok},
                         {"milliseconds", result.milliseconds ? nlohmann::json(*result.milliseconds)
                                                              : nlohmann::json()},
                         {"problem", result.problem}});
    }
    nlohmann::json report = about;
    report["steps"] = steps;
    report["summary"] = SummaryLine(results);
    report["passed"] = AllPassed(results);
    return report;
}
