// The refresh: what PowerPoint shows becomes the keys' titles, states and presentation lists.
#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "actions/ActionIdentifiers.h"
#include "actions/MyGlyphpadPlugin.h"
#include "host/KGPConnectionManager.h"
#include "support/PresentationPaths.h"
#include "support/TextConversion.h"

namespace {

// A busy PowerPoint is asked again only briefly for what the keys show: the next refresh comes
// soon, and a key press must not wait behind this one.
constexpr AutomationWorker::Patience kRefreshPatience = AutomationWorker::Patience::Refresh;

// "s/n" while both are known and consistent; otherwise the key shows nothing rather than a
// position that makes no sense.
std::wstring SlidePositionTitle(std::int32_t slide, std::int32_t count) {
    if (slide == -1 || count == -1 || slide > count) {
        return std::wstring();
    }
    return std::to_wstring(slide) + L"/" + std::to_wstring(count);
}

nlohmann::json PresentationListJson(std::vector<std::wstring> paths) {
    nlohmann::json list = nlohmann::json::array();
    for (std::wstring& path : paths) {
        // The settings page works with forward slashes, as its file picker does.
        std::replace(path.begin(), path.end(), L'\\', L'/');
        list.push_back(WideToUtf8(path));
    }
    return list;
}

nlohmann::json PresentationsPayload(nlohmann::json list) {
    nlohmann::json payload = nlohmann::json::object();
    payload["presentations"] = std::move(list);
    return payload;
}

}  // namespace

nlohmann::json MyGlyphpadPlugin::BuildPresentationList() {
    return PresentationListJson(worker.SubmitList(std::wstring(), kRefreshPatience));
}

void MyGlyphpadPlugin::SendPresentationList(const std::string& context) {
    nlohmann::json list = BuildPresentationList();
    if (list.empty()) {
        return;
    }
    connectionManager->SendToPropertyInspector(std::string(ActionIdentifiers::Load), context,
                                               PresentationsPayload(std::move(list)));
}

// What PowerPoint did not answer changes nothing: the keys keep their titles, states and lists,
// and the current presentation stays, until a refresh reads again.
void MyGlyphpadPlugin::UpdateKeys() {
    AutomationWorker::KeyReading reading = worker.SubmitKeyReading(currentPresentation);
    if (reading.presentations) {
        SendPresentationLists(PresentationsPayload(PresentationListJson(*reading.presentations)));
    }
    if (reading.show) {
        ShowPlayKeys(*reading.show);
    }
}

void MyGlyphpadPlugin::SendPresentationLists(const nlohmann::json& payload) {
    const std::string loadAction(ActionIdentifiers::Load);
    for (const auto& [context, action] : visibleActions) {
        if (action == ActionIdentifiers::Load) {
            connectionManager->SendToPropertyInspector(loadAction, context, payload);
        }
    }
}

void MyGlyphpadPlugin::ShowPlayKeys(AutomationWorker::ShowReading& show) {
    std::wstring title;
    if (show.running) {
        title = SlidePositionTitle(show.slide, show.count);
    } else {
        // Without a show of its own the play key follows whatever PowerPoint has active.
        currentPresentation = std::move(show.active);
        title = PresentationTitle(currentPresentation);
    }
    const std::string titleText = WideToUtf8(title);
    const int state = show.running ? 0 : 1;
    for (const auto& [context, action] : visibleActions) {
        if (action == ActionIdentifiers::Play) {
            connectionManager->SetTitle(titleText, context);
            connectionManager->SetState(state, context);
        }
    }
}
