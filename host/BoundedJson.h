#pragma once

#include <string>

#include <nlohmann/json.hpp>

// Parses text from the host (a frame, the info document) strictly as one JSON value. Copying and
// comparing JSON values recurse once per level, so a document nested a few thousand levels deep
// would overflow the stack of the thread that copies it; host documents are a handful of levels
// deep, and one beyond the bound throws std::length_error like text that does not parse throws
// the JSON library's exception.
nlohmann::json ParseBoundedJson(const std::string& text);
