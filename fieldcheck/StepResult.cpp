#include "fieldcheck/StepResult.h"

#include <algorithm>

namespace {

bool Failed(const StepResult& result) {
    return !result.ok && result.applicable;
}

std::string Padded(std::string text, std::size_t width) {
    if (text.size() < width) {
        text.append(width - text.size(), ' ');
    }
    return text;
}

}  // namespace

std::string StepLine(const StepResult& result, std::size_t stepColumn) {
    const char* outcome = result.ok ? "ok" : result.applicable ? "FAIL" : "n/a";
    std::string line =
        Padded(outcome, 5) + Padded(result.step, std::max(stepColumn, result.step.size() + 1));
    line += "sent " + result.sent + "; expected " + result.expected + "; came back " +
            (result.cameBack.empty() ? "nothing" : result.cameBack);
    line += result.milliseconds ? "; " + std::to_string(*result.milliseconds) + " ms" : "; - ms";
    if (!result.ok && !result.problem.empty()) {
        line += " -- " + result.problem;
    }
    return line;
}

std::size_t StepColumnFor(const std::vector<std::string>& names) {
    std::size_t longest = 0;
    for (const std::string& name : names) {
        longest = std::max(longest, name.size());
    }
    return longest + 1;
}

std::string SummaryLine(const std::vector<StepResult>& results) {
    const auto passed = std::count_if(results.begin(), results.end(),
                                      [](const StepResult& result) { return result.ok; });
    const auto failed = std::count_if(results.begin(), results.end(), Failed);
    const auto other = static_cast<long>(results.size()) - passed - failed;
    return std::to_string(passed) + " passed, " + std::to_string(failed) + " failed" +
           (other > 0 ? ", " + std::to_string(other) + " not applicable" : "");
}

bool AllPassed(const std::vector<StepResult>& results) {
    return std::none_of(results.begin(), results.end(), Failed) &&
           std::any_of(results.begin(), results.end(),
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
                         {"applicable", result.applicable},
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
