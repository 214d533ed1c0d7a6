#include "fieldcheck/WindowsAnswerStep.h"

#include <algorithm>
#include <string>

#include "support/TextConversion.h"

namespace {

std::string Where(const WindowAnswer& answer) {
    return "'" + WideToUtf8(answer.className) + "' (" +
           (answer.messageOnly ? "message-only" : "top-level") + ")";
}

std::string Milliseconds(std::chrono::milliseconds time) {
    return std::to_string(time.count()) + " ms";
}

}  // namespace

StepResult DescribeWindowAnswers(DWORD processId, bool reachable,
                                 const std::vector<WindowAnswer>& answers,
                                 std::chrono::milliseconds bound, std::chrono::milliseconds span) {
    StepResult result;
    result.step = "windows";
    result.sent = "WM_NULL with SendMessageTimeoutW (SMTO_BLOCK, " + Milliseconds(bound) +
                  ") to every window of the plug-in's process " + std::to_string(processId) +
                  ", message-only and top-level, again and again for " + Milliseconds(span) +
                  " while it idles";
    result.expected =
        "at least one window (COM makes one for the worker's apartment), each "
        "answering within " +
        Milliseconds(bound);
    if (!reachable) {
        result.applicable = false;
        result.problem =
            "not applicable: this build's stand-ins for Windows keep each process's windows "
            "within it, so the plug-in's windows cannot be reached from here";
        return result;
    }
    if (answers.empty()) {
        result.problem = "no window of process " + std::to_string(processId) +
                         " was found; COM makes one when the plug-in's worker enters its "
                         "apartment, so the worker has not entered one or its window is hidden "
                         "from the search";
        return result;
    }
    std::chrono::milliseconds longest{0};
    for (const WindowAnswer& answer : answers) {
        result.cameBack +=
            (result.cameBack.empty() ? "" : ", ") + Where(answer) +
            (answer.answered
                 ? " answered " + std::to_string(answer.sends - (answer.gone ? 1 : 0)) + " sends" +
                       (answer.gone ? " and was then destroyed" : "") + ", the slowest in "
                 : " no answer to send " + std::to_string(answer.sends) + " after ") +
            Milliseconds(answer.took);
        longest = std::max(longest, answer.took);
    }
    result.milliseconds = longest.count();
    const auto silent = std::find_if(answers.begin(), answers.end(),
                                     [](const WindowAnswer& answer) { return !answer.answered; });
    result.ok = silent == answers.end();
    if (!result.ok) {
        result.problem = "the plug-in's thread that owns the window of class " + Where(*silent) +
                         " did not answer within " + Milliseconds(bound) + " (gave up after " +
                         Milliseconds(silent->took) +
                         "): it does not dispatch its messages while it waits, which holds up "
                         "every program that sends to it, broadcasts included";
    }
    return result;
}

StepResult CheckWindowsAnswer(DWORD processId, std::chrono::milliseconds bound,
                              std::chrono::milliseconds span) {
    if (!CanSeeWindowsOf(processId)) {
        return DescribeWindowAnswers(processId, false, {}, bound, span);
    }
    const std::vector<FoundWindow> found =
        FindWindowsOf([processId](DWORD owner) { return owner == processId; });
    return DescribeWindowAnswers(processId, true, SendNullTo(found, bound, span), bound, span);
}
