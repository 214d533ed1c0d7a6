#include "host/LanguageFromInfo.h"

#include <nlohmann/json.hpp>

#include "host/JsonMembers.h"

std::string LanguageFromInfo(const std::string& info) {
    std::string language = "en";
    try {
        const nlohmann::json document = nlohmann::json::parse(info);
        nlohmann::json application;
        if (ReadObjectMember(document, "application", application)) {
            language = ReadStringMember(application, "language", language);
        }
    } catch (...) {
        // The info document is the host's; anything unreadable leaves the default language.
    }
    return language;
}
