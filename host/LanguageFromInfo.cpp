#include "host/LanguageFromInfo.h"

#include <nlohmann/json.hpp>

#include "host/BoundedJson.h"
#include "host/JsonMembers.h"

std::string LanguageFromInfo(const std::string& info) {
    std::string language = "en";
    try {
        // Copying "application" recurses per level: a document nested too deeply names no
        // language.
        const nlohmann::json document = ParseBoundedJson(info);
        nlohmann::json application;
        if (ReadObjectMember(document, "application", application)) {
            language = ReadStringMember(application, "language", language);
        }
    } catch (...) {
        // The info document is the host's; anything unreadable leaves the default language.
    }
    return language;
}
