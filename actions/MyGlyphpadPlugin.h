#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <unordered_map>

#include <nlohmann/json.hpp>

#include "actions/CallBackTimer.h"
#include "actions/OneShotTimer.h"
#include "automation/AutomationWorker.h"
#include "automation/PowerPointCommand.h"
#include "host/KGPBasePlugin.h"

// The plug-in's logic: turns key events of the six PowerPoint actions into worker commands and
// keeps the keys' titles, states and presentation lists current.
//
// Threads: every event operation runs on the network thread; the refresh runs on the refresh
// timer's thread; the long-press callback on the long-press timer's thread. pluginMutex
// serialises key handling, the visible-key bookkeeping and every refresh, and is always taken
// before the worker's queue lock.
class MyGlyphpadPlugin : public KGPBasePlugin {
public:
    static constexpr int RefreshIntervalMs = 2000;
    static constexpr int LongPressMs = 1000;

    // Starts the worker, then the refresh timer, whose first refresh runs at once and which then
    // pauses refreshIntervalMs between refreshes. Both periods differ only in tests.
    explicit MyGlyphpadPlugin(int refreshIntervalMs = RefreshIntervalMs,
                              int longPressMs = LongPressMs);
    ~MyGlyphpadPlugin() override;

    // Ends the worker after the PowerPoint call in progress and releases PowerPoint; from then
    // on refreshes and key presses get their failure results at once. For the way out, once
    // the host link has closed.
    void StopAutomation();
    // Whether the worker is still starting PowerPoint (see AutomationWorker).
    bool IsStartingPowerPoint() const { return worker.IsStartingPowerPoint(); }
    // Whether the worker is stuck in a PowerPoint call its submitter gave up on (see
    // AutomationWorker).
    bool IsAutomationStuck() const { return worker.IsStuck(); }
    // Stops both timers and waits for a refresh or long press in progress, which waits for the
    // worker no longer than one press bound. For the way out, once the host link has closed.
    void StopTimers();

    void OnConnected() override {}
    void OnKeyDown(const std::string& action, const std::string& context,
                   const nlohmann::json& payload, const std::string& device) override;
    void OnKeyUp(const std::string& action, const std::string& context,
                 const nlohmann::json& payload, const std::string& device) override;
    void OnWillAppear(const std::string& action, const std::string& context,
                      const nlohmann::json& payload, const std::string& device) override;
    void OnWillDisappear(const std::string& action, const std::string& context,
                         const nlohmann::json& payload, const std::string& device) override;
    void OnDeviceDidConnect(const std::string& /*device*/,
                            const nlohmann::json& /*deviceInfo*/) override {}
    void OnDeviceDidDisconnect(const std::string& /*device*/) override {}
    void OnSendToPlugin(const std::string& /*action*/, const std::string& /*context*/,
                        const nlohmann::json& /*payload*/, const std::string& /*device*/) override {
    }
    void OnDidReceiveSettings(const std::string& action, const std::string& context,
                              const nlohmann::json& settings) override;
    void OnDidReceiveGlobalSettings(const nlohmann::json& /*settings*/) override {}
    void OnPropertyInspectorDidAppear(const std::string& action,
                                      const std::string& context) override;

private:
    // Key handling; each runs with pluginMutex held.
    void LoadChosenPresentation(const std::string& context, const std::string& chosenFile);
    void ArmLongPress();
    void MoveSlideShow(PowerPointCommand command, const std::string& context);
    void ToggleSlideShow(const std::string& context);

    // Timer callbacks. Neither lets an exception escape: one that left a timer thread would
    // end the process.
    void RefreshOnTimer() noexcept;
    void CloseOnLongPress() noexcept;

    // The refresh; each runs with pluginMutex held.
    nlohmann::json BuildPresentationList();
    void SendPresentationList(const std::string& context);
    void UpdateKeys();
    void SendPresentationLists(const nlohmann::json& payload);
    void ShowPlayKeys(AutomationWorker::ShowReading& show);

    const int longPressMs;
    CallBackTimer refreshTimer;
    OneShotTimer longPressTimer;
    std::wstring currentPresentation;
    std::unordered_map<std::string, std::string> visibleActions;
    AutomationWorker worker;
    std::mutex pluginMutex;
    // Set by the long-press callback once it has begun, so a release that raced with it is
    // not also taken as a short press.
    std::atomic<bool> longPressFired{false};
};
