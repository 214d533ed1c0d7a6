#include "sim/DeckFile.h"

#include <algorithm>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "platform/Platform.h"
#include "sim/TextUnits.h"

namespace pptsim {
namespace {

constexpr const char* kFormat = "pptsim-deck";

// Windows takes "/" as well as "\", Linux only "/"; the C library opens byte paths in the
// system code page on both.
std::string SystemPath(std::wstring path) {
    for (wchar_t& unit : path) {
        if (unit == L'\\') {
            unit = L'/';
        }
    }
    const int length = WideCharToMultiByte(CP_ACP, 0, path.c_str(), static_cast<int>(path.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    if (length > 0) {
        WideCharToMultiByte(CP_ACP, 0, path.c_str(), static_cast<int>(path.size()), bytes.data(),
                            length, nullptr, nullptr);
    }
    return bytes;
}

}  // namespace

bool WriteDeckFile(const std::wstring& path, const OpenPresentation& presentation) {
    nlohmann::json document{
        {"format", kFormat},
        {"firstSlideNumber", presentation.firstSlideNumber},
        {"nextSlideId", presentation.nextSlideId},
        {"slides", nlohmann::json::array()},
        {"namedShows", nlohmann::json::array()},
        {"runsNamedShow",
         presentation.runsNamedShow ? UnitsToUtf8(presentation.settingsShowName) : std::string()}};
    for (const SlideContent& slide : presentation.slides) {
        document["slides"].push_back({{"layout", slide.layout},
                                      {"title", UnitsToUtf8(slide.title)},
                                      {"hidden", slide.hidden},
                                      {"id", slide.id},
                                      {"effects", slide.effects},
                                      {"clicks", slide.clicks}});
    }
    for (const NamedShow& show : presentation.namedShows) {
        document["namedShows"].push_back(
            {{"name", UnitsToUtf8(show.name)}, {"slideIds", show.slideIds}});
    }
    const std::string bytes = SystemPath(path);
    if (bytes.empty()) {
        return false;
    }
    std::ofstream file(bytes, std::ios::binary | std::ios::trunc);
    file << document.dump() << '\n';
    file.close();
    return static_cast<bool>(file);
}

std::optional<SavedDeck> ReadDeckFile(const std::wstring& path) {
    const std::string bytes = SystemPath(path);
    std::ifstream file(bytes, std::ios::binary);
    if (bytes.empty() || !file) {
        return std::nullopt;
    }
    std::ostringstream content;
    content << file.rdbuf();
    const nlohmann::json document = nlohmann::json::parse(content.str(), nullptr, false);
    if (!document.is_object() || document.value("format", "") != kFormat ||
        !document.contains("slides") || !document["slides"].is_array()) {
        return std::nullopt;
    }
    SavedDeck deck;
    const nlohmann::json first = document.value("firstSlideNumber", nlohmann::json(1));
    if (!first.is_number_integer()) {
        return std::nullopt;
    }
    deck.firstSlideNumber = first.get<int>();
    // Members added later (slide IDs, builds, custom shows) may be missing from older files.
    for (const nlohmann::json& slide : document["slides"]) {
        const int defaultId = kFirstSlideId + static_cast<int>(deck.slides.size());
        if (!slide.is_object() || !slide.value("layout", nlohmann::json()).is_number_integer() ||
            !slide.value("title", nlohmann::json()).is_string() ||
            !slide.value("hidden", nlohmann::json(false)).is_boolean() ||
            !slide.value("id", nlohmann::json(defaultId)).is_number_integer() ||
            !slide.value("effects", nlohmann::json(0)).is_number_integer() ||
            !slide.value("clicks", nlohmann::json(0)).is_number_integer()) {
            return std::nullopt;
        }
        deck.slides.push_back({slide["layout"].get<int>(),
                               Utf8ToUnits(slide["title"].get<std::string>()),
                               slide.value("hidden", false), slide.value("id", defaultId),
                               slide.value("effects", 0), slide.value("clicks", 0)});
        deck.nextSlideId = std::max(deck.nextSlideId, deck.slides.back().id + 1);
    }
    const nlohmann::json next = document.value("nextSlideId", nlohmann::json(deck.nextSlideId));
    if (!next.is_number_integer()) {
        return std::nullopt;
    }
    deck.nextSlideId = std::max(deck.nextSlideId, next.get<int>());
    for (const nlohmann::json& show : document.value("namedShows", nlohmann::json::array())) {
        if (!show.is_object() || !show.value("name", nlohmann::json()).is_string() ||
            !show.value("slideIds", nlohmann::json()).is_array()) {
            return std::nullopt;
        }
        std::vector<int> ids;
        for (const nlohmann::json& id : show["slideIds"]) {
            if (!id.is_number_integer()) {
                return std::nullopt;
            }
            ids.push_back(id.get<int>());
        }
        deck.namedShows.emplace_back(Utf8ToUnits(show["name"].get<std::string>()), std::move(ids));
    }
    const nlohmann::json runs = document.value("runsNamedShow", nlohmann::json(""));
    if (!runs.is_string()) {
        return std::nullopt;
    }
    deck.settingsShowName = Utf8ToUnits(runs.get<std::string>());
    return deck;
}

}  // namespace pptsim
