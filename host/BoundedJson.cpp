#include "host/BoundedJson.h"

#include <cstddef>

namespace {

constexpr std::size_t kDeepestDocument = 512;

bool IsJsonSpace(char character) {
    return character == ' ' || character == '\t' || character == '\n' || character == '\r';
}

// Whether a value, key or container begins inside more than kDeepestDocument containers. Exact
// for JSON text; for other text the answer does not matter, as the parser refuses it anyway.
// Counting brackets outside strings needs no allocation and stops at the first level too deep,
// where a parser would first build all the levels above it. The parser ends its input at a NUL
// outside a string, so the count does too: what follows is never read.
bool NestsTooDeeply(const std::string& text) {
    std::size_t open = 0;
    bool inString = false;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char character = text[at];
        if (character == '\0' && !inString) {
            return false;
        }
        if (inString) {
            if (character == '\\') {
                ++at;
            } else if (character == '"') {
                inString = false;
            }
        } else if (character == ']' || character == '}') {
            open -= open > 0 ? 1 : 0;
        } else if (!IsJsonSpace(character) && character != ',' && character != ':') {
            if (open > kDeepestDocument) {
                return true;
            }
            open += character == '[' || character == '{' ? 1 : 0;
            inString = character == '"';
        }
    }
    return false;
}

}  // namespace

nlohmann::json ParseBoundedJson(const std::string& text) {
    if (NestsTooDeeply(text)) {
        return nlohmann::json(nlohmann::json::value_t::discarded);
    }
    return nlohmann::json::parse(text, nullptr, false);
}
