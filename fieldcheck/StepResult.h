// One step of the field check and how it is reported: a line for the tester's console and an
// entry of the JSON report for a bug report.
#pragma once

#include <cstddef>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

struct StepResult {
    std::string step;      // "next", "load", ...
    std::string sent;      // what the host sent (or did)
    std::string expected;  // what should come back
    std::string cameBack;  // what did come back
    bool ok = false;
    std::optional<long long> milliseconds;  // from the press to the play key's title
    std::string problem;                    // for a tester, when the step failed
    // False for a step that cannot be carried out on this system: it neither passes nor fails,
    // and its problem says why.
    bool applicable = true;
};

// "ok   next   sent ...; expected ...; came back ...; 12 ms" (FAIL and n/a lines add the
// problem). The step's column is stepColumn characters wide, and always wider than its name.
std::string StepLine(const StepResult& result, std::size_t stepColumn = 0);
// The step column that lines up the steps of these names.
std::size_t StepColumnFor(const std::vector<std::string>& names);
// "N passed, M failed", and ", K not applicable" when there are such steps.
std::string SummaryLine(const std::vector<StepResult>& results);
// True when no step failed and at least one passed.
bool AllPassed(const std::vector<StepResult>& results);
nlohmann::json ReportJson(const std::vector<StepResult>& results, const nlohmann::json& about);
