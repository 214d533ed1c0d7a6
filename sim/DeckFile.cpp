#include "sim/DeckFile.h"

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
    nlohmann::json document{{"format", kFormat},
                            {"firstSlideNumber", presentation.firstSlideNumber},
                            {"slides", nlohmann::json::array()}};
    for (const SlideContent& slide : presentation.slides) {
        document["slides"].push_back({{"layout", slide.layout},
                                      {"title", UnitsToUtf8(slide.title)},
                                      {"hidden", slide.hidden}});
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
    for (const nlohmann::json& slide : document["slides"]) {
        if (!slide.is_object() || !slide.value("layout", nlohmann::json()).is_number_integer() ||
            !slide.value("title", nlohmann::json()).is_string() ||
            !slide.value("hidden", nlohmann::json(false)).is_boolean()) {
            return std::nullopt;
        }
        deck.slides.push_back({slide["layout"].get<int>(),
                               Utf8ToUnits(slide["title"].get<std::string>()),
                               slide.value("hidden", false)});
    }
    return deck;
}

}  // namespace pptsim
