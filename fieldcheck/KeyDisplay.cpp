#include "fieldcheck/KeyDisplay.h"

#include <utility>

#include "hostpeer/HostMessages.h"

KeyDisplay::KeyDisplay(std::string play, std::string load)
    : playContext(std::move(play)), loadContext(std::move(load)) {}

bool KeyDisplay::Apply(const std::string& frame) {
    std::optional<HostCommand> command;
    try {
        command = ParseHostCommand(frame);
    } catch (const std::exception&) {
        return false;  // a member of another type than the protocol's: nothing a key shows
    }
    if (!command) {
        return false;
    }
    if (command->event == "setTitle" && command->context == playContext) {
        playTitle = command->title;
        return true;
    }
    if (command->event == "setState" && command->context == playContext) {
        playState = command->state;
    } else if (command->event == "sendToPropertyInspector" && command->context == loadContext) {
        loadList = command->presentations;
    } else if (command->event == "showAlert") {
        alerts.push_back(command->context);
    }
    return false;
}

std::vector<std::string> KeyDisplay::TakeAlerts() {
    return std::exchange(alerts, {});
}

std::string KeyDisplay::DescribePlayKey() const {
    if (!playTitle) {
        return "";
    }
    return "'" + *playTitle + "'" +
           (playState ? ", state " + std::to_string(*playState) : std::string());
}

std::string KeyDisplay::DescribeLoadList() const {
    if (!loadList) {
        return "";
    }
    std::string text = "[";
    for (const std::string& path : *loadList) {
        text += (text.size() > 1 ? ", '" : "'") + path + "'";
    }
    return text + "]";
}
