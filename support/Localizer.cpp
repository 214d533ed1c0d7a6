#include "support/Localizer.h"

#include <cstdio>
#include <memory>

#include "host/JsonMembers.h"
#include "platform/Platform.h"
#include "support/PathUtilities.h"
#include "support/PluginFolder.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

// Filled once at start-up and deliberately never freed: it lives as long as the process.
nlohmann::json* localizer = nullptr;

}  // namespace

nlohmann::json LoadLocalizationTableFrom(const std::string& folder,
                                         const std::string& language) noexcept {
    nlohmann::json result;
    try {
        if (language.empty() || folder.empty()) {
            return result;
        }
        // The language is used exactly as received; JoinPath only turns '/' into '\'.
        const std::string path = JoinPath(folder, language + ".json");
        UniqueFile file(_fsopen(path.c_str(), "rt", _SH_DENYNO));
        if (!file) {
            return result;
        }
        const nlohmann::json document = nlohmann::json::parse(file.get(), nullptr, true);
        ReadObjectMember(document, "Localization", result);
    } catch (...) {
        // A missing, unreadable or malformed table is simply no table.
    }
    return result;
}

nlohmann::json LoadLocalizationTable(const std::string& language) noexcept {
    try {
        return LoadLocalizationTableFrom(GetPluginFolder(), language);
    } catch (...) {
        return nullptr;
    }
}

void CreateLocalizer(const std::string& language) {
    if (localizer == nullptr) {
        localizer = new nlohmann::json(LoadLocalizationTable(language));
    }
}

const nlohmann::json* LocalizationTable() {
    return localizer;
}
