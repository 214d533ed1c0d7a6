#include "host/HostEvents.h"

#include <array>
#include <string_view>
#include <utility>

#include "host/BoundedJson.h"
#include "host/JsonMembers.h"

namespace {

nlohmann::json ObjectMemberOrNull(const nlohmann::json& value, const std::string& name) {
    nlohmann::json member;
    ReadObjectMember(value, name, member);
    return member;
}

void KeyDown(KGPBasePlugin& plugin, const HostEvent& event) {
    plugin.OnKeyDown(event.action, event.context, event.payload, event.device);
}

void KeyUp(KGPBasePlugin& plugin, const HostEvent& event) {
    plugin.OnKeyUp(event.action, event.context, event.payload, event.device);
}

void WillAppear(KGPBasePlugin& plugin, const HostEvent& event) {
    plugin.OnWillAppear(event.action, event.context, event.payload, event.device);
}

void WillDisappear(KGPBasePlugin& plugin, const HostEvent& event) {
    plugin.OnWillDisappear(event.action, event.context, event.payload, event.device);
}

// "deviceInfo" is a member of the message itself, not of its payload.
void DeviceDidConnect(KGPBasePlugin& plugin, const HostEvent& event) {
    plugin.OnDeviceDidConnect(event.device, ObjectMemberOrNull(event.message, "deviceInfo"));
}

void DeviceDidDisconnect(KGPBasePlugin& plugin, const HostEvent& event) {
    plugin.OnDeviceDidDisconnect(event.device);
}

void SendToPlugin(KGPBasePlugin& plugin, const HostEvent& event) {
    plugin.OnSendToPlugin(event.action, event.context, event.payload, event.device);
}

// "settings" is a member of the payload.
void DidReceiveSettings(KGPBasePlugin& plugin, const HostEvent& event) {
    plugin.OnDidReceiveSettings(event.action, event.context,
                                ObjectMemberOrNull(event.payload, "settings"));
}

void DidReceiveGlobalSettings(KGPBasePlugin& plugin, const HostEvent& event) {
    plugin.OnDidReceiveGlobalSettings(ObjectMemberOrNull(event.payload, "settings"));
}

void PropertyInspectorDidAppear(KGPBasePlugin& plugin, const HostEvent& event) {
    plugin.OnPropertyInspectorDidAppear(event.action, event.context);
}

constexpr std::array<std::pair<std::string_view, HostEventHandler>, 10> kEventTable{{
    {"keyDown", &KeyDown},
    {"keyUp", &KeyUp},
    {"willAppear", &WillAppear},
    {"willDisappear", &WillDisappear},
    {"deviceDidConnect", &DeviceDidConnect},
    {"deviceDidDisconnect", &DeviceDidDisconnect},
    {"sendToPlugin", &SendToPlugin},
    {"didReceiveSettings", &DidReceiveSettings},
    {"didReceiveGlobalSettings", &DidReceiveGlobalSettings},
    {"propertyInspectorDidAppear", &PropertyInspectorDidAppear},
}};

}  // namespace

HostEventHandler FindHostEventHandler(const std::string& eventName) {
    // string_view equality compares length and every byte, so embedded NULs or a longer name
    // never match a listed one.
    for (const auto& [name, handler] : kEventTable) {
        if (name == std::string_view(eventName)) {
            return handler;
        }
    }
    return nullptr;
}

bool DispatchHostMessage(KGPBasePlugin& plugin, const std::string& text) {
    // A frame nested too deeply is dropped like one that does not parse.
    const nlohmann::json message = ParseBoundedJson(text);
    if (message.is_discarded()) {
        return false;
    }
    // Members are read, and the payload copied, only for an event that has an operation.
    const HostEventHandler handler = FindHostEventHandler(ReadStringMember(message, "event", ""));
    if (handler == nullptr) {
        return true;
    }
    const HostEvent event{
        message, ReadStringMember(message, "action", ""), ReadStringMember(message, "context", ""),
        ReadStringMember(message, "device", ""), ObjectMemberOrNull(message, "payload")};
    handler(plugin, event);
    return true;
}
