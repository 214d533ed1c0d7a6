#include "actions/MyGlyphpadPlugin.h"

#include <algorithm>
#include <optional>

#include "actions/ActionIdentifiers.h"
#include "host/JsonMembers.h"
#include "host/KGPConnectionManager.h"
#include "support/FileNames.h"
#include "support/PresentationPaths.h"
#include "support/TextConversion.h"

namespace {

// The key's settings object from a keyDown/keyUp payload; null when absent or not an object.
nlohmann::json ReadKeySettings(const nlohmann::json& payload) {
    nlohmann::json settings;
    ReadObjectMember(payload, "settings", settings);
    return settings;
}

// The presentation chosen for a load key, forward slashes as the settings page stores it. A path
// with a NUL in it names no file: PowerPoint would read it only up to the NUL, while the key's
// title comes from its end, so it counts as no file chosen.
std::string ReadChosenFile(const nlohmann::json& settings) {
    std::string file = ReadStringMember(settings, "korfilepicker", "");
    if (file.find('\0') != std::string::npos) {
        file.clear();
    }
    return file;
}

std::optional<PowerPointCommand> SlideCommandFor(const std::string& action) {
    if (action == ActionIdentifiers::Next) {
        return PowerPointCommand::NextSlide;
    }
    if (action == ActionIdentifiers::Previous) {
        return PowerPointCommand::PreviousSlide;
    }
    if (action == ActionIdentifiers::First) {
        return PowerPointCommand::FirstSlide;
    }
    if (action == ActionIdentifiers::Last) {
        return PowerPointCommand::LastSlide;
    }
    return std::nullopt;
}

}  // namespace

MyGlyphpadPlugin::MyGlyphpadPlugin(int refreshIntervalMs, int longPressMs)
    : longPressMs(longPressMs) {
    worker.Start();
    refreshTimer.Start(refreshIntervalMs, [this] { RefreshOnTimer(); });
}

MyGlyphpadPlugin::~MyGlyphpadPlugin() {
    // Members would be destroyed worker first; the timers' callbacks submit to the worker, so
    // both timers are stopped (and their threads joined) before the worker goes.
    StopTimers();
    worker.Stop();
}

void MyGlyphpadPlugin::StopAutomation() {
    worker.Stop();
}

void MyGlyphpadPlugin::StopTimers() {
    longPressTimer.Stop();
    refreshTimer.Stop();
}

void MyGlyphpadPlugin::OnKeyDown(const std::string& action, const std::string& context,
                                 const nlohmann::json& payload, const std::string& /*device*/) {
    const std::string chosenFile = ReadChosenFile(ReadKeySettings(payload));
    std::lock_guard<std::mutex> lock(pluginMutex);
    if (action == ActionIdentifiers::Load) {
        LoadChosenPresentation(context, chosenFile);
    } else if (action == ActionIdentifiers::Play) {
        ArmLongPress();
    } else if (const auto command = SlideCommandFor(action)) {
        MoveSlideShow(*command, context);
    }
}

void MyGlyphpadPlugin::OnKeyUp(const std::string& action, const std::string& context,
                               const nlohmann::json& payload, const std::string& /*device*/) {
    if (action == ActionIdentifiers::Load) {
        const bool hasFile = !ReadChosenFile(ReadKeySettings(payload)).empty();
        connectionManager->SetState(hasFile ? 1 : 0, context);
        return;
    }
    if (action != ActionIdentifiers::Play) {
        return;
    }
    std::lock_guard<std::mutex> lock(pluginMutex);
    const bool armed = longPressTimer.IsRunning();
    // Waits for a long-press callback still in progress; it takes no plug-in lock.
    longPressTimer.Stop();
    // A release that arrives while the close is already under way is part of a long press.
    const bool shortPress = armed && !longPressFired.load();
    if (shortPress && !currentPresentation.empty()) {
        ToggleSlideShow(context);
        UpdateKeys();
    }
}

void MyGlyphpadPlugin::OnWillAppear(const std::string& action, const std::string& context,
                                    const nlohmann::json& /*payload*/,
                                    const std::string& /*device*/) {
    // The refresh walks visibleActions on its own thread under the same lock.
    std::lock_guard<std::mutex> lock(pluginMutex);
    visibleActions[context] = action;
}

