#include "host/BoundedJson.h"

#include <stdexcept>

namespace {

constexpr int kDeepestDocument = 512;

bool RefuseDeepNesting(int depth, nlohmann::json::parse_event_t, nlohmann::json&) {
    if (depth > kDeepestDocument) {
        throw std::length_error("host document nested too deeply");
    }
    return true;
}

}  // namespace

nlohmann::json ParseBoundedJson(const std::string& text) {
    return nlohmann::json::parse(text, RefuseDeepNesting);
}
