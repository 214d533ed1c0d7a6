// What the Glyphpad application would show on the field check's keys, kept current from the
// plug-in's commands in the order they arrive.
#pragma once

#include <optional>
#include <string>
#include <vector>

class KeyDisplay {
public:
    KeyDisplay(std::string playContext, std::string loadContext);

    // Applies one frame from the plug-in. Returns true when it set the play key's title.
    bool Apply(const std::string& frame);
    // Contexts that got an alert since the last call, which forgets them.
    std::vector<std::string> TakeAlerts();

    // The play key's title and state; empty until the plug-in has sent one.
    const std::optional<std::string>& PlayTitle() const { return playTitle; }
    const std::optional<int>& PlayState() const { return playState; }
    // The presentations the load key's settings page was last offered.
    const std::optional<std::vector<std::string>>& LoadList() const { return loadList; }

    // "'1/5', state 0" in words for the report.
    std::string DescribePlayKey() const;
    std::string DescribeLoadList() const;

private:
    std::string playContext;
    std::string loadContext;
    std::optional<std::string> playTitle;
    std::optional<int> playState;
    std::optional<std::vector<std::string>> loadList;
    std::vector<std::string> alerts;
};