void MyGlyphpadPlugin::OnWillDisappear(const std::string& /*action*/, const std::string& context,
                                       const nlohmann::json& /*payload*/,
                                       const std::string& /*device*/) {
    std::lock_guard<std::mutex> lock(pluginMutex);
    visibleActions.erase(context);
}

void MyGlyphpadPlugin::OnDidReceiveSettings(const std::string& action, const std::string& context,
                                            const nlohmann::json& settings) {
    if (action != ActionIdentifiers::Load) {
        return;
    }
    const std::wstring file = Utf8ToWide(ReadChosenFile(settings));
    if (file.empty()) {
        connectionManager->SetState(0, context);
        return;
    }
    const std::wstring title = FileStemFromPath(file, SeparatorStyle::ForwardSlash);
    connectionManager->SetTitle(WideToUtf8(title), context);
    connectionManager->SetState(1, context);
}

void MyGlyphpadPlugin::OnPropertyInspectorDidAppear(const std::string& action,
                                                    const std::string& context) {
    if (action != ActionIdentifiers::Load) {
        return;
    }
    std::lock_guard<std::mutex> lock(pluginMutex);
    SendPresentationList(context);
}

void MyGlyphpadPlugin::LoadChosenPresentation(const std::string& context,
                                              const std::string& chosenFile) {
    std::wstring file = Utf8ToWide(chosenFile);
    if (file.empty()) {
        connectionManager->ShowAlert(context);
        UpdateKeys();
        return;
    }
    if (worker.SubmitBool(PowerPointCommand::IsInSlideShow, currentPresentation) &&
        !worker.SubmitBool(PowerPointCommand::ExitSlideShow, currentPresentation)) {
        connectionManager->ShowAlert(context);
        UpdateKeys();
        return;
    }
    file = PowerPointPathFromSetting(file);
    if (worker.SubmitBool(PowerPointCommand::OpenPresentation, file)) {
        currentPresentation = file;
    }
    UpdateKeys();
}

void MyGlyphpadPlugin::ArmLongPress() {
    // One timer for all play keys: while one is held, another press changes nothing.
    if (longPressTimer.IsRunning()) {
        return;
    }
    longPressFired = false;
    longPressTimer.Start(longPressMs, [this] { CloseOnLongPress(); });
}

void MyGlyphpadPlugin::MoveSlideShow(PowerPointCommand command, const std::string& context) {
    // The current presentation's show, when several run at once.
    if (worker.SubmitBool(command, currentPresentation)) {
        UpdateKeys();
    } else {
        connectionManager->ShowAlert(context);
    }
}

void MyGlyphpadPlugin::ToggleSlideShow(const std::string& context) {
    const std::optional<bool> running = worker.SubmitShowRunning(currentPresentation);
    if (!running) {
        // Neither ending nor starting a show is safe without knowing whether one runs.
        connectionManager->ShowAlert(context);
        return;
    }
    if (*running) {
        if (!worker.SubmitBool(PowerPointCommand::ExitSlideShow, currentPresentation)) {
            connectionManager->ShowAlert(context);
        }
        currentPresentation = worker.SubmitString(std::wstring());
        return;
    }
    // The show that starts is the active presentation's, so that one becomes current first.
    currentPresentation = worker.SubmitString(std::wstring());
    if (!worker.SubmitBool(PowerPointCommand::StartSlideShow, std::wstring())) {
        connectionManager->ShowAlert(context);
    }
}

void MyGlyphpadPlugin::RefreshOnTimer() noexcept {
    try {
        std::lock_guard<std::mutex> lock(pluginMutex);
        UpdateKeys();
    } catch (...) {
        // Dropped: the keys are refreshed again at the next interval.
    }
}

void MyGlyphpadPlugin::CloseOnLongPress() noexcept {
    longPressFired = true;
    try {
        // The outcome is not shown: the next refresh reflects whatever PowerPoint did.
        worker.SubmitBool(PowerPointCommand::ClosePowerPoint, std::wstring());
    } catch (...) {
        // Dropped: a failed close looks the same as PowerPoint refusing to close.
    }
}
